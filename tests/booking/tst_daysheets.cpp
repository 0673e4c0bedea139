// The day sheets, the month summary and the day list as logic: dates of day numbers,
// labels, what closes or disables a sheet, the fill, the row rebuild and the jumps.
#include "booking/day_list.h"
#include "booking/month_overview.h"
#include "booking_setup.h"
#include "platform/errors.h"

#include <QFile>
#include <QTest>

using namespace clinora;
using test::booking;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

QString row(const DaySheet &sheet, int code)
{
    QStringList cells;
    for (int slot = 1; slot <= 24; ++slot)
        cells << (sheet.cell(slot, code).isEmpty() ? QStringLiteral(".") : sheet.cell(slot, code).trimmed());
    return cells.join(QString());
}

} // namespace

class TestDaySheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsOfDays_data();
    void labelsOfDays();
    void daysTheMonthLacks();
    void daysBeyondTheLimit();
    void lastDaysOfAPreparedMonth();
    void closedDates_data();
    void closedDates();
    void fillShowsSlotsBookingsAndLeave();
    void missingNameAndHeadingFiles();
    void rowRebuildModes();
    void monthSummaryFollowsTheSheets();
    void specialtyFilter();
    void headingKeysOnTheMonth();
    void jumps();
    void dayList();
};

void TestDaySheets::labelsOfDays_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("label");
    QTest::newRow("next year") << 5 << "05/01/27" << "5 de Janeiro - Ter";
    QTest::newRow("today") << 8 << "08/12/26" << "8 de Dezembro - Ter";
    QTest::newRow("Saturday") << 12 << "12/12/26" << "12 de Dezembro - Sab";
}

void TestDaySheets::labelsOfDays()
{
    QFETCH(int, day);
    QFETCH(QString, date);
    QFETCH(QString, label);
    Fixture f;
    test::setUpClinic(f);
    AppContext &c = f.start();
    QCOMPARE(c.sheets.dateOfDay(day), date);
    c.sheets.refresh(day);
    QCOMPARE(c.sheets.sheet(day).label(), label);
    QVERIFY(c.sheets.sheet(day).isEnabled());
}

void TestDaySheets::daysTheMonthLacks()
{
    Fixture f(QDate(2027, 2, 8));
    test::setUpClinic(f);
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("07/03/2027")});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    for (int day : {29, 30, 31}) {
        QCOMPARE(c.sheets.sheet(day).label(), QStringLiteral(" "));
        QVERIFY(!c.sheets.sheet(day).isEnabled());
        QCOMPARE(c.sheets.reasonText(day), QStringLiteral("   O mês não tem este dia "));
    }
    QVERIFY(c.sheets.sheet(28).isEnabled());
}

void TestDaySheets::daysBeyondTheLimit()
{
    Fixture f;
    test::setUpClinic(f);
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("20/12/2026")});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    QVERIFY(c.sheets.sheet(20).isEnabled());
    QVERIFY(!c.sheets.sheet(21).isEnabled());
    QVERIFY(!c.sheets.sheet(5).isEnabled()); // 5 January
    QCOMPARE(c.sheets.reasonText(21), QStringLiteral("Sistema NÃO PREPARADO"));
}

void TestDaySheets::lastDaysOfAPreparedMonth()
{
    // On 1 March the agenda may be prepared to 31 March, though the start-up map, which
    // ends on 28 March, has no weekday for days 29 to 31.
    Fixture f(QDate(2027, 3, 1));
    test::setUpClinic(f);
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("31/03/2027")});
    AppContext &c = f.start();
    QCOMPARE(c.days.weekday(31), 0);
    c.sheets.refresh(31);
    QVERIFY(c.sheets.sheet(31).isEnabled());
    QCOMPARE(c.sheets.sheet(31).label(), QStringLiteral("31 de Março - Qua"));
    QCOMPARE(row(c.sheets.sheet(31), 12), QStringLiteral("....") + QString(20, QLatin1Char('x')));
}

void TestDaySheets::closedDates_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("reason");
    QTest::newRow("closed Saturday") << 12 << false << "SÁBADO";
    QTest::newRow("closed Sunday") << 13 << false << "DOMINGO";
    QTest::newRow("closed weekday") << 25 << false << "Dia Sem Atendimento";
    QTest::newRow("open Saturday") << 19 << true << "Haverá Expediente";
    QTest::newRow("a past closed date leaves this month's day open") << 24 << true << " ";
}

void TestDaySheets::closedDates()
{
    QFETCH(int, day);
    QFETCH(bool, enabled);
    QFETCH(QString, reason);
    Fixture f;
    test::setUpClinic(f);
    f.write(QStringLiteral("ArqFolgas.Txt"), {QStringLiteral("12/12/2026"), QStringLiteral("13/12/2026"),
                                               QStringLiteral("25/12/2026"), QStringLiteral("24/11/2026")});
    AppContext &c = f.start();
    c.sheets.refresh(day);
    QCOMPARE(c.sheets.sheet(day).isEnabled(), enabled);
    QCOMPARE(c.sheets.reasonText(day), reason);
}

void TestDaySheets::fillShowsSlotsBookingsAndLeave()
{
    Fixture f;
    test::setUpClinic(f);
    f.setLeave(3, QStringLiteral("14/12/26"), QStringLiteral("21/12/26"));
    f.addRows({booking(QStringLiteral("09/12/26"), 1, 12), booking(QStringLiteral("09/12/26"), 2, 12, QStringLiteral("R")),
               // a booking in a slot the timetable lacks still shows
               booking(QStringLiteral("09/12/26"), 7, 12)});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    QCOMPARE(row(c.sheets.sheet(9), 12), QStringLiteral("CR..xxCxxxxxxxxxxxxxxxxx"));
    QCOMPARE(c.sheets.sheet(9).cell(0, 12), QStringLiteral("12 - Dr. Teste Silva") + QString(10, QLatin1Char(' ')));
    QCOMPARE(c.sheets.sheet(9).cell(3, 0), QStringLiteral("3"));
    // Doctor 3 sees patients on Mondays; the leave covers 14 December, not 21 December.
    QCOMPARE(row(c.sheets.sheet(14), 3), QString(24, QLatin1Char('x')));
    QCOMPARE(row(c.sheets.sheet(21), 3), QStringLiteral("..") + QString(22, QLatin1Char('x')));
    QCOMPARE(c.sheets.sheet(9).gridRowCount(), 51);
}

void TestDaySheets::missingNameAndHeadingFiles()
{
    Fixture f;
    test::setUpClinic(f);
    QFile::remove(f.dir() + QStringLiteral("/Medicos.Txt"));
    QFile::remove(f.dir() + QStringLiteral("/Horarios.Txt"));
    AppContext &c = f.start();
    c.sheets.refresh(9);
    QCOMPARE(f.dialogs.texts(Kind::Warning),
             QStringList({"File not found: Medicos.Txt", "File not found: Horarios.Txt"}));
    // The sheet keeps only what came before the headings.
    QCOMPARE(row(c.sheets.sheet(9), 12), QString(24, QLatin1Char('.')));
    QCOMPARE(c.sheets.sheet(9).cell(0, 12), QString());
}

void TestDaySheets::rowRebuildModes()
{
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(QStringLiteral("09/12/26"), 1, 12)});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    c.doctors.setTime(4, 12, 1, QString()); // Wednesday loses its first time
    c.sheets.rebuildRows(9, 12, DaySheets::Mode::NaoLimpar);
    QCOMPARE(row(c.sheets.sheet(9), 12), QStringLiteral("C...") + QString(20, QLatin1Char('x')));
    c.sheets.rebuildRows(0, 12, DaySheets::Mode::Limpar);
    QCOMPARE(row(c.sheets.sheet(9), 12), QStringLiteral("x...") + QString(20, QLatin1Char('x')));
}

void TestDaySheets::monthSummaryFollowsTheSheets()
{
    Fixture f;
    test::setUpClinic(f);
    f.write(QStringLiteral("ArqFolgas.Txt"), {QStringLiteral("12/12/2026")});
    f.addRows({booking(QStringLiteral("09/12/26"), 1, 12), booking(QStringLiteral("09/12/26"), 2, 12),
               booking(QStringLiteral("09/12/26"), 3, 12)});
    AppContext &c = f.start();
    MonthOverview overview(c);
    overview.completeRefresh({});
    QCOMPARE(overview.grid().cell(9, 12), QString()); // slot 4 is still free
    QCOMPARE(overview.grid().cell(12, 12), QStringLiteral(" x")); // closed Saturday
    QCOMPARE(overview.grid().cell(9, 1), QStringLiteral(" x"));   // no timetable
    QCOMPARE(overview.grid().cell(0, 12), QStringLiteral("12 - Dr. Teste Silva") + QString(10, QLatin1Char(' ')));
    c.sheets.sheet(9).setCell(4, 12, QStringLiteral("C"));
    overview.computeSummary();
    QCOMPARE(overview.grid().cell(9, 12), QStringLiteral(" x"));
}

void TestDaySheets::specialtyFilter()
{
    Fixture f;
    test::setUpClinic(f);
    f.addDoctor(20, QStringLiteral("Dr. Outro Cardio"), QStringLiteral("52 Cardiologia"));
    AppContext &c = f.start();
    MonthOverview overview(c);
    overview.completeRefresh({});
    overview.applyFilter(QStringLiteral("52 Cardiologia"));
    QCOMPARE(overview.filteredRows(), 2);
    QCOMPARE(overview.doctorOfFilteredRow(1), 12);
    QCOMPARE(overview.doctorOfFilteredRow(2), 20);
    QCOMPARE(overview.filtered().cell(9, 1), overview.grid().cell(9, 12));
    QCOMPARE(overview.filtered().cell(31, 0), QStringLiteral("31"));
    QCOMPARE(overview.filteredCodeJump(QStringLiteral("2")), 2);
    QCOMPARE(overview.filteredNameJump(QStringLiteral("outro")), 2);
    overview.applyFilter(QStringLiteral("60 Ninguém"));
    QCOMPARE(overview.filteredRows(), 0);
    QCOMPARE(overview.filtered().gridRowCount(), 1);
    QCOMPARE(MonthOverview::dropDownCount(overview.filterItems()), 25);
}

void TestDaySheets::headingKeysOnTheMonth()
{
    Fixture f(QDate(2027, 2, 8));
    AppContext &c = f.start();
    MonthOverview overview(c);
    overview.prepare();
    overview.showDayNumbers();
    QCOMPARE(overview.grid().cell(28, 0), QStringLiteral("28"));
    for (int day : {29, 30, 31})
        QCOMPARE(overview.grid().cell(day, 0), QStringLiteral(" "));
    overview.showWeekdays();
    QCOMPARE(overview.grid().cell(8, 0), QStringLiteral("Seg"));
    QCOMPARE(overview.grid().cell(29, 0), QStringLiteral(" "));
}

void TestDaySheets::jumps()
{
    Fixture f;
    test::setUpClinic(f);
    AppContext &c = f.start();
    QCOMPARE(DaySheets::codeJump(QStringLiteral("12")), 12);
    QCOMPARE(DaySheets::codeJump(QString()), 0);
    QVERIFY_THROWS_EXCEPTION(ConversionError, DaySheets::codeJump(QStringLiteral("1a")));
    QCOMPARE(c.sheets.nameJump(QStringLiteral("Silva")), 12);
    QCOMPARE(c.sheets.nameJump(QStringLiteral("paula")), 3);
    QCOMPARE(c.sheets.nameJump(QStringLiteral("Ninguém")), 0);
    QCOMPARE(c.sheets.nameJump(QString(25, QLatin1Char('a'))), 0);
}

void TestDaySheets::dayList()
{
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(QStringLiteral("09/12/26"), 2, 12, QStringLiteral("Ana Souza")),
               booking(QStringLiteral("09/12/26"), 3, 12, QStringLiteral("R"))});
    AppContext &c = f.start();
    // A slot without a time is not free, even on a sheet not yet filled.
    QCOMPARE(makeDayList(c, 9, 3).free, QStringList());
    c.sheets.refreshAll();
    const DayList list = makeDayList(c, 9, 12);
    QCOMPARE(list.date, QStringLiteral("09/12/26"));
    QCOMPARE(list.booked, QStringList({" 2    08:30  Ana Souza", " 3    09:00  R"}));
    QCOMPARE(list.free, QStringList({" 1    08:00", " 4    09:30"}));
    QCOMPARE(DayList::slotOfLine(list.free.last()), 4);
    const QStringList printed = list.printLines();
    QCOMPARE(printed[2], QStringLiteral("           Médico:  12                Dia: 09/12/26"));
    QCOMPARE(printed[5], QStringLiteral("Horário                                              Paciente"));
    QCOMPARE(printed.mid(8, 2), list.booked);
    QCOMPARE(printed.mid(12, 1), QStringList{QStringLiteral("  Horários Livres")});
    QCOMPARE(printed.mid(15), list.free);
    // A doctor without a timetable that day: both lists empty.
    const DayList none = makeDayList(c, 9, 3);
    QVERIFY(none.booked.isEmpty() && none.free.isEmpty());
}

QTEST_APPLESS_MAIN(TestDaySheets)
#include "tst_daysheets.moc"
