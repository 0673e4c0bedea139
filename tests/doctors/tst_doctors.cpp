// The doctor record editor "Ficha Dados do Médico" driven offscreen through its
// widgets: registering a doctor, leaves, timetable changes, removal, bad input and
// closing.
#include "app/tfprincipal.h"
#include "core/data_files.h"
#include "doctors/tfdadosmed.h"
#include "doctors/tfhorarios.h"
#include "platform/text_file.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

const QString kMoved = QStringLiteral(
    "  As consultas dentro do período de afastamento do médico, foram transferidas\npara a Guia "
    "/Desmarcadas/ e deverão ser remarcadas oportunamente.");
const QString kTimetableQuestion = QStringLiteral(
    "   Antes  de  alterar os  horários do  médico,\nverifique as conseqüências disso sobre as "
    "consultas\nque já estejam marcadas.\n\n                      Você deseja prosseguir?");
const QString kAutomaticEntryQuestion = QStringLiteral(
    "Se não estiver usando a \"Entrada Automática\", verifique se\nas Fichas de Atendimentos do médico "
    "estão atualizadas \n                    Prosseguir?");
const QString kSnapshot =
    QStringLiteral("       Aguarde alguns instantes; o Sistema está realizando \na cópia do "
                   "Banco de Dados.\n\n       Para prosseguir, clicar em [ OK ]");

Appointment row(const QString &data, int hora, int medico, const QString &patient = QStringLiteral("Ana"))
{
    return {data, QString::number(hora), QString::number(medico), patient, {}, QStringLiteral("1"), {}};
}

// Keys typed as a person types them: into whatever has the focus.
void type(const QString &text)
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY2(focused, "no widget has the focus");
    QTest::keyClicks(focused, text);
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY2(focused, "no widget has the focus");
    QTest::keyClick(focused, key, modifiers);
}

QStringList keys(const std::vector<Appointment> &rows)
{
    QStringList result;
    for (const Appointment &r : rows)
        result << QStringLiteral("%1 %2 %3 %4").arg(r.data, r.hora, r.medico, r.paciente);
    return result;
}

// The 24 slot cells of a doctor's row on a sheet, joined by "|".
QString sheetRow(AppContext &c, int day, int code)
{
    QStringList cells;
    for (int slot = 1; slot <= 24; ++slot)
        cells << c.sheets.sheet(day).cell(slot, code);
    return cells.join(QLatin1Char('|'));
}

QString cells(const QStringList &first, const QString &rest)
{
    QStringList all = first;
    while (all.size() < 24)
        all << rest;
    return all.join(QLatin1Char('|'));
}

// A fixture with doctor 5 (Mondays 08:00, 08:20, 08:40; Wednesdays 14:00) and the
// agenda prepared up to the end of December; today is Tuesday 08/12/2026.
void addDoctor5(Fixture &f)
{
    f.addDoctor(5, QStringLiteral("Dra. Ana Souza"), QStringLiteral("52 Cardiologia"), QStringLiteral("12"),
                QStringLiteral("3"));
    f.setTimes(5, 2, {"08:00", "08:20", "08:40"});
    f.setTimes(5, 4, {"14:00"});
    f.write(files::kPreparedLimit, {QStringLiteral("31/12/2026")});
}

// The started program with the form open, as the menu opens it.
struct Editor
{
    explicit Editor(Fixture &fixture) : f(fixture), c(fixture.start()), form(c)
    {
        form.FormShow();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    template <typename T> T *w(const char *name)
    {
        T *widget = form.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QLineEdit *edit(const char *name) { return w<QLineEdit>(name); }
    QTableWidget *grid() { return w<QTableWidget>("SGHorasDias"); }
    QListWidget *list() { return w<QListWidget>("ListBox1"); }

    void click(const char *name) { test::click(w<QWidget>(name)); }

    // A click in the code box empties the form; then the code is typed.
    void typeCode(const QString &code)
    {
        click("ECod");
        QCOMPARE(QApplication::focusWidget(), edit("ECod"));
        ::type(code);
    }
    // A click in the box, what it shows erased key by key from its end, the text typed.
    void type(const char *name, const QString &text)
    {
        click(name);
        QCOMPARE(QApplication::focusWidget(), edit(name));
        press(Qt::Key_End);
        // Blanks at the end of a box are invisible.
        for (qsizetype i = edit(name)->text().trimmed().size(); i > 0; --i)
            press(Qt::Key_Backspace);
        ::type(text);
    }
    // The list of the specialty box opened and the entry clicked in it.
    void chooseSpecialty(const QString &entry)
    {
        auto *combo = w<QComboBox>("CBEsp");
        const int index = combo->findText(entry);
        QVERIFY2(index >= 0, qPrintable(entry));
        test::click(combo);
        QTRY_VERIFY(combo->view()->isVisible());
        test::click(combo->view(), combo->model()->index(index, 0));
        QTRY_VERIFY(!combo->view()->isVisible());
        QCOMPARE(combo->currentIndex(), index);
    }
    void clickTime(const QString &time)
    {
        QListWidgetItem *item = list()->findItems(time, Qt::MatchExactly).value(0);
        QVERIFY2(item, qPrintable(time));
        test::click(list(), list()->model()->index(list()->row(item), 0));
    }
    // A double-click on the cell opens its editor; its text is selected and typed over.
    void typeInCell(int slot, int column, const QString &text)
    {
        const QModelIndex cell = grid()->model()->index(slot - 1, column);
        test::click(grid(), cell);
        test::doubleClickOn(grid(), cell);
        QVERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        press(Qt::Key_A, Qt::ControlModifier);
        ::type(text);
        press(Qt::Key_Return);
    }
    QStringList column(int col)
    {
        QStringList result;
        for (int r = 0; r < 24; ++r)
            result << grid()->item(r, col)->text();
        return result;
    }
    void save() { click("BAlterar"); }
    const DoctorEditor &editor() const { return form.editor(); }

    Fixture &f;
    AppContext &c;
    TFDadosMed form;
};

QStringList firstTimes(const QStringList &times)
{
    QStringList all = times;
    while (all.size() < 24)
        all << QString();
    return all;
}

} // namespace

class TestDoctors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensReset();
    void typingACodeLoadsTheDoctor_data();
    void typingACodeLoadsTheDoctor();
    void clickingTheCodeBoxEmptiesTheForm();
    void typingIntoALoadedBox_data();
    void typingIntoALoadedBox();
    void registersANewDoctor();
    void refusedInclusionSavesNothing();
    void temporaryLeaveAndItsEnd();
    void offeredLeaveDatesAreTypedOver_data();
    void offeredLeaveDatesAreTypedOver();
    void refusedSaveLeavesTheRegisteredLeave_data();
    void refusedSaveLeavesTheRegisteredLeave();
    void timetableChangeAsksFirst_data();
    void timetableChangeAsksFirst();
    void wrongTimeInTheGrid_data();
    void wrongTimeInTheGrid();
    void definitiveLeaveFromTodayRemovesTheDoctor();
    void definitiveLeaveAnsweredNoChangesNothing();
    void definitiveLeaveFromALaterDay();
    void badInput_data();
    void badInput();
    void gridButtons();
    void codeLabelShowsTheDoctorList();
    void menuOpensTheForm();
    void failedWriteKeepsTheFormOpen();
};

void TestDoctors::opensReset()
{
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    QCOMPARE(e.form.windowTitle(), QStringLiteral("Ficha Dados do Médico"));
    // Something typed and chosen before...
    e.typeCode(QStringLiteral("5"));
    e.click("RBTemp");
    e.click("CBSeg");
    e.clickTime(QStringLiteral("10:00"));
    // ...is gone at the next opening.
    e.form.FormShow();
    for (const char *name : {"ECod", "ENome", "ESala", "EAndar", "ESaida", "ERetorno"})
        QVERIFY2(e.edit(name)->text().isEmpty(), name);
    QCOMPARE(e.edit("ETurno")->text(), QStringLiteral("1"));
    QCOMPARE(e.w<QComboBox>("CBEsp")->currentIndex(), -1);
    QCOMPARE(e.w<QComboBox>("CBEsp")->count(), 30);
    QCOMPARE(e.w<QComboBox>("CBEsp")->itemText(1), QStringLiteral("52 Cardiologia"));
    for (const char *name : {"RBTemp", "RBDef", "RBLimpar"})
        QVERIFY2(!e.w<QRadioButton>(name)->isChecked(), name);
    for (const char *name : {"CBSeg", "CBTer", "CBQua", "CBQui", "CBSex", "CBSab", "CBDom"})
        QVERIFY2(!e.w<QCheckBox>(name)->isChecked(), name);
    QVERIFY(!e.edit("ESaida")->isEnabled());
    QVERIFY(!e.edit("ERetorno")->isEnabled());
    QCOMPARE(e.column(0), firstTimes({}));
    QCOMPARE(e.list()->selectedItems().size(), 0);
    QCOMPARE(e.list()->itemAt(5, 5)->text(), QStringLiteral("07:00"));
    QCOMPARE(e.list()->count(), 289);
    // Every code but 5 is free.
    QCOMPARE(e.w<QLabel>("Label9")->text(), QStringLiteral("Códigos Livres"));
    QCOMPARE(e.w<QLabel>("Label10")->text() + e.w<QLabel>("Label12")->text() + e.w<QLabel>("Label13")->text(),
             f.context().doctors.freeCodeList());
    QVERIFY(!e.w<QLabel>("Label10")->text().contains(QStringLiteral(" 5 ")));
    QVERIFY(!e.editor().registerChanged());
}

void TestDoctors::typingACodeLoadsTheDoctor_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("monday");
    // clang-format off
    QTest::newRow("5 loads the doctor and the timetable") << "5" << "Dra. Ana Souza" << "08:00";
    QTest::newRow("05 matches no record: only the timetable") << "05" << "" << "08:00";
    QTest::newRow("x5 is no code: nothing") << "x5" << "" << "";
    // clang-format on
}

void TestDoctors::typingACodeLoadsTheDoctor()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, monday);
    Fixture f;
    addDoctor5(f);
    f.setLeave(5, QStringLiteral("20/12/26"), QStringLiteral("22/12/26"));
    Editor e(f);
    e.typeCode(code);
    QCOMPARE(e.edit("ENome")->text(), name);
    QCOMPARE(e.grid()->item(0, 0)->text(), monday);
    if (!name.isEmpty()) {
        QCOMPARE(e.w<QComboBox>("CBEsp")->currentText(), QStringLiteral("52 Cardiologia"));
        // The boxes show the fields without their padding.
        QCOMPARE(e.edit("ESala")->text(), QStringLiteral("12"));
        QCOMPARE(e.edit("EAndar")->text(), QStringLiteral("3"));
        QCOMPARE(e.edit("ETurno")->text(), QStringLiteral("1"));
        QCOMPARE(e.edit("ESaida")->text(), QStringLiteral("20/12/26"));
        QCOMPARE(e.edit("ERetorno")->text(), QStringLiteral("22/12/26"));
        // Wednesday is the third column, Sunday the last.
        QCOMPARE(e.column(2), firstTimes({"14:00"}));
        QCOMPARE(e.column(6), firstTimes({}));
        QVERIFY(!e.edit("ESaida")->isEnabled());
    }
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestDoctors::clickingTheCodeBoxEmptiesTheForm()
{
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.click("RBDef");
    QVERIFY(e.editor().leaveMode());
    e.click("ECod");
    QVERIFY(!e.editor().leaveMode());
    for (const char *name : {"ECod", "ENome", "ESala", "EAndar", "ESaida", "ERetorno"})
        QVERIFY2(e.edit(name)->text().isEmpty(), name);
    QCOMPARE(e.edit("ETurno")->text(), QStringLiteral("1"));
    QCOMPARE(e.column(0), firstTimes({}));
    QVERIFY(!e.w<QRadioButton>("RBDef")->isChecked());
    QVERIFY(e.edit("ERetorno")->isVisibleTo(&e.form));
    QVERIFY(!e.edit("ESaida")->isEnabled());
}

void TestDoctors::typingIntoALoadedBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("replace"); // false: typed where the click puts the cursor
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored"); // the record's field, padded to its width
    QTest::newRow("Nome, typed before") << "ENome" << false << "Profa. " << "Profa. Dra. Ana Souza"
                                        << "Profa. Dra. Ana Souza    ";
    QTest::newRow("Sala, typed before") << "ESala" << false << "B" << "B12" << "B12 ";
    QTest::newRow("Sala replaced") << "ESala" << true << "204" << "204" << "204 ";
    QTest::newRow("Andar, typed before") << "EAndar" << false << "1" << "13" << "13";
    QTest::newRow("Turnos replaced") << "ETurno" << true << "2" << "2" << "2";
}

void TestDoctors::typingIntoALoadedBox()
{
    QFETCH(QString, box);
    QFETCH(bool, replace);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    QLineEdit *edit = e.edit(box.toLatin1().constData());
    if (replace) {
        e.type(box.toLatin1().constData(), typed);
    } else {
        // A click puts the cursor at the start of the box.
        test::click(edit);
        type(typed);
    }
    QCOMPARE(edit->text(), shown);
    e.save();
    QVERIFY2(f.dialogs.shown().isEmpty(), qPrintable(f.dialogs.texts().join(QLatin1Char('\n'))));
    const Doctor &d = e.c.doctors.doctor(5);
    const QString field = box == QLatin1String("ENome")   ? d.name
                          : box == QLatin1String("ESala") ? d.room
                          : box == QLatin1String("EAndar") ? d.floor
                                                           : d.shift;
    QCOMPARE(field, stored);
}

void TestDoctors::registersANewDoctor()
{
    Fixture f;
    f.write(files::kPreparedLimit, {QStringLiteral("31/12/2026")});
    Editor e(f);
    e.typeCode(QStringLiteral("7"));
    e.type("ENome", QStringLiteral("Dr. Paulo Lima"));
    e.chooseSpecialty(QStringLiteral("55 Pediatria"));
    e.type("ESala", QStringLiteral("204"));
    e.type("EAndar", QStringLiteral("2"));
    // Mondays and Wednesdays, clicked out of order: the column follows the list.
    e.click("CBSeg");
    e.click("CBQua");
    for (const QString &t : {QStringLiteral("08:20"), QStringLiteral("07:40"), QStringLiteral("08:00")})
        e.clickTime(t);
    QCOMPARE(e.column(0), firstTimes({"07:40", "08:00", "08:20"}));
    QCOMPARE(e.column(2), firstTimes({"07:40", "08:00", "08:20"}));
    QCOMPARE(e.column(1), firstTimes({}));
    e.save();

    // A new doctor: no question about the timetable.
    QVERIFY2(f.dialogs.shown().isEmpty(), qPrintable(f.dialogs.texts().join(QLatin1Char('\n'))));
    QVERIFY(e.form.noticeText().isEmpty());
    const Doctor &d = e.c.doctors.doctor(7);
    QCOMPARE(d.name, QStringLiteral("Dr. Paulo Lima           "));
    QCOMPARE(d.specialty, QStringLiteral("55 Pediatria   "));
    QCOMPARE(d.specialtyCode, QStringLiteral("55"));
    QCOMPARE(d.room, QStringLiteral("204 "));
    QCOMPARE(d.shift, QStringLiteral("1"));
    QCOMPARE(e.c.doctors.time(2, 7, 1), QStringLiteral("07:40"));
    QCOMPARE(e.c.doctors.time(4, 7, 3), QStringLiteral("08:20"));
    QVERIFY(!e.c.doctors.hasSlot(4, 7, 4));
    QVERIFY(!e.w<QCheckBox>("CBSeg")->isChecked());
    QVERIFY(!e.c.doctors.freeCodeList().contains(QStringLiteral(" 7 ")));
    QVERIFY(
        !(e.w<QLabel>("Label10")->text() + e.w<QLabel>("Label12")->text()).contains(QStringLiteral(" 7 ")));

    // The doctor shows on the sheets: Monday 14 and Wednesday 16 with three free slots.
    QCOMPARE(e.c.sheets.sheet(14).cell(0, 7), QStringLiteral("7 - Dr. Paulo Lima           "));
    QCOMPARE(sheetRow(e.c, 14, 7), cells({"", "", ""}, " x"));
    QCOMPARE(sheetRow(e.c, 16, 7), cells({"", "", ""}, " x"));
    QCOMPARE(sheetRow(e.c, 15, 7), cells({}, " x"));

    // Nothing is written before the form closes.
    QVERIFY(f.read(files::kDoctors)[6].mid(2).trimmed().isEmpty());
    e.click("Button1");
    QVERIFY(!e.form.isVisible());
    // Mirroring is off: no snapshot.
    QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(f.read(files::kDoctors)[6],
             QStringLiteral("7 Dr. Paulo Lima           55 Pediatria   204 2 551                "));
    QCOMPARE(f.read(files::kDoctorNames)[7], QStringLiteral("7 Dr. Paulo Lima           "));
    QCOMPARE(f.read(files::kTimetable)[1200 + 6 * 24], QStringLiteral("07:40"));
    QCOMPARE(f.read(files::kDoctorMonths)[6], QStringLiteral("7 55") + QString(48, QLatin1Char('0')));
}

void TestDoctors::refusedInclusionSavesNothing()
{
    Fixture f;
    f.addRows({row("46000123", 12, 9, "Espera")});
    Editor e(f);
    const QStringList before = f.read(files::kDoctors);
    e.typeCode(QStringLiteral("9"));
    e.type("ENome", QStringLiteral("Dr. Novo"));
    e.chooseSpecialty(QStringLiteral("51 Clínica Geral"));
    e.save();
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral(
                 "                                    Inclusão não realizada:\n\n   Há consultas "
                 "com o mesmo código do médico na Guia / EM ESPERA /  \nAntes da inclusão, você "
                 "deve transferí-las para outro médico ou excluí-las.")});
    QVERIFY(e.form.noticeText().isEmpty());
    QVERIFY(e.c.doctors.isFree(9));
    QVERIFY(!e.editor().registerChanged());
    e.click("Button1");
    QCOMPARE(f.read(files::kDoctors), before);
}

void TestDoctors::temporaryLeaveAndItsEnd()
{
    Fixture f;
    addDoctor5(f);
    f.addRows({row("14/12/26", 1, 5, "Ana"), row("14/12/26", 2, 5, "R"), row("16/12/26", 1, 5, "Bia"),
               row("14/12/26", 1, 6, "Outro")});
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.click("RBTemp");
    QCOMPARE(e.edit("ESaida")->text(), QStringLiteral("08/12/26"));
    QCOMPARE(e.edit("ERetorno")->text(), QStringLiteral("09/12/26"));
    QVERIFY(e.edit("ESaida")->hasFocus());
    e.type("ESaida", QStringLiteral("14/12/26"));
    // A four-digit year is kept in the record's eight characters as dd/mm/yy.
    e.type("ERetorno", QStringLiteral("16/12/2026"));
    e.save();
    QCOMPARE(f.dialogs.texts(), QStringList{kMoved});
    QCOMPARE(e.edit("ERetorno")->text(), QStringLiteral("16/12/26"));
    QCOMPARE(keys(e.c.DMMedicos.table().all()),
             QStringList({"14/12/26 1 6 Outro", "14/12H/ 1 5 Ana", "16/12/26 1 5 Bia"}));
    QCOMPARE(sheetRow(e.c, 14, 5), cells({}, "x"));
    QCOMPARE(sheetRow(e.c, 15, 5), cells({}, "x"));
    QCOMPARE(sheetRow(e.c, 16, 5), cells({}, ""));
    QCOMPARE(e.c.doctors.doctor(5).leaveStart, QStringLiteral("14/12/26"));
    QCOMPARE(e.c.doctors.doctor(5).leaveEnd, QStringLiteral("16/12/26"));
    QVERIFY(e.editor().tableChanged());

    // The leave ends: the sheets show the timetable again.
    f.dialogs.clear();
    e.typeCode(QStringLiteral("5"));
    QCOMPARE(e.edit("ESaida")->text(), QStringLiteral("14/12/26"));
    e.click("RBLimpar");
    QVERIFY(e.edit("ESaida")->text().isEmpty());
    QVERIFY(!e.edit("ERetorno")->isVisibleTo(&e.form));
    e.save();
    QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(sheetRow(e.c, 14, 5), cells({"", "", ""}, " x"));
    QCOMPARE(sheetRow(e.c, 15, 5), cells({}, " x"));
    QVERIFY(!e.c.doctors.doctor(5).hasLeave());
    e.click("Button1");
    QCOMPARE(f.read(files::kDoctors)[4].mid(51), QString(16, QLatin1Char(' ')));
}

void TestDoctors::offeredLeaveDatesAreTypedOver_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("clickStart"); // false: typed where the choice puts the focus
    QTest::addColumn<QString>("end");     // typed after a click in "Retorno"; empty: none
    QTest::addColumn<QString>("storedEnd");
    QTest::newRow("temporary, typed as offered") << "RBTemp" << false << "16/12/26" << "16/12/26";
    QTest::newRow("temporary, both boxes clicked into") << "RBTemp" << true << "16/12/26" << "16/12/26";
    QTest::newRow("definitive, clicked into") << "RBDef" << true << "" << "31/12/55";
}

void TestDoctors::offeredLeaveDatesAreTypedOver()
{
    QFETCH(QString, choice);
    QFETCH(bool, clickStart);
    QFETCH(QString, end);
    QFETCH(QString, storedEnd);
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.click(qPrintable(choice));
    QCOMPARE(e.edit("ESaida")->text(), QStringLiteral("08/12/26"));
    QCOMPARE(QApplication::focusWidget(), e.edit("ESaida"));
    if (clickStart) {
        e.click("ESaida");
        QCOMPARE(QApplication::focusWidget(), e.edit("ESaida"));
    }
    // The receptionist types the dates straight over the ones offered.
    type(QStringLiteral("14/12/26"));
    QCOMPARE(e.edit("ESaida")->text(), QStringLiteral("14/12/26"));
    if (!end.isEmpty()) {
        QCOMPARE(e.edit("ERetorno")->text(), QStringLiteral("09/12/26"));
        e.click("ERetorno");
        type(end);
        QCOMPARE(e.edit("ERetorno")->text(), end);
    }
    e.save();
    QCOMPARE(f.dialogs.texts(), QStringList{});
    QCOMPARE(e.c.doctors.doctor(5).leaveStart, QStringLiteral("14/12/26"));
    QCOMPARE(e.c.doctors.doctor(5).leaveEnd, storedEnd);
}

void TestDoctors::refusedSaveLeavesTheRegisteredLeave_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("wrongTime"); // typed into the grid; its correction is given up
    QTest::addColumn<QString>("message");
    QTest::newRow("leave start in the past")
        << "01/12/26" << "23/12/26" << "" << "Erro: Data de Saída é anterior ao dia de hoje";
    QTest::newRow("return before the start")
        << "22/12/26" << "21/12/26" << "" << "Erro: A data de Retorno deve ser posterior à data de Saída ";
    // The appointment of Wednesday 23/12 has moved to the cancelled list by then.
    QTest::newRow("time correction given up") << "21/12/26" << "24/12/26" << "830" << kMoved;
}

void TestDoctors::refusedSaveLeavesTheRegisteredLeave()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, wrongTime);
    QFETCH(QString, message);
    Fixture f;
    addDoctor5(f);
    // On leave on Monday 14/12; Monday 21/12 is a working day.
    f.setLeave(5, QStringLiteral("14/12/26"), QStringLiteral("16/12/26"));
    f.addRows({row("23/12/26", 1, 5)});
    Editor e(f);
    e.c.sheets.refreshAll();
    const QString onLeave = cells({}, " x");
    const QString working = cells({"", "", ""}, " x");
    QCOMPARE(sheetRow(e.c, 14, 5), onLeave);
    QCOMPARE(sheetRow(e.c, 21, 5), working);

    e.typeCode(QStringLiteral("5"));
    e.click("RBTemp");
    e.type("ESaida", start);
    e.type("ERetorno", end);
    if (!wrongTime.isEmpty()) {
        e.typeInCell(5, 0, wrongTime);
        f.dialogs.cancelInput();
    }
    e.save();
    QCOMPARE(f.dialogs.texts(Kind::Information), QStringList{message});
    QCOMPARE(e.c.doctors.doctor(5).leaveStart, QStringLiteral("14/12/26"));
    // The sheets show the leave the register still holds: no free slot on the 14th,
    // the timetable on the 21st.
    for (int slot = 1; slot <= 24; ++slot)
        QVERIFY2(!e.c.sheets.sheet(14).cell(slot, 5).isEmpty(), qPrintable(sheetRow(e.c, 14, 5)));
    QCOMPARE(sheetRow(e.c, 21, 5), working);
}

void TestDoctors::timetableChangeAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestDoctors::timetableChangeAsksFirst()
{
    QFETCH(bool, yes);
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    // Monday 14 has a booked first slot.
    e.c.sheets.sheet(14).setCell(1, 5, QStringLiteral("C"));
    e.typeCode(QStringLiteral("5"));
    e.type("ENome", QStringLiteral("Dra. Ana Souza Lima"));
    e.click("CBSeg");
    e.clickTime(QStringLiteral("09:00"));
    e.clickTime(QStringLiteral("09:20"));
    f.dialogs.answerQuestion(yes);
    e.save();
    QCOMPARE(f.dialogs.texts(), QStringList{kTimetableQuestion});
    // The record is written either way.
    QCOMPARE(e.c.doctors.doctor(5).name.trimmed(), QStringLiteral("Dra. Ana Souza Lima"));
    QVERIFY(e.editor().registerChanged());
    if (yes) {
        QCOMPARE(e.c.doctors.time(2, 5, 1), QStringLiteral("09:00"));
        QCOMPARE(e.c.doctors.time(2, 5, 2), QStringLiteral("09:20"));
        QVERIFY(!e.c.doctors.hasSlot(2, 5, 3));
        // The bookings stay on the sheet; the rest follows the new times.
        QCOMPARE(sheetRow(e.c, 14, 5), cells({"C", ""}, " x"));
        QVERIFY(!e.editor().timetableTouched());
    } else {
        QCOMPARE(e.c.doctors.time(2, 5, 1), QStringLiteral("08:00"));
        QCOMPARE(e.c.doctors.time(2, 5, 3), QStringLiteral("08:40"));
        QCOMPARE(sheetRow(e.c, 14, 5), cells({"C"}, ""));
    }
}

void TestDoctors::wrongTimeInTheGrid_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer"); // empty: the correction box is cancelled
    QTest::addColumn<QStringList>("monday");
    // clang-format off
    QTest::newRow("8:3 is 08:30, sorted in")
        << "8:3" << "" << QStringList{"08:00", "08:20", "08:30", "08:40"};
    QTest::newRow("830 corrected in the box")
        << "830" << "07:10" << QStringList{"07:10", "08:00", "08:20", "08:40"};
    QTest::newRow("a signed time corrected in the box")
        << "-1:30" << "07:10" << QStringList{"07:10", "08:00", "08:20", "08:40"};
    QTest::newRow("a time typed after a blank corrected in the box")
        << " 9:30" << "09:30" << QStringList{"08:00", "08:20", "08:40", "09:30"};
    QTest::newRow("a correction that still needs normalising")
        << "25:00" << "7:5" << QStringList{"07:50", "08:00", "08:20", "08:40"};
    QTest::newRow("giving up stops the save")
        << "830" << "" << QStringList{};
    // clang-format on
}

void TestDoctors::wrongTimeInTheGrid()
{
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QStringList, monday);
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.type("ENome", QStringLiteral("Dra. Ana Nova"));
    e.typeInCell(5, 0, typed);
    const bool wrong = typed != QLatin1String("8:3");
    if (wrong && answer.isEmpty())
        f.dialogs.cancelInput();
    else if (wrong)
        f.dialogs.answerInput(answer);
    if (!monday.isEmpty())
        f.dialogs.answerQuestion(true);
    e.save();
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
    if (wrong)
        QCOMPARE(f.dialogs.shown().first().title, QStringLiteral("Correção de Hora"));
    if (monday.isEmpty()) {
        // Nothing reached the record.
        QCOMPARE(e.c.doctors.doctor(5).name.trimmed(), QStringLiteral("Dra. Ana Souza"));
        QVERIFY(!e.editor().registerChanged());
        return;
    }
    QCOMPARE(e.column(0), firstTimes(monday));
    for (int slot = 1; slot <= 4; ++slot)
        QCOMPARE(e.c.doctors.time(2, 5, slot), monday[slot - 1]);
}

void TestDoctors::definitiveLeaveFromTodayRemovesTheDoctor()
{
    Fixture f;
    addDoctor5(f);
    f.mirroringOn();
    QStringList months = f.read(files::kDoctorMonths);
    months[4] = QStringLiteral("5 52") + QStringLiteral("0003").repeated(12);
    months[51] = QStringLiteral("5252") + QStringLiteral("0010").repeated(12);
    f.write(files::kDoctorMonths, months);
    f.addRows({row("07/12/26", 1, 5, "Ontem"), row("08/12/26", 1, 5, "Hoje"), row("10/12/26", 2, 5, "Bia"),
               row("10/12/26", 3, 5, "R")});
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.click("RBDef");
    QCOMPARE(e.edit("ESaida")->text(), QStringLiteral("08/12/26"));
    QCOMPARE(e.edit("ERetorno")->text(), QStringLiteral("31/12/55"));
    QVERIFY(!e.edit("ERetorno")->isVisibleTo(&e.form));
    QVERIFY(!e.w<QLabel>("leaveEndLabel")->isVisibleTo(&e.form));
    f.dialogs.answerQuestion(true);
    e.save();
    QCOMPARE(f.dialogs.texts(), QStringList({kAutomaticEntryQuestion, kMoved}));

    // The code is free, its timetable empty, its appointments from today on moved.
    QVERIFY(e.c.doctors.isFree(5));
    QVERIFY(e.c.doctors.freeCodeList().contains(QStringLiteral(" 5 ")));
    for (int w = 1; w <= 7; ++w)
        for (int s = 1; s <= 24; ++s)
            QVERIFY(!e.c.doctors.hasSlot(w, 5, s));
    QCOMPARE(keys(e.c.DMMedicos.table().all()),
             QStringList({"07/12/26 1 5 Ontem", "08/12H/ 1 5 Hoje", "10/12H/ 2 5 Bia"}));
    QCOMPARE(sheetRow(e.c, 10, 5), cells({}, "x"));
    QVERIFY(e.edit("ENome")->text().trimmed().isEmpty());
    QVERIFY(e.edit("ESaida")->text().isEmpty());
    QCOMPARE(e.w<QComboBox>("CBEsp")->currentIndex(), -1);
    QCOMPARE(e.column(0), firstTimes({}));

    // Closing: the snapshot, the files and their mirror copies.
    f.dialogs.clear();
    e.click("Button1");
    QCOMPARE(f.dialogs.texts(), QStringList{kSnapshot});
    const QString mirror = f.mirror();
    QVERIFY(QFile::exists(mirror + QStringLiteral("/Medicos3.db")));
    QCOMPARE(f.read(files::kDoctors)[4], QStringLiteral("5") + QString(66, QLatin1Char(' ')));
    const QStringList written = f.read(files::kDoctorMonths);
    QCOMPARE(written[4], QStringLiteral("5 00") + QString(48, QLatin1Char('0')));
    QCOMPARE(written[51], QStringLiteral("5252") + QStringLiteral("0013").repeated(12));
    for (const QLatin1String name :
         {files::kDoctors, files::kDoctorNames, files::kTimetable, files::kDoctorMonths})
        QCOMPARE(textfile::readLines(mirror + QLatin1Char('/') + name), f.read(name));
}

void TestDoctors::definitiveLeaveAnsweredNoChangesNothing()
{
    Fixture f;
    addDoctor5(f);
    f.addRows({row("10/12/26", 2, 5, "Bia")});
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.click("RBDef");
    f.dialogs.answerQuestion(false);
    e.save();
    QCOMPARE(f.dialogs.texts(), QStringList{kAutomaticEntryQuestion});
    QVERIFY(!e.c.doctors.isFree(5));
    QVERIFY(!e.c.doctors.doctor(5).hasLeave());
    QCOMPARE(keys(e.c.DMMedicos.table().all()), QStringList{"10/12/26 2 5 Bia"});
    QCOMPARE(sheetRow(e.c, 10, 5), cells({}, ""));
    QVERIFY(!e.editor().registerChanged());
}

void TestDoctors::definitiveLeaveFromALaterDay()
{
    Fixture f;
    addDoctor5(f);
    f.addRows({row("10/12/26", 2, 5, "Fica"), row("14/12/26", 1, 5, "Vai"), row("14/12/26", 2, 5, "R"),
               row("21/12/26", 1, 5, "Vai")});
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.click("RBDef");
    e.type("ESaida", QStringLiteral("14/12/26"));
    e.save();
    QCOMPARE(f.dialogs.texts(), QStringList{kMoved});
    const Doctor &d = e.c.doctors.doctor(5);
    QCOMPARE(d.name.trimmed(), QStringLiteral("Dra. Ana Souza"));
    QCOMPARE(d.leaveStart, QStringLiteral("14/12/26"));
    QCOMPARE(d.leaveEnd, QStringLiteral("31/12/55"));
    QCOMPARE(e.c.doctors.time(2, 5, 1), QStringLiteral("08:00"));
    QCOMPARE(keys(e.c.DMMedicos.table().all()),
             QStringList({"10/12/26 2 5 Fica", "14/12H/ 1 5 Vai", "21/12H/ 1 5 Vai"}));
    QCOMPARE(sheetRow(e.c, 13, 5), cells({}, ""));
    QCOMPARE(sheetRow(e.c, 31, 5), cells({}, "x"));
}

void TestDoctors::badInput_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("specialty");
    QTest::addColumn<QString>("choice"); // the leave button clicked, if any
    QTest::addColumn<QString>("leaveStart");
    QTest::addColumn<QString>("leaveEnd");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored"); // doctor 5's name afterwards

    const QString kept = QStringLiteral("Dra. Ana Souza");
    const QString cardio = QStringLiteral("52 Cardiologia");
    const QString end = QStringLiteral("Erro: A data de Retorno deve ser posterior à data de Saída ");
    const QString invalidCode = QStringLiteral("Código inválido: \"%1\".\nO código do médico deve ser um "
                                               "número inteiro de 1 a 50.");
    // code, name, specialty, leave button, leave start, leave end, messages, name stored
    // clang-format off
    QTest::newRow("no code") << "" << "Dra. Ana" << cardio << "" << "" << ""
                             << QStringList{"Código é campo obrigatório"} << kept;
    QTest::newRow("code 77") << "77" << "Dra. Ana" << cardio << "" << "" << ""
                             << QStringList{invalidCode.arg("77")} << kept;
    QTest::newRow("code ab") << "ab" << "Dra. Ana" << cardio << "" << "" << ""
                             << QStringList{invalidCode.arg("ab")} << kept;
    QTest::newRow("no name") << "5" << "" << cardio << "" << "" << ""
                             << QStringList{"Nome é campo obrigatório"} << kept;
    QTest::newRow("five blanks first") << "5" << "     Ana" << cardio << "" << "" << ""
                                       << QStringList{"Nome é campo obrigatório"} << kept;
    QTest::newRow("two blanks first pass, and are dropped")
        << "5" << "  Ana Maria" << cardio << "" << "" << "" << QStringList{} << "Ana Maria";
    QTest::newRow("no specialty") << "5" << "Dra. Ana" << "" << "" << "" << ""
                                  << QStringList{"Especialidade é campo obrigatório"} << kept;
    QTest::newRow("leave from yesterday") << "5" << "Dra. Ana" << cardio << "RBTemp" << "07/12/26" << "10/12/26"
                                          << QStringList{"Erro: Data de Saída é anterior ao dia de hoje"}
                                          << kept;
    QTest::newRow("return before leaving") << "5" << "Dra. Ana" << cardio << "RBTemp" << "12/12/26"
                                           << "12/12/26" << QStringList{end} << kept;
    QTest::newRow("return not a date") << "5" << "Dra. Ana" << cardio << "RBTemp" << "12/12/26" << "32/12/26"
                                       << QStringList{"Data inválida: 32/12/26"} << kept;
    QTest::newRow("leave start not a date: nothing saved")
        << "5" << "Dra. Ana" << cardio << "RBTemp" << "1x/12/26" << "14/12/26"
        << QStringList{"Data inválida: 1x/12/26"} << kept;
    QTest::newRow("a date typed after \"Limpar caixas\"")
        << "5" << "Dra. Ana" << cardio << "RBLimpar" << "14/12/26" << ""
        << QStringList{"Para afastar o médico, escolha antes \"Afastar temporariamente\" ou \"Afastar "
                       "definitivamente\"."}
        << kept;
    // clang-format on
}

void TestDoctors::badInput()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, specialty);
    QFETCH(QString, choice);
    QFETCH(QString, leaveStart);
    QFETCH(QString, leaveEnd);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    Fixture f;
    addDoctor5(f);
    f.addRows({row("12/12/26", 1, 5, "Bia")});
    Editor e(f);
    e.typeCode(code);
    e.type("ENome", name);
    if (specialty.isEmpty())
        e.w<QComboBox>("CBEsp")->setCurrentIndex(-1);
    else
        e.chooseSpecialty(specialty);
    if (!choice.isEmpty())
        e.click(qPrintable(choice));
    if (!leaveStart.isEmpty())
        e.type("ESaida", leaveStart);
    if (!leaveEnd.isEmpty())
        e.type("ERetorno", leaveEnd);
    e.save();
    QCOMPARE(f.dialogs.texts(), messages);
    QCOMPARE(e.c.doctors.doctor(5).name.trimmed(), stored);
    QVERIFY(!e.c.doctors.doctor(5).hasLeave());
    // No appointment moved, no sheet marked.
    QCOMPARE(keys(e.c.DMMedicos.table().all()), QStringList{"12/12/26 1 5 Bia"});
    QCOMPARE(sheetRow(e.c, 12, 5), cells({}, ""));
    QCOMPARE(e.editor().registerChanged(), stored != QStringLiteral("Dra. Ana Souza"));
}

void TestDoctors::gridButtons()
{
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.typeInCell(1, 0, QStringLiteral("06:00"));
    e.click("CBTer");
    e.clickTime(QStringLiteral("10:00"));
    QCOMPARE(e.column(1), firstTimes({"10:00"}));

    // "Voltar Horários Iniciais" brings the stored times back.
    e.click("BretornaHorarios");
    QCOMPARE(e.column(0), firstTimes({"08:00", "08:20", "08:40"}));
    QCOMPARE(e.column(1), firstTimes({}));
    QVERIFY(!e.w<QCheckBox>("CBTer")->isChecked());

    // "Limpar" deselects the times and shows 07:00 at the top.
    e.list()->scrollToBottom();
    e.click("Button2");
    QVERIFY(e.list()->selectedItems().isEmpty());
    QCOMPARE(e.list()->itemAt(5, 5)->text(), QStringLiteral("07:00"));
    QCOMPARE(e.column(1), firstTimes({}));

    // "Limpar Grade" empties every column.
    e.click("CBSex");
    e.click("BLimpaGrade");
    QVERIFY(!e.w<QCheckBox>("CBSex")->isChecked());
    for (int col = 0; col < 7; ++col)
        QCOMPARE(e.column(col), firstTimes({}));
    // The stored timetable is untouched until a save.
    QCOMPARE(e.c.doctors.time(2, 5, 1), QStringLiteral("08:00"));
}

void TestDoctors::codeLabelShowsTheDoctorList()
{
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    QString title;
    QStringList lines;
    test::onModal<TFHorarios>([&](TFHorarios *list) {
        title = list->windowTitle();
        for (int i = 0; i < list->ListBox1->count(); ++i)
            lines << list->ListBox1->item(i)->text();
        list->reject();
    });
    e.click("Label3");
    QCOMPARE(title, QStringLiteral("Relação dos Médicos"));
    QCOMPARE(lines, QStringList{QStringLiteral("5    Dra. Ana Souza               52 Cardiologia ")});
}

void TestDoctors::menuOpensTheForm()
{
    Fixture f;
    addDoctor5(f);
    TFPrincipal window(f.context());
    f.start();
    bool shown = false;
    test::onModal<TFDadosMed>([&](TFDadosMed *form) {
        shown = form->windowTitle() == QStringLiteral("Ficha Dados do Médico");
        press(Qt::Key_Escape);
    });
    window.menuItem(QStringLiteral("Mdicos2"))->trigger();
    QVERIFY(shown);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestDoctors::failedWriteKeepsTheFormOpen()
{
    Fixture f;
    addDoctor5(f);
    Editor e(f);
    e.typeCode(QStringLiteral("5"));
    e.type("ESala", QStringLiteral("99"));
    e.save();
    // CodMed.Txt cannot be replaced while a directory stands in its way.
    QVERIFY(QFile::remove(f.dir() + QStringLiteral("/CodMed.Txt")));
    QVERIFY(QDir(f.dir()).mkpath(QStringLiteral("CodMed.Txt/x")));
    press(Qt::Key_Escape);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(e.form.isVisible());
    QVERIFY(QDir(f.dir() + QStringLiteral("/CodMed.Txt")).removeRecursively());
    press(Qt::Key_Escape);
    QVERIFY(!e.form.isVisible());
    QCOMPARE(f.read(files::kDoctors)[4].mid(42, 4), QStringLiteral("99  "));
}

QTEST_MAIN(TestDoctors)
#include "tst_doctors.moc"
