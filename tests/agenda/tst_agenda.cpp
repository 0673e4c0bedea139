// The agenda: the preparation dialog "Agenda Futura", the closed-dates dialog "Dias sem
// atendimentos" driven offscreen through their widgets, the maximum limit, the rewrites
// of ArqFolgas.Txt and the demonstration clinic.
#include "agenda/closed_dates.h"
#include "agenda/demo_clinic.h"
#include "statistics/doctor_months.h"
#include "agenda/preparation.h"
#include "agenda/purge.h"
#include "agenda/tffechaabredata.h"
#include "agenda/tfprepararfuturo.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "core/data_files.h"
#include "platform/dates.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "support/fixture.h"
#include "support/mouse.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <map>
#include <set>

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

const QString kArqFolgas = QStringLiteral("ArqFolgas.Txt");
const QString kDataIniFim = QStringLiteral("DataIniFim.Txt");
const QString kDataAnt = QStringLiteral("DataAnt.Txt");

QDate date(const char *text)
{
    return dates::parseOrThrow(QString::fromLatin1(text));
}

Appointment booked(const QString &data, int hora, int medico, const QString &paciente)
{
    return {data,
            QString::number(hora),
            QString::number(medico),
            paciente,
            QStringLiteral("3333-4444"),
            QStringLiteral("1"),
            QStringLiteral("obs")};
}

// Two doctors: 1 works Monday to Friday at 08:00, 08:30 and 09:00; 2 on Tuesdays at
// 14:00 and 14:30, on leave from 14/12/26 up to 16/12/26.
void addTwoDoctors(Fixture &f)
{
    f.addDoctor(1, QStringLiteral("Dra. Ana Souza"));
    f.addDoctor(2, QStringLiteral("Dr. Bruno Lima"), QStringLiteral("52 Cardiologia"));
    for (int weekday = 2; weekday <= 6; ++weekday)
        f.setTimes(1, weekday, {QStringLiteral("08:00"), QStringLiteral("08:30"), QStringLiteral("09:00")});
    f.setTimes(2, 3, {QStringLiteral("14:00"), QStringLiteral("14:30")});
    f.setLeave(2, QStringLiteral("14/12/26"), QStringLiteral("17/12/26"));
}

// The slot cells 1 to 24 of one doctor's row.
QStringList slotRow(const DaySheet &sheet, int code)
{
    QStringList cells;
    for (int slot = 1; slot <= 24; ++slot)
        cells << sheet.cell(slot, code);
    return cells;
}

// A row that starts with these cells and is "x" from there on.
QStringList markedAfter(const QStringList &first)
{
    QStringList cells = first;
    while (cells.size() < 24)
        cells << QStringLiteral("x");
    return cells;
}

// Column 0 of a doctor's row as the preparation writes it.
QString doctorCell(int code, const QString &name)
{
    return QString::number(code) + QStringLiteral(" - ") + textfile::fixed(name, 25);
}

void click(QWidget *button)
{
    QVERIFY(button);
    QVERIFY2(button->isVisible(), qPrintable(button->objectName()));
    test::click(button);
}

void typeInto(QLineEdit *edit, const QString &text)
{
    test::typeOver(edit, text);
}

// Types into a grid cell as a user does: F2 opens the cell's editor, Enter closes it.
void typeIntoCell(QTableWidget *grid, int row, const QString &text)
{
    grid->setCurrentCell(row, 0);
    QTest::keyClick(grid, Qt::Key_F2);
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY2(editor, "the cell editor did not open");
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits its text from the event loop and then goes away, so that the
    // next cell gets a fresh one.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(grid->item(row, 0)->text(), text);
}

QStringList column(const QTableWidget *grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, col)->text();
    return texts;
}

QStringList items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void selectItems(QListWidget *list, const QStringList &texts)
{
    for (const QString &text : texts) {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        test::click(list, list->indexFromItem(found.first()), Qt::ControlModifier);
    }
}

// Each dialog as the program creates it, shown as the menu shows it.
template <typename Dialog> struct Shown
{
    explicit Shown(Fixture &f) : dialog(f.context())
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    template <typename W> W *get(const char *name)
    {
        return dialog.template findChild<W *>(QLatin1String(name));
    }
    Dialog dialog;
};
using Preparation = Shown<TFPrepararFuturo>;
using ClosedDates = Shown<TFFechaAbreData>;

void prepare(Preparation &p, const QString &limit, const QStringList &holidays = {})
{
    typeInto(p.get<QLineEdit>("Edit1"), limit);
    for (int row = 0; row < holidays.size(); ++row) {
        if (!holidays[row].isEmpty())
            typeIntoCell(p.get<QTableWidget>("StringGrid1"), row, holidays[row]);
    }
    click(p.get<QPushButton>("Button1"));
}

void closeThese(ClosedDates &c, const QStringList &typed)
{
    auto *grid = c.get<QTableWidget>("StringGrid1");
    for (int row = 0; row < typed.size(); ++row) {
        if (!typed[row].isEmpty())
            typeIntoCell(grid, row, typed[row]);
    }
    click(c.get<QPushButton>("BIncluir"));
}

QStringList datesOf(const std::vector<Appointment> &rows)
{
    QStringList keys;
    for (const Appointment &r : rows)
        keys << r.data + QLatin1Char(';') + r.hora + QLatin1Char(';') + r.medico + QLatin1Char(';') +
                    r.paciente;
    return keys;
}

} // namespace

class TestAgenda : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The maximum limit and the rewrites of the closed-dates file.
    void maximumLimit_data();
    void maximumLimit();
    void pastClosedDatesAreDropped_data();
    void pastClosedDatesAreDropped();
    void closedDatesSortedOnce_data();
    void closedDatesSortedOnce();

    // "Agenda Futura".
    void currentLimitShown_data();
    void currentLimitShown();
    void executarPreparesTheNewDays();
    void executarClampsToTheMaximum_data();
    void executarClampsToTheMaximum();
    void clampToTheCurrentLimitAddsNoDay();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
    void missingLimitFileIsReported();
    void failedWriteLeavesTheOldPreparation();
    void preparationIsCopiedToTheMirror();
    void sairAndEscCloseKeepingTheEntries();

    // "Dias sem atendimentos".
    void incluirClosesDatesAndMovesTheirAppointments();
    void incluirRefusesDatesOutsideTheAgenda_data();
    void incluirRefusesDatesOutsideTheAgenda();
    void incluirStopsOnAnInvalidDate_data();
    void incluirStopsOnAnInvalidDate();
    void incluirKeepsALongClosedDatesFile();
    void fullCancelledListLeavesThatAppointment();
    void consultarListsTheClosedDates();
    void excluirWithoutSelectionChangesNothing();
    void excluirOpensTheSelectedDates();
    void closingTakesTheSnapshotWhenNeeded_data();
    void closingTakesTheSnapshotWhenNeeded();
    void purgedRowsStayOutOfARecoveryFromTheMirror();

    // The menu, a receptionist's first day, and the demonstration clinic.
    void menuOpensTheDialogs_data();
    void menuOpensTheDialogs();
    void newInstallationBecomesBookable();
    void demoClinicFillsItsSheets_data();
    void demoClinicFillsItsSheets();
    void demoNeedsANewFolder();
    void closeAsksBeforeTheClockTakesTheAgenda_data();
    void closeAsksBeforeTheClockTakesTheAgenda();
};

void TestAgenda::maximumLimit_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("maximum");
    QTest::newRow("15/03") << date("15/03/2027") << date("14/04/2027");
    QTest::newRow("31/03") << date("31/03/2027") << date("30/04/2027");
    QTest::newRow("31/12") << date("31/12/2026") << date("30/01/2027");
    QTest::newRow("29/01 leap") << date("29/01/2028") << date("28/02/2028");
    QTest::newRow("29/01 common") << date("29/01/2027") << date("28/02/2027");
    QTest::newRow("30/01 leap") << date("30/01/2028") << date("29/02/2028");
    QTest::newRow("30/01 common") << date("30/01/2027") << date("28/02/2027");
    QTest::newRow("31/01 common") << date("31/01/2027") << date("28/02/2027");
    QTest::newRow("31/05") << date("31/05/2027") << date("30/06/2027");
    QTest::newRow("31/07") << date("31/07/2027") << date("30/08/2027");
    QTest::newRow("08/12") << date("08/12/2026") << date("07/01/2027");
}

void TestAgenda::maximumLimit()
{
    QFETCH(QDate, today);
    QFETCH(QDate, maximum);
    QCOMPARE(clinora::maximumLimit(today), maximum);
}

void TestAgenda::pastClosedDatesAreDropped_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("old order kept, today stays")
        << QStringList{"24/12/2026", "01/12/2026", "08/12/2026", "07/12/2026", "24/12/2026"}
        << QStringList{"24/12/2026", "08/12/2026", "24/12/2026"};
    QTest::newRow("blank lines go, other text stays")
        << QStringList{"", "  ", "feriado?", "05/01/27"} << QStringList{"feriado?", "05/01/27"};
}

void TestAgenda::pastClosedDatesAreDropped()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, kept);
    QCOMPARE(closeddates::withoutPastDates(lines, date("08/12/2026")), kept);
}

void TestAgenda::closedDatesSortedOnce_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("dates in order, each once")
        << QStringList{"25/12/2026", "12/12/2026", "01/01/2027", "12/12/2026", "25/12/2026"}
        << QStringList{"12/12/2026", "25/12/2026", "01/01/2027"};
    QTest::newRow("one date written two ways")
        << QStringList{"7/1/27", "07/01/2027", ""} << QStringList{"07/01/2027"};
    QTest::newRow("text that is not a date goes last")
        << QStringList{"x", "02/01/2027", "x"} << QStringList{"02/01/2027", "x"};
}

void TestAgenda::closedDatesSortedOnce()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, sorted);
    QCOMPARE(closeddates::sortedUnique(lines), sorted);
}

void TestAgenda::currentLimitShown_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("expired: yesterday") << "01/01/2000"
                                        << "07/12/26";
    QTest::newRow("today") << "08/12/2026"
                           << "08/12/26";
    QTest::newRow("ahead") << "20/12/2026"
                           << "20/12/26";
    QTest::newRow("stored with two digits") << "03/01/27"
                                            << "03/01/27";
}

void TestAgenda::currentLimitShown()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Fixture f;
    f.write(kDataIniFim, {stored});
    f.start();
    Preparation p(f);
    QCOMPARE(p.dialog.windowTitle(), QStringLiteral("Agenda Futura"));
    QCOMPARE(p.get<QLabel>("Label1")->text(), QStringLiteral("Data Limite Atual: "));
    QCOMPARE(p.get<QLabel>("Label2")->text(), shown);
    QVERIFY(p.get<QFrame>("Panel1")->isAncestorOf(p.get<QLabel>("Label2")));
    QCOMPARE(p.get<QLabel>("Label3")->text(), QStringLiteral("Data Limite Futuro"));
    QCOMPARE(p.get<QLabel>("Label4")->text(), QStringLiteral("Feriados"));
    QCOMPARE(p.get<QPushButton>("Button1")->text(), QStringLiteral("Executar"));
    QCOMPARE(p.get<QPushButton>("Button2")->text(), QStringLiteral("Sair"));
    auto *holidays = p.get<QTableWidget>("StringGrid1");
    QCOMPARE(holidays->rowCount(), 5);
    QCOMPARE(holidays->columnCount(), 1);
    QVERIFY(f.dialogs.shown().isEmpty());
    // Showing the dialog writes nothing.
    QCOMPARE(f.read(kDataIniFim), QStringList{stored});
}

void TestAgenda::executarPreparesTheNewDays()
{
    Fixture f; // Tuesday 08/12/2026; the installed limit has expired
    addTwoDoctors(f);
    f.write(kArqFolgas, {"01/12/2026", "08/12/2026", "05/12/2026", "24/12/2026"});
    AppContext &c = f.start();
    c.sheets.sheet(10).setCell(1, 1, QStringLiteral("antes"));
    Preparation p(f);
    // A holiday on a Saturday, one typed short, one outside the new days, one of blanks.
    prepare(p, QStringLiteral("20/12/2026"), {"", "19/12/26", "9/12/26", "30/12/2026", "  "});

    QVERIFY(!p.dialog.isVisible());
    QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
    QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(f.read(kArqFolgas),
             QStringList({"08/12/2026", "24/12/2026",                             // kept, in their order
                          "12/12/2026", "13/12/2026", "19/12/2026", "20/12/2026", // weekends
                          "19/12/2026", "09/12/2026"}));                          // holidays, by row
    QCOMPARE(f.read(kDataIniFim), QStringList{"20/12/2026"});
    QCOMPARE(f.read(kDataAnt), QStringList{"20/12/2026"});

    // The working days from today are pre-filled; the closed ones are left alone.
    for (int day : {8, 10, 11, 14, 15, 16, 17, 18}) {
        const DaySheet &s = c.sheets.sheet(day);
        QVERIFY2(s.isEnabled(), qPrintable(QString::number(day)));
        QCOMPARE(s.gridRowCount(), 51);
        QCOMPARE(s.cell(1, 0), QStringLiteral("1"));
        QCOMPARE(s.cell(24, 0), QStringLiteral("24"));
        QCOMPARE(s.cell(0, 1), doctorCell(1, QStringLiteral("Dra. Ana Souza")));
        QCOMPARE(s.cell(0, 3), doctorCell(3, QString())); // a free code
    }
    for (int day : {9, 12, 13, 19, 20})
        QCOMPARE(c.sheets.sheet(day).cell(1, 0), QString());
    // Hours with a time keep their text; the others, and a leave, are marked "x".
    QCOMPARE(slotRow(c.sheets.sheet(10), 1), markedAfter({"antes", "", ""}));
    QCOMPARE(slotRow(c.sheets.sheet(14), 1), markedAfter({"", "", ""}));
    QCOMPARE(slotRow(c.sheets.sheet(8), 2), markedAfter({"", ""}));
    QCOMPARE(slotRow(c.sheets.sheet(15), 2), markedAfter({})); // a Tuesday of the leave
    QCOMPARE(slotRow(c.sheets.sheet(16), 3), markedAfter({})); // a free code has no hours
}

void TestAgenda::executarClampsToTheMaximum_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("maximum");
    QTest::newRow("15/03") << date("15/03/2027") << "30/04/2027"
                           << "14/04/2027";
    QTest::newRow("31/12, two-digit year") << date("31/12/2026") << "15/2/27"
                                           << "30/01/2027";
    QTest::newRow("30/01 leap") << date("30/01/2028") << "01/03/2028"
                                << "29/02/2028";
}

void TestAgenda::executarClampsToTheMaximum()
{
    QFETCH(QDate, today);
    QFETCH(QString, typed);
    QFETCH(QString, maximum);
    Fixture f(today);
    f.start();
    Preparation p(f);
    prepare(p, typed);
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("O período foi alongado até  ") + maximum});
    QCOMPARE(p.get<QLineEdit>("Edit1")->text(), maximum);
    QCOMPARE(f.read(kDataIniFim), QStringList{maximum});
    QCOMPARE(f.read(kDataAnt), QStringList{maximum});
    QVERIFY(!p.dialog.isVisible());
}

void TestAgenda::clampToTheCurrentLimitAddsNoDay()
{
    Fixture f;
    f.write(kDataIniFim, {"07/01/2027"}); // already the maximum
    f.write(kArqFolgas, {"05/12/2026", "09/01/2027"});
    AppContext &c = f.start();
    Preparation p(f);
    prepare(p, QStringLiteral("31/01/2027"), {"12/12/2026"});
    QCOMPARE(f.dialogs.texts(), QStringList{"O período foi alongado até  07/01/2027"});
    QCOMPARE(f.read(kArqFolgas), QStringList{"09/01/2027"});
    QCOMPARE(f.read(kDataIniFim), QStringList{"07/01/2027"});
    QCOMPARE(f.read(kDataAnt), QStringList{"07/01/2027"});
    for (int day = 1; day <= 31; ++day)
        QCOMPARE(c.sheets.sheet(day).gridRowCount(), 12);
}

void TestAgenda::badInputWritesNothing_data()
{
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("holidays");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a date") << "01/01/2000"
                                << "31/02/2027" << QStringList{} << "Data Incorreta: 31/02/2027";
    QTest::newRow("empty") << "01/01/2000"
                           << "" << QStringList{} << "Data Incorreta: ";
    QTest::newRow("not after the current limit")
        << "20/12/2026"
        << "20/12/2026" << QStringList{} << "A data limite futuro deve ser maior que a data limite atual";
    QTest::newRow("beyond the maximum after the clock went back")
        << "10/01/2027"
        << "15/01/2027" << QStringList{}
        << "A agenda já está preparada até 10/01/2027, além da data máxima de hoje (07/01/2027).\n"
           "A data limite não foi alterada.";
    QTest::newRow("today, after an expired limit")
        << "01/01/2000"
        << "08/12/2026" << QStringList{} << "A data deve ser maior que o dia de hoje";
    QTest::newRow("bad holiday in the first row")
        << "01/01/2000"
        << "20/12/2026" << QStringList{"32/12/26"} << "Data Incorreta: 32/12/26";
    QTest::newRow("bad holiday in the last row")
        << "01/01/2000"
        << "20/12/2026" << QStringList{"25/12/26", "", "", "", "natal"} << "Data Incorreta: natal";
}

void TestAgenda::badInputWritesNothing()
{
    QFETCH(QString, limit);
    QFETCH(QString, typed);
    QFETCH(QStringList, holidays);
    QFETCH(QString, message);
    Fixture f;
    addTwoDoctors(f);
    f.write(kDataIniFim, {limit});
    f.write(kArqFolgas, {"01/12/2026"});
    AppContext &c = f.start();
    Preparation p(f);
    prepare(p, typed, holidays);
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QVERIFY(p.dialog.isVisible());
    QCOMPARE(p.get<QLineEdit>("Edit1")->text(), typed);
    QCOMPARE(f.read(kArqFolgas), QStringList{"01/12/2026"});
    QCOMPARE(f.read(kDataIniFim), QStringList{limit});
    QCOMPARE(f.read(kDataAnt), QStringList{"01/01/2000"});
    for (int day = 1; day <= 31; ++day)
        QCOMPARE(c.sheets.sheet(day).cell(0, 1), QString());
}

void TestAgenda::missingLimitFileIsReported()
{
    Fixture f;
    f.write(kArqFolgas, {"01/12/2026"});
    f.start();
    QVERIFY(QFile::remove(f.dir() + QLatin1Char('/') + kDataIniFim));
    Preparation p(f);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(kDataIniFim));
    QCOMPARE(p.get<QLabel>("Label2")->text(), QString());
    prepare(p, QStringLiteral("20/12/2026"));
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 2);
    QVERIFY(p.dialog.isVisible());
    QCOMPARE(f.read(kArqFolgas), QStringList{"01/12/2026"});
    QVERIFY(!f.exists(kDataIniFim));
}

void TestAgenda::failedWriteLeavesTheOldPreparation()
{
    Fixture f;
    f.write(kArqFolgas, {"01/12/2026"});
    f.start();
    // The limit's copy cannot be written (its temporary is taken by a folder).
    const QString blocked = FileGroup::temporaryPath(f.dir() + QLatin1Char('/') + kDataAnt);
    QVERIFY(QDir().mkpath(blocked));
    Preparation p(f);
    prepare(p, QStringLiteral("20/12/2026"));
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(kDataAnt));
    QCOMPARE(f.read(kArqFolgas), QStringList{"01/12/2026"});
    QCOMPARE(f.read(kDataIniFim), QStringList{"01/01/2000"});
    QCOMPARE(f.read(kDataAnt), QStringList{"01/01/2000"});

    // Once the disk lets it, the same preparation goes through whole.
    QVERIFY(QDir(blocked).removeRecursively());
    prepare(p, QStringLiteral("20/12/2026"));
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QCOMPARE(f.read(kDataIniFim), QStringList{"20/12/2026"});
    QCOMPARE(f.read(kDataAnt), QStringList{"20/12/2026"});
    QCOMPARE(f.read(kArqFolgas), QStringList({"12/12/2026", "13/12/2026", "19/12/2026", "20/12/2026"}));
}

void TestAgenda::preparationIsCopiedToTheMirror()
{
    Fixture f;
    f.mirroringOn();
    f.start();
    const auto mirrored = [&f](const QString &name) {
        return textfile::readLines(f.mirror() + QLatin1Char('/') + name);
    };
    Preparation p(f);
    prepare(p, QStringLiteral("15/12/2026"));
    QVERIFY(f.dialogs.texts(Kind::Error).isEmpty());
    for (const QString &name : {kArqFolgas, kDataIniFim, kDataAnt})
        QCOMPARE(mirrored(name), f.read(name));
    QCOMPARE(f.read(kArqFolgas), QStringList({"12/12/2026", "13/12/2026"}));

    // The three go to the mirror together too: when the limit's copy cannot be written
    // there, the mirror keeps the whole previous preparation, not new weekends closed
    // under the old limit.
    QVERIFY(QDir().mkpath(FileGroup::temporaryPath(f.mirror() + QLatin1Char('/') + kDataAnt)));
    Preparation again(f);
    prepare(again, QStringLiteral("20/12/2026"));
    QCOMPARE(f.read(kDataAnt), QStringList{"20/12/2026"});
    QCOMPARE(f.read(kArqFolgas), QStringList({"12/12/2026", "13/12/2026", "19/12/2026", "20/12/2026"}));
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Warning).first().contains(QStringLiteral("A cópia no Espelho falhou")));
    QVERIFY(!f.context().settings.mirroringOn());
    QCOMPARE(mirrored(kArqFolgas), QStringList({"12/12/2026", "13/12/2026"}));
    QCOMPARE(mirrored(kDataIniFim), QStringList{"15/12/2026"});
    QCOMPARE(mirrored(kDataAnt), QStringList{"15/12/2026"});
}

void TestAgenda::sairAndEscCloseKeepingTheEntries()
{
    Fixture f;
    f.start();
    Preparation p(f);
    typeInto(p.get<QLineEdit>("Edit1"), QStringLiteral("20/12/2026"));
    typeIntoCell(p.get<QTableWidget>("StringGrid1"), 2, QStringLiteral("18/12/2026"));
    click(p.get<QPushButton>("Button2"));
    QVERIFY(!p.dialog.isVisible());

    p.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.dialog));
    QCOMPARE(p.get<QLineEdit>("Edit1")->text(), QStringLiteral("20/12/2026"));
    QCOMPARE(p.get<QTableWidget>("StringGrid1")->item(2, 0)->text(), QStringLiteral("18/12/2026"));
    QTest::keyClick(p.get<QLineEdit>("Edit1"), Qt::Key_Escape);
    QVERIFY(!p.dialog.isVisible());
    QCOMPARE(f.read(kDataIniFim), QStringList{"01/01/2000"});
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestAgenda::incluirClosesDatesAndMovesTheirAppointments()
{
    Fixture f;
    addTwoDoctors(f);
    f.write(kDataIniFim, {"07/01/2027"});
    f.write(kArqFolgas, {"19/12/2026", "12/12/2026", "19/12/2026"});
    // Three appointments of doctor 1 in a row, one of them where the cancelled list of
    // that day already holds an entry; a reserved hour; another day untouched.
    f.addRows({booked("15/12/26", 8, 1, "Maria"), booked("15/12/26", 9, 1, "Joana"),
               booked("15/12/26", 10, 1, "Paulo"), booked("15/12/26", 2, 2, "R"),
               booked("15/12H/", 9, 1, "Antiga"), booked("16/12/26", 8, 1, "Outra")});
    AppContext &c = f.start();
    c.sheets.sheet(15).setCell(3, 1, QStringLiteral("C"));
    ClosedDates d(f);
    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("Dias sem atendimentos"));
    // Today, a date typed short, and one below an empty row.
    closeThese(d, {"15/12/2026", "8/12/26", "", "22/12/26"});

    QCOMPARE(f.dialogs.texts(), QStringList{"As consultas do dia foram para a guia / Desmarcadas / "});
    QCOMPARE(f.read(kArqFolgas),
             QStringList({"08/12/2026", "12/12/2026", "15/12/2026", "19/12/2026", "22/12/2026"}));
    QCOMPARE(datesOf(f.rows()), QStringList({"15/12H/;10;1;Paulo", "15/12H/;11;1;Joana", "15/12H/;8;1;Maria",
                                             "15/12H/;9;1;Antiga", "16/12/26;8;1;Outra"}));
    const std::vector<Appointment> rows = f.rows();
    QCOMPARE(rows.front().telefone, QStringLiteral("3333-4444")); // the rest of the row travels
    QCOMPARE(rows.front().observacoes, QStringLiteral("obs"));
    for (int day : {8, 15, 22}) {
        QVERIFY(!c.sheets.sheet(day).isEnabled());
        QCOMPARE(c.sheets.sheet(day).cell(3, 1), QString());
    }
    QVERIFY(c.sheets.sheet(16).isEnabled());
    QVERIFY(d.dialog.tableChanged());
    const QStringList empty(TFFechaAbreData::kEntryRows, QString());
    QCOMPARE(column(d.get<QTableWidget>("StringGrid1"), 0), empty);
    QCOMPARE(column(d.get<QTableWidget>("StringGrid1"), 1), empty);
}

void TestAgenda::incluirRefusesDatesOutsideTheAgenda_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("yesterday") << "7/12/26"
                               << "07/12/2026 - a data não foi incluída porque\né anterior ao dia de hoje";
    QTest::newRow("after the prepared limit")
        << "08/01/2027"
        << "08/01/2027 - a data não foi incluída porque\nestá além da data de preparação do Sistema";
}

void TestAgenda::incluirRefusesDatesOutsideTheAgenda()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture f;
    f.write(kDataIniFim, {"07/01/2027"});
    f.addRows({booked(dates::formatShort(dates::parseOrThrow(typed)), 1, 1, "Fica")});
    AppContext &c = f.start();
    ClosedDates d(f);
    closeThese(d, {typed, "07/01/2027"});
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QCOMPARE(f.read(kArqFolgas), QStringList{"07/01/2027"});
    QCOMPARE(f.rows().size(), std::size_t(1)); // the refused date's appointment stays
    QVERIFY(!c.sheets.sheet(7).isEnabled());
    QVERIFY(!d.dialog.tableChanged());
}

void TestAgenda::incluirStopsOnAnInvalidDate_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("first row") << 0;
    QTest::newRow("a row below the visible ten") << 15;
}

void TestAgenda::incluirStopsOnAnInvalidDate()
{
    QFETCH(int, row);
    Fixture f;
    f.write(kDataIniFim, {"07/01/2027"});
    f.write(kArqFolgas, {"19/12/2026", "12/12/2026"});
    f.addRows({booked("15/12/26", 1, 1, "Maria")});
    AppContext &c = f.start();
    ClosedDates d(f);
    auto *grid = d.get<QTableWidget>("StringGrid1");
    typeIntoCell(grid, 1, QStringLiteral("15/12/2026"));
    typeIntoCell(grid, row, QStringLiteral("30/02/27"));
    click(d.get<QPushButton>("BIncluir"));
    QCOMPARE(f.dialogs.texts(), QStringList{"Data Incorreta: 30/02/27"});
    QCOMPARE(f.read(kArqFolgas), QStringList({"19/12/2026", "12/12/2026"}));
    QCOMPARE(f.rows().size(), std::size_t(1));
    QVERIFY(c.sheets.sheet(15).isEnabled());
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("15/12/2026")); // the entries stay as typed
    QCOMPARE(grid->item(row, 0)->text(), QStringLiteral("30/02/27"));
}

void TestAgenda::incluirKeepsALongClosedDatesFile()
{
    Fixture f;
    f.write(kDataIniFim, {"07/01/2027"});
    // Years of closed dates, newest first: far more lines than a fixed table held.
    QStringList lines;
    for (QDate d = date("07/01/2027"); d >= date("01/01/2025"); d = d.addDays(-1))
        lines << dates::format(d);
    f.write(kArqFolgas, lines);
    f.start();
    ClosedDates d(f);
    closeThese(d, {"18/12/2026"});
    const QStringList written = f.read(kArqFolgas);
    QCOMPARE(written.size(), lines.size());
    QCOMPARE(written.first(), QStringLiteral("01/01/2025"));
    QCOMPARE(written.last(), QStringLiteral("07/01/2027"));
    QStringList expected = lines;
    std::reverse(expected.begin(), expected.end());
    QCOMPARE(written, expected);
    QVERIFY(QDir(f.dir()).entryList({QStringLiteral("*~")}, QDir::Files).isEmpty());
}

void TestAgenda::fullCancelledListLeavesThatAppointment()
{
    Fixture f;
    f.write(kDataIniFim, {"07/01/2027"});
    std::vector<Appointment> rows = {booked("15/12/26", 8, 3, "Fica no dia"),
                                     booked("15/12/26", 8, 4, "Vai")};
    for (int hora = 8; hora <= 99; ++hora)
        rows.push_back(booked("15/12H/", hora, 3, QStringLiteral("Lista %1").arg(hora)));
    f.addRows(rows);
    AppContext &c = f.start();
    ClosedDates d(f);
    closeThese(d, {"15/12/2026"});

    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(
        warnings.first().startsWith("A consulta de Fica no dia (dia 15/12/26, horário 8, médico 3) não foi "
                                    "para a guia Desmarcadas"),
        qPrintable(warnings.first()));
    QCOMPARE(f.dialogs.texts(Kind::Information),
             QStringList{"As consultas do dia foram para a guia / Desmarcadas / "});
    QVERIFY(c.DMMedicos.table().contains({"15/12/26", "8", "3"}));
    QVERIFY(!c.DMMedicos.table().contains({"15/12/26", "8", "4"}));
    QCOMPARE(c.DMMedicos.table().find({"15/12H/", "8", "4"})->paciente, QStringLiteral("Vai"));
    QCOMPARE(f.read(kArqFolgas), QStringList{"15/12/2026"});
    QCOMPARE(f.dialogs.texts(Kind::Error), QStringList());
}

void TestAgenda::consultarListsTheClosedDates()
{
    Fixture f;
    f.write(kArqFolgas, {"19/12/2026", "12/12/2026", "", "19/12/2026"});
    f.start();
    ClosedDates d(f);
    auto *list = d.get<QListWidget>("ListBox1");
    auto *consulta = d.get<QPushButton>("BConsulta");
    auto *fim = d.get<QPushButton>("BFimConsulta");
    QVERIFY(!list->isVisible());
    QVERIFY(!fim->isVisible());
    QCOMPARE(consulta->text(), QStringLiteral("Consultar"));

    click(consulta);
    QVERIFY(list->isVisible());
    QCOMPARE(items(list), QStringList({"19/12/26", "12/12/26", "19/12/26"}));
    QVERIFY(!consulta->isVisible());
    QCOMPARE(fim->text(), QStringLiteral("Fim Consulta"));

    click(fim);
    QVERIFY(!list->isVisible());
    QCOMPARE(list->count(), 0);
    QVERIFY(consulta->isVisible());
    QVERIFY(!fim->isVisible());

    // Leaving the dialog with the list shown empties it and restores the buttons.
    click(consulta);
    click(d.get<QPushButton>("Button1"));
    QVERIFY(!d.dialog.isVisible());
    QCOMPARE(list->count(), 0);
    QVERIFY(!consulta->isHidden());
    QVERIFY(fim->isHidden());
}

void TestAgenda::excluirWithoutSelectionChangesNothing()
{
    Fixture f;
    f.write(kArqFolgas, {"12/12/2026"});
    f.start();
    ClosedDates d(f);
    click(d.get<QPushButton>("BExcluir"));
    click(d.get<QPushButton>("BConsulta"));
    click(d.get<QPushButton>("BExcluir"));
    const QString message = QStringLiteral("É preciso selecionar um dia para exclusão.\n\n"
                                           "         Use o botão [ Consultar ]");
    QCOMPARE(f.dialogs.texts(), QStringList({message, message}));
    QCOMPARE(f.read(kArqFolgas), QStringList{"12/12/2026"});
}

void TestAgenda::excluirOpensTheSelectedDates()
{
    Fixture f;
    addTwoDoctors(f);
    f.setTimes(1, 7, {QStringLiteral("08:00")});
    f.write(kDataIniFim, {"07/01/2027"});
    // A Saturday listed twice by the preparations, a past Saturday, a holiday, and a line
    // someone typed into the file by hand.
    f.write(kArqFolgas, {"05/12/2026", "12/12/2026", "feriado?", "25/12/2026", "12/12/2026", "13/12/2026"});
    AppContext &c = f.start();
    for (int day : {5, 12})
        c.sheets.refresh(day);
    QVERIFY(!c.sheets.sheet(12).isEnabled());
    const QStringList day5 = slotRow(c.sheets.sheet(5), 1); // day 5 stands for 05/01/2027

    ClosedDates d(f);
    click(d.get<QPushButton>("BConsulta"));
    auto *list = d.get<QListWidget>("ListBox1");
    QCOMPARE(items(list),
             QStringList({"05/12/26", "12/12/26", "feriado?", "25/12/26", "12/12/26", "13/12/26"}));
    selectItems(list, {"12/12/26", "05/12/26", "feriado?"});
    click(d.get<QPushButton>("BExcluir"));

    QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(f.read(kArqFolgas), QStringList({"25/12/2026", "13/12/2026"}));
    QCOMPARE(items(list), QStringList({"25/12/26", "13/12/26"}));
    QVERIFY(list->isVisible());
    QVERIFY(d.get<QPushButton>("BConsulta")->isVisible());
    QVERIFY(!d.get<QPushButton>("BFimConsulta")->isVisible());
    // The Saturday becomes a working day with its own hours.
    const DaySheet &saturday = c.sheets.sheet(12);
    QVERIFY(saturday.isEnabled());
    QCOMPARE(saturday.cell(0, 1), doctorCell(1, QStringLiteral("Dra. Ana Souza")));
    QCOMPARE(slotRow(saturday, 1), markedAfter({""}));
    // A past date only leaves the file: the sheet of its day number is another date.
    QVERIFY(c.sheets.sheet(5).isEnabled());
    QCOMPARE(slotRow(c.sheets.sheet(5), 1), day5);
    c.sheets.refresh(12);
    QCOMPARE(c.sheets.reasonText(12), QStringLiteral("Haverá Expediente"));
}

void TestAgenda::closingTakesTheSnapshotWhenNeeded_data()
{
    QTest::addColumn<bool>("mirroring");
    QTest::addColumn<bool>("withAppointment");
    QTest::addColumn<bool>("snapshot");
    QTest::newRow("mirroring, table changed") << true << true << true;
    QTest::newRow("mirroring, nothing moved") << true << false << false;
    QTest::newRow("no mirroring") << false << true << false;
}

void TestAgenda::closingTakesTheSnapshotWhenNeeded()
{
    QFETCH(bool, mirroring);
    QFETCH(bool, withAppointment);
    QFETCH(bool, snapshot);
    Fixture f;
    if (mirroring)
        f.mirroringOn();
    f.write(kDataIniFim, {"07/01/2027"});
    if (withAppointment)
        f.addRows({booked("15/12/26", 1, 1, "R")});
    f.start();
    ClosedDates d(f);
    closeThese(d, {"15/12/2026"});
    f.dialogs.clear();
    QTest::keyClick(&d.dialog, Qt::Key_Escape);
    QVERIFY(!d.dialog.isVisible());
    const QString mirrorTable = f.mirror() + QStringLiteral("/Medicos3.db");
    QCOMPARE(QFile::exists(mirrorTable), snapshot);
    QCOMPARE(f.dialogs.texts(Kind::Information).size(), snapshot ? 1 : 0);
    if (mirroring)
        QCOMPARE(textfile::readLines(f.mirror() + QLatin1Char('/') + kArqFolgas), QStringList{"15/12/2026"});
    QVERIFY(f.dialogs.texts(Kind::Error).isEmpty());
}

void TestAgenda::purgedRowsStayOutOfARecoveryFromTheMirror()
{
    Fixture f; // Tuesday 8 December 2026
    f.mirroringOn();
    f.write(kDataIniFim, {"07/01/2027"});
    f.addRows({booked("01/12/26", 1, 1, "Consulta passada"), booked("15/12/26", 2, 1, "Consulta futura")});
    AppContext &c = f.start();
    QVERIFY(mirror::writeSystem(c, false));
    f.dialogs.answerQuestion(true);
    QCOMPARE(purgePastAppointments(c, true).deleted, 1);
    // The mirror follows the purge: a recovery brings back what the table held after it.
    const std::vector<Appointment> held = f.rows();
    QCOMPARE(held.size(), std::size_t(1));
    f.dialogs.answerQuestion(true);
    QVERIFY(mirror::recoverSystem(c, true));
    QCOMPARE(f.rows(), held);
}

void TestAgenda::menuOpensTheDialogs_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");
    QTest::newRow("preparation") << "PrepararFuturo1"
                                 << "Agenda Futura";
    QTest::newRow("closed dates") << "FecharAbrirumaData1"
                                  << "Dias sem atendimentos";
}

void TestAgenda::menuOpensTheDialogs()
{
    QFETCH(QString, item);
    QFETCH(QString, title);
    Fixture f;
    AppContext &c = f.context();
    TFPrincipal window(c);
    session::startUp(c);
    window.FormCreate();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    c.DMMedicos.TMedicos.open();

    QString shownTitle;
    bool modal = false;
    QTimer::singleShot(0, &window, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        shownTitle = dialog->windowTitle();
        modal = dialog->isModal();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    window.menuItem(item)->trigger();
    QCOMPARE(shownTitle, title);
    QVERIFY(modal);
    QVERIFY(!c.DMMedicos.TMedicos.isOpen());
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestAgenda::newInstallationBecomesBookable()
{
    // A new installation: two doctors, the agenda prepared as far as it goes, Christmas
    // closed by the preparation, New Year's Day closed afterwards, a Saturday opened.
    Fixture f;
    addTwoDoctors(f);
    f.setTimes(1, 7, {QStringLiteral("08:00"), QStringLiteral("08:30")});
    AppContext &c = f.start();
    {
        Preparation p(f);
        prepare(p, QStringLiteral("31/01/2027"), {"25/12/26"});
    }
    QCOMPARE(f.read(kDataIniFim), QStringList{"07/01/2027"});
    {
        ClosedDates d(f);
        closeThese(d, {"01/01/2027"});
        click(d.get<QPushButton>("BConsulta"));
        selectItems(d.get<QListWidget>("ListBox1"), {"19/12/26"});
        click(d.get<QPushButton>("BExcluir"));
    }
    QCOMPARE(f.dialogs.texts(), QStringList{"O período foi alongado até  07/01/2027"});
    QCOMPARE(f.read(kArqFolgas),
             QStringList({"12/12/2026", "13/12/2026", "20/12/2026", "25/12/2026", "26/12/2026", "27/12/2026",
                          "01/01/2027", "02/01/2027", "03/01/2027"}));
    QCOMPARE(f.read(kDataAnt), QStringList{"07/01/2027"});

    // A booking on a prepared day shows after the sheets are refreshed.
    c.DMMedicos.table().insert(booked("22/12/26", 2, 1, "Maria"));
    c.DMMedicos.table().insert(booked("19/12/26", 1, 1, "Sábado"));
    for (int day = 1; day <= 31; ++day)
        c.sheets.refresh(day);
    const QList<int> open = {8,  9,  10, 11, 14, 15, 16, 17, 18, 19, 21,
                             22, 23, 24, 28, 29, 30, 31, 4,  5,  6,  7};
    for (int day = 1; day <= 31; ++day)
        QCOMPARE(c.sheets.sheet(day).isEnabled(), open.contains(day));
    QCOMPARE(slotRow(c.sheets.sheet(22), 1).mid(0, 4), QStringList({"", "C", "", " x"}));
    QCOMPARE(slotRow(c.sheets.sheet(19), 1).mid(0, 3), QStringList({"C", "", " x"}));
    QCOMPARE(c.sheets.reasonText(25), QStringLiteral("Dia Sem Atendimento"));
    QCOMPARE(c.sheets.reasonText(26), QStringLiteral("SÁBADO"));
    QCOMPARE(c.sheets.reasonText(19), QStringLiteral("Haverá Expediente"));
}

void TestAgenda::demoClinicFillsItsSheets_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("December, Christmas in the window") << date("09/12/2026");
    QTest::newRow("1 March, a short month ahead") << date("01/03/2027");
    QTest::newRow("30 January of a leap year") << date("30/01/2028");
    QTest::newRow("July, no national holiday") << date("01/07/2027");
}

void TestAgenda::demoClinicFillsItsSheets()
{
    QFETCH(QDate, today);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Demo"));
    FixedClock clock(QDateTime(today, QTime(9, 0)));
    const DemoClinic demo = createDemoClinic(dir, tmp.filePath(QStringLiteral("drives")), clock);
    QCOMPARE(demo.preparedLimit, clinora::maximumLimit(today));
    QVERIFY(demo.appointments >= 24);
    QVERIFY(demo.reserved >= 2);
    QVERIFY(demo.cancelled >= 4);
    QCOMPARE(demo.waiting, 4);

    // The program starts on it as on any data directory.
    test::ScriptedDialogs dialogs;
    test::RecordingPrinter printer;
    AppContext c(Paths(dir, tmp.filePath(QStringLiteral("drives"))), clock, dialogs, printer);
    QVERIFY(session::startUp(c).isEmpty());
    session::createMainWindow(c);
    QCOMPARE(c.settings.clinicName(), QStringLiteral("Clínica Demonstração"));
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/DataIniFim.Txt")),
             QStringList{dates::format(demo.preparedLimit)});
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/DataAnt.Txt")),
             QStringList{dates::format(demo.preparedLimit)});
    const QStringList closed = textfile::readLines(dir + QStringLiteral("/ArqFolgas.Txt"));
    QVERIFY(closed.contains(dates::format(demo.holiday)));
    QVERIFY(closed.contains(dates::format(demo.closedByHand)));
    QVERIFY(!closed.contains(dates::format(demo.openSaturday)));

    // "Atualização Completa": every prepared working day fills, with its bookings.
    for (int day = 1; day <= 31; ++day)
        c.sheets.refresh(day);
    QVERIFY2(dialogs.shown().isEmpty(), qPrintable(dialogs.texts().join(QLatin1Char('\n'))));
    int bookedCells = 0;
    int reservedCells = 0;
    for (QDate d = today; d <= demo.preparedLimit; d = d.addDays(1)) {
        const DaySheet &sheet = c.sheets.sheet(d.day());
        const int weekday = dates::weekday(d);
        const bool closedDay = closed.contains(dates::format(d));
        QCOMPARE(closedDay, (weekday == 1 || weekday == 7 || d == demo.holiday || d == demo.closedByHand) &&
                                d != demo.openSaturday);
        QCOMPARE(sheet.isEnabled(), !closedDay);
        if (closedDay)
            continue;
        QCOMPARE(sheet.cell(0, 1),
                 QStringLiteral("1  - ") + textfile::fixed(QStringLiteral("Dra. Ana Beatriz Souza"), 25));
        for (int code = 1; code <= 6; ++code) {
            for (int slot = 1; slot <= 24; ++slot) {
                bookedCells += sheet.cell(slot, code) == QLatin1String("C");
                reservedCells += sheet.cell(slot, code) == QLatin1String("R");
            }
        }
    }
    QCOMPARE(bookedCells, demo.appointments);
    QCOMPARE(reservedCells, demo.reserved);
    QCOMPARE(static_cast<int>(c.DMMedicos.table().select(ListQuery::cancelled()).size()), demo.cancelled);
    QCOMPARE(static_cast<int>(c.DMMedicos.table().select(ListQuery::waiting()).size()), demo.waiting);

    // The statistics count each doctor under its specialty.
    DoctorMonths months;
    months.load(dir + QStringLiteral("/MedMeses.Txt"));
    for (int code = 1; code <= demo.doctors; ++code)
        QCOMPARE(months.row(code).specialtyCode, c.doctors.doctor(code).specialtyCode);

    // The weeks before today were recorded sheet by sheet and posted: every table holds
    // the patients marked present, and the weekly table the booked ones as well.
    QVERIFY(demo.countedFrom.isValid() && demo.countedFrom < today);
    QVERIFY(demo.recordedSheets >= 10);
    QVERIFY(demo.attended > 0 && demo.attended < demo.booked);
    const auto total = [&dir](const QString &name, int codeWidth) {
        int sum = 0;
        for (const QString &line : textfile::readLines(dir + QLatin1Char('/') + name))
            for (int m = 0; m < 12; ++m)
                sum += line.mid(codeWidth + 4 * m, 4).toInt();
        return sum;
    };
    QCOMPARE(total(QStringLiteral("MedMeses.Txt"), 4), demo.attended);
    QCOMPARE(total(QStringLiteral("EspMeses.Txt"), 2), demo.attended);
    QCOMPARE(total(QStringLiteral("SitMeses.Txt"), 3), demo.attended);
    int booked = 0;
    int attended = 0;
    for (const QString &line : textfile::readLines(dir + QStringLiteral("/PrevReal.Txt"))) {
        booked += line.left(4).toInt();
        attended += line.mid(4).toInt();
    }
    QCOMPARE(booked, demo.booked);
    QCOMPARE(attended, demo.attended);
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/MovMes.Txt")), QStringList());

    // Real-looking patients: one telephone each, nobody twice on one day.
    std::map<QString, QString> phones;
    std::set<QString> bookedOnADay;
    for (const Appointment &row : c.DMMedicos.table().select(ListQuery::all())) {
        if (row.isReserved())
            continue;
        const auto [known, added] = phones.emplace(row.paciente, row.telefone);
        QVERIFY2(known->second == row.telefone, qPrintable(row.paciente));
        if (row.data.at(5) == QLatin1Char('/'))
            QVERIFY2(bookedOnADay.insert(row.data + row.paciente).second, qPrintable(row.data + row.paciente));
    }
    QVERIFY(phones.size() > 20);
}

void TestAgenda::demoNeedsANewFolder()
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    QDir().mkpath(dir);
    textfile::writeLines(dir + QStringLiteral("/nota.txt"), {QStringLiteral("minha")});
    FixedClock clock(QDateTime(date("09/12/2026"), QTime(9, 0)));
    QVERIFY_THROWS_EXCEPTION(FileError, createDemoClinic(dir, tmp.path(), clock));
    QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{"nota.txt"});
}

void TestAgenda::closeAsksBeforeTheClockTakesTheAgenda_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<int>("answer"); // -1: not asked
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("named"); // the date and the count the question names
    // The agenda of 8 December 2026, prepared up to 7 January 2027.
    const QStringList all{"06/01/27", "15/12/26", "20/11/26", "40001360"};
    QTest::newRow("a usual close: only the old row goes, unasked")
        << QDate(2026, 12, 8) << "07/01/2027" << -1 << QStringList{"06/01/27", "15/12/26", "40001360"}
        << QString();
    QTest::newRow("clock a year ahead, No keeps everything")
        << QDate(2027, 12, 8) << "07/01/2027" << 0 << all << "08/12/2027|3 consultas|até 06/01/2027";
    QTest::newRow("clock a year ahead, Yes purges")
        << QDate(2027, 12, 8) << "07/01/2027" << 1 << QStringList{"40001360"} << "08/12/2027|3 consultas";
    // An agenda never prepared here (the installation's limit) tells nothing of a clock.
    QTest::newRow("limit of the installation: unasked")
        << QDate(2026, 12, 8) << "01/01/2000" << -1 << QStringList{"06/01/27", "15/12/26", "40001360"}
        << QString();
    QTest::newRow("clock two months ahead, the last prepared day going")
        << QDate(2027, 3, 10) << "07/01/2027" << 0 << all
        << "10/03/2027|3 consultas marcadas, até 06/01/2027";
}

void TestAgenda::closeAsksBeforeTheClockTakesTheAgenda()
{
    QFETCH(QDate, today);
    QFETCH(QString, limit);
    QFETCH(int, answer);
    QFETCH(QStringList, kept);
    QFETCH(QString, named);
    Fixture f(today);
    f.write(kDataIniFim, {limit});
    f.addRows({booked(QStringLiteral("20/11/26"), 1, 1, QStringLiteral("Ana")),
               booked(QStringLiteral("15/12/26"), 1, 1, QStringLiteral("Bia")),
               booked(QStringLiteral("06/01/27"), 1, 1, QStringLiteral("Caio")),
               booked(QStringLiteral("40001360"), 5, 1, QStringLiteral("Davi"))});
    AppContext &c = f.start();
    if (answer >= 0)
        f.dialogs.answerQuestion(answer == 1);
    session::closeMainWindow(c);
    QStringList left;
    for (const Appointment &row : f.rows())
        left << row.data;
    QCOMPARE(left, kept);
    const QStringList questions = f.dialogs.texts(Kind::Question);
    QCOMPARE(questions.size(), answer >= 0 ? 1 : 0);
    for (const QString &part : named.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        QVERIFY2(questions.first().contains(part), qPrintable(questions.first()));
}

QTEST_MAIN(TestAgenda)
#include "tst_agenda.moc"
