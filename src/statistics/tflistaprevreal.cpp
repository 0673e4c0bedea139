#include "statistics/tflistaprevreal.h"

#include "protection/mirror_link.h"
#include "core/data_files.h"
#include "core/registers.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/user_action.h"
#include "statistics/statistics_files.h"
#include "statistics/weekly_counts.h"
#include "statistics/weekly_listing.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace clinora {

TFListaPrevReal::TFListaPrevReal(MirroredClinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FListaPrevReal"));
    setWindowTitle(QStringLiteral("Listagem Previsão / Realização de Consultas"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringList{QStringLiteral("                            AVISO:"), QString(),
                                    QStringLiteral("   Será  impresso o Ralatório estatístico das"),
                                    QStringLiteral("presenças  às  consultas  e  coeficiente  de "),
                                    QStringLiteral("atendimento de cada médico por turno."), QString(),
                                    QStringLiteral("  Você deverá selecionar primeiramente a"),
                                    QStringLiteral("semana desejada."), QString(), QStringLiteral("  ")}
                            .join(QLatin1Char('\n')));
    QPalette aqua = Memo1->palette();
    aqua.setColor(QPalette::Base, QColor(0, 255, 255));
    aqua.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(aqua);
    // The notice is laid out with blanks: a fixed pitch keeps it as written.
    QFont pitch(QStringLiteral("Liberation Mono"));
    pitch.setStyleHint(QFont::Monospace);
    pitch.setPointSize(9);
    Memo1->setFont(pitch);
    Memo1->setFixedSize(360, 220);

    Label1 = new QLabel(QStringLiteral("Escolha o primeiro"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("dia da Semana"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFixedWidth(230);
    QFont fixed(QStringLiteral("Liberation Mono"));
    fixed.setStyleHint(QFont::Monospace);
    ListBox1->setFont(fixed);

    BCriarSemanas = new QPushButton(QStringLiteral("Criar as Semanas"), this);
    BCriarSemanas->setObjectName(QStringLiteral("BCriarSemanas"));
    Button1 = new QPushButton(QStringLiteral("Imprimir"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    BSair = new QPushButton(QStringLiteral("Sair"), this);
    BSair->setObjectName(QStringLiteral("BSair"));
    for (QPushButton *button : {BCriarSemanas, Button1, BSair})
        button->setAutoDefault(false);
    connect(BCriarSemanas, &QPushButton::clicked, this,
            guarded(m_context.dialogs, [this] { BCriarSemanasClick(); }));
    connect(Button1, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button1Click(); }));
    connect(BSair, &QPushButton::clicked, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addWidget(Memo1);
    left->addStretch();
    left->addWidget(BCriarSemanas, 0, Qt::AlignLeft);
    auto *right = new QVBoxLayout;
    right->addWidget(Label1);
    right->addWidget(Label2);
    right->addWidget(ListBox1, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(BSair);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(600, 420);
}

void TFListaPrevReal::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    runUserAction(m_context.dialogs, [this] { FormActivate(); });
}

void TFListaPrevReal::FormActivate()
{
    loadWeeks();
}

void TFListaPrevReal::loadWeeks()
{
    ListBox1->clear();
    m_weeks = Weeks();
    Weeks weeks;
    weeks.load(m_context.file(files::kWeeks));
    m_weeks = weeks;
    // Each line of Semanas.Txt, its two dates set apart to be read.
    for (const Weeks::Week &w : m_weeks.weeks())
        ListBox1->addItem(dates::format(w.first) + QStringLiteral("  ") + dates::format(w.last));
    WeeklyCounts counts;
    counts.load(m_context.file(files::kWeeklyCounts));
    const int week = weekly::weekToOpenOn(m_weeks, counts, m_context.clock.today());
    ListBox1->setCurrentRow(week - 1);
}

void TFListaPrevReal::BCriarSemanasClick()
{
    if (!m_context.dialogs.question(QStringLiteral(
            "Este procedimento irá alterar todas as datas existentes no quadro ao lado...Continuar?")))
        return;
    const std::optional<QString> typed = m_context.dialogs.inputOrCancel(
        QStringLiteral("Criar as semanas"), QStringLiteral("Data início da primeira semana (dd/mm/aa): "),
        QString());
    if (!typed)
        return;
    const weekly::WeeksFromDay weeks = weekly::weeksFrom(*typed);
    if (!weeks.refusal.isEmpty()) {
        m_context.dialogs.warning(weeks.refusal);
        return;
    }
    // The list is written whole or not at all, then copied to the mirror.
    StatisticsFiles statistics(m_context);
    statistics.stageLines(files::kWeeks, weeks.lines);
    statistics.commit();
    loadWeeks();
}

void TFListaPrevReal::Button1Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= m_weeks.weeks().size() || !ListBox1->currentItem()->isSelected()) {
        m_context.dialogs.information(weekly::kNoWeek);
        return;
    }
    WeeklyCounts counts;
    counts.load(m_context.file(files::kWeeklyCounts));
    const Weeks::Week &week = m_weeks.weeks()[row];
    // The specialties' whole names, as Esp.Txt holds them now.
    SpecialtyTable specialties;
    const bool named = QFileInfo::exists(m_context.file(files::kSpecialties));
    if (named)
        specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
    const DrawnList report = weekly::weeklyReport(counts, m_context.doctors, {row + 1, week.first, week.last},
                                                  named ? &specialties : nullptr);
    m_context.printer.printList(report);
}

} // namespace clinora
