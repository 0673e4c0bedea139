#include "doctors/tfsemconsulta.h"

#include "agenda/closed_dates.h"
#include "app/context.h"
#include "core/common.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/printer.h"
#include "platform/user_action.h"
#include "platform/widget_helpers.h"
#include "protection/mirror.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

using form::named;
using form::selectedTexts;

namespace {

QLabel *bold(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

TFSemConsulta::TFSemConsulta(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FSemConsulta"));
    setWindowTitle(QStringLiteral("FSemConsulta"));
    Dialogs &dialogs = m_context.dialogs;

    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setToolTip(QStringLiteral("Digitar as Horas (hh:mm) do início e fim do período"));
    Edit1 = named(new QLineEdit(blocking::kDefaultStart, Panel1), "Edit1");
    Edit2 = named(new QLineEdit(blocking::kDefaultEnd, Panel1), "Edit2");
    for (QLineEdit *edit : {Edit1, Edit2}) {
        edit->setFixedWidth(70);
        edit->setMaxLength(5);
    }
    auto *times = new QGridLayout(Panel1);
    times->addWidget(bold(QStringLiteral("Hora"), Panel1), 0, 0, 1, 2);
    times->addWidget(new QLabel(QStringLiteral("Início"), Panel1), 1, 0);
    times->addWidget(Edit1, 1, 1);
    times->addWidget(new QLabel(QStringLiteral("Fim"), Panel1), 2, 0);
    times->addWidget(Edit2, 2, 1);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ListBox1 = named(new QListWidget(this), "ListBox1");
    ListBox1->setToolTip(QStringLiteral("Selecionar o(s) médicos(s)"));
    ListBox1->setFixedWidth(QFontMetrics(fixed).horizontalAdvance(QString(33, QLatin1Char('M'))) + 30);
    ListBox2 = named(new QListWidget(this), "ListBox2");
    ListBox2->setToolTip(QStringLiteral("Selecionar a(s) data(s)"));
    ListBox2->setFixedWidth(QFontMetrics(fixed).horizontalAdvance(QString(10, QLatin1Char('0'))) + 40);
    for (QListWidget *list : {ListBox1, ListBox2}) {
        list->setFont(fixed);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setMinimumHeight(360);
    }

    // The narrow strip between the lists and the buttons: crossing it puts the two
    // times in their form.
    Panel2 = named(new QFrame(this), "Panel2");
    Panel2->setFrameShape(QFrame::VLine);
    Panel2->setFixedWidth(14);
    Panel2->setMouseTracking(true);
    Panel2->installEventFilter(this);

    BBloqueiaHora =
        named(new QPushButton(QStringLiteral("Fechar/Reservar  Horários"), this), "BBloqueiaHora");
    Button2 = named(new QPushButton(QStringLiteral("Imprimir Consultas Desmarcadas"), this), "Button2");
    Button2->setToolTip(QStringLiteral("Relação Impressa das Consultas  que foram Desmarcadas"));
    BLimpar = named(new QPushButton(QStringLiteral("Abrir/Liberar Horários"), this), "BLimpar");
    BImprimir = named(new QPushButton(QStringLiteral("Imprimir Consultas Liberadas"), this), "BImprimir");
    BImprimir->setToolTip(QStringLiteral("Relação Impressa dos Horários que foram Liberados"));
    BSair = named(new QPushButton(QStringLiteral("Sair"), this), "BSair");
    for (QPushButton *b : {BBloqueiaHora, Button2, BLimpar, BImprimir, BSair}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(230);
    }
    connect(BBloqueiaHora, &QPushButton::clicked, this,
            guarded(dialogs, [this] { runOperation(blocking::Mode::Reserve); }));
    connect(BLimpar, &QPushButton::clicked, this,
            guarded(dialogs, [this] { runOperation(blocking::Mode::Release); }));
    connect(Button2, &QPushButton::clicked, this, guarded(dialogs, [this] { print(true); }));
    connect(BImprimir, &QPushButton::clicked, this, guarded(dialogs, [this] { print(false); }));
    connect(BSair, &QPushButton::clicked, this, &QDialog::reject);

    auto *doctors = new QVBoxLayout;
    doctors->addWidget(bold(QStringLiteral("Médicos"), this));
    doctors->addWidget(ListBox1, 1);
    auto *days = new QVBoxLayout;
    days->addWidget(bold(QStringLiteral("Dias"), this));
    days->addWidget(ListBox2, 1);
    auto *actions = new QVBoxLayout;
    actions->addWidget(Panel1);
    actions->addSpacing(16);
    actions->addWidget(bold(QStringLiteral("Ações a realizar:"), this));
    actions->addWidget(BBloqueiaHora);
    actions->addWidget(Button2);
    actions->addSpacing(12);
    actions->addWidget(BLimpar);
    actions->addWidget(BImprimir);
    actions->addStretch();
    actions->addWidget(BSair);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addLayout(doctors);
    layout->addLayout(days);
    layout->addWidget(Panel2);
    layout->addLayout(actions);
    resize(sizeHint().width(), 520);
}

void TFSemConsulta::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    runUserAction(m_context.dialogs, [this] { FormActivate(); });
}

void TFSemConsulta::FormActivate()
{
    Edit1->setText(blocking::kDefaultStart);
    Edit2->setText(blocking::kDefaultEnd);
    ListBox1->clear();
    ListBox2->clear();
    ListBox1->addItems(blocking::doctorItems(m_context.doctors));
    for (const QDate &date : closeddates::openDates(m_context.paths, m_context.clock.today()))
        ListBox2->addItem(dates::formatShort(date));
}

bool TFSemConsulta::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel2 && event->type() == QEvent::MouseMove)
        runUserAction(m_context.dialogs, [this] { Panel2MouseMove(); });
    return QDialog::eventFilter(watched, event);
}

void TFSemConsulta::Panel2MouseMove()
{
    const QString start = normaliseTime(Edit1->text(), m_context.dialogs);
    const QString end = normaliseTime(Edit2->text(), m_context.dialogs);
    if (start.isEmpty() || end.isEmpty()) {
        Edit1->setText(blocking::kDefaultStart);
        Edit2->setText(blocking::kDefaultEnd);
        return;
    }
    Edit1->setText(start);
    Edit2->setText(end);
}

void TFSemConsulta::runOperation(blocking::Mode mode)
{
    const QStringList doctors = selectedTexts(ListBox1);
    const QStringList days = selectedTexts(ListBox2);
    if (doctors.isEmpty() || days.isEmpty()) {
        m_context.dialogs.information(blocking::kNothingSelected);
        return;
    }
    // Both times are put in their form and checked before anything is written.
    QString start = Edit1->text();
    QString end = Edit2->text();
    const std::optional<blocking::Period> period = blocking::checkPeriod(start, end, m_context.dialogs);
    Edit1->setText(start);
    Edit2->setText(end);
    if (!period)
        return;
    std::optional<blocking::Result> result = blocking::run(m_context, mode, doctors, days, *period);
    if (!result)
        return;
    m_tableChanged = m_tableChanged || result->tableChanged;
    const bool displaced = mode == blocking::Mode::Reserve && !result->lines.isEmpty();
    m_last = std::move(result);
    if (displaced && listsChanged)
        listsChanged();
}

void TFSemConsulta::print(bool displaced)
{
    // The last result of this window in this run: the work file is shared with other
    // operations, so it is not read back.
    if (!m_last) {
        m_context.dialogs.information(blocking::kNoOperationYet);
        return;
    }
    if (m_last->lines.isEmpty()) {
        m_context.dialogs.information(
            m_last->mode == blocking::Mode::Reserve
                ? QStringLiteral(
                      "A última operação não desmarcou nenhuma consulta: não há relação para imprimir.")
                : QStringLiteral(
                      "A última operação não liberou nenhum horário: não há relação para imprimir."));
        return;
    }
    m_context.printer.printList(blocking::printedList(m_context, m_last->lines, displaced));
}

void TFSemConsulta::FormClose()
{
    m_context.DMMedicos.TMedicos.close();
    if (m_context.settings.mirroringOn() && m_tableChanged)
        takeMirrorSnapshot(m_context);
}

void TFSemConsulta::done(int result)
{
    runUserAction(m_context.dialogs, [this] { FormClose(); });
    QDialog::done(result);
}

} // namespace clinora
