#include "statistics/tfentramov.h"

#include "app/context.h"
#include "platform/clickable_label.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/user_action.h"
#include "statistics/tffichamed.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

namespace {

QLineEdit *box(const char *name, int maxLength, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    edit->setFixedWidth(90);
    return edit;
}

template <typename Label> Label *label(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new Label(parent);
    l->setObjectName(QLatin1String(name));
    l->setText(text);
    return l;
}

} // namespace

TFEntraMov::TFEntraMov(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FEntraMov"));
    setWindowTitle(QStringLiteral("Entrada de Movimentos"));

    Label5 = label<QLabel>("Label5", QStringLiteral("Gravar Dados dos Atendimentos"), this);
    QFont heading = Label5->font();
    heading.setPointSize(heading.pointSize() + 4);
    heading.setBold(true);
    Label5->setFont(heading);
    Label5->setAlignment(Qt::AlignCenter);
    Label8 = label<QLabel>("Label8", QString(), this);
    QFont title = Label8->font();
    title.setBold(true);
    Label8->setFont(title);
    Label8->setAlignment(Qt::AlignCenter);

    const QString listHint = QStringLiteral("Clique para ver a relação dos médicos");
    Label6 = label<QLabel>("Label6", QStringLiteral("Dia:"), this);
    Edit5 = box("Edit5", 10, this);
    Label7 = label<ClickableLabel>("Label7", QStringLiteral("Cod. Médico"), this);
    Label7->setToolTip(listHint);
    Edit6 = box("Edit6", 2, this);
    Button4 = new QPushButton(QStringLiteral("Ver a Ficha"), this);
    Button4->setObjectName(QStringLiteral("Button4"));

    Label1 = label<ClickableLabel>("Label1", QStringLiteral("Código Médico:"), this);
    Label1->setToolTip(listHint);
    Edit1 = box("Edit1", 2, this);
    Label2 = label<QLabel>("Label2", QStringLiteral("Situação:"), this);
    Edit2 = box("Edit2", 1, this);
    Label3 = label<QLabel>("Label3", QStringLiteral("Quantidade:"), this);
    // Room for "- 5" and for a number too long, which the check names.
    Edit3 = box("Edit3", 8, this);
    Label4 = label<QLabel>("Label4", QStringLiteral("Mês Consulta:"), this);
    Edit4 = box("Edit4", 2, this);
    Label9 = label<QLabel>("Label9", QStringLiteral("Ano Consulta:"), this);
    Edit7 = box("Edit7", 4, this);
    BConfirma = new QPushButton(QStringLiteral("Confirma Entrada"), this);
    BConfirma->setObjectName(QStringLiteral("BConfirma"));
    LBEntradas = new QListWidget(this);
    LBEntradas->setObjectName(QStringLiteral("LBEntradas"));
    LBEntradas->setFocusPolicy(Qt::NoFocus);
    LBEntradas->setSelectionMode(QAbstractItemView::NoSelection);
    LBEntradas->setToolTip(QStringLiteral("Entradas confirmadas: serão gravadas ao sair"));
    LBEntradas->setFixedHeight(150);

    Button2 = new QPushButton(QStringLiteral("Processar as Entradas Realizadas"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->hide();
    Button1 = new QPushButton(QStringLiteral("Sair"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    for (QPushButton *button : {Button4, BConfirma, Button2, Button1})
        button->setAutoDefault(false);

    connect(Label1, &ClickableLabel::clicked, this,
            guarded(m_context.dialogs, [this] { DoctorLabelClick(); }));
    connect(Label7, &ClickableLabel::clicked, this,
            guarded(m_context.dialogs, [this] { DoctorLabelClick(); }));
    connect(Button4, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button4Click(); }));
    connect(BConfirma, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BConfirmaClick(); }));
    connect(Button2, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    int row = 0;
    for (const auto &[l, e] : std::initializer_list<std::pair<QLabel *, QLineEdit *>>{{Label6, Edit5},
                                                                                      {Label7, Edit6},
                                                                                      {Label1, Edit1},
                                                                                      {Label2, Edit2},
                                                                                      {Label3, Edit3},
                                                                                      {Label4, Edit4},
                                                                                      {Label9, Edit7}}) {
        l->setBuddy(e);
        grid->addWidget(l, row, 0);
        grid->addWidget(e, row, 1);
        ++row;
    }
    grid->addWidget(Button4, row, 0, 1, 2, Qt::AlignRight);
    grid->addWidget(BConfirma, row + 1, 0, 1, 2, Qt::AlignRight);
    grid->addWidget(LBEntradas, row + 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->setSpacing(12);
    layout->addWidget(Label5);
    layout->addWidget(Label8);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(360);

    m_individual = {Label6, Edit5, Label7, Edit6, Button4};
    m_collective = {Label1, Edit1, Label2, Edit2, Label3,    Edit3,
                    Label4, Edit4, Label9, Edit7, BConfirma, LBEntradas};
    Edit3->setText(QStringLiteral("1"));
    setLayoutShown(Layout::Collective);

    FFichaMed = new TFFichaMed(context, this);
    FFichaMed->recordedSheet = [this] { m_processed = false; };
}

TFEntraMov::~TFEntraMov() = default;

void TFEntraMov::setLayoutShown(Layout layout)
{
    const bool individual = layout == Layout::Individual;
    Label8->setText(individual ? QStringLiteral("Entrada Individual das Fichas")
                               : QStringLiteral("Entrada Coletiva das Fichas"));
    for (QWidget *w : std::as_const(m_individual))
        w->setVisible(individual);
    for (QWidget *w : std::as_const(m_collective))
        w->setVisible(!individual);
    // Enter does what the layout is for.
    Button4->setDefault(individual);
    BConfirma->setDefault(!individual);
}

void TFEntraMov::open(Layout layout)
{
    // Only an opening from the menu starts a new list: a message box or the doctor
    // list taking the focus for a moment keeps the entries confirmed so far.
    m_entry.clear();
    LBEntradas->clear();
    setLayoutShown(layout);
    exec();
}

void TFEntraMov::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFEntraMov::FormActivate()
{
    if (Edit5->text().isEmpty())
        Edit5->setText(dates::formatShort(m_context.clock.today()));
    if (Edit7->text().isEmpty())
        Edit7->setText(QString::number(m_context.clock.today().year()));
    (Edit5->isVisible() ? Edit5 : Edit1)->setFocus();
}

void TFEntraMov::DoctorLabelClick()
{
    emit doctorListRequested();
}

void TFEntraMov::Button4Click()
{
    const std::optional<QDate> date = dates::parse(Edit5->text());
    if (!date) {
        m_context.dialogs.information(QStringLiteral("\"%1\" não é uma data: digite o dia como dd/mm/aa.")
                                          .arg(Edit5->text().trimmed()));
        Edit5->setFocus();
        return;
    }
    Edit5->setText(dates::formatShort(*date));
    const std::optional<int> doctor = registeredDoctor(m_context.doctors, Edit6->text());
    if (!doctor) {
        m_context.dialogs.information(QStringLiteral("Código do Médico Inexistente"));
        Edit6->setFocus();
        return;
    }
    FFichaMed->showEntry(*date, *doctor);
}

void TFEntraMov::BConfirmaClick()
{
    EntryFields fields{Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text(), Edit7->text()};
    const QString refusal = m_entry.confirm(m_context, fields);
    // "- 5" goes back into the box as "-5".
    if (Edit3->text() != fields.quantity)
        Edit3->setText(fields.quantity);
    if (!refusal.isEmpty()) {
        m_context.dialogs.information(refusal);
        return;
    }
    const CollectedEntry &entry = m_entry.entries().last();
    LBEntradas->addItem(QStringLiteral("Médico %1   Situação %2   Mês %3   Quantidade %4")
                            .arg(entry.doctor, 2)
                            .arg(entry.situation)
                            .arg(entry.month, 2, 10, QLatin1Char('0'))
                            .arg(entry.quantity, 5));
    LBEntradas->scrollToBottom();
    m_processed = false;
    Edit1->setFocus();
    Edit1->selectAll();
}

void TFEntraMov::Button2Click()
{
    if (processOnClose())
        accept();
}

bool TFEntraMov::processOnClose()
{
    if (m_processed)
        return true;
    const bool done =
        runUserAction(m_context.dialogs, [this] { processEntries(m_context, m_entry.entries()); });
    if (!done)
        return false;
    m_processed = true;
    m_entry.clear();
    LBEntradas->clear();
    return true;
}

void TFEntraMov::done(int result)
{
    // What could not be written stays on the form, to be tried again.
    if (!processOnClose())
        return;
    FFichaMed->reject();
    QDialog::done(result);
}

} // namespace clinora
