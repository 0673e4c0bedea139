// The statistics files and the operations on them, through what the program runs: the
// first start, the main window's first activation (automatic entry, scheduled
// removal, year close), "Atualizar Quadros e Gráficos", the reset and the close purge.
#include "agenda/purge.h"
#include "app/session.h"
#include "core/data_files.h"
#include "platform/file_group.h"
#include "platform/text_file.h"
#include "platform/user_action.h"
#include "statistics/automatic_entry.h"
#include "statistics/counts.h"
#include "statistics/pending_movements.h"
#include "statistics/posting.h"
#include "statistics/recorded_sheets.h"
#include "statistics/stats_setup.h"
#include "statistics/weeks.h"
#include "statistics/year_close.h"
#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace clinora;
using namespace clinora::test;
using Kind = test::ScriptedDialogs::Kind;

namespace {

// The program's start and the first activation of its main window.
AppContext &startAndActivate(Fixture &f)
{
    AppContext &c = f.start();
    session::activateMainWindow(c);
    return c;
}

} // namespace

class TestStatisticsLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStartMakesTheWeeksOfTheYear_data();
    void firstStartMakesTheWeeksOfTheYear();
    void automaticEntryCountsTheMissedDays();
    void automaticEntryWithoutWeeksOfTheYearMakesThem();
    void automaticEntryKeepsASheetRecordedByHand();
    void automaticEntryStopsOnADayOutsideTheWeeks();
    void automaticEntryClosesTheYearAfter31December();
    void historyHeadingKeepsItsWidthAfterManyCloses();
    void yearCloseTakesTheYearOfItsCode_data();
    void yearCloseTakesTheYearOfItsCode();
    void failedYearCloseIsDoneOnceOnRetry();
    void removalAfterTheAutomaticEntryKeepsItsCounts();
    void halfDoneCommitIsFinishedBeforeTheAutomaticEntry();
    void failedCommitChangesNothingAndTheRetryCountsOnce();
    void postingAddsSetsAsideAndKeeps();
    void postingAnEmptyFileWritesNothing();
    void postingReadsTheLinesAsTheFileHoldsThem();
    void damagedFilesAreNamed_data();
    void damagedFilesAreNamed();
    void badYearCodeIsNamed();
    void scheduledRemoval();
    void resetTakesTheTemplates();
    void yearlyTotalPast99999IsRefused();
    void yearCloseWithAMonthPast9999AsksToSetTheLineAside();
    void switchingTheAutomaticEntryOn();
    void closePurgeKeepsDaysNotCountedYet();
    void countsAreWrittenAtTheirWidth_data();
    void countsAreWrittenAtTheirWidth();
    void movementLinesAreWrittenAsTheyAreRead_data();
    void movementLinesAreWrittenAsTheyAreRead();
    void aDayCountedAgainAfterADoctorIsForgottenReplacesItsLine();
};

void TestStatisticsLogic::firstStartMakesTheWeeksOfTheYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("weeks");
    QTest::newRow("2023, 1 January a Sunday") << QDate(2023, 1, 3) << "26/12/202201/01/2023"
                                              << "25/12/202331/12/2023" << 53;
    QTest::newRow("2034, 1 January a Sunday") << QDate(2034, 6, 1) << "26/12/203301/01/2034"
                                              << "25/12/203431/12/2034" << 53;
    QTest::newRow("2022, 1 January a Saturday") << QDate(2022, 3, 1) << "27/12/202102/01/2022"
                                                << "26/12/202201/01/2023" << 53;
    QTest::newRow("2024, 1 January a Monday") << QDate(2024, 1, 1) << "01/01/202407/01/2024"
                                              << "30/12/202405/01/2025" << 53;
    QTest::newRow("2025, 1 January a Wednesday") << QDate(2025, 7, 1) << "30/12/202405/01/2025"
                                                 << "29/12/202504/01/2026" << 53;
}

void TestStatisticsLogic::firstStartMakesTheWeeksOfTheYear()
{
    QFETCH(QDate, today);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, weeks);
    Fixture f(today);
    startAndActivate(f);
    const QStringList lines = f.read(files::kWeeks);
    QCOMPARE(lines.size(), weeks);
    QCOMPARE(lines.first(), first);
    QCOMPARE(lines.last(), last);
}

void TestStatisticsLogic::automaticEntryCountsTheMissedDays()
{
    // Last counted on Sunday 06/12; started again on Wednesday 09/12.
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("06/12/2026"));
    f.mirroringOn();
    f.write(files::kPendingMovements, {QStringLiteral("1 1215"), QStringLiteral("9912x3")});
    f.addRows({
        booked("06/12/26", 1, 1, "1"), // counted before
        booked("07/12/26", 1, 1, "1"), booked("07/12/26", 2, 1, "2"), booked("07/12/26", 3, 1, "1"),
        booked("07/12/26", 4, 1, {}, QStringLiteral("R")), // a reserved hour
        booked("07/12/26", 5, 1, {}),                      // no situation
        booked("08/12/26", 1, 2, "3"), booked("08/12/26", 2, 2, "1"),
        booked("09/12/26", 1, 1, "1"), // today: tomorrow's work
        booked("07/12/H/", 1, 1, "1"), // the cancelled list
    });
    AppContext &c = startAndActivate(f);

    // December: 3 attendances on 07/12 and 5 pending for doctor 1, 2 on 08/12 for doctor 2.
    QCOMPARE(doctorCount(f, 1, 12), 8);
    QCOMPARE(doctorCount(f, 2, 12), 2);
    QCOMPARE(specialtyCount(f, 51, 12), 8);
    QCOMPARE(specialtyCount(f, 52, 12), 2);
    QCOMPARE(situationCount(f, 1, 51, 12), 7);
    QCOMPARE(situationCount(f, 2, 51, 12), 1);
    QCOMPARE(situationCount(f, 3, 52, 12), 1);
    QCOMPARE(situationCount(f, 1, 52, 12), 1);
    // Week 50 of 2026 runs from 07/12 to 13/12: booked and attended per doctor.
    const QStringList weekly = f.read(files::kWeeklyCounts);
    QCOMPARE(weekly[49 * 50 + 0], QStringLiteral("00030003"));
    QCOMPARE(weekly[49 * 50 + 1], QStringLiteral("00020002"));
    QCOMPARE(weekly.join(QString()).count(QLatin1Char('0')), 2700 * 8 - 4);
    // The malformed pending line is kept aside, not lost, and said once.
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(f.read(files::kSetAsideMovements), QStringList{QStringLiteral("9912x3")});
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings[0].startsWith(QStringLiteral("1 linha(s) de MovMes.Txt")));
    QVERIFY(warnings[0].contains(QStringLiteral("MovMesSeparadas.Txt")));
    QCOMPARE(f.read(files::kSettings)[1], QStringLiteral("08/12/2026"));
    QCOMPARE(c.settings.lastProcessed(), QStringLiteral("08/12/2026"));
    checkFixedSizes(f);
    // The mirror has the files as written.
    for (const QLatin1String name : {files::kDoctorMonths, files::kSpecialtyMonths, files::kSituationMonths,
                                     files::kWeeklyCounts, files::kPendingMovements, files::kSettings})
        QCOMPARE(textfile::readLines(f.mirror() + QLatin1Char('/') + name), f.read(name));
}

void TestStatisticsLogic::automaticEntryWithoutWeeksOfTheYearMakesThem()
{
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("07/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2025);
    f.addRows({booked("08/12/26", 1, 1, "1")});
    startAndActivate(f);
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("29/12/202504/01/2026"));
    QCOMPARE(f.read(files::kWeeklyCounts)[49 * 50], QStringLiteral("00010001"));
    QCOMPARE(doctorCount(f, 1, 12), 1);
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestStatisticsLogic::automaticEntryKeepsASheetRecordedByHand()
{
    // Doctor 1's sheet of 07/12 was recorded by hand (one patient came); the automatic
    // entry counts his 08/12 and leaves 07/12 as the sheet counted it.
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("06/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    const QString byHand =
        QStringLiteral("07/12/20261 5000010001") + QStringLiteral("0001") + QString(32, QLatin1Char('0'));
    f.write(QStringLiteral("FichasGravadas.Txt"), {byHand});
    f.addRows({booked("07/12/26", 1, 1, "1"), booked("07/12/26", 2, 1, "1"), booked("08/12/26", 1, 1, "1")});
    startAndActivate(f);
    QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(doctorCount(f, 1, 12), 1);
    QCOMPARE(f.read(files::kWeeklyCounts)[49 * 50], QStringLiteral("00010001"));
    const QStringList recorded = f.read(QStringLiteral("FichasGravadas.Txt"));
    QCOMPARE(recorded.size(), 2);
    QCOMPARE(recorded[0], byHand);
    QVERIFY(recorded[1].startsWith(QStringLiteral("08/12/20261 5000010001")));
}

void TestStatisticsLogic::automaticEntryStopsOnADayOutsideTheWeeks()
{
    // Weeks made by hand that stop before December: the file, its last line and the
    // way out are named, and on No the run keeps nothing.
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("06/12/2026"));
    f.write(files::kWeeks, {QStringLiteral("05/01/202611/01/2026")});
    f.write(files::kPendingMovements, {QStringLiteral("1 1212")});
    f.addRows({booked("07/12/26", 1, 1, "1"), booked("08/12/26", 1, 1, "1")});
    const auto before = snapshot(f);
    const QString where =
        QStringLiteral("O dia 07/12/2026 não está em nenhuma semana do arquivo Semanas.Txt, que vai "
                       "da linha 1 (05/01/2026 a 11/01/2026) à linha 1 (05/01/2026 a "
                       "11/01/2026).");
    f.dialogs.answerQuestion(false);
    AppContext &c = startAndActivate(f);
    QCOMPARE(
        f.dialogs.texts(Kind::Question),
        QStringList{where + QStringLiteral("\n\nAcrescentar ao arquivo as 51 semana(s) que faltam até "
                                           "03/01/2027, de sete dias cada uma, continuando a da linha 1?")});
    QCOMPARE(
        f.dialogs.texts(Kind::Information),
        QStringList{where + QStringLiteral("\n\nNada foi gravado. Para corrigir, crie as semanas de novo em "
                                           "Estatísticas + Relatório Semanal + Criar Semanas, com um "
                                           "primeiro dia que inclua o dia 07/12/2026.")});
    QCOMPARE(snapshot(f), before);
    QCOMPARE(c.settings.lastProcessed(), QStringLiteral("06/12/2026"));

    // Yes at the next start: the weeks go on to the year's end and the days count.
    f.dialogs.clear();
    f.dialogs.answerQuestion(true);
    c.firstActivation = true;
    c.automaticEntryPending = true;
    startAndActivate(f);
    const QStringList weeks = f.read(files::kWeeks);
    QCOMPARE(weeks.size(), 52);
    QCOMPARE(weeks.first(), QStringLiteral("05/01/202611/01/2026"));
    QCOMPARE(weeks.last(), QStringLiteral("28/12/202603/01/2027"));
    QCOMPARE(doctorCount(f, 1, 12), 4);
    QCOMPARE(f.read(files::kWeeklyCounts)[48 * 50], QStringLiteral("00020002"));
    QCOMPARE(f.read(files::kSettings)[1], QStringLiteral("08/12/2026"));
}

void TestStatisticsLogic::automaticEntryClosesTheYearAfter31December()
{
    Fixture f(QDate(2027, 1, 2));
    openClinic(f, true, QStringLiteral("30/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    QStringList history = f.read(files::kHistory);
    history[1] = QStringLiteral("51000100002000030");
    f.write(files::kHistory, history);
    QStringList specialties = f.read(files::kSpecialtyMonths);
    specialties[0] = QStringLiteral("510005") + QString(44, QLatin1Char('0'));
    f.write(files::kSpecialtyMonths, specialties);
    f.write(files::kPendingMovements, {QStringLiteral("1 1211")});
    f.addRows({booked("31/12/26", 1, 1, "1"), booked("31/12/26", 2, 1, "2"), booked("01/01/27", 1, 1, "1")});
    AppContext &c = startAndActivate(f);

    // The year's files, as counted and posted, are kept in Estatisticas/Ano2026.
    const QString archive = f.dir() + QStringLiteral("/Estatisticas/Ano2026/");
    const QStringList archived = QDir(archive).entryList(QDir::Files, QDir::Name);
    QCOMPARE(archived,
             QStringList({"CodMed.Txt", "DiaMedHora.Txt", "Esp.Txt", "EspMeses.Txt", "Historico.Txt",
                          "MedMeses.Txt", "PrevReal.Txt", "Semanas.Txt", "Sit.Txt", "SitMeses.Txt"}));
    QCOMPARE(textfile::readLines(archive + QStringLiteral("EspMeses.Txt"))[0],
             QStringLiteral("510005") + QString(40, QLatin1Char('0')) + QStringLiteral("0003"));
    QCOMPARE(textfile::readLines(archive + QStringLiteral("MedMeses.Txt"))[0].right(4),
             QStringLiteral("0003"));
    QCOMPARE(textfile::readLines(archive + QStringLiteral("Semanas.Txt")).first(),
             QStringLiteral("29/12/202504/01/2026"));
    // The history shifted by one year, the newest column the year's total.
    const QStringList shifted = f.read(files::kHistory);
    QCOMPARE(shifted[0], QStringLiteral("00 2024 2025 2026"));
    QCOMPARE(shifted[1], QStringLiteral("51000200003000008"));
    QCOMPARE(shifted[2], QStringLiteral("52000000000000000"));
    // 2027 opens from the templates, counted up to 31/12/2026; 01/01/2027 waits.
    const QStringList settings = f.read(files::kSettings);
    QCOMPARE(settings[1], QStringLiteral("31/12/2026"));
    QCOMPARE(settings[2], QStringLiteral("A2027"));
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("28/12/202603/01/2027"));
    QCOMPARE(f.read(files::kWeeks).size(), 53);
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + kZeros);
    QCOMPARE(f.read(files::kSpecialtyMonths), f.read(QStringLiteral("BaseEspMeses.Txt")));
    QCOMPARE(f.read(files::kWeeklyCounts), f.read(QStringLiteral("BasePrevReal.Txt")));
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    checkFixedSizes(f);
    QVERIFY(f.dialogs.texts(Kind::Information).last().contains(QStringLiteral("Estatisticas\\Ano2026")));

    // The next start counts 1 January into the new year.
    c.firstActivation = true;
    startAndActivate(f);
    QCOMPARE(doctorCount(f, 1, 1), 1);
    QCOMPARE(f.read(files::kSettings)[1], QStringLiteral("01/01/2027"));
}

void TestStatisticsLogic::historyHeadingKeepsItsWidthAfterManyCloses()
{
    Fixture f(QDate(2026, 12, 8));
    openClinic(f, false, QStringLiteral("07/12/2026"));
    AppContext &c = f.start();
    QStringList headings;
    for (int year = 2027; year <= 2030; ++year) {
        f.clock.setToday(QDate(year, 1, 10));
        closeStatisticsYear(c);
        headings << f.read(files::kHistory)[0];
        QCOMPARE(f.read(files::kSettings)[2], QStringLiteral("A%1").arg(year));
        QCOMPARE(f.read(files::kSettings)[1], QStringLiteral("31/12/%1").arg(year - 1));
    }
    QCOMPARE(headings, QStringList({"00 2024 2025 2026", "00 2025 2026 2027", "00 2026 2027 2028",
                                    "00 2027 2028 2029"}));
    for (int year = 2026; year <= 2029; ++year)
        QVERIFY(QFileInfo::exists(f.dir() + QStringLiteral("/Estatisticas/Ano%1/Historico.Txt").arg(year)));
}

void TestStatisticsLogic::yearCloseTakesTheYearOfItsCode_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("10 January") << QDate(2027, 1, 10);
    QTest::newRow("15 February") << QDate(2027, 2, 15);
}

void TestStatisticsLogic::yearCloseTakesTheYearOfItsCode()
{
    QFETCH(QDate, today);
    Fixture f(today);
    openClinic(f, false, QStringLiteral("20/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    f.write(files::kPendingMovements, {QStringLiteral("1 1213")});
    AppContext &c = f.start();
    closeStatisticsYear(c);
    QVERIFY(QFileInfo::exists(f.dir() + QStringLiteral("/Estatisticas/Ano2026/MedMeses.Txt")));
    QCOMPARE(textfile::readLines(f.dir() + QStringLiteral("/Estatisticas/Ano2026/MedMeses.Txt"))[0].right(4),
             QStringLiteral("0003"));
    QCOMPARE(f.read(files::kHistory)[0], QStringLiteral("00 2024 2025 2026"));
    QCOMPARE(f.read(files::kHistory)[1], QStringLiteral("51000000000000003"));
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"31/12/2026", "A2027"}));
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("28/12/202603/01/2027"));
}

void TestStatisticsLogic::failedYearCloseIsDoneOnceOnRetry()
{
    Fixture f(QDate(2027, 1, 2));
    openClinic(f, true, QStringLiteral("30/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    QStringList history = f.read(files::kHistory);
    history[1] = QStringLiteral("51000100002000030");
    f.write(files::kHistory, history);
    f.addRows({booked("31/12/26", 1, 1, "1")});
    // The history cannot be written, as on a full disk, after everything before it.
    const QString blocker = f.dir() + QStringLiteral("/Historico.Txt.novo~");
    QVERIFY(QDir().mkpath(blocker + QStringLiteral("/x")));
    const auto before = snapshot(f);
    AppContext &c = startAndActivate(f);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QCOMPARE(snapshot(f), before);
    QVERIFY(!QFileInfo::exists(f.dir() + QStringLiteral("/Estatisticas/Ano2026/MedMeses.Txt")));

    QVERIFY(QDir(blocker).removeRecursively());
    c.firstActivation = true;
    startAndActivate(f);
    QCOMPARE(f.read(files::kHistory)[0], QStringLiteral("00 2024 2025 2026"));
    QCOMPARE(f.read(files::kHistory)[1], QStringLiteral("51000200003000001"));
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"31/12/2026", "A2027"}));
}

void TestStatisticsLogic::removalAfterTheAutomaticEntryKeepsItsCounts()
{
    // One activation counts yesterday, then removes doctor 2, whose leave began today:
    // the removal works on the tables as the entry left them.
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("07/12/2026"));
    f.setLeave(2, QStringLiteral("09/12/26"), QStringLiteral("31/12/55"));
    f.addRows({booked("08/12/26", 1, 1, "1"), booked("08/12/26", 1, 2, "2"), booked("08/12/26", 2, 2, "2")});
    startAndActivate(f);
    const QStringList months = f.read(files::kDoctorMonths);
    QCOMPARE(months[0], QStringLiteral("1 51") + QString(44, QLatin1Char('0')) + QStringLiteral("0001"));
    QCOMPARE(months[1], QStringLiteral("2 00") + kZeros);
    QCOMPARE(months[51], QStringLiteral("5252") + QString(44, QLatin1Char('0')) + QStringLiteral("0002"));
    QCOMPARE(specialtyCount(f, 52, 12), 2);
    QCOMPARE(situationCount(f, 2, 52, 12), 2);
}

void TestStatisticsLogic::halfDoneCommitIsFinishedBeforeTheAutomaticEntry()
{
    // A crash cut a counted run short after its commit list was written: the settings
    // and MedMeses.Txt of the run wait beside their files.
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("07/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    f.addRows({booked("08/12/26", 1, 1, "1"), booked("08/12/26", 2, 1, "1")});
    QStringList settings = f.read(files::kSettings);
    settings[1] = QStringLiteral("08/12/2026");
    QStringList months = f.read(files::kDoctorMonths);
    months[0] = QStringLiteral("1 51") + QString(44, QLatin1Char('0')) + QStringLiteral("0002");
    textfile::writeLines(f.dir() + QStringLiteral("/Automatica.Txt.novo~"), settings);
    textfile::writeLines(f.dir() + QStringLiteral("/MedMeses.Txt.novo~"), months);
    QFile list(f.dir() + QLatin1Char('/') + FileGroup::listName());
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("Automatica.Txt\nMedMeses.Txt\n");
    list.close();

    AppContext &c = startAndActivate(f);
    QCOMPARE(doctorCount(f, 1, 12), 2);
    QCOMPARE(c.settings.lastProcessed(), QStringLiteral("08/12/2026"));
    QVERIFY(!QFileInfo::exists(list.fileName()));
}

void TestStatisticsLogic::failedCommitChangesNothingAndTheRetryCountsOnce()
{
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("07/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    f.write(files::kPendingMovements, {QStringLiteral("2 1214")});
    f.addRows({booked("08/12/26", 1, 1, "1"), booked("08/12/26", 2, 1, "3")});
    // A file that cannot be written, as on a full disk: the fourth of the group.
    const QString blocker = f.dir() + QStringLiteral("/SitMeses.Txt.novo~");
    QVERIFY(QDir().mkpath(blocker + QStringLiteral("/x")));
    const auto before = snapshot(f);
    AppContext &c = startAndActivate(f);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error)[0].contains(QStringLiteral("SitMeses.Txt")));
    QCOMPARE(snapshot(f), before);

    QVERIFY(QDir(blocker).removeRecursively());
    f.dialogs.clear();
    c.firstActivation = true;
    startAndActivate(f);
    QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(doctorCount(f, 1, 12), 2);
    QCOMPARE(doctorCount(f, 2, 12), 4);
    QCOMPARE(situationCount(f, 3, 51, 12), 1);
    QCOMPARE(f.read(files::kWeeklyCounts)[49 * 50], QStringLiteral("00020002"));
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
}

void TestStatisticsLogic::postingAddsSetsAsideAndKeeps()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    f.addDoctor(3, QStringLiteral("Dr. Caio Reis"), QStringLiteral("53 Dermatologia"));
    QStringList months = f.read(files::kDoctorMonths);
    months[1] = QStringLiteral("2 52") + QString(8, QLatin1Char('0')) + QStringLiteral("9998") +
                QString(36, QLatin1Char('0'));
    months[2] = QStringLiteral("3   ") + kZeros; // a blank specialty
    f.write(files::kDoctorMonths, months);
    // Situation 9 has no row of specialty 51.
    QStringList situations = f.read(files::kSituationMonths);
    situations.replace(situations.indexOf(QStringLiteral("951") + kZeros), QStringLiteral("051") + kZeros);
    f.write(files::kSituationMonths, situations);
    const QStringList pending = {
        QStringLiteral("1 0312"),  QStringLiteral("1 0313"), // both added
        QStringLiteral("1 031-1"),                           // a correction
        QStringLiteral("1 0391"),                            // no row of situation 9 with 51
        QStringLiteral("3 0311"),                            // a doctor without a specialty
        QStringLiteral("2 0315"),                            // would pass 9,999 in March
        QStringLiteral("2 0311"),                            // fits
        QStringLiteral("0 0311"),  QStringLiteral("5113111"),
        QStringLiteral("1 1311"),  QStringLiteral("1 00"),
        QStringLiteral("1 03A1"),  QStringLiteral("1 031x"),
        QStringLiteral("1 031"),   QString(),
    };
    f.write(files::kPendingMovements, pending);
    AppContext &c = f.start();
    runUserAction(c.dialogs, [&] { postPendingMovements(c); });

    QCOMPARE(doctorCount(f, 1, 3), 4);
    QCOMPARE(specialtyCount(f, 51, 3), 4);
    QCOMPARE(situationCount(f, 1, 51, 3), 4);
    QCOMPARE(doctorCount(f, 2, 3), 9999);
    QCOMPARE(f.read(files::kPendingMovements), QStringList{QStringLiteral("2 0315")});
    QCOMPARE(f.read(files::kSetAsideMovements), pending.mid(3, 2) + pending.mid(7));
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 2);
    QVERIFY(warnings[0].startsWith(QStringLiteral("10 linha(s) de MovMes.Txt")));
    QVERIFY(
        warnings[1].startsWith(QStringLiteral("1 linha(s) de MovMes.Txt continuam pendentes: MedMeses.Txt, "
                                              "linha 2, mês 03")));
    checkFixedSizes(f);

    // What was set aside stays when more is set aside.
    f.write(files::kPendingMovements, {QStringLiteral("xx")});
    runUserAction(c.dialogs, [&] { postPendingMovements(c); });
    QCOMPARE(f.read(files::kSetAsideMovements).size(), 11);
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
}

void TestStatisticsLogic::postingAnEmptyFileWritesNothing()
{
    Fixture f;
    AppContext &c = f.start();
    const auto before = snapshot(f);
    postPendingMovements(c);
    QCOMPARE(snapshot(f), before);
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestStatisticsLogic::postingReadsTheLinesAsTheFileHoldsThem()
{
    // MovMes.Txt as another program may leave it: line ends of every kind, the last line
    // unterminated, and a line with an accented letter where a digit belongs.
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    QFile file(f.dir() + QLatin1Char('/') + files::kPendingMovements);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("1 0312\r\n2 0315\n1 03\xE9"
               "1\r1 031-1");
    file.close();
    AppContext &c = f.start();
    runUserAction(c.dialogs, [&] { postPendingMovements(c); });

    QCOMPARE(doctorCount(f, 1, 3), 1);
    QCOMPARE(doctorCount(f, 2, 3), 5);
    QCOMPARE(specialtyCount(f, 51, 3), 1);
    QCOMPARE(situationCount(f, 1, 51, 3), 1);
    QCOMPARE(situationCount(f, 1, 52, 3), 5);
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    // The line that is no movement is set aside byte for byte, and named as it reads.
    QFile aside(f.dir() + QLatin1Char('/') + files::kSetAsideMovements);
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), QByteArray("1 03\xE9"
                                         "1\r\n"));
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(QStringLiteral("\"1 03é1\": situação \"é\" não é de 1 a 9")),
             qPrintable(warnings[0]));
    checkFixedSizes(f);
}

void TestStatisticsLogic::damagedFilesAreNamed_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("posted"); // read by "Atualizar Quadros e Gráficos" too
    QTest::newRow("MedMeses.Txt, a line too long")
        << "MedMeses.Txt" << 7 << QString("7 00" + kZeros + "0") << "linha 7" << true;
    QTest::newRow("MedMeses.Txt, a count not a number")
        << "MedMeses.Txt" << 1 << QString("1 51000A" + kZeros.mid(4)) << "linha 1, mês 01" << true;
    QTest::newRow("EspMeses.Txt, a line too short") << "EspMeses.Txt" << 30 << "80"
                                                    << "linha 30" << true;
    QTest::newRow("SitMeses.Txt, a blank count")
        << "SitMeses.Txt" << 300 << QString("080" + kZeros.left(44) + "  12") << "linha 300, mês 12" << true;
    QTest::newRow("MedMeses.Txt, a line missing") << "MedMeses.Txt" << 0 << QString() << "79 linhas" << true;
    QTest::newRow("PrevReal.Txt, a line missing")
        << "PrevReal.Txt" << 0 << QString() << "2699 linhas" << false;
    QTest::newRow("PrevReal.Txt, a count not a number")
        << "PrevReal.Txt" << 5 << "0000001x" << "linha 5" << false;
}

void TestStatisticsLogic::damagedFilesAreNamed()
{
    QFETCH(QString, file);
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QFETCH(bool, posted);
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("07/12/2026"));
    QStringList lines = f.read(file);
    if (line > 0)
        lines[line - 1] = text;
    else
        lines.removeLast();
    f.write(file, lines);
    f.write(files::kPendingMovements, {QStringLiteral("1 1211")});
    f.addRows({booked("08/12/26", 1, 1, "1")});
    const auto before = snapshot(f);
    AppContext &c = startAndActivate(f);
    // The automatic entry stops; "Atualizar Quadros e Gráficos", when it reads the
    // file, stops the same way. Each says which file and line.
    if (posted)
        runUserAction(c.dialogs, [&] { postPendingMovements(c); });
    const QStringList errors = f.dialogs.texts(Kind::Error);
    QCOMPARE(errors.size(), posted ? 2 : 1);
    for (const QString &error : errors) {
        QVERIFY2(error.contains(file) && error.contains(named), qPrintable(error));
    }
    QCOMPARE(snapshot(f), before);
}

void TestStatisticsLogic::badYearCodeIsNamed()
{
    Fixture f(QDate(2026, 12, 9));
    openClinic(f, true, QStringLiteral("07/12/2026"));
    f.setSetting(3, QStringLiteral("a2026"));
    f.addRows({booked("08/12/26", 1, 1, "1")});
    const auto before = snapshot(f);
    startAndActivate(f);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error)[0].startsWith(
        QStringLiteral("A linha 3 de Automatica.Txt (\"a2026\")")));
    QCOMPARE(snapshot(f), before);
}

void TestStatisticsLogic::scheduledRemoval()
{
    Fixture f; // 08/12/2026
    openClinic(f, false, QStringLiteral("07/12/2026"));
    f.addDoctor(3, QStringLiteral("Dr. Caio Reis"), QStringLiteral("53 Dermatologia"));
    f.addDoctor(4, QStringLiteral("Dra. Dora Melo"), QStringLiteral("54 Ginecologia"));
    f.addDoctor(5, QStringLiteral("Dr. Elias Nunes"), QStringLiteral("55 Pediatria"));
    f.addDoctor(6, QStringLiteral("Dra. Fabia Prado"), QStringLiteral("56 Ortopedia"));
    f.setTimes(3, 2, {QStringLiteral("08:00"), QStringLiteral("08:30")});
    f.setLeave(3, QStringLiteral("07/12/26"), QStringLiteral("31/12/55")); // began yesterday
    f.setLeave(4, QStringLiteral("13/12/26"), QStringLiteral("31/12/55")); // in five days
    f.setLeave(5, QStringLiteral("01/12/26"), QStringLiteral("05/12/26")); // over
    f.setLeave(6, QStringLiteral("3x/12/26"), QStringLiteral("31/12/55")); // not a date
    QStringList months = f.read(files::kDoctorMonths);
    months[2] = QStringLiteral("3 53") + QStringLiteral("0004") + QString(40, QLatin1Char('0')) +
                QStringLiteral("0010");
    months[52] = QStringLiteral("5353") + QStringLiteral("0001") + QString(44, QLatin1Char('0'));
    f.write(files::kDoctorMonths, months);
    f.write(files::kPendingMovements, {QStringLiteral("3 1212")});
    QStringList weekly = f.read(files::kWeeklyCounts);
    weekly[48 * 50 + 2] = QStringLiteral("00060005");
    f.write(files::kWeeklyCounts, weekly);
    AppContext &c = startAndActivate(f);

    const QStringList register_ = f.read(files::kDoctors);
    QCOMPARE(register_[2], QStringLiteral("3 ") + QString(65, QLatin1Char(' ')));
    QCOMPARE(f.read(files::kDoctorNames)[3], QStringLiteral("3 ") + QString(25, QLatin1Char(' ')));
    QCOMPARE(f.read(files::kTimetable)[1200 + 2 * 24], QString());
    QVERIFY(c.doctors.isFree(3));
    // His counts, with what was pending of him, go to his specialty's row.
    const QStringList moved = f.read(files::kDoctorMonths);
    QCOMPARE(moved[2], QStringLiteral("3 00") + kZeros);
    QCOMPARE(moved[52], QStringLiteral("5353") + QStringLiteral("0005") + QString(40, QLatin1Char('0')) +
                            QStringLiteral("0012"));
    // His weeks go with him: a doctor given code 3 later does not inherit them.
    QCOMPARE(f.read(files::kWeeklyCounts)[48 * 50 + 2], QStringLiteral("00000000"));
    QCOMPARE(register_[3].mid(51, 16), QStringLiteral("13/12/2631/12/55"));
    QCOMPARE(register_[4].mid(51, 16), QString(16, QLatin1Char(' ')));
    QCOMPARE(register_[5].left(27), QStringLiteral("6 Dra. Fabia Prado         "));
    QCOMPARE(
        f.dialogs.texts(Kind::Information),
        QStringList({QStringLiteral("                    Nome do(a) médico(a): Dra. Dora Melo           \n"
                                    "            O médico será excluído no dia 13/12/26\n"
                                    "== Mantenha atualizadas as suas Fichas de Atendimentos =="),
                     QStringLiteral("O médico(a) Dr. Caio Reis             foi excluído(a)")}));
    QCOMPARE(
        f.dialogs.texts(Kind::Warning),
        QStringList{QStringLiteral("CodMed.Txt, linha 6: a data de saída do médico (\"3x/12/26\") não é uma "
                                   "data; o afastamento dele não foi considerado.")});
}

void TestStatisticsLogic::resetTakesTheTemplates()
{
    Fixture f(QDate(2026, 6, 10));
    openClinic(f, false, QStringLiteral("01/06/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    QStringList months = f.read(files::kDoctorMonths);
    months[0] = QStringLiteral("1 510007") + QString(44, QLatin1Char('0'));
    f.write(files::kDoctorMonths, months);
    f.write(files::kPendingMovements, {QStringLiteral("1 0611")});
    AppContext &c = f.start();
    resetStatistics(c);
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + kZeros);
    QCOMPARE(f.read(files::kDoctorMonths)[1], QStringLiteral("2 52") + kZeros);
    QCOMPARE(f.read(files::kDoctorMonths)[2], QStringLiteral("3 00") + kZeros);
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("29/12/202504/01/2026"));
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"09/06/2026", "A2026"}));

    // A missing template stops the reset with its name, and nothing changes.
    QFile::remove(f.dir() + QStringLiteral("/BaseSitMeses.Txt"));
    f.write(files::kPendingMovements, {QStringLiteral("1 0611")});
    const auto before = snapshot(f);
    runUserAction(c.dialogs, [&] { resetStatistics(c); });
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error)[0].contains(QStringLiteral("BaseSitMeses.Txt")));
    QCOMPARE(snapshot(f), before);
}

void TestStatisticsLogic::yearlyTotalPast99999IsRefused()
{
    Fixture f(QDate(2027, 1, 10));
    openClinic(f, false, QStringLiteral("31/12/2026"));
    QStringList specialties = f.read(files::kSpecialtyMonths);
    specialties[0] = QStringLiteral("51") +
                     QString(12, QLatin1Char('x')).replace(QLatin1Char('x'), QStringLiteral("9999"));
    f.write(files::kSpecialtyMonths, specialties);
    AppContext &c = f.start();
    const auto before = snapshot(f);
    runUserAction(c.dialogs, [&] { closeStatisticsYear(c); });
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY2(f.dialogs.texts(Kind::Error)[0].startsWith(
                 QStringLiteral("Historico.Txt, linha 2: a contagem chegaria "
                                "a 119988")),
             qPrintable(f.dialogs.texts(Kind::Error)[0]));
    QCOMPARE(snapshot(f), before);
}

void TestStatisticsLogic::yearCloseWithAMonthPast9999AsksToSetTheLineAside()
{
    // The automatic entry counted 31 December; a pending line takes doctor 2's December
    // past 9,999, so the close cannot count it.
    Fixture f(QDate(2027, 1, 2));
    openClinic(f, true, QStringLiteral("30/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    setPosted(f, 2, 52, 1, 12, 9998);
    f.write(files::kPendingMovements, {QStringLiteral("1 1211"), QStringLiteral("2 1215")});
    f.addRows({booked("31/12/26", 1, 1, "1")});
    const auto before = snapshot(f);
    const QString what =
        QStringLiteral("As estatísticas de 2026 não podem ser fechadas com todas as linhas de "
                       "MovMes.Txt: a linha 2 (\"2 1215\") não cabe nas tabelas, porque "
                       "MedMeses.Txt, linha 2, mês 12: a contagem chegaria a 10003, mais do que os "
                       "9999 que cabem no arquivo.");
    f.dialogs.answerQuestion(false);
    AppContext &c = startAndActivate(f);
    QCOMPARE(
        f.dialogs.texts(Kind::Question),
        QStringList{what + QStringLiteral("\n\nFechar o ano assim mesmo, sem contar essa(s) linha(s)? Elas "
                                          "ficam guardadas, como estão, no arquivo MovMesSeparadas.Txt.")});
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error)[0].startsWith(what));
    QCOMPARE(snapshot(f), before);

    // Yes at the next start: the year closes without the line, which is kept aside.
    f.dialogs.clear();
    f.dialogs.answerQuestion(true);
    c.firstActivation = true;
    c.automaticEntryPending = true;
    startAndActivate(f);
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"31/12/2026", "A2027"}));
    QCOMPARE(textfile::readLines(f.dir() + QStringLiteral("/Estatisticas/Ano2026/MedMeses.Txt"))[0].right(4),
             QStringLiteral("0002"));
    QCOMPARE(f.read(files::kSetAsideMovements), QStringList{QStringLiteral("2 1215")});
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QVERIFY(f.dialogs.texts(Kind::Warning).join(QString()).contains(QStringLiteral("MovMesSeparadas.Txt")));
}

void TestStatisticsLogic::switchingTheAutomaticEntryOn()
{
    Fixture f(QDate(2027, 1, 5));
    openClinic(f, false, QStringLiteral("01/01/2027"));
    AppContext &c = f.start();
    QVERIFY(!switchAutomaticEntryOn(c));
    QCOMPARE(f.dialogs.texts().last(),
             QStringLiteral(
                 "   Para selecionar a \"Entrada Automática\", você precisa primeiro\nabrir as estatísticas "
                 "do ano de 2027\n\n                 == use a opção [ Abrir, Limpar (reiniciar) as "
                 "Estatísticas ] == "));
    QCOMPARE(f.read(files::kSettings)[0], QStringLiteral("Nao"));

    c.settings.setYearState(QStringLiteral("A2027"));
    f.dialogs.answerQuestion(false);
    QVERIFY(!switchAutomaticEntryOn(c));
    QCOMPARE(f.read(files::kSettings)[0], QStringLiteral("Nao"));
    f.dialogs.answerQuestion(true);
    QVERIFY(switchAutomaticEntryOn(c));
    QCOMPARE(f.read(files::kSettings).mid(0, 3), QStringList({"Sim", "04/01/2027", "A2027"}));
    // Once on, a click changes nothing and asks nothing.
    QVERIFY(switchAutomaticEntryOn(c));
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
}

void TestStatisticsLogic::closePurgeKeepsDaysNotCountedYet()
{
    // Counted up to 05/12; the program is closed on 08/12 without having counted since.
    Fixture f;
    openClinic(f, true, QStringLiteral("05/12/2026"));
    f.addRows({booked("05/12/26", 1, 1, "1"), booked("06/12/26", 1, 1, "1"), booked("07/12/26", 1, 1, "1")});
    AppContext &c = f.start();
    c.automaticEntryPending = false;
    session::closeMainWindow(c);
    QStringList left;
    for (const Appointment &a : f.rows())
        left << a.data;
    QCOMPARE(left, QStringList({"06/12/26", "07/12/26"}));
}

void TestStatisticsLogic::countsAreWrittenAtTheirWidth_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << 4 << "0000";
    QTest::newRow("one digit") << 7 << 4 << "0007";
    QTest::newRow("at the limit") << 9999 << 4 << "9999";
    QTest::newRow("past the limit, whole") << 12345 << 4 << "12345";
    QTest::newRow("yearly total at the limit") << 99999 << 5 << "99999";
    QTest::newRow("week of two") << 3 << 2 << "03";
    QTest::newRow("negative, sign first") << -5 << 4 << "-005";
    QTest::newRow("negative, wider") << -12345 << 4 << "-12345";
}

void TestStatisticsLogic::countsAreWrittenAtTheirWidth()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, text);
    QCOMPARE(stats::countText(value, width), text);
    QString line = QStringLiteral("51");
    stats::appendCount(line, value, width);
    QCOMPARE(line, QStringLiteral("51") + text);
}

void TestStatisticsLogic::movementLinesAreWrittenAsTheyAreRead_data()
{
    QTest::addColumn<int>("doctor");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("situation");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QString>("line");
    QTest::newRow("one-digit doctor") << 7 << 3 << 3 << 12 << "7 03312";
    QTest::newRow("two-digit doctor, December") << 50 << 12 << 9 << 9999 << "501299999";
    QTest::newRow("fewer attended: negative") << 12 << 1 << 1 << -4 << "12011-4";
    QTest::newRow("negative at the limit") << 1 << 10 << 2 << -999 << "1 102-999";
}

void TestStatisticsLogic::movementLinesAreWrittenAsTheyAreRead()
{
    QFETCH(int, doctor);
    QFETCH(int, month);
    QFETCH(int, situation);
    QFETCH(int, quantity);
    QFETCH(QString, line);
    QCOMPARE(PendingMovements::line(doctor, month, situation, quantity), line);
    const std::optional<Movement> read = PendingMovements::parse(line);
    QVERIFY(read);
    QCOMPARE(read->doctor, doctor);
    QCOMPARE(read->quantity, quantity);
}

void TestStatisticsLogic::aDayCountedAgainAfterADoctorIsForgottenReplacesItsLine()
{
    // Three days on file; the first doctor's code is freed, then the third line's day
    // is counted again: it takes the place of its own line, and nothing else changes.
    Fixture f(QDate(2026, 12, 9));
    const QString day1 = QStringLiteral("07/12/2026");
    const QString day2 = QStringLiteral("08/12/2026");
    f.write(kRecordedSheetsFile, {day1 + QStringLiteral("1 4900010001") + QString(36, QLatin1Char('0')),
                                  day1 + QStringLiteral("2 4900020002") + QString(36, QLatin1Char('0')),
                                  day2 + QStringLiteral("2 4900030003") + QString(36, QLatin1Char('0'))});
    RecordedSheets sheets;
    sheets.load(f.dir() + QLatin1Char('/') + kRecordedSheetsFile);
    sheets.forgetDoctor(1);
    RecordedDay again{QDate(2026, 12, 8), 2, 49, {}};
    again.count.booked = 5;
    again.count.attended = 4;
    again.count.situations[1] = 4;
    sheets.set(again);
    QCOMPARE(sheets.lines(),
             QStringList({day1 + QStringLiteral("2 4900020002") + QString(36, QLatin1Char('0')),
                          day2 + QStringLiteral("2 49000500040004") + QString(32, QLatin1Char('0'))}));
    QCOMPARE(sheets.find(QDate(2026, 12, 7), 2)->count.booked, 2);
    QVERIFY(!sheets.find(QDate(2026, 12, 7), 1));
}

QTEST_APPLESS_MAIN(TestStatisticsLogic)
#include "tst_statistics_logic.moc"
