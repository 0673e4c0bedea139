#include "booking/form_parts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

namespace clinora::form {

QLabel *caption(const QString &text, const char *name, QWidget *parent)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setStyleSheet(QStringLiteral("color: #555;"));
    return label;
}

QLabel *title(QWidget *parent)
{
    auto *label = named(new QLabel(QStringLiteral("Consulta"), parent), "Label8");
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 6);
    font.setBold(true);
    label->setFont(font);
    return label;
}

void bold(std::initializer_list<QLabel *> labels)
{
    for (QLabel *l : labels) {
        QFont font = l->font();
        font.setBold(true);
        l->setFont(font);
    }
}

QComboBox *situationBox(QWidget *parent, QLineEdit *code)
{
    auto *box = named(new QComboBox(parent), "DBComboBox1");
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(22);
    QObject::connect(box, &QComboBox::currentTextChanged, code,
                     [code](const QString &text) { code->setText(text.left(1)); });
    return box;
}

void showSituation(QComboBox *box, QLineEdit *code, const QStringList &items, const QString &situacao)
{
    box->clear();
    box->addItems(items);
    const int item = situacao.isEmpty() ? -1 : box->findText(situacao, Qt::MatchStartsWith);
    box->setCurrentIndex(item);
    if (item < 0)
        box->setEditText(situacao);
    code->setText(situacao);
}

QPlainTextEdit *remarksBox(QWidget *parent)
{
    auto *memo = named(new QPlainTextEdit(parent), "DBMemo1");
    memo->setTabChangesFocus(true);
    memo->setMinimumHeight(70);
    return memo;
}

void addRoomAndFloor(QGridLayout *grid, int row, QLabel *room, QLabel *floor, QWidget *parent)
{
    grid->addWidget(caption(QStringLiteral("Sala: "), "Label9", parent), row, 0);
    grid->addWidget(room, row, 1);
    grid->addWidget(caption(QStringLiteral("Andar: "), "Label11", parent), row, 2);
    grid->addWidget(floor, row, 3);
}

QGridLayout *patientFields(QWidget *parent, const QString &nameCaption, QLineEdit *name, QLineEdit *phone,
                           QComboBox *situation, QPlainTextEdit *remarks)
{
    auto *fields = new QGridLayout;
    fields->addWidget(named(new QLabel(nameCaption, parent), "Label1"), 0, 0);
    fields->addWidget(name, 0, 1);
    fields->addWidget(named(new QLabel(QStringLiteral("Telefone"), parent), "Label14"), 1, 0);
    fields->addWidget(phone, 1, 1);
    fields->addWidget(named(new QLabel(QStringLiteral("Situação:"), parent), "Label13"), 2, 0);
    fields->addWidget(situation, 2, 1);
    fields->addWidget(named(new QLabel(QStringLiteral("Observações"), parent), "Label15"), 3, 0,
                      Qt::AlignTop);
    fields->addWidget(remarks, 3, 1);
    return fields;
}

void listGrid(QTableView *grid, QAbstractItemModel *model, QAbstractItemView::SelectionMode selection,
              std::initializer_list<int> widths)
{
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(selection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setStretchLastSection(true);
    int column = 0;
    for (const int width : widths)
        grid->setColumnWidth(column++, width);
}

} // namespace clinora::form
