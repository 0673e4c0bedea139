#include "agenda/tfprepararfuturo.h"

#include "agenda/preparation.h"
#include "app/context.h"
#include "platform/dates.h"
#include "platform/user_action.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace clinora {

namespace {

constexpr int kHolidayRows = 5;

} // namespace

TFPrepararFuturo::TFPrepararFuturo(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FPrepararFuturo"));
    setWindowTitle(QStringLiteral("Agenda Futura"));

    Label1 = new QLabel(QStringLiteral("Data Limite Atual: "), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Label2 = new QLabel(Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    auto *panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(8, 4, 8, 4);
    panelLayout->addWidget(Label2);

    Label3 = new QLabel(QStringLiteral("Data Limite Futuro"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    Label3->setBuddy(Edit1);

    Label4 = new QLabel(QStringLiteral("Feriados"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    StringGrid1 = new QTableWidget(kHolidayRows, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    StringGrid1->setToolTip(QStringLiteral("Feriados das novas datas: dd/mm/aa"));
    const int rowHeight = StringGrid1->verticalHeader()->defaultSectionSize();
    StringGrid1->setFixedHeight(rowHeight * kHolidayRows + 2 * StringGrid1->frameWidth());
    for (int row = 0; row < kHolidayRows; ++row)
        StringGrid1->setItem(row, 0, new QTableWidgetItem);
    Label4->setBuddy(StringGrid1);

    Button1 = new QPushButton(QStringLiteral("Executar"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Sair"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter in a field never runs the preparation by surprise.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Panel1, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(Label4, 2, 0, Qt::AlignTop);
    grid->addWidget(StringGrid1, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(16);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    for (QWidget *field :
         {static_cast<QWidget *>(Panel1), static_cast<QWidget *>(Edit1), static_cast<QWidget *>(StringGrid1)})
        field->setFixedWidth(150);
    setFixedSize(sizeHint());
}

void TFPrepararFuturo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    runUserAction(m_context.dialogs, [this] { FormActivate(); });
    Edit1->setFocus();
}

void TFPrepararFuturo::FormActivate()
{
    m_currentLimit = QDate();
    Label2->clear();
    m_currentLimit = limitShown(m_context);
    Label2->setText(dates::formatShort(m_currentLimit));
}

QStringList TFPrepararFuturo::holidayCells() const
{
    QStringList cells;
    for (int row = 0; row < StringGrid1->rowCount(); ++row) {
        const QTableWidgetItem *item = StringGrid1->item(row, 0);
        cells << (item ? item->text() : QString());
    }
    return cells;
}

void TFPrepararFuturo::Button1Click()
{
    // A failed activation (a missing DataIniFim.Txt) is tried again, and tells why.
    if (!m_currentLimit.isValid())
        FormActivate();
    const PreparationResult result =
        prepareAgenda(m_context, {m_currentLimit, Edit1->text(), holidayCells()});
    Edit1->setText(result.newLimitText);
    if (result.done)
        accept();
}

} // namespace clinora
