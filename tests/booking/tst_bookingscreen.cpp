// The booking screen driven offscreen through its widgets: the menu, the complete
// refresh, booking by double-click, every operation of the appointment dialog, the
// journal, the day list, the keys, the jumps, the filter and the notices.
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/grid_view.h"
#include "booking/list_entries.h"
#include "booking/list_tab_widget.h"
#include "booking/tfaviso.h"
#include "booking/tfconsulta.h"
#include "booking/tfconsulta2.h"
#include "booking/tfconsultasdia.h"
#include "booking/tfvisaogeral.h"
#include "store/waiting_key.h"
#include "desk.h"
#include "doctors/tfgradehoras.h"
#include "doctors/tfhorarios.h"
#include "platform/text_file.h"
#include "protection/replay.h"
#include "store/appointment_table.h"
#include "store/journal.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QWindow>

using namespace clinora;
using test::booking;
using test::Desk;
using test::Fixture;
using test::journalFile;
using test::keys;
using test::onModal;
using test::press;
using test::type;
using Kind = test::ScriptedDialogs::Kind;

class TestBookingScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bookingFromTheMenu();
    void sheetsAreFilledWhenTheScreenOpens();
    void noBookingOnAClosedOrUnpreparedDate_data();
    void noBookingOnAClosedOrUnpreparedDate();
    void dayListOffersNoFalseFreeSlots_data();
    void dayListOffersNoFalseFreeSlots();
    void reservingAnHour();
    void checksBeforeBooking();
    void cancelling_data();
    void cancelling();
    void deletingAsksNothing();
    void cutAndPaste();
    void changeIsJournaledBeforeAndAfter();
    void failedPostWritesNoJournal();
    void fullCancelledListLeavesTheRow();
    void journalReachesTheMirror_data();
    void journalReachesTheMirror();
    void unreachableMirrorLosesNoChange();
    void dayListFromTheMonth();
    void keysOnSheetsAndMonth();
    void bookingWithTheKeyboardAlone();
    void jumpsAndBadCodes();
    void specialtyFilter();
    void disabledSheetExplainsItself();
    void disabledDayNoticeOncePerVisit();
    void buttonsOutsideTheTabs();
    void rebookingFromTheKeyboard();
    void oneCutPatientAtATime();
    void journalledOperations_data();
    void journalledOperations();
    void focusOnTheSheetAfterATabSwitch_data();
    void focusOnTheSheetAfterATabSwitch();
    void dayListClosesWithTheScreen_data();
    void dayListClosesWithTheScreen();
};

void TestBookingScreen::bookingFromTheMenu()
{
    Fixture f;
    test::setUpClinic(f);
    session::startUp(f.context());
    TFPrincipal main(f.context());
    main.FormCreate();
    main.show();
    bool screenSeen = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        screenSeen = true;
        QCOMPARE(screen->windowTitle(), QStringLiteral("Marcação de Consultas"));
        QCOMPARE(screen->PageControl1->currentWidget(), screen->TabSheet1);
        QCOMPARE(screen->PageControl1->tabText(1), QStringLiteral("01"));
        QCOMPARE(screen->PageControl1->tabText(31), QStringLiteral("31"));
        test::click(screen->BAtualizar0);
        QCOMPARE(screen->ProgressBar1->value(), 0);
        QCOMPARE(screen->overview().grid().cell(9, 12), QString());

        const TFVisaoGeral::DayTab &tab = screen->dayTab(9);
        test::clickTab(screen->PageControl1, tab.page);
        // The first double-click of the run opens a dialog that stays open.
        onModal<TFConsulta>([](TFConsulta *d) {
            QVERIFY(d->isVisible());
            QVERIFY(d->BIncluir->isEnabled());
            QVERIFY(!d->BImportar->isEnabled());
            QVERIFY(!d->BAlterar->isEnabled());
            QVERIFY(d->DBComboBox1->currentText().startsWith(QLatin1Char('1')));
            QCOMPARE(d->Label5->text().trimmed(), QStringLiteral("Dr. Teste Silva"));
            QCOMPARE(d->Label6->text(), QStringLiteral("08:30  Hs"));
            QCOMPARE(d->Label10->text().trimmed(), QStringLiteral("204"));
            QCOMPARE(d->DBEdit3->text(), QStringLiteral("09/12/26"));
            type(QStringLiteral("Joana Prado"));
            press(Qt::Key_Tab);
            type(QStringLiteral("98888-7777"));
            press(Qt::Key_Tab);
            press(Qt::Key_Down); // the next situation, "2"
            test::click(d->BIncluir);
        });
        test::doubleClickOn(tab.grid, tab.grid->model()->index(11, 1));
        QCOMPARE(screen->consulta().isVisible(), false);
        QCOMPARE(tab.grid->model()->index(11, 1).data().toString(), QStringLiteral("C"));
        // Three more bookings fill the doctor's day; the month follows.
        for (int slot : {1, 3, 4}) {
            onModal<TFConsulta>([](TFConsulta *d) {
                type(QStringLiteral("Outro"));
                test::click(d->BIncluir);
            });
            test::doubleClickOn(tab.grid, tab.grid->model()->index(11, slot - 1));
        }
        test::click(screen->BitBtn4); // "Início": back to the month, summary recomputed
        QCOMPARE(screen->PageControl1->currentWidget(), screen->TabSheet1);
        QCOMPARE(screen->overview().grid().cell(9, 12), QStringLiteral(" x"));
        test::click(screen->BitBtn1);
    });
    main.menuItem(QStringLiteral("MarcaodeConsultas1"))->trigger();
    QVERIFY(screenSeen);
    const std::vector<Appointment> rows = f.rows();
    QCOMPARE(rows.size(), std::size_t(4));
    QCOMPARE(rows[1], (Appointment{QStringLiteral("09/12/26"), QStringLiteral("2"), QStringLiteral("12"),
                                   QStringLiteral("Joana Prado"), QStringLiteral("98888-7777"), QStringLiteral("2"),
                                   QString()}));
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestBookingScreen::sheetsAreFilledWhenTheScreenOpens()
{
    Fixture f;
    test::setUpClinic(f);
    f.write(QStringLiteral("ArqFolgas.Txt"), {QStringLiteral("10/12/2026")});
    f.addRows({booking(QStringLiteral("09/12/26"), 2, 12)});
    session::startUp(f.context());
    TFPrincipal main(f.context());
    main.FormCreate();
    main.show();
    QAction *menu = main.menuItem(QStringLiteral("MarcaodeConsultas1"));
    // No "Atualização Completa": the sheets are filled as the screen opens.
    onModal<TFVisaoGeral>([](TFVisaoGeral *screen) {
        QVERIFY(!screen->dayTab(10).grid->isEnabled());
        QCOMPARE(screen->dayTab(9).grid->model()->index(11, 1).data().toString(), QStringLiteral("C"));
        QCOMPARE(screen->dayTab(9).grid->model()->index(11, 0).data().toString(), QString());
        QCOMPARE(screen->overview().grid().cell(10, 12), QStringLiteral(" x"));
        QCOMPARE(screen->overview().grid().cell(11, 12), QString());
        test::click(screen->BitBtn1);
    });
    menu->trigger();
    // What changed while the screen was closed shows when it opens again.
    f.write(QStringLiteral("ArqFolgas.Txt"), {QStringLiteral("10/12/2026"), QStringLiteral("11/12/2026")});
    f.context().DMMedicos.table().insert(booking(QStringLiteral("09/12/26"), 3, 12));
    bool seen = false;
    onModal<TFVisaoGeral>([&seen](TFVisaoGeral *screen) {
        seen = true;
        QVERIFY(!screen->dayTab(11).grid->isEnabled());
        QCOMPARE(screen->dayTab(9).grid->model()->index(11, 2).data().toString(), QStringLiteral("C"));
        test::click(screen->BitBtn1);
    });
    menu->trigger();
    QVERIFY(seen);
}

void TestBookingScreen::noBookingOnAClosedOrUnpreparedDate_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("operation"); // a patient, "R", or the paste
    QTest::addColumn<QString>("message");
    const QString closed = QStringLiteral("Não é possível marcar consulta em 10/12/2026: a data está fechada.\n"
                                          "Para atender neste dia, abra-o antes em \"Fechar / Abrir uma Data\".");
    const QString unprepared =
        QStringLiteral("Não é possível marcar consulta em 21/12/2026: o sistema está preparado até 20/12/2026.\n"
                       "Alongue antes a data de preparação em \"Alongar a Data de Preparação do Sistema\".");
    QTest::newRow("closed, a patient") << "ArqFolgas.Txt" << "10/12/2026" << 10 << "Bruna" << closed;
    QTest::newRow("closed, a reserved hour") << "ArqFolgas.Txt" << "10/12/2026" << 10 << "R" << closed;
    QTest::newRow("closed, a paste") << "ArqFolgas.Txt" << "10/12/2026" << 10 << "" << closed;
    QTest::newRow("unprepared, a patient") << "DataIniFim.Txt" << "20/12/2026" << 21 << "Bruna" << unprepared;
    QTest::newRow("unprepared, a reserved hour") << "DataIniFim.Txt" << "20/12/2026" << 21 << "R" << unprepared;
    QTest::newRow("unprepared, a paste") << "DataIniFim.Txt" << "20/12/2026" << 21 << "" << unprepared;
}

void TestBookingScreen::noBookingOnAClosedOrUnpreparedDate()
{
    QFETCH(QString, file);
    QFETCH(QString, contents);
    QFETCH(int, day);
    QFETCH(QString, operation);
    QFETCH(QString, message);
    Fixture f;
    const bool paste = operation.isEmpty();
    if (paste)
        f.addRows({booking(QStringLiteral("09/12/26"), 1, 12, QStringLiteral("Carlos Lima"))});
    Desk desk(f);
    if (paste) // cut from its slot, to be pasted on the other date
        desk.doubleClick(9, 1, 12, [](TFConsulta *d) { test::click(d->BExportar); });
    // The date closes, or the limit moves back, after the sheet was filled.
    f.write(file, {contents});
    QVERIFY(desk.screen->dayTab(day).grid->isEnabled());
    desk.doubleClick(day, 2, 12, [&](TFConsulta *d) {
        if (paste) {
            test::click(d->BImportar);
        } else {
            type(operation);
            test::click(d->BIncluir);
        }
        QVERIFY(d->isVisible());
        test::click(d->BSair);
    });
    QCOMPARE(f.dialogs.texts(Kind::Information), QStringList{message});
    QVERIFY(desk.rows().empty());
    QCOMPARE(desk.sheet(day).cell(2, 12), QString());
}

void TestBookingScreen::dayListOffersNoFalseFreeSlots_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<int>("day");
    QTest::newRow("closed") << "ArqFolgas.Txt" << "10/12/2026" << 10;
    QTest::newRow("not prepared") << "DataIniFim.Txt" << "20/12/2026" << 21;
}

void TestBookingScreen::dayListOffersNoFalseFreeSlots()
{
    QFETCH(QString, file);
    QFETCH(QString, contents);
    QFETCH(int, day);
    Fixture f;
    Desk desk(f);
    f.write(file, {contents});
    test::click(desk.screen->BAtualizar0);
    GridView *month = desk.screen->StringGrid1;
    QApplication::processEvents();
    test::doubleClickOn(month, month->model()->index(11, day - 1));
    TFConsultasDia &list = desk.screen->consultasDia();
    QVERIFY(list.isVisible());
    QCOMPARE(list.ListBox2->count(), 0);
    QCOMPARE(list.ListBox1->count(), 0);
}

void TestBookingScreen::reservingAnHour()
{
    Fixture f;
    Desk desk(f);
    desk.doubleClick(9, 3, 12, [](TFConsulta *d) {
        type(QStringLiteral("R"));
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Backspace); // the situation erased
        test::click(d->BIncluir);
    });
    QCOMPARE(desk.sheet(9).cell(3, 12), QStringLiteral("R"));
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;3;12;R"});
    // The dialog opens on any cell, one without a slot included.
    desk.doubleClick(9, 10, 12, [](TFConsulta *d) {
        QVERIFY(d->BIncluir->isEnabled());
        test::click(d->BSair);
    });
}

void TestBookingScreen::checksBeforeBooking()
{
    Fixture f;
    Desk desk(f);
    desk.doubleClick(9, 1, 12, [](TFConsulta *d) {
        test::click(d->BIncluir);
        QVERIFY(d->isVisible());
        test::click(d->DBEdit1);
        type(QStringLiteral("Paulo"));
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Backspace); // the situation erased
        test::click(d->BIncluir);
        QVERIFY(d->isVisible());
        test::click(d->BSair);
    });
    QCOMPARE(f.dialogs.texts(Kind::Information),
             QStringList({"Campo Nome é obrigatório", " O Campo Situação é obrigatório - refazer a inclusão"}));
    QVERIFY(desk.rows().empty());
    QCOMPARE(desk.sheet(9).cell(1, 12), QString());
}

void TestBookingScreen::cancelling_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("marker");
    QTest::newRow("by the patient") << "Button1" << "05/01P/";
    QTest::newRow("by the hospital") << "Button2" << "05/01H/";
}

void TestBookingScreen::cancelling()
{
    QFETCH(QString, button);
    QFETCH(QString, marker);
    Fixture f;
    f.mirroringOn();
    f.addRows({booking(QStringLiteral("05/01/27"), 3, 12, QStringLiteral("Maria Souza")),
               booking(marker, 3, 12, QStringLiteral("Já Desmarcada"))});
    Desk desk(f, true);
    QCOMPARE(desk.sheet(5).cell(3, 12), QStringLiteral("C"));
    desk.doubleClick(5, 3, 12, [button](TFConsulta *d) {
        QVERIFY(d->BAlterar->isEnabled() && !d->BIncluir->isEnabled());
        test::click(d->findChild<QPushButton *>(button));
    });
    QCOMPARE(desk.sheet(5).cell(3, 12), QString());
    QCOMPARE(keys(desk.rows()), QStringList({marker + QStringLiteral(";3;12;Já Desmarcada"),
                                             marker + QStringLiteral(";4;12;Maria Souza")}));
    test::click(desk.screen->BitBtn1);
    const QStringList lines = journalFile(f);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("E05/01/273 12Maria Souza")));
    QVERIFY(lines[1].startsWith(QStringLiteral("I") + textfile::fixed(marker, 8) + QStringLiteral("4 12Maria Souza")));
}

void TestBookingScreen::deletingAsksNothing()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("09/12/26"), 1, 12)});
    Desk desk(f);
    desk.doubleClick(9, 1, 12, [](TFConsulta *d) { test::click(d->BExcluir); });
    QVERIFY(desk.rows().empty());
    QCOMPARE(desk.sheet(9).cell(1, 12), QString());
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestBookingScreen::cutAndPaste()
{
    Fixture f;
    Appointment original = booking(QStringLiteral("09/12/26"), 1, 12, QStringLiteral("Carlos Lima"));
    original.observacoes = QStringLiteral("Traz exames");
    f.addRows({original});
    Desk desk(f);
    desk.doubleClick(9, 1, 12, [](TFConsulta *d) { test::click(d->BExportar); });
    QCOMPARE(desk.sheet(9).cell(1, 12), QString());
    desk.doubleClick(10, 2, 12, [](TFConsulta *d) {
        QVERIFY(d->BImportar->isEnabled());
        test::click(d->BImportar);
    });
    QCOMPARE(desk.sheet(10).cell(2, 12), QStringLiteral("C"));
    const std::vector<Appointment> rows = desk.rows();
    QCOMPARE(keys(rows), QStringList({"10/12/26;2;12;Carlos Lima"}));
    QCOMPARE(rows[0].telefone, QStringLiteral("3333-4444"));
    QCOMPARE(rows[0].observacoes, QStringLiteral("Traz exames"));
    // The patient is booked once: neither a free slot nor an occupied one offers the
    // paste again.
    for (int day : {11, 10}) {
        desk.doubleClick(day, 2, 12, [](TFConsulta *d) {
            QVERIFY(!d->BImportar->isEnabled());
            test::click(d->BSair);
        });
    }
    QCOMPARE(desk.rows().size(), std::size_t(1));
}

void TestBookingScreen::changeIsJournaledBeforeAndAfter()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("09/12/26"), 1, 12, QStringLiteral("Nome Antigo"))});
    Desk desk(f, true);
    desk.doubleClick(9, 1, 12, [](TFConsulta *d) {
        type(QStringLiteral("Nome Novo"));
        test::click(d->DBMemo1);
        type(QStringLiteral("linha 1"));
        press(Qt::Key_Return);
        type(QStringLiteral("linha 2"));
        test::click(d->BAlterar);
    });
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;1;12;Nome Novo"});
    QCOMPARE(desk.sheet(9).cell(1, 12), QStringLiteral("C"));
    test::click(desk.screen->BitBtn1); // closing the screen flushes the buffer
    const QStringList lines = journalFile(f);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("E09/12/261 12Nome Antigo")));
    QVERIFY(lines[1].startsWith(QStringLiteral("I09/12/261 12Nome Novo")));
    QVERIFY(lines[1].endsWith(QStringLiteral("linha 1\\nlinha 2")));
}

void TestBookingScreen::failedPostWritesNoJournal()
{
    Fixture f;
    Desk desk(f, true);
    desk.doubleClick(9, 4, 12, [&f](TFConsulta *d) {
        // Someone else took the slot while the dialog was open.
        AppointmentTable other;
        other.open(f.dir() + QStringLiteral("/Medicos.db"), false);
        other.insert(booking(QStringLiteral("09/12/26"), 4, 12, QStringLiteral("Outro Paciente")));
        type(QStringLiteral("Bruna"));
        test::click(d->BIncluir);
        QVERIFY(d->isVisible());
        test::click(d->BSair);
    });
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(QStringLiteral("Violação de chave")));
    QCOMPARE(desk.c().journal.pending(), 0);
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;4;12;Outro Paciente"});
}

void TestBookingScreen::fullCancelledListLeavesTheRow()
{
    Fixture f;
    std::vector<Appointment> rows{booking(QStringLiteral("05/01/27"), 3, 12)};
    for (int hora = 3; hora <= 99; ++hora)
        rows.push_back(booking(QStringLiteral("05/01P/"), hora, 12, QStringLiteral("Antigo")));
    f.addRows(rows);
    Desk desk(f);
    desk.doubleClick(5, 3, 12, [](TFConsulta *d) {
        test::click(d->Button1);
        QVERIFY(d->isVisible());
        test::click(d->BSair);
    });
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(QStringLiteral("99")));
    QCOMPARE(desk.sheet(5).cell(3, 12), QStringLiteral("C"));
    QVERIFY(desk.c().DMMedicos.table().contains({QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")}));
}

void TestBookingScreen::journalReachesTheMirror_data()
{
    QTest::addColumn<int>("bookings");
    QTest::addColumn<int>("linesBeforeClosing");
    QTest::addColumn<int>("linesAfterClosing");
    QTest::newRow("nine wait for the close") << 9 << 0 << 9;
    QTest::newRow("the tenth flushes") << 10 << 10 << 10;
}

void TestBookingScreen::journalReachesTheMirror()
{
    QFETCH(int, bookings);
    QFETCH(int, linesBeforeClosing);
    QFETCH(int, linesAfterClosing);
    Fixture f;
    Desk desk(f, true);
    for (int i = 0; i < bookings; ++i)
        desk.book(9 + i / 4, 1 + i % 4, 12, QStringLiteral("Paciente %1").arg(i + 1));
    QCOMPARE(journalFile(f).size(), linesBeforeClosing);
    test::click(desk.screen->BitBtn1);
    QCOMPARE(journalFile(f).size(), linesAfterClosing);
    QCOMPARE(f.dialogs.texts(Kind::Information),
             QStringList{"Aguarde: Gravando alterações na área Espelho\n\n  Clicar em < OK > para prosseguir"});
}

void TestBookingScreen::unreachableMirrorLosesNoChange()
{
    Fixture f;
    Desk desk(f, true);
    const QString mirror = f.mirror();
    QStringList patients;
    int stillOpen = 0;
    for (int i = 0; i < 11; ++i) {
        if (i == 9)
            QDir(mirror).removeRecursively(); // the mirror medium is gone at the tenth line
        const QString patient = QStringLiteral("Paciente %1").arg(i + 1);
        patients << patient;
        desk.doubleClick(9 + i / 4, 1 + i % 4, 12, [&](TFConsulta *d) {
            type(patient);
            test::click(d->BIncluir);
            // The booking was posted: the dialog ends it as after success.
            if (d->isVisible()) {
                ++stillOpen;
                d->reject();
            }
        });
        QCOMPARE(desk.sheet(9 + i / 4).cell(1 + i % 4, 12), QStringLiteral("C"));
    }
    QCOMPARE(stillOpen, 0);
    const QStringList errors = f.dialogs.texts(Kind::Error);
    QCOMPARE(errors.size(), 2); // the tenth and the eleventh tried and failed
    QVERIFY2(errors.first().contains(QStringLiteral("Espelho falhou")), qPrintable(errors.first()));

    // The medium comes back: closing the screen writes every change, in order.
    QDir().mkpath(mirror);
    test::click(desk.screen->BitBtn1);
    QStringList journaled;
    for (const QString &line : journalFile(f))
        journaled << journal::parse(line)->row.paciente;
    QCOMPARE(journaled, patients);
}

void TestBookingScreen::dayListFromTheMonth()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("09/12/26"), 2, 12, QStringLiteral("Ana Souza"))});
    Desk desk(f);
    GridView *month = desk.screen->StringGrid1;
    test::doubleClickOn(month, month->model()->index(11, 8));
    TFConsultasDia &list = desk.screen->consultasDia();
    QVERIFY(list.isVisible());
    QCOMPARE(list.ListBox1->count(), 1);
    QCOMPARE(list.ListBox1->item(0)->text(), QStringLiteral(" 2    08:30  Ana Souza"));
    QCOMPARE(list.ListBox2->count(), 3);

    test::click(list.BImprimir);
    QCOMPARE(f.printer.documents().size(), 1);
    QCOMPARE(f.printer.documents().last().lines()[2], QStringLiteral("           Médico:  12                Dia: 09/12/26"));
    QCOMPARE(f.printer.documents().last().texts[2].font.pointSize, 14);
    // On a short page the doctor, the date and the headings start every page.
    f.printer.setPageHeight(11 * 70);
    test::click(list.BImprimir);
    const auto &paged = f.printer.documents().last();
    QCOMPARE(paged.pages, 3);
    for (int p = 1; p <= paged.pages; ++p)
        QCOMPARE(paged.page(p).mid(0, 8), paged.page(1).mid(0, 8));
    QCOMPARE(paged.page(1)[2], QStringLiteral("           Médico:  12                Dia: 09/12/26"));
    QCOMPARE(paged.lines().size(), 8 * 3 + 1 + 5 + 3);

    // A double-click on a free slot goes to it on the day sheet.
    test::doubleClickOn(list.ListBox2, list.ListBox2->model()->index(2, 0));
    QVERIFY(!list.isVisible());
    QCOMPARE(desk.screen->PageControl1->currentWidget(), desk.screen->dayTab(9).page);
    QCOMPARE(desk.screen->dayTab(9).grid->currentColumn(), 4);
    QCOMPARE(desk.screen->dayTab(9).grid->currentRow(), 12);
    QCOMPARE(QApplication::focusWidget(), desk.screen->dayTab(9).grid);
}

void TestBookingScreen::keysOnSheetsAndMonth()
{
    Fixture f;
    Desk desk(f);
    GridView *grid = desk.screen->dayTab(9).grid;
    test::clickTab(desk.screen->PageControl1, desk.screen->dayTab(9).page);
    test::click(grid, grid->model()->index(11, 0));
    press(Qt::Key_F1);
    QCOMPARE(desk.sheet(9).cell(1, 0), QStringLiteral("08:00"));
    QCOMPARE(desk.sheet(9).cell(4, 0), QStringLiteral("09:30"));
    press(Qt::Key_F2);
    QCOMPARE(desk.sheet(9).cell(1, 0), QStringLiteral("1"));

    test::clickTab(desk.screen->PageControl1, desk.screen->TabSheet1);
    test::click(desk.screen->StringGrid1, desk.screen->StringGrid1->model()->index(11, 8));
    press(Qt::Key_F2);
    QCOMPARE(desk.screen->overview().grid().cell(9, 0), QStringLiteral("Qua"));
    bool timetableSeen = false;
    onModal<TFGradeHoras>([&](TFGradeHoras *g) {
        timetableSeen = true;
        QCOMPARE(g->Label2->text(), QStringLiteral("Dr. Teste Silva"));
        QCOMPARE(g->SGGradeHoras->item(0, 0)->text(), QStringLiteral("08:00")); // Monday, slot 1
        QCOMPARE(g->SGGradeHoras->item(0, 6)->text(), QString());               // Sunday
        press(Qt::Key_F5);
    });
    press(Qt::Key_F5);
    QVERIFY(timetableSeen);
    test::backTo(desk.screen);
    press(Qt::Key_F6);
    QVERIFY(desk.screen->consultasDia().isVisible());
    QCOMPARE(desk.screen->consultasDia().ListBox2->count(), 4);
}

void TestBookingScreen::bookingWithTheKeyboardAlone()
{
    Fixture f;
    Desk desk(f);
    const TFVisaoGeral::DayTab &tab = desk.screen->dayTab(9);
    test::clickTab(desk.screen->PageControl1, tab.page);
    // A click on the cell makes it current; from there on, only keys.
    const QModelIndex cell = tab.grid->model()->index(11, 0);
    test::click(tab.grid, cell);
    press(Qt::Key_Right);
    QCOMPARE(tab.grid->currentColumn(), 2);

    // Enter opens the dialog; the name is typed and Enter books it.
    onModal<TFConsulta>([](TFConsulta *d) {
        QCOMPARE(d->focusWidget(), d->DBEdit1);
        type(QStringLiteral("Joana Prado"));
        press(Qt::Key_Tab);
        QCOMPARE(d->focusWidget(), d->DBEdit6);
        type(QStringLiteral("98888-7777"));
        press(Qt::Key_Return);
    });
    press(Qt::Key_Return);
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;2;12;Joana Prado"});
    QCOMPARE(desk.rows()[0].telefone, QStringLiteral("98888-7777"));
    QCOMPARE(desk.sheet(9).cell(2, 12), QStringLiteral("C"));
    test::backTo(desk.screen);

    // On the booked slot Enter changes it; Esc leaves without a change.
    onModal<TFConsulta>([](TFConsulta *) {
        press(Qt::Key_End);
        type(QStringLiteral(" Lima"));
        press(Qt::Key_Enter);
    });
    press(Qt::Key_Return);
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;2;12;Joana Prado Lima"});
    test::backTo(desk.screen);
    onModal<TFConsulta>([](TFConsulta *) {
        type(QStringLiteral("xyz"));
        press(Qt::Key_Escape);
    });
    press(Qt::Key_Return);
    QVERIFY(!desk.screen->consulta().isVisible());
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;2;12;Joana Prado Lima"});
    test::backTo(desk.screen);

    // On the month grid Enter shows the day list, as a double-click does.
    test::click(desk.screen->BitBtn4); // "Início"
    GridView *month = desk.screen->StringGrid1;
    const QModelIndex day9 = month->model()->index(11, 8);
    test::click(month, day9);
    press(Qt::Key_Return);
    TFConsultasDia &list = desk.screen->consultasDia();
    QVERIFY(list.isVisible());
    QCOMPARE(list.ListBox1->count(), 1);
    QCOMPARE(list.ListBox1->item(0)->text(), QStringLiteral(" 2    08:30  Joana Prado Lima"));
}

void TestBookingScreen::jumpsAndBadCodes()
{
    Fixture f;
    Desk desk(f);
    test::clickTab(desk.screen->PageControl1, desk.screen->dayTab(1).page);
    auto *cod = desk.screen->findChild<QLineEdit *>(QStringLiteral("Edit7"));
    auto *nome = desk.screen->findChild<QLineEdit *>(QStringLiteral("Edit8"));
    QCOMPARE(cod, desk.screen->dayTab(1).cod);
    QCOMPARE(nome, desk.screen->dayTab(1).nome);
    test::click(cod);
    type(QStringLiteral("1x"));
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(QStringLiteral("1x")));
    QCOMPARE(desk.screen->findChild<QLineEdit *>(QStringLiteral("Edit67")), desk.screen->dayTab(31).cod);
    QVERIFY(desk.screen->findChild<QPushButton *>(QStringLiteral("Button55")));
    QVERIFY(desk.screen->findChild<QPushButton *>(QStringLiteral("BLimpar3")));
    QVERIFY(desk.screen->findChild<QWidget *>(QStringLiteral("TabSheet33")));
    QVERIFY(desk.screen->findChild<QLabel *>(QStringLiteral("Label36")));
}

void TestBookingScreen::specialtyFilter()
{
    Fixture f;
    Desk desk(f);
    QComboBox *filter = desk.screen->ComboBox1;
    QCOMPARE(filter->itemText(0), QStringLiteral("  Todos os Médicos"));
    const int cardio = filter->findText(QStringLiteral("52 Cardiologia"));
    QVERIFY(cardio > 0);
    test::click(filter); // the list opens
    QVERIFY(filter->view()->isVisible());
    test::click(filter->view(), filter->model()->index(cardio, 0));
    QVERIFY(!filter->view()->isVisible());
    QVERIFY(desk.screen->SGMascara->isVisible());
    QVERIFY(!desk.screen->StringGrid1->isVisible());
    QVERIFY(desk.screen->Edit5->isVisible() && !desk.screen->Edit3->isVisible());
    QCOMPARE(desk.screen->overview().filteredRows(), 1);
    test::doubleClickOn(filter);
    QVERIFY(!filter->view()->isVisible());
    QVERIFY(desk.screen->StringGrid1->isVisible());
    QVERIFY(!desk.screen->SGMascara->isVisible());
    QCOMPARE(filter->currentText(), QStringLiteral("  Todos os Médicos"));
}

void TestBookingScreen::disabledSheetExplainsItself()
{
    Fixture f;
    Desk desk(f);
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("20/12/2026")});
    desk.c().sheets.refresh(21);
    QVERIFY(!desk.sheet(21).isEnabled());
    QVERIFY(!desk.screen->dayTab(21).grid->isEnabled());
    bool noticeSeen = false;
    onModal<TFAviso>([&](TFAviso *notice) {
        noticeSeen = true;
        QCOMPARE(notice->Label1->text(), QStringLiteral("Sistema NÃO PREPARADO"));
        press(Qt::Key_Escape);
        QVERIFY(notice->isVisible());
        QVERIFY(notice->hintShown());
        test::click(notice->Button1);
    });
    // The mouse goes down from the tab onto its page.
    test::clickTab(desk.screen->PageControl1, desk.screen->dayTab(21).page);
    test::hoverOn(desk.screen->dayTab(21).label);
    QVERIFY(noticeSeen);
    QVERIFY(!desk.screen->aviso().isVisible());
}

void TestBookingScreen::disabledDayNoticeOncePerVisit()
{
    Fixture f;
    Desk desk(f);
    QVERIFY(QTest::qWaitForWindowExposed(desk.screen));
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("20/12/2026")});
    test::click(desk.screen->BAtualizar0);
    const TFVisaoGeral::DayTab &tab = desk.screen->dayTab(21);
    QVERIFY(!tab.grid->isEnabled());
    TFAviso &notice = desk.screen->aviso();

    const auto settle = [] { QTest::qWait(60); };
    // The mouse moves as the window system moves it: the window under it is told, and
    // it sends the widgets their Enter, Leave and move events.
    QWindow *window = desk.screen->windowHandle();
    const auto moveTo = [window](QWidget *widget, QPoint at) {
        QTest::mouseMove(window, window->mapFromGlobal(widget->mapToGlobal(at)));
    };
    const auto clickAt = [window, &moveTo](QWidget *widget, QPoint at) {
        moveTo(widget, at);
        QTest::mouseClick(window, Qt::LeftButton, {}, window->mapFromGlobal(widget->mapToGlobal(at)));
    };
    QTabBar *tabs = desk.screen->PageControl1->tabBar();
    const int index = desk.screen->PageControl1->indexOf(tab.page);
    // "Sair" clicked on the notice's own window.
    const auto clickSair = [](TFAviso *shown) {
        QWindow *own = shown->windowHandle();
        const QPoint centre = shown->Button1->mapToGlobal(shown->Button1->rect().center());
        QTest::mouseClick(own, Qt::LeftButton, {}, own->mapFromGlobal(centre));
    };
    // Every modal notice is counted and closed with "Sair", as the receptionist does.
    int modals = 0;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&modals, &clickSair] {
        if (auto *shown = qobject_cast<TFAviso *>(QApplication::activeModalWidget())) {
            ++modals;
            clickSair(shown);
        }
    });
    closer.start();

    test::clickTab(desk.screen->PageControl1,
                   desk.screen->dayTab(20).page); // so that the click below is a visit
    clickAt(tabs, tabs->tabRect(index).center());
    QCOMPARE(desk.screen->PageControl1->currentWidget(), tab.page);
    const QPoint onPage = tab.label->geometry().center();
    const QPoint onSheet = tab.grid->geometry().center();
    // The mouse goes down into the page: the notice, once. Once it is closed the page
    // is entered again (as when the notice goes from under the mouse), and the mouse
    // goes over the sheet: nothing more.
    moveTo(tab.page, onPage);
    settle();
    QCOMPARE(modals, 1);
    moveTo(tabs, tabs->tabRect(index).center());
    for (const QPoint &at : {onPage, onSheet, onSheet + QPoint(10, 10)}) {
        moveTo(tab.page, at);
        settle();
    }
    QCOMPARE(modals, 1);
    QCOMPARE(notice.Label1->text(), QStringLiteral("Sistema NÃO PREPARADO"));
    QVERIFY(!notice.isVisible());

    // Back over the sheet from elsewhere: the notice shows again, without blocking.
    for (const QPoint &at : {onPage, onSheet}) {
        moveTo(tab.page, at);
        settle();
    }
    QVERIFY(notice.isVisible());
    QVERIFY(QApplication::activeModalWidget() != &notice);
    QCOMPARE(modals, 1);
    clickSair(&notice);
    moveTo(tab.page, onSheet + QPoint(10, 10));
    settle();
    QVERIFY(!notice.isVisible());

    // A new visit to the page tells it once more.
    clickAt(tabs, tabs->tabRect(index - 1).center());
    clickAt(tabs, tabs->tabRect(index).center());
    moveTo(tab.page, onPage);
    settle();
    QCOMPARE(modals, 2);
    closer.stop();
}

void TestBookingScreen::buttonsOutsideTheTabs()
{
    Fixture f;
    Desk desk(f);
    test::click(desk.screen->BitBtn3);
    QCOMPARE(desk.screen->PageControl1->currentWidget(), desk.screen->dayTab(31).page);
    QStringList shown;
    onModal<TFHorarios>([&](TFHorarios *list) {
        for (int i = 0; i < list->ListBox1->count(); ++i)
            shown << list->ListBox1->item(i)->text();
        QCOMPARE(list->windowTitle(), QStringLiteral("Relação dos Médicos"));
        QCOMPARE(list->size(), QSize(610, 440));
        list->reject();
    });
    test::click(desk.screen->Button10);
    QCOMPARE(shown.mid(0, 3), QStringList({" ", "              Relação de Médicos e Especialidades", " "}));
    QVERIFY(shown.contains(QStringLiteral("3    Dra. Paula Ramos             55 Pediatria   ")));
    QVERIFY(shown.contains(QStringLiteral("12   Dr. Teste Silva              52 Cardiologia ")));
    QVERIFY(shown.contains(QStringLiteral("                       Especialidades ")));
    QVERIFY(shown.contains(QStringLiteral("52   Cardiologia    ")));
}

// The receptionist rebooks a cancelled entry without the mouse: the dialog opens on
// its day, Tab goes on to the slot and then the doctor, and the labels give the time of
// the slot typed, on the day typed, so that the patient is told the right hour.
void TestBookingScreen::rebookingFromTheKeyboard()
{
    Fixture f;
    f.addRows({booking(QStringLiteral("14/12HA/"), 2, 12, QStringLiteral("Carlos Lima"))});
    Desk desk(f);
    // Doctor 12 starts later on Fridays than on Mondays.
    desk.c().doctors.setTime(6, 12, 3, QStringLiteral("15:00"));
    ListTabWidget &list = desk.screen->desmarcadas();
    test::clickTab(desk.screen->PageControl1, &list);
    test::click(list.atualizar);
    bool seen = false;
    onModal<TFConsulta2>([&](TFConsulta2 *d) {
        seen = true;
        QCOMPARE(d->Label6->text(), QStringLiteral("       08:30  Hs")); // Monday 14/12, slot 2
        // Shift+Tab, Tab takes the box whose text is to be typed over.
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        press(Qt::Key_Tab);
        type(QStringLiteral("18/12/26"));
        press(Qt::Key_Tab);
        type(QStringLiteral("3"));
        QCOMPARE(d->DBEdit3->text(), QStringLiteral("18/12/26"));
        QCOMPARE(d->DBEdit4->text(), QStringLiteral("3"));
        QCOMPARE(d->Label6->text(), QStringLiteral("       15:00  Hs"));
        // The next box is the doctor's: the name, room and floor follow the code typed.
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->DBEdit2);
        type(QStringLiteral("3"));
        QCOMPARE(d->Label5->text().trimmed(), QStringLiteral("Dra. Paula Ramos"));
        QCOMPARE(d->Label10->text().trimmed(), QStringLiteral("110"));
        QCOMPARE(d->Label6->text(), QString(7, QLatin1Char(' '))); // no Friday hours
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        press(Qt::Key_Tab);
        type(QStringLiteral("12"));
        QCOMPARE(d->Label5->text().trimmed(), QStringLiteral("Dr. Teste Silva"));
        QCOMPARE(d->Label6->text(), QStringLiteral("       15:00  Hs"));
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->DBEdit1);
        // The slip handed to the patient tells the new day and hour.
        test::click(d->Button3);
        QCOMPARE(f.printer.documents().size(), 1);
        QCOMPARE(f.printer.documents().last().lines()[5],
                 QStringLiteral("Data:  18/12/26   Hora:         15:00  Hs"));
        test::click(d->DBEdit1);
        press(Qt::Key_Return);
    });
    test::doubleClickOn(list.grid, list.grid->model()->index(0, ListEntries::Paciente));
    QVERIFY(seen);
    const std::vector<Appointment> rows = desk.rows();
    QCOMPARE(keys(rows), QStringList{"18/12/26;3;12;Carlos Lima"});
    QCOMPARE(rows.front().telefone, QStringLiteral("3333-4444"));
    QCOMPARE(desk.sheet(18).cell(3, 12), QStringLiteral("C"));
    QVERIFY(f.dialogs.shown().isEmpty());
}

// One patient waits in the clipboard at a time: while a patient cut with "Exportar" has
// not been booked, a second "Exportar" in either dialog is refused and changes nothing;
// "Importar" books the patient and empties the clipboard.
void TestBookingScreen::oneCutPatientAtATime()
{
    Fixture f;
    const auto waiting = [](int second, const QString &patient) {
        const QString key = waitingkey::make(QDate(2026, 12, 8), second);
        return Appointment{
            key.left(8),         key.mid(8), QStringLiteral("12"), patient, QStringLiteral("3333-0000"),
            QStringLiteral("1"), QString()};
    };
    const Appointment second = waiting(36001, QStringLiteral("Segunda Espera"));
    f.addRows({waiting(36000, QStringLiteral("Primeira Espera")), second,
               booking(QStringLiteral("09/12/26"), 1, 12, QStringLiteral("Carlos Lima"))});
    Desk desk(f);
    ListTabWidget &list = desk.screen->emEspera();
    // Opens the first waiting entry and cuts it; a refused cut leaves the dialog open.
    const auto exportFirstEntry = [&](bool refused) {
        test::clickTab(desk.screen->PageControl1, &list);
        test::click(list.atualizar);
        bool seen = false;
        onModal<TFConsulta2>([&seen, refused](TFConsulta2 *d) {
            seen = true;
            test::click(d->BExportar);
            QCOMPARE(d->isVisible(), refused);
            if (d->isVisible())
                test::click(d->BSair);
        });
        test::doubleClickOn(list.grid, list.grid->model()->index(0, ListEntries::Paciente));
        QVERIFY(seen);
    };
    exportFirstEntry(false);
    exportFirstEntry(true);
    desk.doubleClick(9, 1, 12, [](TFConsulta *d) {
        test::click(d->BExportar);
        QVERIFY(d->isVisible());
        test::click(d->BSair);
    });
    const QString refusal =
        QStringLiteral("O paciente Primeira Espera foi exportado e ainda não foi importado.\n"
                       "Marque-o antes com \"Importar\" num horário livre; depois exporte o "
                       "próximo paciente.");
    QCOMPARE(f.dialogs.texts(Kind::Information), QStringList({refusal, refusal}));
    QCOMPARE(keys(desk.rows()), QStringList({"09/12/26;1;12;Carlos Lima", "46185360;01;12;Segunda Espera"}));
    QCOMPARE(desk.sheet(9).cell(1, 12), QStringLiteral("C"));
    QCOMPARE(desk.c().journal.pending(), 1);

    // The paste books the first patient; there is nothing left to paste after it.
    desk.doubleClick(10, 2, 12, [](TFConsulta *d) { test::click(d->BImportar); });
    desk.doubleClick(11, 2, 12, [](TFConsulta *d) {
        QVERIFY(!d->BImportar->isEnabled());
        test::click(d->BSair);
    });
    // Now the second patient can be cut and booked.
    exportFirstEntry(false);
    desk.doubleClick(11, 2, 12, [](TFConsulta *d) { test::click(d->BImportar); });
    QCOMPARE(keys(desk.rows()), QStringList({"09/12/26;1;12;Carlos Lima", "10/12/26;2;12;Primeira Espera",
                                             "11/12/26;2;12;Segunda Espera"}));
    QCOMPARE(desk.c().journal.pending(), 4);
}

void TestBookingScreen::journalledOperations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("lines");
    // The head: operation, Data (8), Hora (2), Medico (2), Paciente (25), Telefone (12),
    // Situacao (1) and the moment (16); then the remarks.
    const QString maria =
        QStringLiteral("E09/12/261 12Maria Souza              3333-4444   108/12/2026 10:00Traz exames");
    QTest::newRow("Consulta: Incluir")
        << "Consulta: Incluir"
        << QStringList{"I09/12/262 12Joana Prado              98888-7777  108/12/2026 10:00"};
    QTest::newRow("Consulta: Alterar")
        << "Consulta: Alterar"
        << QStringList{maria,
                       "I09/12/261 12Maria Souza Lima         3333-4444   108/12/2026 10:00Traz exames"};
    QTest::newRow("Consulta: Excluir") << "Consulta: Excluir" << QStringList{maria};
    QTest::newRow("Consulta: P")
        << "Consulta: P"
        << QStringList{maria,
                       "I09/12P/ 1 12Maria Souza              3333-4444   108/12/2026 10:00Traz exames"};
    QTest::newRow("Consulta: H")
        << "Consulta: H"
        << QStringList{maria,
                       "I09/12H/ 1 12Maria Souza              3333-4444   108/12/2026 10:00Traz exames"};
    QTest::newRow("Consulta: Exportar") << "Consulta: Exportar" << QStringList{maria};
    QTest::newRow("Consulta: Importar")
        << "Consulta: Importar" // after the cut of Maria Souza
        << QStringList{"I10/12/262 12Maria Souza              3333-4444   108/12/2026 10:00Traz exames"};
    QTest::newRow("FConsulta2: Alterar")
        << "FConsulta2: Alterar"
        << QStringList{"E14/12P/ 2 12Carlos Lima              3333-4444   108/12/2026 10:00",
                       "I18/12/263 12Carlos Lima              3333-4444   108/12/2026 10:00"};
    QTest::newRow("FConsulta2: Incluir")
        << "FConsulta2: Incluir"
        << QStringList{"I461853600012Bruno Reis               97777-1111  108/12/2026 10:00"};
    QTest::newRow("FConsulta2: Exportar")
        << "FConsulta2: Exportar"
        << QStringList{"E461853599912Rita Moura               3333-0000   108/12/2026 10:00"};
    QTest::newRow("FConsulta2: Avisar")
        << "FConsulta2: Avisar"
        << QStringList{"E15/12H/ 3 12Ana Dias                 3333-4444   108/12/2026 10:00",
                       "I15/12HA/3 12Ana Dias                 3333-4444   108/12/2026 10:00"};
}

// Each change the two dialogs make writes its journal lines, field by field; replaying
// the journal onto the table as it was before (the recovery) gives the table as it is.
void TestBookingScreen::journalledOperations()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, lines);
    Fixture f;
    Appointment maria = booking(QStringLiteral("09/12/26"), 1, 12, QStringLiteral("Maria Souza"));
    maria.observacoes = QStringLiteral("Traz exames");
    const QString waitingKey = waitingkey::make(QDate(2026, 12, 8), 35999);
    const std::vector<Appointment> before{
        maria,
        booking(QStringLiteral("14/12P/"), 2, 12, QStringLiteral("Carlos Lima")),
        booking(QStringLiteral("15/12H/"), 3, 12, QStringLiteral("Ana Dias")),
        {waitingKey.left(8), waitingKey.mid(8), QStringLiteral("12"), QStringLiteral("Rita Moura"),
         QStringLiteral("3333-0000"), QStringLiteral("1"), QString()}};
    f.addRows(before);
    Desk desk(f);
    ListTabWidget &desmarcadas = desk.screen->desmarcadas();
    ListTabWidget &espera = desk.screen->emEspera();
    // Opens a patient's entry of a list in the rebooking dialog.
    const auto openEntry = [&desk](ListTabWidget &list, const QString &patient,
                                   std::function<void(TFConsulta2 *)> action) {
        test::clickTab(desk.screen->PageControl1, &list);
        test::click(list.atualizar);
        const QAbstractItemModel *model = list.grid->model();
        int row = 0;
        while (row < model->rowCount() && model->index(row, ListEntries::Paciente).data() != patient)
            ++row;
        QVERIFY(row < model->rowCount());
        onModal<TFConsulta2>(std::move(action));
        test::doubleClickOn(list.grid, model->index(row, ListEntries::Paciente));
    };
    const auto onMaria = [&desk](QPushButton *TFConsulta::*button) {
        desk.doubleClick(9, 1, 12, [button](TFConsulta *d) { test::click(d->*button); });
    };

    qsizetype linesBefore = 0;
    if (operation == QLatin1String("Consulta: Incluir")) {
        desk.doubleClick(9, 2, 12, [](TFConsulta *d) {
            type(QStringLiteral("Joana Prado"));
            press(Qt::Key_Tab);
            type(QStringLiteral("98888-7777"));
            test::click(d->BIncluir);
        });
    } else if (operation == QLatin1String("Consulta: Alterar")) {
        desk.doubleClick(9, 1, 12, [](TFConsulta *d) {
            type(QStringLiteral("Maria Souza Lima"));
            test::click(d->BAlterar);
        });
    } else if (operation == QLatin1String("Consulta: Excluir")) {
        onMaria(&TFConsulta::BExcluir);
    } else if (operation == QLatin1String("Consulta: P")) {
        onMaria(&TFConsulta::Button1);
    } else if (operation == QLatin1String("Consulta: H")) {
        onMaria(&TFConsulta::Button2);
    } else if (operation == QLatin1String("Consulta: Exportar")) {
        onMaria(&TFConsulta::BExportar);
    } else if (operation == QLatin1String("Consulta: Importar")) {
        onMaria(&TFConsulta::BExportar);
        linesBefore = desk.c().journal.pending();
        desk.doubleClick(10, 2, 12, [](TFConsulta *d) { test::click(d->BImportar); });
    } else if (operation == QLatin1String("FConsulta2: Alterar")) {
        openEntry(desmarcadas, QStringLiteral("Carlos Lima"), [](TFConsulta2 *d) {
            type(QStringLiteral("18/12/26"));
            press(Qt::Key_Tab);
            type(QStringLiteral("3"));
            test::click(d->BAlterar);
        });
    } else if (operation == QLatin1String("FConsulta2: Incluir")) {
        test::clickTab(desk.screen->PageControl1, &espera);
        onModal<TFConsulta2>([](TFConsulta2 *d) {
            type(QStringLiteral("12"));
            press(Qt::Key_Tab);
            type(QStringLiteral("Bruno Reis"));
            press(Qt::Key_Tab);
            type(QStringLiteral("97777-1111"));
            test::click(d->BIncluir);
        });
        test::click(espera.incluir);
    } else if (operation == QLatin1String("FConsulta2: Exportar")) {
        openEntry(espera, QStringLiteral("Rita Moura"), [](TFConsulta2 *d) { test::click(d->BExportar); });
    } else if (operation == QLatin1String("FConsulta2: Avisar")) {
        openEntry(desmarcadas, QStringLiteral("Ana Dias"), [](TFConsulta2 *d) { test::click(d->BAviso); });
    } else {
        QFAIL("no such operation");
    }
    QVERIFY(!QApplication::activeModalWidget());
    const QStringList written = desk.c().journal.lines();
    QCOMPARE(written.mid(linesBefore), lines);

    AppointmentTable recovered;
    recovered.open(f.dir() + QStringLiteral("/recovered.db"), true);
    recovered.insertAll(before);
    const ReplayResult replay = applyJournal(recovered, written);
    QCOMPARE(replay.skipped, QStringList());
    QCOMPARE(keys(recovered.all()), keys(desk.rows()));
    QCOMPARE(recovered.all(), desk.rows());
}

void TestBookingScreen::focusOnTheSheetAfterATabSwitch_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("the month grid") << "month";
    QTest::newRow("another day's Cód box") << "cod";
    QTest::newRow("this day's Atualizar, then another day's sheet") << "atualizar";
    QTest::newRow("the Final button") << "final";
}

// Whatever had the keyboard before, a click on a day's tab puts it on that sheet's
// current cell: Enter opens the dialog there and the name typed is booked whole.
void TestBookingScreen::focusOnTheSheetAfterATabSwitch()
{
    QFETCH(QString, from);
    Fixture f;
    Desk desk(f);
    QTabWidget *tabs = desk.screen->PageControl1;
    const TFVisaoGeral::DayTab &nine = desk.screen->dayTab(9);
    const TFVisaoGeral::DayTab &ten = desk.screen->dayTab(10);
    // The receptionist looked at slot 2 of doctor 12 on day 9 before.
    test::clickTab(tabs, nine.page);
    test::click(nine.grid, nine.grid->model()->index(11, 1));
    if (from == QLatin1String("month")) {
        test::clickTab(tabs, desk.screen->TabSheet1);
        test::click(desk.screen->StringGrid1, desk.screen->StringGrid1->model()->index(11, 9));
    } else if (from == QLatin1String("cod")) {
        test::clickTab(tabs, ten.page);
        test::click(ten.cod);
    } else if (from == QLatin1String("atualizar")) {
        test::click(nine.atualizar);
        test::clickTab(tabs, ten.page);
        test::click(ten.grid, ten.grid->model()->index(11, 0));
    } else {
        test::click(desk.screen->BitBtn3);
        QCOMPARE(tabs->currentWidget(), desk.screen->dayTab(31).page);
    }
    test::clickTab(tabs, nine.page);
    QCOMPARE(QApplication::focusWidget(), nine.grid);
    QCOMPARE(nine.grid->currentColumn(), 2);
    QCOMPARE(nine.grid->currentRow(), 12);
    bool opened = false;
    onModal<TFConsulta>([&opened](TFConsulta *) {
        opened = true;
        type(QStringLiteral("Joana Prado Lima"));
        press(Qt::Key_Return);
    });
    press(Qt::Key_Return);
    QVERIFY(opened);
    QCOMPARE(keys(desk.rows()), QStringList{"09/12/26;2;12;Joana Prado Lima"});
    QCOMPARE(desk.sheet(9).cell(2, 12), QStringLiteral("C"));
}

void TestBookingScreen::dayListClosesWithTheScreen_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Menu Principal") << "BitBtn1";
    QTest::newRow("Sair of the month") << "BSair";
}

// The day list opened beside the booking screen goes when the screen goes.
void TestBookingScreen::dayListClosesWithTheScreen()
{
    QFETCH(QString, button);
    Fixture f;
    Desk desk(f);
    GridView *month = desk.screen->StringGrid1;
    test::doubleClickOn(month, month->model()->index(11, 8));
    TFConsultasDia &list = desk.screen->consultasDia();
    QVERIFY(list.isVisible());
    test::click(button == QLatin1String("BitBtn1") ? desk.screen->BitBtn1 : desk.screen->BSair);
    QVERIFY(!desk.screen->isVisible());
    QVERIFY(!list.isVisible());
}

QTEST_MAIN(TestBookingScreen)
#include "tst_bookingscreen.moc"
