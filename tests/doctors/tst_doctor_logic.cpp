// The doctor editor's logic without its form: the leave move, the inclusion check,
// the marking and restore of the sheets, the sorting of times, the free-code display
// and the monthly table of a removed doctor.
#include "core/data_files.h"
#include "core/installation.h"
#include "doctors/doctor_editor.h"
#include "doctors/leave_effects.h"
#include "platform/dates.h"
#include "statistics/counts.h"
#include "statistics/doctor_months.h"
#include "support/fixture.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

const QString kWaitingRefusal = QStringLiteral(
    "                                    Inclusão não realizada:\n\n   Há consultas com o mesmo código do "
    "médico na Guia / EM ESPERA /  \nAntes da inclusão, você deve transferí-las para outro médico ou "
    "excluí-las.");
const QString kCancelledRefusal = QStringLiteral(
    "                                    Inclusão não realizada:\n\n   Há consultas com o mesmo código do "
    "médico na Guia / DESMARCADAS /  \nAntes da inclusão, você deve transferí-las para outro médico ou "
    "excluí-las. ");

Appointment row(const QString &data, int hora, int medico, const QString &patient = QStringLiteral("Ana"))
{
    return {data,
            QString::number(hora),
            QString::number(medico),
            patient,
            QStringLiteral("3333-4444"),
            QStringLiteral("1"),
            QStringLiteral("obs")};
}

LeavePeriod period(const QString &start, const QString &end)
{
    return {dates::parseOrThrow(start), dates::parseOrThrow(end)};
}

// "data hora medico paciente" of every row, in key order.
QStringList keys(const std::vector<Appointment> &rows)
{
    QStringList result;
    for (const Appointment &r : rows)
        result << QStringLiteral("%1 %2 %3 %4").arg(r.data, r.hora, r.medico, r.paciente);
    return result;
}

QString rowOf(const DaySheet &sheet, int code)
{
    QStringList cells;
    for (int slot = 1; slot <= 24; ++slot)
        cells << sheet.cell(slot, code);
    return cells.join(QLatin1Char('|'));
}

QString repeated(const QString &cell, int n, const QString &rest = QString(), int total = 24)
{
    QStringList cells;
    for (int i = 0; i < total; ++i)
        cells << (i < n ? cell : rest);
    return cells.join(QLatin1Char('|'));
}

} // namespace

class TestDoctorLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSaveLeavesTheRegisterFilesAgreeing();
    void leaveMoveTakesTheDaysOfTheLeave_data();
    void leaveMoveTakesTheDaysOfTheLeave();
    void sameSlotOfDifferentYearsGetsTheNextHora();
    void fullCancelledListLeavesThatRowInPlace();
    void inclusionCheck_data();
    void inclusionCheck();
    void markingStopsAtThePreparedLimit();
    void restoreGivesTheTimetableBack();
    void noticeCoversTheInclusionCheck_data();
    void noticeCoversTheInclusionCheck();
    void sortsTimes_data();
    void sortsTimes();
    void timeListFillsTheCheckedColumns();
    void freeCodeDisplay_data();
    void freeCodeDisplay();
    void codeMustBeAWholeNumberFrom1To50_data();
    void codeMustBeAWholeNumberFrom1To50();
    void doctorMonthsKeepTheirFormat();
    void removedDoctorCountsGoToTheSpecialty();
    void removedDoctorCountsWithABadCountChangeNothing();
};

void TestDoctorLogic::leaveMoveTakesTheDaysOfTheLeave_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<bool>("tableChanged");
    QTest::addColumn<QStringList>("after");

    // Doctor 5 has appointments on 9, 10, 11 and 12 March, reserved hours on 10, 12
    // and 13 March, a cancelled and a waiting entry; doctor 6 a reserved hour on 10 March.
    // clang-format off
    QTest::newRow("10 to 12 March takes 10 and 11")
        << "10/03/27" << "12/03/27" << true << true
        << QStringList{"09/03/27 1 5 Ana", "10/03/27 1 6 R", "10/03H/ 1 5 Bia", "11/03H/ 1 5 Caio",
                       "12/03/27 1 5 Davi", "12/03/27 2 5 R", "13/03/27 4 5 R", "15/01P/ 1 5 Eva",
                       "46000123 12 5 Gil"};
    QTest::newRow("definitive from 12 March takes every day from then on")
        << "12/03/27" << "31/12/55" << true << true
        << QStringList{"09/03/27 1 5 Ana", "10/03/27 1 5 Bia", "10/03/27 1 6 R", "10/03/27 2 5 R",
                       "11/03/27 1 5 Caio", "12/03H/ 1 5 Davi", "15/01P/ 1 5 Eva", "46000123 12 5 Gil"};
    QTest::newRow("only a reserved hour: deleted, nothing moved")
        << "13/03/27" << "14/03/27" << false << true
        << QStringList{"09/03/27 1 5 Ana", "10/03/27 1 5 Bia", "10/03/27 1 6 R", "10/03/27 2 5 R",
                       "11/03/27 1 5 Caio", "12/03/27 1 5 Davi", "12/03/27 2 5 R", "15/01P/ 1 5 Eva",
                       "46000123 12 5 Gil"};
    QTest::newRow("a leave without appointments")
        << "01/04/27" << "30/04/27" << false << false
        << QStringList{"09/03/27 1 5 Ana", "10/03/27 1 5 Bia", "10/03/27 1 6 R", "10/03/27 2 5 R",
                       "11/03/27 1 5 Caio", "12/03/27 1 5 Davi", "12/03/27 2 5 R", "13/03/27 4 5 R",
                       "15/01P/ 1 5 Eva", "46000123 12 5 Gil"};
    // clang-format on
}

void TestDoctorLogic::leaveMoveTakesTheDaysOfTheLeave()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, moved);
    QFETCH(bool, tableChanged);
    QFETCH(QStringList, after);
    Fixture f;
    f.addRows({row("09/03/27", 1, 5), row("10/03/27", 1, 5, "Bia"), row("10/03/27", 2, 5, "R"),
               row("10/03/27", 1, 6, "R"), row("11/03/27", 1, 5, "Caio"), row("12/03/27", 1, 5, "Davi"),
               row("12/03/27", 2, 5, "R"), row("13/03/27", 4, 5, "R"), row("15/01P/", 1, 5, "Eva"),
               row("46000123", 12, 5, "Gil")});
    AppContext &c = f.start();
    bool changed = false;
    QCOMPARE(moveLeaveAppointments(c.DMMedicos.table(), 5, period(start, end), c.dialogs, changed), moved);
    QCOMPARE(keys(c.DMMedicos.table().all()), after);
    QCOMPARE(changed, tableChanged);
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestDoctorLogic::sameSlotOfDifferentYearsGetsTheNextHora()
{
    Fixture f;
    f.addRows({row("10/03/26", 3, 5, "Ana"), row("10/03/27", 3, 5, "Bia"), row("10/03H/", 4, 5, "Caio")});
    AppContext &c = f.start();
    bool tableChanged = false;
    QVERIFY(moveLeaveAppointments(c.DMMedicos.table(), 5, period("01/01/26", "01/01/28"), c.dialogs,
                                  tableChanged));
    QVERIFY(tableChanged);
    QCOMPARE(keys(c.DMMedicos.table().all()),
             QStringList({"10/03H/ 3 5 Ana", "10/03H/ 4 5 Caio", "10/03H/ 5 5 Bia"}));
    // The moved row keeps everything but its date and slot.
    const Appointment bia = *c.DMMedicos.table().find({"10/03H/", "5", "5"});
    QCOMPARE(bia.telefone, QStringLiteral("3333-4444"));
    QCOMPARE(bia.situacao, QStringLiteral("1"));
    QCOMPARE(bia.observacoes, QStringLiteral("obs"));
}

void TestDoctorLogic::fullCancelledListLeavesThatRowInPlace()
{
    Fixture f;
    std::vector<Appointment> rows;
    for (int hora = 1; hora <= 99; ++hora)
        rows.push_back(row("10/03H/", hora, 5, QStringLiteral("Cheio %1").arg(hora)));
    rows.push_back(row("10/03/27", 7, 5, "Fica"));
    rows.push_back(row("11/03/27", 7, 5, "Vai"));
    f.addRows(rows);
    AppContext &c = f.start();
    bool tableChanged = false;
    QVERIFY(moveLeaveAppointments(c.DMMedicos.table(), 5, period("10/03/27", "12/03/27"), c.dialogs,
                                  tableChanged));
    QVERIFY(c.DMMedicos.table().contains({"10/03/27", "7", "5"}));
    QCOMPARE(c.DMMedicos.table().find({"11/03H/", "7", "5"})->paciente, QStringLiteral("Vai"));
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(QStringLiteral("Fica")) && warnings[0].contains(QStringLiteral("99")),
             qPrintable(warnings[0]));
    QCOMPARE(c.DMMedicos.table().count(), 101);
}

void TestDoctorLogic::inclusionCheck_data()
{
    QTest::addColumn<QStringList>("rows"); // data, hora, medico
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("tableChanged");

    QTest::newRow("no entries") << QStringList{"10/03H/ 1 8"} << false << QStringList{}
                                << QStringList{"10/03H/ 1 8"} << false;
    QTest::newRow("waiting list only") << QStringList{"46000123 12 7"} << true << QStringList{kWaitingRefusal}
                                       << QStringList{"46000123 12 7"} << false;
    QTest::newRow("cancelled by the patient")
        << QStringList{"10/03P/ 1 7"} << true << QStringList{kCancelledRefusal} << QStringList{"10/03P/ 1 7"}
        << false;
    QTest::newRow("both lists") << QStringList{"10/03HA/ 2 7", "46000123 12 7"} << true
                                << QStringList{kCancelledRefusal, kWaitingRefusal}
                                << QStringList{"10/03HA/ 2 7", "46000123 12 7"} << false;
    QTest::newRow("a dated leftover is moved and refuses")
        << QStringList{"10/03/27 3 7", "10/03/27 3 8"} << true << QStringList{kCancelledRefusal}
        << QStringList{"10/03/27 3 8", "10/03H/ 3 7"} << true;
}

void TestDoctorLogic::inclusionCheck()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, refused);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, after);
    QFETCH(bool, tableChanged);
    Fixture f;
    std::vector<Appointment> input;
    for (const QString &r : rows) {
        const QStringList parts = r.split(QLatin1Char(' '));
        input.push_back(row(parts[0], parts[1].toInt(), parts[2].toInt()));
    }
    f.addRows(input);
    AppContext &c = f.start();
    bool changed = false;
    const InclusionCheck check = checkInclusion(c.DMMedicos.table(), 7, c.clock.today(), c.dialogs, changed);
    QCOMPARE(check.refused(), refused);
    QCOMPARE(f.dialogs.texts(), messages);
    QStringList left;
    for (const Appointment &r : c.DMMedicos.table().all())
        left << QStringLiteral("%1 %2 %3").arg(r.data, r.hora, r.medico);
    QCOMPARE(left, after);
    QCOMPARE(changed, tableChanged);
}

void TestDoctorLogic::markingStopsAtThePreparedLimit()
{
    Fixture f; // today 08/12/2026: days 8 to 31 are December, 1 to 7 January
    f.write(files::kPreparedLimit, {QStringLiteral("20/12/2026")});
    AppContext &c = f.start();
    const QDate limit(2026, 12, 20);
    // A leave that began before today and ends after the limit.
    markLeave(c.sheets, c.days, 5, period("01/12/26", "10/01/27"), limit);
    for (int day = 1; day <= 31; ++day) {
        const bool marked = day >= 8 && day <= 20;
        QCOMPARE(rowOf(c.sheets.sheet(day), 5), marked ? repeated("x", 24) : repeated(QString(), 0));
    }
    // Another doctor's row stays as it was.
    QCOMPARE(rowOf(c.sheets.sheet(10), 6), repeated(QString(), 0));
}

void TestDoctorLogic::restoreGivesTheTimetableBack()
{
    Fixture f;
    f.write(files::kPreparedLimit, {QStringLiteral("31/12/2026")});
    // Doctor 5 works Mondays (weekday 2) at three times; 14/12/2026 is a Monday.
    f.setTimes(5, 2, {"08:00", "08:20", "08:40"});
    AppContext &c = f.start();
    DaySheet &monday = c.sheets.sheet(14);
    DaySheet &tuesday = c.sheets.sheet(15);
    markLeave(c.sheets, c.days, 5, period("14/12/26", "16/12/26"), QDate(2026, 12, 31));
    monday.setCell(2, 5, QStringLiteral("C"));
    monday.setCell(3, 5, QStringLiteral("R"));
    restoreLeave(c.sheets, c.days, c.doctors, 5, period("14/12/26", "16/12/26"), QDate(2026, 12, 31));
    QCOMPARE(rowOf(monday, 5), QStringLiteral("|C|R|") + repeated(" x", 21, QString(), 21));
    QCOMPARE(rowOf(tuesday, 5), repeated(" x", 24));
}

void TestDoctorLogic::killedSaveLeavesTheRegisterFilesAgreeing()
{
    // The editor renames doctor 1 and moves him between two specialties, save after
    // save, until it is killed; after the next start's recovery the register, the
    // names list and the statistics row must tell the same generation.
    std::mt19937 random(19);
    for (int round = 0; round < 30; ++round) {
        Fixture f;
        f.addDoctor(1, QStringLiteral("Geracao 0"));
        AppContext &c = f.start();
        int firstSave[2];
        QVERIFY(::pipe(firstSave) == 0);
        const pid_t child = fork();
        if (child == 0) {
            DoctorEditor editor(c);
            DoctorForm form = editor.open();
            for (int generation = 1;; ++generation) {
                form.code = QStringLiteral("1");
                editor.codeChanged(form);
                form.name = QStringLiteral("Geracao %1").arg(generation);
                form.specialty = generation % 2 ? QStringLiteral("52 Cardiologia") : QStringLiteral("51 Clínica Geral");
                editor.save(form);
                editor.writeFiles();
                if (generation == 1 && ::write(firstSave[1], "1", 1) != 1)
                    _exit(1);
            }
        }
        QVERIFY(child > 0);
        char done = 0;
        QCOMPARE(::read(firstSave[0], &done, 1), ssize_t(1)); // the kill falls among the saves
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(firstSave[0]);
        ::close(firstSave[1]);

        installDataDirectory(f.dir()); // the start's recovery
        DoctorRegister reg;
        reg.load(f.dir() + QLatin1Char('/'));
        const QString name = reg.doctor(1).name.trimmed();
        const int generation = name.mid(8).toInt();
        QVERIFY(generation > 0);
        QCOMPARE(f.read(QStringLiteral("Medicos.Txt")).at(1).mid(2).trimmed(), name);
        QCOMPARE(reg.doctor(1).specialtyCode, generation % 2 ? QStringLiteral("52") : QStringLiteral("51"));
        DoctorMonths months;
        months.load(f.dir() + QStringLiteral("/MedMeses.Txt"));
        QCOMPARE(months.row(1).specialtyCode, reg.doctor(1).specialtyCode);
        QCOMPARE(QDir(f.dir()).entryList({QStringLiteral("*.novo~")}, QDir::Files), QStringList{});
    }
}

void TestDoctorLogic::noticeCoversTheInclusionCheck_data()
{
    QTest::addColumn<bool>("waiting");
    QTest::newRow("included") << false;
    QTest::newRow("refused") << true;
}

void TestDoctorLogic::noticeCoversTheInclusionCheck()
{
    QFETCH(bool, waiting);
    Fixture f;
    if (waiting)
        f.addRows({row("46000123", 12, 7)});
    AppContext &c = f.start();
    DoctorEditor editor(c);
    // What had been shown each time the notice came or went.
    QStringList events;
    editor.setNoticeHandler([&](bool shown) {
        events << QStringLiteral("%1 after %2 boxes")
                      .arg(shown ? "shown" : "erased")
                      .arg(f.dialogs.shown().size());
    });
    DoctorForm form = editor.open();
    form.code = QStringLiteral("7");
    form.name = QStringLiteral("Dr. Novo");
    form.specialty = QStringLiteral("51 Clínica Geral");
    const SaveResult result = editor.save(form);
    QCOMPARE(result.completed, !waiting);
    QCOMPARE(events,
             QStringList({"shown after 0 boxes", waiting ? "erased after 1 boxes" : "erased after 0 boxes"}));
    // A code already taken is no inclusion: no notice.
    events.clear();
    f.dialogs.clear();
    if (!waiting) {
        editor.save(form);
        QVERIFY(events.isEmpty());
    }
}

void TestDoctorLogic::sortsTimes_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("ascending with the gaps at the bottom")
        << QStringList{"09:00", "", "07:40", "", "13:00", "08:20"}
        << QStringList{"07:40", "08:20", "09:00", "13:00", "", ""};
    QTest::newRow("hours compare as times, midnight first, 24:00 last")
        << QStringList{"24:00", "10:00", "00:05", "09:55"} << QStringList{"00:05", "09:55", "10:00", "24:00"};
    QTest::newRow("equal times stay together")
        << QStringList{"", "08:00", "07:00", "08:00"} << QStringList{"07:00", "08:00", "08:00", ""};
    QTest::newRow("a full column") << QStringList{"11:00", "10:00", "09:00", "08:00", "07:00", "06:00",
                                                  "05:00", "04:00", "03:00", "02:00", "01:00", "00:00",
                                                  "23:00", "22:00", "21:00", "20:00", "19:00", "18:00",
                                                  "17:00", "16:00", "15:00", "14:00", "13:00", "12:00"}
                                   << QStringList{"00:00", "01:00", "02:00", "03:00", "04:00", "05:00",
                                                  "06:00", "07:00", "08:00", "09:00", "10:00", "11:00",
                                                  "12:00", "13:00", "14:00", "15:00", "16:00", "17:00",
                                                  "18:00", "19:00", "20:00", "21:00", "22:00", "23:00"};
}

void TestDoctorLogic::sortsTimes()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, sorted);
    TimetableColumn column;
    for (int i = 0; i < cells.size(); ++i)
        column[i] = cells[i];
    DoctorEditor::sortColumn(column);
    QStringList result(column.begin(), column.begin() + sorted.size());
    QCOMPARE(result, sorted);
    for (std::size_t i = sorted.size(); i < column.size(); ++i)
        QVERIFY(column[i].isEmpty());
}

void TestDoctorLogic::timeListFillsTheCheckedColumns()
{
    Fixture f;
    AppContext &c = f.start();
    DoctorEditor editor(c);
    editor.open();
    DoctorForm form;
    for (auto &cell : form.grid[1])
        cell = QStringLiteral("12:00");
    form.grid[6][23] = QStringLiteral("18:00");
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << QTime(7, 0).addSecs(i * 300).toString(QStringLiteral("hh:mm"));

    QVERIFY(!editor.timetableTouched());
    editor.timesChosen(form, thirty, {true, false, false, false, false, false, true});
    QVERIFY(editor.timetableTouched());
    // Monday and Sunday take the first 24 times; Tuesday keeps its own.
    QCOMPARE(form.grid[0][0], QStringLiteral("07:00"));
    QCOMPARE(form.grid[0][23], QStringLiteral("08:55"));
    QCOMPARE(form.grid[6][23], QStringLiteral("08:55"));
    QCOMPARE(form.grid[1][0], QStringLiteral("12:00"));

    // Fewer times empty the rows below.
    editor.timesChosen(form, {"10:00", "10:30"}, {true, false, false, false, false, false, false});
    QCOMPARE(form.grid[0][1], QStringLiteral("10:30"));
    QVERIFY(form.grid[0][2].isEmpty());
    QVERIFY(form.grid[0][23].isEmpty());
    QCOMPARE(form.grid[6][23], QStringLiteral("08:55"));
}

void TestDoctorLogic::freeCodeDisplay_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<QString>("line3");

    QString all = QStringLiteral(" ");
    for (int c = 1; c <= 50; ++c)
        all += QLatin1Char(' ') + QString::number(c);
    // clang-format off
    QTest::newRow("every code free")
        << all
        << "  1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23"
        << " 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43"
        << " 44 45 46 47 48 49 50";
    QTest::newRow("one line") << "  3 7 12" << "  3 7 12" << "" << "";
    QTest::newRow("no free code") << " " << " " << "" << "";
    // Codes 1, 5, 31, 32 and 49 taken: character 121 begins the number 47, which goes
    // whole to the third line.
    QTest::newRow("a number at the end of the second line")
        << "  2 3 4 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 33 34 35 36 37 38 "
           "39 40 41 42 43 44 45 46 47 48 50"
        << "  2 3 4 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 "
        << "25 26 27 28 29 30 33 34 35 36 37 38 39 40 41 42 43 44 45 46 "
        << "47 48 50";
    // clang-format on
}

void TestDoctorLogic::freeCodeDisplay()
{
    QFETCH(QString, list);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    QFETCH(QString, line3);
    const std::array<QString, 3> lines = DoctorEditor::freeCodeLines(list);
    QCOMPARE(lines[0], line1);
    QCOMPARE(lines[1], line2);
    QCOMPARE(lines[2], line3);
    QCOMPARE(lines[0] + lines[1] + lines[2], list);
}

void TestDoctorLogic::codeMustBeAWholeNumberFrom1To50_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code"); // 0: not a code
    QTest::newRow("5") << "5" << 5;
    QTest::newRow("05") << "05" << 5;
    QTest::newRow("50") << "50" << 50;
    QTest::newRow("blank around") << " 7 " << 7;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("51") << "51" << 0;
    QTest::newRow("123") << "123" << 0;
    QTest::newRow("letters") << "ab" << 0;
    QTest::newRow("5a") << "5a" << 0;
    QTest::newRow("negative") << "-5" << 0;
    QTest::newRow("fraction") << "2.5" << 0;
}

void TestDoctorLogic::codeMustBeAWholeNumberFrom1To50()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(DoctorEditor::codeNumber(text).value_or(0), code);
}

void TestDoctorLogic::doctorMonthsKeepTheirFormat()
{
    Fixture f;
    QStringList lines = f.read(files::kDoctorMonths);
    lines[6] = QStringLiteral("7 52000100020003000400050006000700080009001000110012");
    f.write(files::kDoctorMonths, lines);
    DoctorMonths months;
    months.load(f.dir() + QStringLiteral("/MedMeses.Txt"));
    QCOMPARE(months.row(7).specialtyCode, QStringLiteral("52"));
    QCOMPARE(months.row(7).counts[11], QStringLiteral("0012"));
    months.save(f.dir() + QStringLiteral("/MedMeses.Txt"));
    QCOMPARE(f.read(files::kDoctorMonths), lines);

    // A short file is damaged: refused, naming the file and its lines, and the table
    // keeps what it held (nothing of it could be written back as the template).
    f.write(files::kDoctorMonths, lines.mid(0, 10));
    try {
        months.load(f.dir() + QStringLiteral("/MedMeses.Txt"));
        QFAIL("a MedMeses.Txt of 10 lines was taken");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("MedMeses.Txt")) && e.message().contains(QStringLiteral("10 linhas")),
                 qPrintable(e.message()));
    }
    QCOMPARE(months.lines(), lines);
    QCOMPARE(DoctorMonths::countText(7), QStringLiteral("0007"));
    QCOMPARE(DoctorMonths::countText(12345), QStringLiteral("2345"));
}

void TestDoctorLogic::removedDoctorCountsGoToTheSpecialty()
{
    DoctorMonths months;
    DoctorMonthsRow &doctor = months.row(7);
    doctor.specialtyCode = QStringLiteral("52");
    doctor.counts = {"0001", "0010", "0100", "1000", "0000", "0000",
                     "0000", "0000", "0000", "0000", "0000", "9997"};
    DoctorMonthsRow &specialty = months.row(52);
    specialty.code = QStringLiteral("  ");
    specialty.specialtyCode = QStringLiteral("  ");
    specialty.counts.fill(QStringLiteral("0002"));

    months.moveRemovedCounts(7, 52);
    QCOMPARE(months.lines()[51], QStringLiteral("5252000300120102100200020002000200020002000200029999"));
    QCOMPARE(months.lines()[6], QStringLiteral("7 00") + QString(48, QLatin1Char('0')));
}

void TestDoctorLogic::removedDoctorCountsWithABadCountChangeNothing()
{
    DoctorMonths months;
    months.row(7).specialtyCode = QStringLiteral("52");
    months.row(7).counts[0] = QStringLiteral("0005");
    months.row(7).counts[5] = QStringLiteral("00x1");
    const QStringList before = months.lines();
    QVERIFY_THROWS_EXCEPTION(ConversionError, months.moveRemovedCounts(7, 52));
    QVERIFY_THROWS_EXCEPTION(ConversionError, months.moveRemovedCounts(7, 81));
    QCOMPARE(months.lines(), before);
    // A sum past 9,999 is refused too, never cut to its last four digits.
    months.row(7).counts[5] = QStringLiteral("0001");
    months.row(7).counts[11] = QStringLiteral("0002");
    months.row(52).counts[11] = QStringLiteral("9999");
    const QStringList full = months.lines();
    QVERIFY_THROWS_EXCEPTION(stats::CountOverflow, months.moveRemovedCounts(7, 52));
    QCOMPARE(months.lines(), full);
}

QTEST_APPLESS_MAIN(TestDoctorLogic)
#include "tst_doctor_logic.moc"
