#include "agenda/tffechaabredata.h"

#include "agenda/closed_dates.h"
#include "app/context.h"
#include "platform/user_action.h"
#include "protection/mirror.h"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QVBoxLayout>

namespace clinora {

TFFechaAbreData::TFFechaAbreData(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FFechaAbreData"));
    setWindowTitle(QStringLiteral("Dias sem atendimentos"));
    Dialogs &dialogs = m_context.dialogs;

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));

    Label1 = new QLabel(QStringLiteral("Relação dos Dias Sem Expediente"), Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.15);
    Label1->setFont(title);

    const QString entryHint = QStringLiteral("Digitar a data a ser \"fechada\" - dd/mm/aa");
    StringGrid1 = new QTableWidget(kEntryRows, 2, Panel2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setToolTip(entryHint);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    // Column 1 holds the "Salta" marks of the refused rows; nobody needs to see it.
    StringGrid1->setColumnHidden(1, true);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    for (int row = 0; row < kEntryRows; ++row)
        for (int col = 0; col < 2; ++col)
            StringGrid1->setItem(row, col, new QTableWidgetItem);
    const int rowHeight = StringGrid1->verticalHeader()->defaultSectionSize();
    StringGrid1->setFixedHeight(rowHeight * kVisibleRows + 2 * StringGrid1->frameWidth());
    StringGrid1->setFixedWidth(150);

    BIncluir = new QPushButton(QStringLiteral("Incluir"), Panel2);
    BIncluir->setObjectName(QStringLiteral("BIncluir"));
    BIncluir->setToolTip(entryHint);
    BConsulta = new QPushButton(QStringLiteral("Consultar"), Panel2);
    BConsulta->setObjectName(QStringLiteral("BConsulta"));
    BFimConsulta = new QPushButton(QStringLiteral("Fim Consulta"), Panel2);
    BFimConsulta->setObjectName(QStringLiteral("BFimConsulta"));
    BFimConsulta->hide();
    BExcluir = new QPushButton(QStringLiteral("Excluir"), Panel2);
    BExcluir->setObjectName(QStringLiteral("BExcluir"));
    BExcluir->setToolTip(QStringLiteral("Selecionar os dias após CONSULTA "));
    Button1 = new QPushButton(QStringLiteral("Sair"), Panel2);
    Button1->setObjectName(QStringLiteral("Button1"));
    for (QPushButton *button : {BIncluir, BConsulta, BFimConsulta, BExcluir, Button1}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(110);
    }

    ListBox1 = new QListWidget(Panel2);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setFixedWidth(130);
    ListBox1->setFixedHeight(StringGrid1->height());
    ListBox1->hide();
    // The list keeps its place while hidden, so the window does not change size.
    QSizePolicy keepPlace = ListBox1->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    ListBox1->setSizePolicy(keepPlace);

    connect(BIncluir, &QPushButton::clicked, this, guarded(dialogs, [this] { BIncluirClick(); }));
    connect(BConsulta, &QPushButton::clicked, this, guarded(dialogs, [this] { BConsultaClick(); }));
    connect(BFimConsulta, &QPushButton::clicked, this, guarded(dialogs, [this] { BFimConsultaClick(); }));
    connect(BExcluir, &QPushButton::clicked, this, guarded(dialogs, [this] { BExcluirClick(); }));
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(BIncluir);
    buttons->addSpacing(14);
    buttons->addWidget(BConsulta);
    buttons->addWidget(BFimConsulta);
    buttons->addWidget(BExcluir);
    buttons->addStretch();
    buttons->addWidget(Button1);

    auto *panelLayout = new QGridLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setHorizontalSpacing(14);
    panelLayout->setVerticalSpacing(10);
    panelLayout->addWidget(Label1, 0, 0, 1, 3);
    panelLayout->addWidget(StringGrid1, 1, 0);
    panelLayout->addLayout(buttons, 1, 1);
    panelLayout->addWidget(ListBox1, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->addWidget(Panel2);
    setFixedSize(sizeHint());
}

QString TFFechaAbreData::cellText(int col, int row) const
{
    const QTableWidgetItem *item = StringGrid1->item(row, col);
    return item ? item->text() : QString();
}

void TFFechaAbreData::setCellText(int col, int row, const QString &text)
{
    StringGrid1->item(row, col)->setText(text);
}

void TFFechaAbreData::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFFechaAbreData::FormActivate()
{
    m_tableChanged = false;
    StringGrid1->setCurrentCell(0, 0);
    StringGrid1->setFocus();
}

void TFFechaAbreData::BConsultaClick()
{
    BConsulta->hide();
    ListBox1->show();
    ListBox1->clear();
    ListBox1->addItems(closedDatesShown(m_context));
    BFimConsulta->show();
}

void TFFechaAbreData::BFimConsultaClick()
{
    ListBox1->hide();
    ListBox1->clear();
    BConsulta->show();
    BFimConsulta->hide();
}

void TFFechaAbreData::BIncluirClick()
{
    EntryGrid grid;
    for (int row = 0; row < kEntryRows; ++row) {
        grid.dates << cellText(0, row).trimmed();
        grid.marks << cellText(1, row);
    }
    // The grid shows what the run made of it, also when it ends with an error.
    const auto showGrid = qScopeGuard([&] {
        for (int row = 0; row < kEntryRows; ++row) {
            setCellText(0, row, grid.dates.value(row));
            setCellText(1, row, grid.marks.value(row));
        }
    });
    const CloseResult result = closeDates(m_context, grid);
    m_tableChanged = m_tableChanged || result.tableChanged;
}

void TFFechaAbreData::BExcluirClick()
{
    QStringList selected;
    for (int row = 0; row < ListBox1->count(); ++row) {
        if (ListBox1->item(row)->isSelected())
            selected << ListBox1->item(row)->text();
    }
    if (!reopenDates(m_context, selected))
        return;
    ListBox1->clear();
    BConsultaClick();
    BConsulta->show();
    BFimConsulta->hide();
}

void TFFechaAbreData::Panel2Exit()
{
    ListBox1->clear();
    BConsulta->show();
    BFimConsulta->hide();
}

void TFFechaAbreData::FormClose()
{
    if (m_context.settings.mirroringOn() && m_tableChanged) {
        takeMirrorSnapshot(m_context);
        m_tableChanged = false;
    }
}

void TFFechaAbreData::done(int result)
{
    // Every control lies on Panel2, so closing the dialog is how the panel is left.
    Panel2Exit();
    runUserAction(m_context.dialogs, [this] { FormClose(); });
    QDialog::done(result);
}

} // namespace clinora
