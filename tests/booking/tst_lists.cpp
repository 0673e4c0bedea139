// The cancelled and waiting lists: what each list holds, the waiting key, the
// candidates of a doctor, the rebooking dialog's operations and checks, and the two
// tabs of the booking screen driven through their widgets.
#include "booking/list_tab.h"
#include "booking/list_tab_widget.h"
#include "booking/rebooking.h"
#include "booking/tfconsulta2.h"
#include "store/waiting_key.h"
#include "desk.h"
#include "doctors/tfhorarios.h"
#include "platform/clickable_label.h"
#include "store/appointment_table.h"
#include "support/typing.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>

using namespace clinora;
using test::booking;
using test::Desk;
using test::Fixture;
using test::journalFile;
using test::keys;
using test::onModal;
using Kind = test::ScriptedDialogs::Kind;
using Origin = RebookingEditor::Origin;

namespace {

// Doctor 5 and doctor 7 share specialty 51; the clinic's doctor 12 is of specialty 52.
void addGeneralPractice(Fixture &f)
{
    f.addDoctor(5, QStringLiteral("Dr. Cinco Lima"), QStringLiteral("51 Clínica Geral"),
                QStringLiteral("105"), QStringLiteral("1"));
    f.addDoctor(7, QStringLiteral("Dr. Sete Rocha"), QStringLiteral("51 Clínica Geral"));
}

QStringList patients(const ListEntries &entries)
{
    QStringList result;
    for (int row = 0; row < entries.count(); ++row)
        result << entries.text(row, ListEntries::Paciente);
    return result;
}

// A click on a row of a list grid, with the modifiers a person holds for a second row.
void clickRow(QTableView *grid, int row, Qt::KeyboardModifiers modifiers = {})
{
    test::click(grid, grid->model()->index(row, ListEntries::Paciente), modifiers);
}

// Double-clicks a row of a list grid; the action runs on the rebooking dialog.
void openRow(QTableView *grid, int row, std::function<void(TFConsulta2 *)> action)
{
    onModal<TFConsulta2>(std::move(action));
    test::doubleClickOn(grid, grid->model()->index(row, ListEntries::Paciente));
}

// The receptionist at the booking screen, the window in front, on one of its pages. The
// list tabs lie past the day tabs, beyond the tab bar's visible part: the page is made
// current as the bar's scroll arrows and a click would make it.
void goToTab(Desk &desk, QWidget *page)
{
    desk.screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk.screen));
    desk.screen->PageControl1->setCurrentWidget(page);
    QApplication::processEvents();
}

// A key pressed where the keyboard is: the widget that has the focus.
void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

// A click into a box, then the text typed where the focus went.
void typeInto(QWidget *box, const QString &text)
{
    // The offscreen platform brings no window to the front on a click, as a window
    // manager does (a closed dialog leaves none in front).
    if (!box->window()->isActiveWindow()) {
        box->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(box->window()));
    }
    test::click(box);
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// The rows of a list as "Data;Hora", in the grid's order.
QStringList dataAndHora(const ListEntries &entries)
{
    QStringList result;
    for (int row = 0; row < entries.count(); ++row)
        result << entries.text(row, ListEntries::Data) + QLatin1Char(';') +
                      entries.text(row, ListEntries::Hora);
    return result;
}

QString waiting(int second, const QDate &day = QDate(2026, 12, 8))
{
    return waitingkey::make(day, second);
}

Appointment entry(const QString &key, int code, const QString &patient)
{
    return {key.left(8),         key.mid(8), QString::number(code), patient, QStringLiteral("3333-0000"),
            QStringLiteral("1"), QString()};
}

} // namespace

class TestLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachListHoldsItsKind_data();
    void eachListHoldsItsKind();
    void waitingKeys_data();
    void waitingKeys();
    void sameSecondTakesTheNext();
    void candidates_data();
    void candidates();
    void cancelledListsByRealDate_data();
    void cancelledListsByRealDate();
    void deletingKeepsOtherKinds();
    void labelsOfAnEntry_data();
    void labelsOfAnEntry();
    void rebookingRefusesBadInput_data();
    void rebookingRefusesBadInput();
    void rebookingStoresARealDate_data();
    void rebookingStoresARealDate();
    void slotWithoutTimeNeedsConfirmation();
    void correctingAnEntryMarksNoSheet();
    void waitingEntryChecks_data();
    void waitingEntryChecks();

    void cancelAndRebookThroughTheScreen();
    void hospitalCancellationTold();
    void toldEntryMovesOffATakenSlot();
    void waitingPatientExportedAndImported();
    void conventionsOncePerRun();
    void deletingSelectedRows_data();
    void deletingSelectedRows();
    void countWarningPastAHundred_data();
    void countWarningPastAHundred();
    void printingLongLists_data();
    void printingLongLists();
    void printedFieldsKeepTheirWidths_data();
    void printedFieldsKeepTheirWidths();
    void candidatesStayAfterAnEntryCloses();
    void entryDeletedElsewhere();
    void boxesComeBackAfterAWaitingEntry();
    void doctorListAndEntryByKey();
};

void TestLists::eachListHoldsItsKind_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("underAtualizar");
    QTest::addColumn<bool>("underAvisar");
    QTest::addColumn<bool>("waitingList");
    QTest::newRow("told by the hospital") << "12/05HA/" << true << false << false;
    QTest::newRow("hospital, not told") << "12/05H/" << true << true << false;
    QTest::newRow("by the patient") << "12/05P/" << true << false << false;
    QTest::newRow("dated") << "05/01/27" << false << false << false;
    QTest::newRow("waiting") << "40001360" << false << false << true;
}

void TestLists::eachListHoldsItsKind()
{
    QFETCH(QString, data);
    QFETCH(bool, underAtualizar);
    QFETCH(bool, underAvisar);
    QFETCH(bool, waitingList);
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(data, 3, 12)});
    AppContext &c = f.start();
    ListTab cancelled(c, ListTab::Kind::Cancelled);
    ListTab waits(c, ListTab::Kind::Waiting);
    cancelled.openAll();
    QCOMPARE(cancelled.entries().count(), underAtualizar ? 1 : 0);
    cancelled.openNotNotified();
    QCOMPARE(cancelled.entries().count(), underAvisar ? 1 : 0);
    waits.openAll();
    QCOMPARE(waits.entries().count(), waitingList ? 1 : 0);
}

void TestLists::waitingKeys_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::newRow("10:00:05") << QDateTime(QDate(2010, 1, 2), QTime(10, 0, 5)) << "40001360"
                              << "05";
    QTest::newRow("00:10:00 keeps 8 + 2") << QDateTime(QDate(2010, 1, 2), QTime(0, 10, 0)) << "40001006"
                                          << "00";
    QTest::newRow("just after midnight") << QDateTime(QDate(2026, 12, 8), QTime(0, 0, 7)) << "46185000"
                                         << "07";
    QTest::newRow("02:46:40 as before") << QDateTime(QDate(2010, 1, 2), QTime(2, 46, 40)) << "40001100"
                                        << "00";
    QTest::newRow("last second") << QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59)) << "46185863"
                                 << "99";
    QTest::newRow("day count cut to four") << QDateTime(QDate(2037, 5, 20), QTime(10, 0, 5)) << "40001360"
                                           << "05";
}

void TestLists::waitingKeys()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, data);
    QFETCH(QString, hora);
    AppointmentTable table;
    QTemporaryDir dir;
    table.open(dir.filePath(QStringLiteral("Medicos.db")), true);
    const AppointmentKey key = waitingkey::freeKey(table, moment);
    QCOMPARE(key.data, data);
    QCOMPARE(key.hora, hora);
    // The entry goes in and shows on the waiting list.
    table.insert(
        {key.data, key.hora, QStringLiteral("12"), QStringLiteral("Maria"), {}, QStringLiteral("1"), {}});
    QCOMPARE(table.select(ListQuery::waiting()).size(), std::size_t(1));
}

void TestLists::sameSecondTakesTheNext()
{
    AppointmentTable table;
    QTemporaryDir dir;
    table.open(dir.filePath(QStringLiteral("Medicos.db")), true);
    const QDateTime moment(QDate(2010, 1, 2), QTime(10, 1, 39)); // second 36099
    QStringList made;
    for (int i = 0; i < 3; ++i) {
        const AppointmentKey key = waitingkey::freeKey(table, moment);
        made << key.data + key.hora;
        // Another doctor's entry, made in the same second, still takes a second of its own.
        table.insert({key.data, key.hora, QString::number(5 + i), QStringLiteral("P%1").arg(i), {}, {}, {}});
    }
    QCOMPARE(made, QStringList({"4000136099", "4000136100", "4000136101"}));
}

void TestLists::candidates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("doctor 5 and specialty 51") << "5" << QStringList{"Cinco", "Clínica"};
    QTest::newRow("typed with a zero") << "05" << QStringList{"Cinco", "Clínica"};
    QTest::newRow("doctor 7, same specialty") << "7" << QStringList{"Sete", "Clínica"};
    QTest::newRow("doctor 12 of specialty 52") << "12" << QStringList{"Cardio"};
    QTest::newRow("empty") << "" << QStringList{"Cinco", "Sete", "Clínica", "Cardio"};
    QTest::newRow("not a number") << "x" << QStringList{"Cinco", "Sete", "Clínica", "Cardio"};
    QTest::newRow("zero") << "0" << QStringList{"Cinco", "Sete", "Clínica", "Cardio"};
    QTest::newRow("a specialty code") << "51" << QStringList{"Cinco", "Sete", "Clínica", "Cardio"};
}

void TestLists::candidates()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    Fixture f;
    test::setUpClinic(f);
    addGeneralPractice(f);
    const QList<std::pair<int, QString>> filed = {{5, "Cinco"}, {7, "Sete"}, {51, "Clínica"}, {52, "Cardio"}};
    std::vector<Appointment> rows;
    int second = 36000;
    for (const auto &[code, name] : filed) {
        rows.push_back(booking(QStringLiteral("10/12H/"), 1, code, name));
        rows.push_back(entry(waiting(second++), code, name));
    }
    f.addRows(rows);
    AppContext &c = f.start();
    for (const ListTab::Kind kind : {ListTab::Kind::Cancelled, ListTab::Kind::Waiting}) {
        ListTab tab(c, kind);
        tab.openAll();
        f.dialogs.clear();
        const bool doctor = tab.openCandidates(typed);
        QCOMPARE(f.dialogs.shown().isEmpty(), doctor);
        QStringList shown = patients(tab.entries());
        QStringList expected = listed;
        shown.sort();
        expected.sort();
        QCOMPARE(shown, expected);
    }
}

void TestLists::cancelledListsByRealDate_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("stored"); // Data;Hora of doctor 12's entries
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("a month's days before the next month's")
        << QDate(2027, 3, 10) << QStringList{"17/02H/;1", "17/03H/;1", "18/02H/;1"}
        << QStringList{"17/02H/;1", "18/02H/;1", "17/03H/;1"};
    QTest::newRow("slots as numbers")
        << QDate(2026, 12, 8) << QStringList{"05/12H/;10", "05/12H/;2", "05/12P/;9"}
        << QStringList{"05/12H/;2", "05/12P/;9", "05/12H/;10"};
    QTest::newRow("in January, December's entries first")
        << QDate(2027, 1, 5) << QStringList{"03/01H/;1", "20/12P/;1", "28/01H/;1"}
        << QStringList{"20/12P/;1", "03/01H/;1", "28/01H/;1"};
    QTest::newRow("in December, January's entries last")
        << QDate(2026, 12, 20) << QStringList{"05/01H/;1", "10/12H/;1", "15/11P/;1"}
        << QStringList{"15/11P/;1", "10/12H/;1", "05/01H/;1"};
    QTest::newRow("past a month ahead is last year's")
        << QDate(2027, 3, 10) << QStringList{"01/03H/;1", "09/04H/;1", "15/04HA/;1"}
        << QStringList{"15/04HA/;1", "01/03H/;1", "09/04H/;1"};
}

void TestLists::cancelledListsByRealDate()
{
    QFETCH(QDate, today);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, listed);
    Fixture f(today);
    test::setUpClinic(f);
    std::vector<Appointment> rows;
    for (const QString &entry : stored)
        rows.push_back(
            booking(entry.section(QLatin1Char(';'), 0, 0), entry.section(QLatin1Char(';'), 1).toInt(), 12));
    f.addRows(rows);
    AppContext &c = f.start();
    ListTab tab(c, ListTab::Kind::Cancelled);
    tab.openAll();
    QCOMPARE(dataAndHora(tab.entries()), listed);
    QVERIFY(tab.openCandidates(QStringLiteral("12")));
    QCOMPARE(dataAndHora(tab.entries()), listed);
    // The list's rows are found by key in their new places.
    for (int row = 0; row < tab.entries().count(); ++row)
        QCOMPARE(tab.entries().rowOf(tab.entries().key(row)), row);
}

void TestLists::deletingKeepsOtherKinds()
{
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(QStringLiteral("10/12/26"), 1, 12), booking(QStringLiteral("10/12H/"), 1, 12),
               entry(waiting(36000), 12, QStringLiteral("Espera"))});
    AppContext &c = f.start();
    AppointmentTable &table = c.DMMedicos.table();
    const std::vector<AppointmentKey> all{
        {"10/12/26", "1", "12"}, {"10/12H/", "1", "12"}, {"46185360", "00", "12"}};
    QCOMPARE(table.removeListed(ListQuery::waiting(), all), 1);
    QCOMPARE(table.removeListed(ListQuery::cancelled(), all), 1);
    QCOMPARE(keys(f.rows()), QStringList{"10/12/26;1;12;Maria Souza"});
}

void TestLists::labelsOfAnEntry_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("hora");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("room");
    const QString blanks(7, QLatin1Char(' '));
    QTest::newRow("a doctor's slot") << "05/01H/" << 2 << 12 << "Dr. Teste Silva" << blanks + "08:30  Hs"
                                     << "204";
    QTest::newRow("a slot without a time") << "05/01H/" << 9 << 12 << "Dr. Teste Silva" << blanks << "204";
    QTest::newRow("Hora raised past the slots")
        << "05/01P/" << 30 << 12 << "Dr. Teste Silva" << blanks << "204";
    QTest::newRow("a specialty") << "05/01H/" << 3 << 52 << "Cardiologia"
                                 << "  "
                                 << "";
    QTest::newRow("waiting for a doctor") << "40001360" << 5 << 12 << "Dr. Teste Silva" << blanks << "204";
}

void TestLists::labelsOfAnEntry()
{
    QFETCH(QString, data);
    QFETCH(int, hora);
    QFETCH(int, code);
    QFETCH(QString, name);
    QFETCH(QString, time);
    QFETCH(QString, room);
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(data, hora, code)});
    AppContext &c = f.start();
    RebookingEditor editor(c);
    QVERIFY(editor.openEntry({data, QString::number(hora), QString::number(code)}, Origin::Cancelled));
    QCOMPARE(editor.nameLabel().trimmed(), name);
    QCOMPARE(editor.timeLabel(), time);
    QCOMPARE(editor.room().trimmed(), room);
}

void TestLists::rebookingRefusesBadInput_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<QString>("medico");
    QTest::addColumn<QString>("patient");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << "09/12/26"
                             << "1"
                             << "12"
                             << ""
                             << "Campo Nome é obrigatório";
    QTest::newRow("not a date") << "45/01/27"
                                << "1"
                                << "12"
                                << "Maria"
                                << "Data inválida";
    QTest::newRow("the list form kept, slot changed") << "05/01H/"
                                                      << "4"
                                                      << "12"
                                                      << "Maria"
                                                      << "no campo Dia";
    QTest::newRow("past") << "07/12/26"
                          << "1"
                          << "12"
                          << "Maria"
                          << "já passou";
    QTest::newRow("beyond the limit") << "08/01/27"
                                      << "1"
                                      << "12"
                                      << "Maria"
                                      << "preparado até 07/01/2027";
    QTest::newRow("closed") << "15/12/26"
                            << "1"
                            << "12"
                            << "Maria"
                            << "a data está fechada";
    QTest::newRow("Hora past the slots") << "09/12/26"
                                         << "30"
                                         << "12"
                                         << "Maria"
                                         << "de 1 a 24";
    QTest::newRow("Hora zero") << "09/12/26"
                               << "0"
                               << "12"
                               << "Maria"
                               << "de 1 a 24";
    QTest::newRow("Hora not a number") << "09/12/26"
                                       << "x"
                                       << "12"
                                       << "Maria"
                                       << "de 1 a 24";
    QTest::newRow("a free code") << "09/12/26"
                                 << "1"
                                 << "7"
                                 << "Maria"
                                 << "médico cadastrado";
    QTest::newRow("a specialty") << "09/12/26"
                                 << "1"
                                 << "52"
                                 << "Maria"
                                 << "médico cadastrado";
    QTest::newRow("a taken slot") << "09/12/26"
                                  << "2"
                                  << "12"
                                  << "Maria"
                                  << "já está ocupado";
}

void TestLists::rebookingRefusesBadInput()
{
    QFETCH(QString, data);
    QFETCH(QString, hora);
    QFETCH(QString, medico);
    QFETCH(QString, patient);
    QFETCH(QString, message);
    Fixture f;
    test::setUpClinic(f);
    f.write(QStringLiteral("ArqFolgas.Txt"), {QStringLiteral("15/12/2026")});
    f.addRows(
        {booking(QStringLiteral("05/01H/"), 3, 12), booking(QStringLiteral("09/12/26"), 2, 12, "Outro")});
    AppContext &c = f.start();
    const std::vector<Appointment> before = f.rows();
    RebookingEditor editor(c);
    QVERIFY(editor.openEntry({"05/01H/", "3", "12"}, Origin::Cancelled));
    QVERIFY(!editor.alterar({data, hora, medico, patient, {}, QStringLiteral("1  Particular"), {}}));
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY2(f.dialogs.texts().first().contains(message), qPrintable(f.dialogs.texts().first()));
    QCOMPARE(f.rows(), before);
    QCOMPARE(c.journal.pending(), 0);
}

void TestLists::rebookingStoresARealDate_data()
{
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("typedDate");
    QTest::addColumn<QString>("typedHora");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("markedDay");
    QTest::newRow("typed short") << "07/01/2027"
                                 << "5/1/27"
                                 << "03"
                                 << "05/01/27" << 5;
    QTest::newRow("four-digit year") << "07/01/2027"
                                     << "14/12/2026"
                                     << "3"
                                     << "14/12/26" << 14;
    // Day 8's sheet stands for 08/12/26: a booking a month later leaves it alone.
    QTest::newRow("a day number of another month") << "08/01/2027"
                                                   << "08/01/27"
                                                   << "3"
                                                   << "08/01/27" << 0;
}

void TestLists::rebookingStoresARealDate()
{
    QFETCH(QString, limit);
    QFETCH(QString, typedDate);
    QFETCH(QString, typedHora);
    QFETCH(QString, stored);
    QFETCH(int, markedDay);
    Fixture f;
    test::setUpClinic(f);
    f.write(QStringLiteral("DataIniFim.Txt"), {limit});
    f.addRows({booking(QStringLiteral("12/05P/"), 7, 12, QStringLiteral("Maria Souza"))});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    RebookingEditor editor(c);
    QVERIFY(editor.openEntry({"12/05P/", "7", "12"}, Origin::Cancelled));
    QVERIFY(editor.alterar({typedDate, typedHora, QStringLiteral(" 12"), QStringLiteral("Maria Souza"),
                            QStringLiteral("3333-4444"), QStringLiteral("2  Convênio"),
                            QStringLiteral("Remarcada")}));
    QCOMPARE(keys(f.rows()), QStringList{stored + QStringLiteral(";3;12;Maria Souza")});
    QCOMPARE(f.rows().front().situacao, QStringLiteral("2"));
    for (int day = 1; day <= 31; ++day)
        QCOMPARE(c.sheets.sheet(day).cell(3, 12) == QLatin1String("C"), day == markedDay);
    const QStringList lines = c.journal.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("E12/05P/ 7 12Maria Souza")));
    QVERIFY(lines[1].startsWith(QStringLiteral("I") + stored + QStringLiteral("3 12Maria Souza")));
    QVERIFY(lines[1].endsWith(QStringLiteral("Remarcada")));
}

void TestLists::slotWithoutTimeNeedsConfirmation()
{
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(QStringLiteral("12/05P/"), 7, 12)});
    AppContext &c = f.start();
    RebookingEditor editor(c);
    QVERIFY(editor.openEntry({"12/05P/", "7", "12"}, Origin::Cancelled));
    const TypedEntry typed{"09/12/26", "9", "12", "Maria Souza", {}, "1", {}};
    f.dialogs.answerQuestion(false);
    QVERIFY(!editor.alterar(typed));
    QCOMPARE(keys(f.rows()), QStringList{"12/05P/;7;12;Maria Souza"});
    f.dialogs.answerQuestion(true);
    QVERIFY(editor.alterar(typed));
    QCOMPARE(keys(f.rows()), QStringList{"09/12/26;9;12;Maria Souza"});
    QCOMPARE(f.dialogs.texts(Kind::Question).size(), 2);
    QVERIFY(
        f.dialogs.texts(Kind::Question).first().contains(QStringLiteral("não tem o horário 9 em 09/12/26")));
}

void TestLists::correctingAnEntryMarksNoSheet()
{
    Fixture f;
    test::setUpClinic(f);
    f.addRows({booking(QStringLiteral("09/12H/"), 1, 12, QStringLiteral("Mario")),
               entry(waiting(36000), 12, QStringLiteral("Ana"))});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    RebookingEditor editor(c);
    QVERIFY(editor.openEntry({"09/12H/", "1", "12"}, Origin::Cancelled));
    QVERIFY(editor.alterar({"09/12H/", "1", "12", "Mário Alves", "9999-0000", "1", {}}));
    // A waiting patient who now asks for any doctor of the specialty.
    QVERIFY(editor.openEntry({"46185360", "00", "12"}, Origin::Waiting));
    QVERIFY(editor.alterar({"46185360", "00", "52", "Ana", {}, "1", {}}));
    QCOMPARE(keys(f.rows()), QStringList({"09/12H/;1;12;Mário Alves", "46185360;00;52;Ana"}));
    QCOMPARE(c.sheets.sheet(9).cell(1, 12), QString());
    QCOMPARE(c.journal.pending(), 4);
}

void TestLists::waitingEntryChecks_data()
{
    QTest::addColumn<QString>("medico");
    QTest::addColumn<QString>("patient");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << "12"
                             << ""
                             << "1"
                             << "Campo Nome é obrigatório";
    QTest::newRow("no situation") << "12"
                                  << "Ana"
                                  << ""
                                  << " O Campo Situação é obrigatório - refazer a inclusão";
    QTest::newRow("no doctor") << ""
                               << "Ana"
                               << "1"
                               << "Médico";
    QTest::newRow("a free code") << "7"
                                 << "Ana"
                                 << "1"
                                 << "Médico";
    QTest::newRow("a specialty without a name") << "79"
                                                << "Ana"
                                                << "1"
                                                << "Médico";
    QTest::newRow("past the specialties") << "99"
                                          << "Ana"
                                          << "1"
                                          << "Médico";
    QTest::newRow("a doctor") << "12"
                              << "Ana"
                              << "1"
                              << "";
    QTest::newRow("a specialty") << "52"
                                 << "Ana"
                                 << "1"
                                 << "";
}

void TestLists::waitingEntryChecks()
{
    QFETCH(QString, medico);
    QFETCH(QString, patient);
    QFETCH(QString, situation);
    QFETCH(QString, message);
    Fixture f;
    test::setUpClinic(f);
    AppContext &c = f.start();
    RebookingEditor editor(c);
    editor.newWaitingEntry();
    QCOMPARE(editor.shown().data + editor.shown().hora, QStringLiteral("4618536000"));
    const bool added = editor.incluir({{}, {}, medico, patient, {}, situation, {}});
    QCOMPARE(added, message.isEmpty());
    if (added) {
        QCOMPARE(keys(f.rows()), QStringList{"46185360;00;" + medico + ";" + patient});
        QCOMPARE(c.journal.pending(), 1);
        QVERIFY(c.journal.lines().first().startsWith("I4618536000" + medico));
    } else {
        QCOMPARE(f.dialogs.texts().size(), 1);
        QVERIFY(f.dialogs.texts().first().contains(message));
        QVERIFY(f.rows().empty());
        QCOMPARE(c.journal.pending(), 0);
    }
}

// A patient cancels with "P"; the entry shows under "Desmarcadas", is rebooked onto a
// free slot of another day, and both sheets follow.
void TestLists::cancelAndRebookThroughTheScreen()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("09/12/26"), 2, 12, QStringLiteral("Joana Prado"))});
    Desk desk(f, true);
    desk.doubleClick(9, 2, 12, [](TFConsulta *d) { test::click(d->Button1); });
    QCOMPARE(desk.sheet(9).cell(2, 12), QString());
    ListTabWidget &list = desk.screen->desmarcadas();
    // The cancellation opened the cancelled list.
    QCOMPARE(patients(list.tab().entries()), QStringList{"Joana Prado"});
    goToTab(desk, &list);
    QApplication::processEvents();

    openRow(list.grid, 0, [](TFConsulta2 *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("FConsulta2"));
        QVERIFY(d->DBEdit3->isVisible() && d->DBEdit4->isVisible());
        QCOMPARE(d->DBEdit3->text(), QStringLiteral("09/12P/"));
        QVERIFY(d->BAlterar->isEnabled() && !d->BIncluir->isEnabled());
        QVERIFY(!d->BAviso->isVisible());
        QCOMPARE(d->Label6->text(), QStringLiteral("       08:30  Hs"));
        QCOMPARE(d->Label10->text().trimmed(), QStringLiteral("204"));
        test::typeOver(d->DBEdit3, QStringLiteral("11/12/26"));
        test::typeOver(d->DBEdit4, QStringLiteral("4"));
        test::click(d->BAlterar);
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(keys(desk.rows()), QStringList{"11/12/26;4;12;Joana Prado"});
    QCOMPARE(desk.sheet(11).cell(4, 12), QStringLiteral("C"));
    QCOMPARE(desk.sheet(9).cell(2, 12), QString());
    QCOMPARE(list.tab().entries().count(), 0);
    QVERIFY(f.dialogs.shown().isEmpty());
    test::click(desk.screen->BitBtn1);
    const QStringList lines = journalFile(f);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[2].startsWith(QStringLiteral("E09/12P/ 2 12Joana Prado")));
    QVERIFY(lines[3].startsWith(QStringLiteral("I11/12/264 12Joana Prado")));
}

void TestLists::hospitalCancellationTold()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("05/01H/"), 3, 12, QStringLiteral("Carlos Lima"))});
    Desk desk(f);
    ListTabWidget &list = desk.screen->desmarcadas();
    goToTab(desk, &list);
    test::click(list.avisar);
    QCOMPARE(list.tab().entries().count(), 1);
    openRow(list.grid, 0, [](TFConsulta2 *d) {
        QVERIFY(d->NoticeFrame->isVisible() && d->BAviso->isVisible() && d->BAviso->isEnabled());
        QVERIFY(!d->Label7->isVisible());
        test::click(d->BAviso);
    });
    QCOMPARE(keys(desk.rows()), QStringList{"05/01HA/;3;12;Carlos Lima"});
    // Told entries leave the "Avisar" list and show as told.
    test::click(list.avisar);
    QCOMPARE(list.tab().entries().count(), 0);
    test::click(list.atualizar);
    openRow(list.grid, 0, [](TFConsulta2 *d) {
        QVERIFY(!d->BAviso->isVisible());
        QVERIFY(d->Label7->isVisible());
        QCOMPARE(d->Label7->text(), QStringLiteral("Desmarcação Comunicada"));
        test::click(d->BSair);
    });
    const QStringList lines = desk.c().journal.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("E05/01H/ 3 12Carlos Lima")));
    QVERIFY(lines[1].startsWith(QStringLiteral("I05/01HA/3 12Carlos Lima")));
}

void TestLists::toldEntryMovesOffATakenSlot()
{
    Fixture f;
    std::vector<Appointment> rows{booking(QStringLiteral("05/01H/"), 3, 12, QStringLiteral("Novo")),
                                  booking(QStringLiteral("05/01HA/"), 3, 12, QStringLiteral("Antigo")),
                                  booking(QStringLiteral("06/01H/"), 3, 12, QStringLiteral("Cheio"))};
    for (int hora = 3; hora <= 99; ++hora)
        rows.push_back(booking(QStringLiteral("06/01HA/"), hora, 12, QStringLiteral("Antigo")));
    f.addRows(rows);
    Desk desk(f);
    ListTabWidget &list = desk.screen->desmarcadas();
    goToTab(desk, &list);
    test::click(list.avisar);
    QCOMPARE(patients(list.tab().entries()), QStringList({"Novo", "Cheio"}));
    openRow(list.grid, 0, [](TFConsulta2 *d) { test::click(d->BAviso); });
    QVERIFY(desk.c().DMMedicos.table().contains({"05/01HA/", "4", "12"}));
    // Every Hora up to 99 taken: the entry stays as it was, and the dialog open.
    test::click(list.avisar);
    openRow(list.grid, 0, [](TFConsulta2 *d) {
        test::click(d->BAviso);
        QVERIFY(d->isVisible());
        test::click(d->BSair);
    });
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(QStringLiteral("99")));
    QVERIFY(desk.c().DMMedicos.table().contains({"06/01H/", "3", "12"}));
    QCOMPARE(desk.c().journal.pending(), 2);
}

// A waiting patient for a specialty is found among a doctor's candidates, exported and
// imported into a free slot.
void TestLists::waitingPatientExportedAndImported()
{
    Fixture f;
    Desk desk(f);
    ListTabWidget &list = desk.screen->emEspera();
    goToTab(desk, &list);
    onModal<TFConsulta2>([](TFConsulta2 *d) {
        QVERIFY(!d->DBEdit3->isVisible() && !d->DBEdit4->isVisible());
        QCOMPARE(d->DBEdit3->text(), QStringLiteral("46185360"));
        QVERIFY(d->BIncluir->isEnabled() && !d->BAlterar->isEnabled() && !d->BExportar->isEnabled());
        QVERIFY(d->DBComboBox1->currentText().startsWith(QLatin1Char('1')));
        typeInto(d->DBEdit2, QStringLiteral("52"));
        typeInto(d->DBEdit1, QStringLiteral("Rita Moura"));
        typeInto(d->DBEdit6, QStringLiteral("97777-1111"));
        test::click(d->BIncluir);
    });
    test::click(list.incluir);
    QCOMPARE(keys(desk.rows()), QStringList{"46185360;00;52;Rita Moura"});
    QCOMPARE(patients(list.tab().entries()), QStringList{"Rita Moura"});

    typeInto(list.codigo, QStringLiteral("3"));
    test::click(list.candidatos);
    QCOMPARE(list.tab().entries().count(), 0);
    test::typeOver(list.codigo, QStringLiteral("12"));
    test::click(list.candidatos);
    QCOMPARE(patients(list.tab().entries()), QStringList{"Rita Moura"});
    openRow(list.grid, 0, [](TFConsulta2 *d) {
        QVERIFY(!d->DBEdit3->isVisible());
        QCOMPARE(d->Label5->text(), QStringLiteral("Cardiologia"));
        QCOMPARE(d->Label6->text(), QStringLiteral("  "));
        QCOMPARE(d->Label10->text(), QString());
        QVERIFY(!d->NoticeFrame->isVisible());
        test::click(d->BExportar);
    });
    QVERIFY(desk.rows().empty());
    desk.doubleClick(10, 3, 12, [](TFConsulta *d) {
        QVERIFY(d->BImportar->isEnabled());
        test::click(d->BImportar);
    });
    const std::vector<Appointment> rows = desk.rows();
    QCOMPARE(keys(rows), QStringList{"10/12/26;3;12;Rita Moura"});
    QCOMPARE(rows.front().telefone, QStringLiteral("97777-1111"));
    QCOMPARE(desk.sheet(10).cell(3, 12), QStringLiteral("C"));
    const QStringList lines = desk.c().journal.lines();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("I4618536000") + QStringLiteral("52Rita Moura")));
    QVERIFY(lines[1].startsWith(QStringLiteral("E4618536000") + QStringLiteral("52Rita Moura")));
    QVERIFY(lines[2].startsWith(QStringLiteral("I10/12/263 12Rita Moura")));
}

void TestLists::conventionsOncePerRun()
{
    Fixture f;
    Desk desk(f);
    ListTabWidget &list = desk.screen->emEspera();
    goToTab(desk, &list);
    // Two patients in the same second (the clock stands still): two entries, two keys.
    for (const QString &name : {QStringLiteral("Primeiro"), QStringLiteral("Segundo")}) {
        onModal<TFConsulta2>([name](TFConsulta2 *d) {
            typeInto(d->DBEdit2, QStringLiteral("12"));
            typeInto(d->DBEdit1, name);
            // Enter adds the entry.
            press(Qt::Key_Return);
        });
        test::click(list.incluir);
    }
    QCOMPARE(keys(desk.rows()), QStringList({"46185360;00;12;Primeiro", "46185360;01;12;Segundo"}));
    QCOMPARE(f.dialogs.texts(), QStringList{ListTabWidget::kConventions});
    QVERIFY(ListTabWidget::kConventions.startsWith(QStringLiteral(
        "                    Convenções para inclusão de paciente em espera:\n\nCampos Data e Hora:")));
}

void TestLists::deletingSelectedRows_data()
{
    QTest::addColumn<bool>("closeScreen");
    QTest::addColumn<QList<int>>("picked");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("two, leaving the tab")
        << false << QList<int>{0, 2} << "Excluir as 2 consultas selecionadas?"
        << QStringList{"02/12P/;1;12;Dois", "10/12/26;1;12;Marcado", "46185360;00;12;Espera"};
    QTest::newRow("one, closing the screen on it")
        << true << QList<int>{1} << "Excluir a consulta selecionada?"
        << QStringList{"01/12H/;1;12;Um", "03/12HA/;1;12;Tres", "10/12/26;1;12;Marcado",
                       "46185360;00;12;Espera"};
}

void TestLists::deletingSelectedRows()
{
    QFETCH(bool, closeScreen);
    QFETCH(QList<int>, picked);
    QFETCH(QString, question);
    QFETCH(QStringList, remaining);
    Fixture f;
    f.addRows({booking(QStringLiteral("01/12H/"), 1, 12, "Um"),
               booking(QStringLiteral("02/12P/"), 1, 12, "Dois"),
               booking(QStringLiteral("03/12HA/"), 1, 12, "Tres"),
               booking(QStringLiteral("10/12/26"), 1, 12, "Marcado"), entry(waiting(36000), 12, "Espera")});
    Desk desk(f, true);
    ListTabWidget &list = desk.screen->desmarcadas();
    goToTab(desk, &list);
    test::click(list.atualizar);
    test::click(list.excluir);
    QCOMPARE(f.dialogs.texts(), QStringList{ListTab::kNothingSelected});
    QCOMPARE(desk.rows().size(), std::size_t(5));

    f.dialogs.clear();
    for (int i = 0; i < picked.size(); ++i)
        clickRow(list.grid, picked[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    const std::vector<int> selected(picked.begin(), picked.end());
    QCOMPARE(list.selectedRows(), selected);
    // "No", the answer Enter gives, deletes nothing and leaves the list as it was.
    f.dialogs.answerQuestion(false);
    test::click(list.excluir);
    QCOMPARE(f.dialogs.shown().size(), 1);
    QCOMPARE(f.dialogs.shown().first().kind, Kind::Question);
    QCOMPARE(f.dialogs.shown().first().text, question);
    QVERIFY(f.dialogs.shown().first().defaultNo);
    QCOMPARE(desk.rows().size(), std::size_t(5));
    QCOMPARE(list.tab().entries().count(), 3);
    QCOMPARE(list.selectedRows(), selected);
    QVERIFY(!list.tab().changed());

    f.dialogs.answerQuestion(true);
    test::click(list.excluir);
    QCOMPARE(f.dialogs.texts(), QStringList({question, question}));
    QCOMPARE(keys(desk.rows()), remaining);
    QCOMPARE(list.tab().entries().count(), 0);
    QVERIFY(list.tab().changed());
    QVERIFY(journalFile(f).isEmpty());

    const QString mirrorTable = f.mirror() + QStringLiteral("/Medicos3.db");
    QVERIFY(!QFile::exists(mirrorTable));
    if (closeScreen)
        test::click(desk.screen->BitBtn1);
    else
        goToTab(desk, &desk.screen->emEspera());
    QVERIFY(QFile::exists(mirrorTable));
    AppointmentTable mirror;
    mirror.open(mirrorTable, false);
    QCOMPARE(mirror.count(), remaining.size());
    QVERIFY(!list.tab().changed());
}

void TestLists::countWarningPastAHundred_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("count");
    QTest::newRow("a hundred") << 100 << "";
    QTest::newRow("a hundred and one") << 101 << "Há 101 consultas em espera";
}

void TestLists::countWarningPastAHundred()
{
    QFETCH(int, entries);
    QFETCH(QString, count);
    Fixture f;
    std::vector<Appointment> rows;
    for (int i = 0; i < entries; ++i)
        rows.push_back(entry(waiting(36000 + i), 12, QStringLiteral("Paciente %1").arg(i)));
    f.addRows(rows);
    Desk desk(f);
    ListTabWidget &list = desk.screen->emEspera();
    goToTab(desk, &list);
    test::click(list.atualizar);
    QCOMPARE(list.countWarning->text(), count);
    QCOMPARE(list.adviceWarning->text().isEmpty(), count.isEmpty());
    goToTab(desk, desk.screen->TabSheet1);
    goToTab(desk, &list);
    QCOMPARE(list.countWarning->text(), QString());
    QCOMPARE(list.adviceWarning->text(), QString());
}

void TestLists::printingLongLists_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("selectTwo");
    QTest::newRow("Desmarcadas, all") << true << false;
    QTest::newRow("Desmarcadas, selected") << true << true;
    QTest::newRow("Em Espera, all") << false << false;
    QTest::newRow("Em Espera, selected") << false << true;
}

void TestLists::printingLongLists()
{
    QFETCH(bool, cancelled);
    QFETCH(bool, selectTwo);
    Fixture f;
    std::vector<Appointment> rows;
    const int entries = 170;
    for (int i = 0; i < entries; ++i) {
        const QString name = QStringLiteral("Paciente %1").arg(i, 3, 10, QLatin1Char('0'));
        const int code = i % 2 ? 12 : 52;
        rows.push_back(cancelled ? booking(QStringLiteral("%1/12H/").arg(10 + i / 98), 1 + i % 98, code, name)
                                 : entry(waiting(36000 + i), code, name));
    }
    f.addRows(rows);
    Desk desk(f);
    ListTabWidget &list = cancelled ? desk.screen->desmarcadas() : desk.screen->emEspera();
    goToTab(desk, &list);
    test::click(list.atualizar);
    const QStringList listed = patients(list.tab().entries());
    if (selectTwo) {
        clickRow(list.grid, 1);
        clickRow(list.grid, 2, Qt::ControlModifier);
    }
    test::click(list.imprimir);
    QCOMPARE(list.tab().entries().count(), 0);

    const auto &doc = f.printer.documents().last();
    const QStringList head = cancelled ? QStringList{"RELAÇÃO DAS CONSULTAS DESMARCADAS",
                                                     "Data",
                                                     "Hora",
                                                     "Medico",
                                                     "Especialidade",
                                                     "Paciente",
                                                     "Telefone"}
                                       : QStringList{"RELAÇÃO DAS CONSULTAS NA FILA DE ESPERA", "Medico",
                                                     "Especialidade", "Paciente", "Telefone"};
    const int columns = cancelled ? 6 : 4;
    QCOMPARE(doc.pages, selectTwo ? 1 : 3);
    QStringList printedPatients;
    for (int p = 1; p <= doc.pages; ++p) {
        const QStringList page = doc.page(p);
        QCOMPARE(page.mid(0, head.size()), head);
        for (int i = head.size() + columns - 2; i < page.size(); i += columns)
            printedPatients << page[i];
    }
    // Every row once, in the grid's order, past the first page too.
    QCOMPARE(listed.size(), entries);
    QCOMPARE(printedPatients, selectTwo ? listed.mid(1, 2) : listed);
    // The list closed, a second "Imprimir" has nothing to print.
    test::click(list.imprimir);
    QCOMPARE(f.printer.documents().size(), 1);
    QCOMPARE(f.dialogs.texts(), QStringList{ListTab::kNothingToPrint});
    const QStringList all = doc.lines();
    if (cancelled) {
        QVERIFY(all.contains(QStringLiteral("12 Dr. Teste Silva          ")));
        QVERIFY(all.contains(QStringLiteral("52 Cardiologia")));
        QVERIFY(all.contains(selectTwo ? QStringLiteral("     Indefinido") : QStringLiteral(" Indefinido")));
    } else {
        QVERIFY(all.contains(QStringLiteral("12 Dr. Teste Silva          ")));
        QVERIFY(all.contains(QStringLiteral(" Cardiologia ")));
        QVERIFY(all.contains(QStringLiteral("-- ") + QString(25, QLatin1Char(' '))));
        QVERIFY(all.contains(QStringLiteral("Cardiologia")));
    }
}

void TestLists::printedFieldsKeepTheirWidths_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("Desmarcadas") << true;
    QTest::newRow("Em Espera") << false;
}

void TestLists::printedFieldsKeepTheirWidths()
{
    QFETCH(bool, cancelled);
    Fixture f;
    const QString name = QStringLiteral("Josefina Albuquerque Lins"); // 25, the field's width
    const QString phone = QStringLiteral("(011)98765-4");             // 12
    Appointment row =
        cancelled ? booking(QStringLiteral("10/12H/"), 1, 12, name) : entry(waiting(36000), 12, name);
    row.telefone = phone;
    f.addRows({row});
    Desk desk(f);
    ListTabWidget &list = cancelled ? desk.screen->desmarcadas() : desk.screen->emEspera();
    goToTab(desk, &list);
    test::click(list.atualizar);
    test::click(list.imprimir);
    QCOMPARE(f.printer.documents().size(), 1);
    const QStringList printed = f.printer.lastTexts();
    QVERIFY2(printed.contains(name), qPrintable(printed.join(QLatin1Char('|'))));
    QVERIFY2(printed.contains(phone), qPrintable(printed.join(QLatin1Char('|'))));
    if (cancelled)
        QVERIFY(printed.contains(QStringLiteral("10/12H/")));
}

// A doctor's candidates opened, one entry opened and closed: the list stays filtered,
// the entry selected and under the pointer, so the next double-click at the same place
// opens the same patient; a rebooked entry leaves the filtered list.
void TestLists::candidatesStayAfterAnEntryCloses()
{
    Fixture f;
    std::vector<Appointment> rows;
    // Doctor 12's (and Cardiologia's) entries among doctor 3's, more than the grid shows.
    for (int i = 0; i < 60; ++i) {
        const int code = i % 3 == 0 ? 3 : (i % 3 == 1 ? 12 : 52);
        rows.push_back(booking(QStringLiteral("%1/12H/").arg(1 + i / 20, 2, 10, QLatin1Char('0')), 1 + i % 20,
                               code, QStringLiteral("Paciente %1").arg(i, 2, 10, QLatin1Char('0'))));
    }
    f.addRows(rows);
    Desk desk(f);
    ListTabWidget &list = desk.screen->desmarcadas();
    goToTab(desk, &list);
    QApplication::processEvents();
    typeInto(list.codigo, QStringLiteral("12"));
    test::click(list.candidatos);
    const QStringList candidates = patients(list.tab().entries());
    QCOMPARE(candidates.size(), 40);
    QVERIFY(!candidates.contains(QStringLiteral("Paciente 00")));

    // A row far down, scrolled into view, double-clicked at its place.
    const int row = 34; // doctor 12's entry of 03/12 at slot 13
    const QString patient = candidates[row];
    const QModelIndex index = list.grid->model()->index(row, ListEntries::Paciente);
    list.grid->scrollTo(index);
    const QPoint place = list.grid->visualRect(index).center();
    QVERIFY(list.grid->viewport()->rect().contains(place));
    for (int time = 0; time < 2; ++time) {
        QString shown;
        onModal<TFConsulta2>([&shown](TFConsulta2 *d) {
            shown = d->DBEdit1->text().trimmed();
            press(Qt::Key_Escape);
        });
        test::doubleClickOn(list.grid->viewport(), place);
        QCOMPARE(shown, patient);
        QVERIFY(!desk.screen->consulta2().isVisible());
        QCOMPARE(patients(list.tab().entries()), candidates);
        QCOMPARE(list.selectedRows(), std::vector<int>{row});
        QCOMPARE(list.grid->indexAt(place).row(), row);
    }

    // Rebooked: the entry leaves the list, the other candidates stay.
    onModal<TFConsulta2>([](TFConsulta2 *d) {
        test::typeOver(d->DBEdit3, QStringLiteral("11/12/26"));
        test::typeOver(d->DBEdit4, QStringLiteral("4"));
        test::click(d->BAlterar);
    });
    test::doubleClickOn(list.grid->viewport(), place);
    QVERIFY(desk.c().DMMedicos.table().contains({"11/12/26", "4", "12"}));
    QStringList left = candidates;
    left.removeAt(row);
    QCOMPARE(patients(list.tab().entries()), left);
    QVERIFY(list.selectedRows().empty());
}

void TestLists::entryDeletedElsewhere()
{
    Fixture f;
    f.addRows(
        {booking(QStringLiteral("01/12H/"), 1, 12, "Um"), booking(QStringLiteral("02/12H/"), 1, 12, "Dois")});
    Desk desk(f);
    ListTabWidget &list = desk.screen->desmarcadas();
    goToTab(desk, &list);
    test::click(list.atualizar);
    AppointmentTable other;
    other.open(f.dir() + QStringLiteral("/Medicos.db"), false);
    other.remove({"01/12H/", "1", "12"});
    // A dialog would open inside the double-click; the watcher gives up soon after.
    auto dialogSeen = std::make_shared<bool>(false);
    onModal<TFConsulta2>(
        [dialogSeen](TFConsulta2 *d) {
            *dialogSeen = true;
            test::click(d->BSair);
        },
        20);
    test::doubleClickOn(list.grid, list.grid->model()->index(0, ListEntries::Paciente));
    QTest::qWait(100);
    QVERIFY(!*dialogSeen);
    QCOMPARE(f.dialogs.texts(), QStringList{ListTab::kGone});
    QCOMPARE(patients(list.tab().entries()), QStringList{"Dois"});
}

void TestLists::boxesComeBackAfterAWaitingEntry()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("01/12H/"), 1, 12, "Um"), entry(waiting(36000), 12, "Espera")});
    Desk desk(f);
    ListTabWidget &waits = desk.screen->emEspera();
    goToTab(desk, &waits);
    test::click(waits.atualizar);
    openRow(waits.grid, 0, [](TFConsulta2 *d) {
        QVERIFY(!d->DBEdit3->isVisible() && !d->DBEdit4->isVisible());
        press(Qt::Key_Escape);
    });
    ListTabWidget &cancelled = desk.screen->desmarcadas();
    goToTab(desk, &cancelled);
    test::click(cancelled.atualizar);
    // From the keyboard: the row made current, Enter opens it.
    clickRow(cancelled.grid, 0);
    bool opened = false;
    onModal<TFConsulta2>([&opened](TFConsulta2 *d) {
        opened = true;
        QVERIFY(d->DBEdit3->isVisible() && d->DBEdit4->isVisible() && d->DBEdit2->isVisible());
        press(Qt::Key_Escape);
    });
    QCOMPARE(QApplication::focusWidget(), cancelled.grid);
    press(Qt::Key_Return);
    QVERIFY(opened);
    QVERIFY(!desk.screen->consulta2().isVisible());
}

void TestLists::doctorListAndEntryByKey()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("01/12H/"), 1, 12, "Um"),
               booking(QStringLiteral("02/12P/"), 1, 12, "Dois"), entry(waiting(36000), 12, "Espera")});
    Desk desk(f);
    ListTabWidget &list = desk.screen->desmarcadas();
    goToTab(desk, &list);
    QStringList shown;
    onModal<TFHorarios>([&](TFHorarios *h) {
        for (int i = 0; i < h->ListBox1->count(); ++i)
            shown << h->ListBox1->item(i)->text();
        h->reject();
    });
    test::click(list.codMed);
    QVERIFY(shown.contains(QStringLiteral("12   Dr. Teste Silva              52 Cardiologia ")));

    QVERIFY(desk.screen->showListEntry({"02/12P/", "1", "12"}));
    QCOMPARE(desk.screen->PageControl1->currentWidget(), &list);
    QCOMPARE(list.selectedRows(), std::vector<int>{1});
    QVERIFY(desk.screen->showListEntry({"46185360", "00", "12"}));
    QCOMPARE(desk.screen->PageControl1->currentWidget(), &desk.screen->emEspera());
    QCOMPARE(desk.screen->emEspera().selectedRows(), std::vector<int>{0});
    QVERIFY(!desk.screen->showListEntry({"09/12/26", "1", "12"}));
    QVERIFY(!desk.screen->showListEntry({"05/12H/", "1", "12"}));
    // Leaving the screen closes both lists.
    test::click(desk.screen->BitBtn1);
    QCOMPARE(list.tab().entries().count() + desk.screen->emEspera().tab().entries().count(), 0);
}

QTEST_MAIN(TestLists)
#include "tst_lists.moc"
