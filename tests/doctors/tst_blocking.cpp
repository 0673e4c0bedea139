// "Fechar / Abrir Horários" driven as the receptionist does: the doctors and dates
// chosen with the mouse, the times typed, the buttons clicked; what the table, the day
// sheets, the work files and the printer show afterwards.
#include "booking/desk.h"
#include "booking/list_tab_widget.h"
#include "doctors/blocking.h"
#include "doctors/tfsemconsulta.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

using namespace clinora;
using namespace clinora::test;
using Kind = ScriptedDialogs::Kind;

namespace {

// Keys typed as a person types them: into whatever has the focus.
void press(Qt::Key key)
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY2(focused, "no widget has the focus");
    QTest::keyClick(focused, key);
}

// A click in the box, what it shows erased key by key from its end, the text typed.
void typeOver(QLineEdit *box, const QString &text)
{
    click(box);
    QCOMPARE(QApplication::focusWidget(), box);
    press(Qt::Key_End);
    for (qsizetype i = box->text().trimmed().size(); i > 0; --i)
        press(Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

QTime at(const char *text)
{
    return QTime::fromString(QLatin1String(text), QStringLiteral("hh:mm"));
}

blocking::Seconds seconds(const char *text)
{
    return at(text).msecsSinceStartOfDay() / 1000;
}

// The clinic of the booking tests and Dr. Quinta (code 7), who sees patients on
// Thursday mornings and afternoons.
void addThursdayDoctor(Fixture &f)
{
    f.addDoctor(7, QStringLiteral("Dr. Quinta Feira"), QStringLiteral("51 Clínica Geral"));
    f.setTimes(7, 5, {"09:00", "09:30", "10:00", "14:00", "14:30", "15:00", "15:30", "16:00", "16:30"});
}

// Clicks, with Ctrl held, the item whose text the key gives, as the receptionist picks
// several items of a list.
template <typename Key> void chooseBy(QListWidget *list, const QStringList &wanted, Key key)
{
    for (const QString &text : wanted) {
        QListWidgetItem *item = nullptr;
        for (int row = 0; row < list->count() && !item; ++row) {
            if (key(list->item(row)->text()) == text)
                item = list->item(row);
        }
        QVERIFY2(item, qPrintable(text));
        click(list, list->model()->index(list->row(item), 0), Qt::ControlModifier);
    }
}

void chooseDoctors(QListWidget *list, const QList<int> &codes)
{
    QStringList wanted;
    for (const int code : codes)
        wanted << QString::number(code);
    chooseBy(list, wanted, [](const QString &item) { return item.left(2).trimmed(); });
}

void chooseDates(QListWidget *list, const QStringList &dates)
{
    chooseBy(list, dates, [](const QString &item) { return item; });
}

// The window as the menu shows it, beside the booking screen of the desk.
struct Window
{
    explicit Window(Desk &desk) : w(desk.c(), desk.main.get())
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    void choose(const QList<int> &codes, const QStringList &dates, const QString &start, const QString &end)
    {
        chooseDoctors(w.ListBox1, codes);
        chooseDates(w.ListBox2, dates);
        typeOver(w.Edit1, start);
        typeOver(w.Edit2, end);
    }
    TFSemConsulta w;
};

QStringList rowsOf(const std::vector<Appointment> &rows, const QString &medico)
{
    QStringList result;
    for (const Appointment &r : rows) {
        if (r.medico == medico)
            result << r.data + QLatin1Char(';') + r.hora + QLatin1Char(';') + r.paciente;
    }
    return result;
}

QStringList slotCells(const DaySheet &sheet, int code)
{
    QStringList cells;
    for (int slot = 1; slot <= 12; ++slot)
        cells << sheet.cell(slot, code);
    return cells;
}

} // namespace

class TestBlocking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotRange_data();
    void slotRange();
    void thursdayAfternoonsReservedReleasedAndPrinted();
    void wrongTimesWriteNothing_data();
    void wrongTimesWriteNothing();
    void midnightStandsForTheLastMinute();
    void nothingChosenIsTold();
    void reservingTwiceAndReleasingTouchOnlyReservations();
    void aDoctorOrDateNamedTwiceIsReservedOnce();
    void dateBeyondTheSheetsUsesItsOwnWeekday();
    void fullCancelledListLeavesTheAppointmentBooked();
    void timetableEntryThatIsNotATimeSkipsThatDay();
    void printingWithoutAResultSaysSo();
    void missingFilesAreNamed_data();
    void missingFilesAreNamed();
    void menuChecksTheMirrorAndClosingTakesTheSnapshot();
};

void TestBlocking::slotRange_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    const QStringList three{"08:00", "08:20", "09:00"};
    QTest::newRow("06:00 starts at slot 1") << three << "06:00"
                                            << "18:00" << 1 << 3;
    QTest::newRow("08:30 starts at slot 2") << three << "08:30"
                                            << "18:00" << 2 << 3;
    QTest::newRow("08:45 is after the 08:20 consultation") << three << "08:45"
                                                           << "18:00" << 3 << 3;
    QTest::newRow("ending at 09:00 stops at slot 2") << three << "06:00"
                                                     << "09:00" << 1 << 2;
    QTest::newRow("ending at a start leaves that slot") << three << "06:00"
                                                        << "08:20" << 1 << 1;
    QTest::newRow("ending after the last slot takes it") << three << "08:10"
                                                         << "23:59" << 1 << 3;
    QTest::newRow("before the first slot") << three << "06:00"
                                           << "07:30" << 0 << 0;
    QTest::newRow("after the last consultation") << three << "09:20"
                                                 << "18:00" << 4 << 3;
    QTest::newRow("single slot, inside its 30 minutes") << QStringList{"10:00"} << "10:20"
                                                        << "11:00" << 1 << 1;
    QTest::newRow("single slot, after its 30 minutes") << QStringList{"10:00"} << "10:30"
                                                       << "11:00" << 2 << 1;
    QTest::newRow("no slot that weekday") << QStringList{} << "06:00"
                                          << "18:00" << 0 << 0;
}

void TestBlocking::slotRange()
{
    QFETCH(QStringList, times);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, first);
    QFETCH(int, last);
    QList<blocking::Seconds> starts;
    for (const QString &t : times)
        starts << seconds(qPrintable(t));
    const blocking::SlotRange range =
        blocking::slotRange(starts, seconds(qPrintable(start)), seconds(qPrintable(end)));
    QCOMPARE(range.first, first);
    QCOMPARE(range.last, last);
}

void TestBlocking::thursdayAfternoonsReservedReleasedAndPrinted()
{
    Fixture f;
    addThursdayDoctor(f);
    f.addRows({booking("10/12/26", 5, 7, "Carla Nunes"), booking("10/12/26", 1, 7, "Manhã Cedo")});
    Desk desk(f);
    QCOMPARE(desk.sheet(10).cell(5, 7), QStringLiteral("C"));
    bool done = false;
    onModal<TFSemConsulta>([&](TFSemConsulta *w) {
        chooseDoctors(w->ListBox1, {7});
        chooseDates(w->ListBox2, {"10/12/26", "17/12/26"});
        typeOver(w->Edit1, "13:00");
        typeOver(w->Edit2, "18:00");
        f.dialogs.clear();
        click(w->BBloqueiaHora);

        // Every afternoon slot reserved on both Thursdays; Carla's appointment moved to
        // the cancelled list and the receptionist told; the morning stays as it was.
        QCOMPARE(f.dialogs.texts(), QStringList{blocking::kDisplacedNotice});
        const QStringList afternoon{"4", "5", "6", "7", "8", "9"};
        QStringList expected{"10/12/26;1;Manhã Cedo", "10/12H/;5;Carla Nunes"};
        for (const QString &date : {QStringLiteral("10/12/26"), QStringLiteral("17/12/26")}) {
            for (const QString &slot : afternoon)
                expected << date + QLatin1Char(';') + slot + QStringLiteral(";R");
        }
        QStringList got = rowsOf(desk.rows(), "7");
        got.sort();
        expected.sort();
        QCOMPARE(got, expected);
        for (const int day : {10, 17})
            QCOMPARE(slotCells(desk.sheet(day), 7), QStringList({day == 10 ? "C" : "", "", "", "R", "R", "R",
                                                                 "R", "R", "R", " x", " x", " x"}));
        QCOMPARE(f.read("ArqMed.Txt"), QStringList{"7 "});
        QCOMPARE(f.read("ArqDia.Txt"), QStringList({"10/12/26", "17/12/26"}));
        QCOMPARE(f.read("ArqHora.Txt"), afternoon);
        QCOMPARE(f.read("ArqAux.Txt"), QStringList{"10/12/265 7 Carla Nunes              3333-4444"});
        // The cancelled list of the booking screen already shows her.
        ListTabWidget &cancelled = desk.screen->desmarcadas();
        QCOMPARE(cancelled.tab().entries().count(), 1);
        QCOMPARE(cancelled.tab().entries().text(0, ListEntries::Paciente), QStringLiteral("Carla Nunes"));

        click(w->Button2);
        QCOMPARE(f.printer.documents().size(), 1);
        QCOMPARE(f.printer.lastTexts(),
                 QStringList({"RELAÇÃO DAS CONSULTAS DESMARCADAS",
                              "(estes pacientes devem ser avisados >>>> usar a paleta /Desmarcadas/)", "Data",
                              "Horario", "Nome do Medico", "Paciente", "Telefone", "10/12/26", "14:30",
                              "Dr. Quinta Feira", "Carla Nunes", "3333-4444"}));

        // The second Thursday opened again: its reservations go, the first keeps them.
        w->ListBox2->clearSelection();
        chooseDates(w->ListBox2, {"17/12/26"});
        f.dialogs.clear();
        click(w->BLimpar);
        QVERIFY(f.dialogs.texts().isEmpty());
        QCOMPARE(rowsOf(desk.rows(), "7").filter("17/12/26"), QStringList{});
        QCOMPARE(rowsOf(desk.rows(), "7").filter(";R").size(), 6);
        QCOMPARE(slotCells(desk.sheet(17), 7),
                 QStringList({"", "", "", "", "", "", "", "", "", " x", " x", " x"}));
        QCOMPARE(f.read("ArqAux.Txt").first(), QStringLiteral("17/12/264 7 "));

        click(w->BImprimir);
        QCOMPARE(f.printer.documents().size(), 2);
        const QStringList released = f.printer.lastTexts();
        QCOMPARE(released.mid(0, 5), QStringList({"RELAÇÃO DOS HORÁRIOS LIBERADOS",
                                                  "(correspondem aos horários que estavam Reservados)",
                                                  "Data", "Horario", "Nome do Médico"}));
        QCOMPARE(released.mid(5, 3), QStringList({"17/12/26", "14:00", "Dr. Quinta Feira"}));
        QCOMPARE(released.size(), 5 + 6 * 3);
        click(w->BSair);
        done = true;
    });
    desk.main->menuItem(QStringLiteral("BloquearLiberarHorrios1"))->trigger();
    QVERIFY(done);
}

void TestBlocking::wrongTimesWriteNothing_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("corrected");
    QTest::addColumn<QString>("message");
    QTest::newRow("25:00") << "25:00"
                           << "18:00" << true << "A hora de \"Início\" não é válida: \"25:00\"";
    QTest::newRow("8h") << "8h"
                        << "18:00" << true << "A hora de \"Início\" não é válida: \"8h\"";
    QTest::newRow("ab:cd") << "06:00"
                           << "ab:cd" << true << "A hora de \"Fim\" não é válida: \"ab:cd\"";
    QTest::newRow("empty") << ""
                           << "18:00" << true << "A hora de \"Início\" não é válida: \"\"";
    QTest::newRow("end before start")
        << "14:00"
        << "13:00" << false << "O início do período (14:00) deve ser anterior ao fim (13:00).";
    QTest::newRow("equal times") << "9:00"
                                 << "09:00" << false
                                 << "O início do período (09:00) deve ser anterior ao fim (09:00).";
}

void TestBlocking::wrongTimesWriteNothing()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, corrected);
    QFETCH(QString, message);
    Fixture f;
    addThursdayDoctor(f);
    f.addRows({booking("10/12/26", 5, 7, "Carla Nunes")});
    f.write("ArqAux.Txt", {"o que outra operação deixou"});
    Desk desk(f);
    Window win(desk);
    win.choose({7}, {"10/12/26"}, start, end);
    f.dialogs.clear();
    // The time normaliser asks for a correction, which the receptionist cancels.
    if (corrected)
        f.dialogs.cancelInput();
    click(win.w.BBloqueiaHora);
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
    QCOMPARE(f.dialogs.texts(Kind::Information).size(), 1);
    QVERIFY2(f.dialogs.texts(Kind::Information).first().startsWith(message),
             qPrintable(f.dialogs.texts().join(" | ")));
    QCOMPARE(rowsOf(desk.rows(), "7"), QStringList{"10/12/26;5;Carla Nunes"});
    QCOMPARE(f.read("ArqAux.Txt"), QStringList{"o que outra operação deixou"});
    QVERIFY(!f.exists("ArqMed.Txt"));
    QCOMPARE(desk.sheet(10).cell(5, 7), QStringLiteral("C"));
    QCOMPARE(desk.sheet(10).cell(4, 7), QString());
}

void TestBlocking::midnightStandsForTheLastMinute()
{
    Fixture f;
    addThursdayDoctor(f);
    Desk desk(f);
    Window win(desk);
    win.choose({7}, {"10/12/26"}, "16:00", "24:00");
    f.dialogs.clear();
    click(win.w.BBloqueiaHora);
    QVERIFY(f.dialogs.texts().isEmpty());
    QCOMPARE(win.w.Edit2->text(), QStringLiteral("23:59"));
    QCOMPARE(rowsOf(desk.rows(), "7"), QStringList({"10/12/26;8;R", "10/12/26;9;R"}));
}

void TestBlocking::nothingChosenIsTold()
{
    Fixture f;
    addThursdayDoctor(f);
    Desk desk(f);
    Window win(desk);
    chooseDates(win.w.ListBox2, {"10/12/26"});
    f.dialogs.clear();
    click(win.w.BBloqueiaHora);
    click(win.w.BLimpar);
    QCOMPARE(f.dialogs.texts(), QStringList({blocking::kNothingSelected, blocking::kNothingSelected}));
    QVERIFY(desk.rows().empty());
    QVERIFY(!f.exists("ArqDia.Txt"));
}

void TestBlocking::reservingTwiceAndReleasingTouchOnlyReservations()
{
    Fixture f;
    addThursdayDoctor(f);
    f.addRows({booking("10/12/26", 1, 12, "Na Licença")});
    Desk desk(f);
    // Doctor 12 is on leave on the 10th: passed over in both modes.
    desk.c().doctors.doctor(12).leaveStart = QStringLiteral("10/12/26");
    desk.c().doctors.doctor(12).leaveEnd = QStringLiteral("11/12/26");
    Window win(desk);
    win.choose({7, 12}, {"10/12/26"}, "09:00", "10:00");
    click(win.w.BBloqueiaHora);
    const QStringList reserved{"10/12/26;1;R", "10/12/26;2;R"};
    QCOMPARE(rowsOf(desk.rows(), "7"), reserved);
    f.dialogs.clear();
    click(win.w.BBloqueiaHora);
    QCOMPARE(rowsOf(desk.rows(), "7"), reserved);
    QVERIFY(f.dialogs.texts().isEmpty());
    QCOMPARE(rowsOf(desk.rows(), "12"), QStringList{"10/12/26;1;Na Licença"});

    // A patient booked in a freed slot stays when the period is opened again.
    click(win.w.BLimpar);
    AppointmentTable &table = desk.c().DMMedicos.table();
    table.insert(booking("10/12/26", 2, 7, "Depois"));
    table.insert(booking("10/12/26", 1, 7, "R"));
    click(win.w.BLimpar);
    QCOMPARE(rowsOf(desk.rows(), "7"), QStringList{"10/12/26;2;Depois"});
    QCOMPARE(rowsOf(desk.rows(), "12"), QStringList{"10/12/26;1;Na Licença"});
    QCOMPARE(f.read("ArqAux.Txt"), QStringList{"10/12/261 7 "});
}

void TestBlocking::aDoctorOrDateNamedTwiceIsReservedOnce()
{
    // The work files may name a doctor or a date twice: the second time finds the
    // slots reserved already and moves nothing again.
    Fixture f;
    addThursdayDoctor(f);
    f.addRows({booking("10/12/26", 1, 7, "Ana Dupla")});
    Desk desk(f);
    const std::optional<blocking::Result> result =
        blocking::run(desk.c(), blocking::Mode::Reserve, {"7 ", "7 "}, {"10/12/26", "10/12/26"},
                      {seconds("09:00"), seconds("10:00")});
    QVERIFY(result);
    QCOMPARE(result->lines.size(), 1);
    QCOMPARE(result->reserved, 2);
    QCOMPARE(rowsOf(desk.rows(), "7"), QStringList({"10/12/26;1;R", "10/12/26;2;R", "10/12H/;1;Ana Dupla"}));
}

void TestBlocking::dateBeyondTheSheetsUsesItsOwnWeekday()
{
    // Prepared up to 08/01/27, a Friday that the sheets do not show: day 8 is the
    // sheet of Tuesday 08/12/26.
    Fixture f;
    f.addDoctor(20, QStringLiteral("Dra. Sexta Terça"));
    f.setTimes(20, 6, {"08:00", "08:30"});
    f.setTimes(20, 3, {"10:00", "10:30", "11:00"});
    Desk desk(f);
    f.write("DataIniFim.Txt", {"08/01/2027"});
    Window win(desk);
    QCOMPARE(win.w.ListBox2->item(win.w.ListBox2->count() - 1)->text(), QStringLiteral("08/01/27"));
    const QStringList before = slotCells(desk.sheet(8), 20);
    win.choose({20}, {"08/01/27"}, "06:00", "18:00");
    click(win.w.BBloqueiaHora);
    QCOMPARE(rowsOf(desk.rows(), "20"), QStringList({"08/01/27;1;R", "08/01/27;2;R"}));
    QCOMPARE(slotCells(desk.sheet(8), 20), before);
    QCOMPARE(desk.sheet(8).cell(1, 20), QString());
    click(win.w.BLimpar);
    QVERIFY(rowsOf(desk.rows(), "20").isEmpty());
    QCOMPARE(slotCells(desk.sheet(8), 20), before);
}

void TestBlocking::fullCancelledListLeavesTheAppointmentBooked()
{
    Fixture f;
    std::vector<Appointment> rows{booking("09/12/26", 1, 12, "Ana Cheia"),
                                  booking("09/12/26", 2, 12, "Bia Livre")};
    for (int hora = 1; hora <= 99; ++hora)
        rows.push_back(booking("09/12H/", hora, 12, QStringLiteral("Antiga %1").arg(hora)));
    f.addRows(rows);
    Desk desk(f);
    Window win(desk);
    win.choose({12}, {"09/12/26"}, "08:00", "08:30");
    f.dialogs.clear();
    click(win.w.BBloqueiaHora);
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Warning).first().contains(QStringLiteral("Ana Cheia")));
    QVERIFY(f.dialogs.texts(Kind::Information).isEmpty());
    QCOMPARE(rowsOf(desk.rows(), "12").filter("09/12/26"),
             QStringList({"09/12/26;1;Ana Cheia", "09/12/26;2;Bia Livre"}));
    QCOMPARE(desk.sheet(9).cell(1, 12), QStringLiteral("C"));
    QVERIFY(f.read("ArqAux.Txt").isEmpty());
}

void TestBlocking::timetableEntryThatIsNotATimeSkipsThatDay()
{
    Fixture f;
    Desk desk(f);
    // DiaMedHora.Txt edited by hand: Wednesday's slot 2 of doctor 12 is no time.
    desk.c().doctors.setTime(4, 12, 2, QStringLiteral("ab:cd"));
    Window win(desk);
    win.choose({12}, {"09/12/26", "10/12/26"}, "06:00", "18:00");
    f.dialogs.clear();
    click(win.w.BBloqueiaHora);
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
    const QString warning = f.dialogs.texts(Kind::Warning).first();
    QVERIFY2(
        warning.contains(QStringLiteral("12 - Dr. Teste Silva, 09/12/26 (quarta), horário 2: \"ab:cd\"")),
        qPrintable(warning));
    QCOMPARE(rowsOf(desk.rows(), "12"),
             QStringList({"10/12/26;1;R", "10/12/26;2;R", "10/12/26;3;R", "10/12/26;4;R"}));
    QCOMPARE(desk.sheet(9).cell(1, 12), QString());
}

void TestBlocking::printingWithoutAResultSaysSo()
{
    Fixture f;
    addThursdayDoctor(f);
    Desk desk(f);
    Window win(desk);
    f.write("ArqAux.Txt", {"17/12/264 7 Escrito por outra operação"});
    f.dialogs.clear();
    click(win.w.Button2);
    click(win.w.BImprimir);
    QCOMPARE(f.dialogs.texts(), QStringList({blocking::kNoOperationYet, blocking::kNoOperationYet}));
    // A reservation that displaced nobody has no list of displaced patients.
    win.choose({7}, {"17/12/26"}, "09:00", "10:00");
    click(win.w.BBloqueiaHora);
    f.dialogs.clear();
    click(win.w.Button2);
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY(f.dialogs.texts().first().contains(QStringLiteral("não desmarcou nenhuma consulta")));
    QVERIFY(f.printer.documents().isEmpty());
}

void TestBlocking::missingFilesAreNamed_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("closed dates") << "ArqFolgas.Txt";
    QTest::newRow("prepared limit") << "DataIniFim.Txt";
}

void TestBlocking::missingFilesAreNamed()
{
    QFETCH(QString, file);
    Fixture f;
    Desk desk(f);
    QVERIFY(QFile::remove(f.dir() + QLatin1Char('/') + file));
    f.dialogs.clear();
    Window win(desk);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(file));
    QCOMPARE(win.w.ListBox2->count(), 0);
}

void TestBlocking::menuChecksTheMirrorAndClosingTakesTheSnapshot()
{
    Fixture f;
    addThursdayDoctor(f);
    Desk desk(f, true);
    // System and mirror in step: the mirror check lets the window open at once.
    textfile::copyFile(f.dir() + QStringLiteral("/CodSist.Txt"), f.mirror() + QStringLiteral("/CodEsp.Txt"));
    const QString mirrorTable = f.mirror() + QStringLiteral("/Medicos3.db");
    QFile::remove(mirrorTable);
    bool shown = false;
    onModal<TFSemConsulta>([&](TFSemConsulta *w) {
        shown = true;
        QCOMPARE(w->windowTitle(), QStringLiteral("FSemConsulta"));
        QCOMPARE(w->Edit1->text(), QStringLiteral("06:00"));
        QCOMPARE(w->Edit2->text(), QStringLiteral("18:00"));
        chooseDoctors(w->ListBox1, {7});
        chooseDates(w->ListBox2, {"10/12/26"});
        click(w->BBloqueiaHora);
        press(Qt::Key_Escape);
    });
    desk.main->menuItem(QStringLiteral("BloquearLiberarHorrios1"))->trigger();
    QVERIFY(shown);
    QCOMPARE(rowsOf(desk.rows(), "7").size(), 9);
    QVERIFY(QFile::exists(mirrorTable));
    AppointmentTable mirror;
    mirror.open(mirrorTable, false);
    QCOMPARE(mirror.count(), 9);
}

QTEST_MAIN(TestBlocking)
#include "tst_blocking.moc"
