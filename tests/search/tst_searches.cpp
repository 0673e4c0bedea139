// The searches driven as the receptionist does: "Pesquisas Diversas" from the main
// menu (the slot searches, the name panel, the way to the lists) and "Pesquisar por
// Nome" from F4 on the booking screen, with the jumps to the slot or the list entry.
#include "agenda/closed_dates.h"
#include "booking/desk.h"
#include "booking/form_parts.h"
#include "booking/list_tab_widget.h"
#include "platform/clickable_label.h"
#include "search/tfpesquisas.h"
#include "search/tfprocuranome.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

using namespace clinora;
using namespace clinora::test;
using Kind = ScriptedDialogs::Kind;

namespace {

// The program on the test clinic with the main window up and the booking screen
// closed: the searches open it the way its menu item does.
struct Program
{
    explicit Program(Fixture &f) : window((setUpClinic(f), f.context()))
    {
        session::startUp(f.context());
        window.FormCreate();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    // "Pesquisas", clicked in the menu bar.
    TFPesquisas *searches()
    {
        QMenuBar *bar = window.menuBar();
        click(bar, bar->actionGeometry(window.menuItem(QStringLiteral("Pesquisa1"))).center());
        TFPesquisas *w = window.pesquisas();
        if (w && !QTest::qWaitForWindowActive(w))
            return nullptr;
        return w;
    }
    TFPrincipal window;
};

// Keys are typed as a person types them, into whatever has the focus: type() and
// press() of the booking desk.

// The window back at the front once a dialog over it has closed, as the window manager
// brings it (the offscreen platform has none).
void bringToFront(QWidget *window)
{
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
}

QModelIndex indexOf(QListWidget *list, QListWidgetItem *item)
{
    return list->model()->index(list->row(item), 0);
}

// An item added to the choice, Ctrl held.
void clickItem(QListWidget *list, QListWidgetItem *item)
{
    click(list, indexOf(list, item), Qt::ControlModifier);
}

void chooseStarting(QListWidget *list, const QStringList &starts)
{
    for (const QString &start : starts) {
        QListWidgetItem *item = nullptr;
        for (int row = 0; row < list->count() && !item; ++row) {
            if (list->item(row)->text().startsWith(start))
                item = list->item(row);
        }
        QVERIFY2(item, qPrintable(start));
        clickItem(list, item);
    }
}

QStringList selected(const QListWidget *list)
{
    return form::selectedTexts(list);
}

QStringList items(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// The rows a grid shows: its columns, blanks at the ends removed, joined by "|".
QStringList shown(const QTableView *grid)
{
    QStringList rows;
    const QAbstractItemModel *m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c) {
            if (!grid->isColumnHidden(c))
                cells << m->data(m->index(r, c), Qt::DisplayRole).toString().trimmed();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void doubleClickRow(QTableView *grid, int row)
{
    doubleClickOn(grid, grid->model()->index(row, 3));
}

// The searches of doctor 12 and 3 on Wednesday 9 and Monday 14 December.
void searchTwoDays(TFPesquisas *w)
{
    click(w->Label2);
    chooseStarting(w->ListBox1, {"12 ", "3 "});
    chooseStarting(w->ListBox2, {"09/12/26", "14/12/26"});
    click(w->BExecutarCons2);
}

// F4 on a grid of the booking screen, clicked first; the action runs on the name
// search.
void pressF4(QTableView *grid, std::function<void(TFProcuraNome *)> action)
{
    bringToFront(grid->window());
    click(grid, grid->currentIndex().isValid() ? grid->currentIndex() : grid->model()->index(1, 1));
    QCOMPARE(QApplication::focusWidget(), grid);
    onModal<TFProcuraNome>(std::move(action));
    press(Qt::Key_F4);
}

void findAndOpen(TFProcuraNome *d, const QString &typed, int row)
{
    type(typed);
    press(Qt::Key_Return);
    doubleClickRow(d->DBGrid1, row);
}

} // namespace

class TestSearches : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModals(); }
    void openDatesLeaveOutClosedOnes();
    void allFreeAndOccupiedHours();
    void specialtiesAndTypedTextChooseDoctors();
    void nothingChosenIsTold();
    void printingTheVisibleGrid();
    void freeSlotOfASpecialtyJumpedToAndBooked();
    void listsShortcutOpensTheBookingScreenAsTheMenuDoes();
    void namePanelJumpsToTheAppointment_data();
    void namePanelJumpsToTheAppointment();
    void slotResultJumpsOnEnter();
    void closedElsewhereLeavesTheOpenWindow();
    void unreadableDatesAreToldOnce();
    void resultsFollowTheTableNotTheWindowsOverThem();
    void openingFillsTheDatesOnce();
    void resultsFollowADoctorChangedElsewhere();
    void printedPagesNameTheirDateAndDoctor();
    void printedNamesHaveTheirRoom();
    void nameSearchFromADaySheet();
    void nameSearchFindsListEntries();
    void namesAreTextNotPatterns_data();
    void namesAreTextNotPatterns();
    void jumpOutsideTheSheetsIsTold_data();
    void jumpOutsideTheSheetsIsTold();
    void f4ClosesAndEmptyClicksDoNothing();
};

void TestSearches::openDatesLeaveOutClosedOnes()
{
    Fixture f;
    f.write("ArqFolgas.Txt", {"13/12/2026", "01/12/2026"});
    Program p(f);
    TFPesquisas *w = p.searches();
    QVERIFY(w && w->isVisible());
    QStringList dates = items(w->ListBox2);
    QCOMPARE(dates.first(), QStringLiteral("08/12/26"));
    QCOMPARE(dates.last(), QStringLiteral("07/01/27"));
    QVERIFY(!dates.contains(QStringLiteral("13/12/26")));
    QCOMPARE(dates.size(), 30);
    // Only the captions, the title and "Sair" show until a question is chosen.
    for (QWidget *hidden : std::initializer_list<QWidget *>{w->ListBox1, w->ListBox2, w->ListBox3,
                                                            w->SGConsultas, w->BTodos, w->Button2, w->Panel1})
        QVERIFY(!hidden->isVisible());

    // The Sunday opened again is offered the next time the window opens.
    f.write("ArqFolgas.Txt", {"01/12/2026"});
    click(w->Button1);
    QVERIFY(!w->isVisible());
    w = p.searches();
    QVERIFY(items(w->ListBox2).contains(QStringLiteral("13/12/26")));
}

void TestSearches::allFreeAndOccupiedHours()
{
    Fixture f;
    f.addRows({booking("09/12/26", 2, 12, "Maria Souza"),
               booking("09/12/26", 3, 12, "R"),
               {"09/12/26", "6", "12", "Fora da Grade", "", "1", ""}});
    Program p(f);
    // Doctor 3 is on leave on Monday the 14th.
    f.context().doctors.doctor(3).leaveStart = QStringLiteral("14/12/26");
    f.context().doctors.doctor(3).leaveEnd = QStringLiteral("15/12/26");
    TFPesquisas *w = p.searches();
    searchTwoDays(w);
    QCOMPARE(f.read("ArqMed.Txt"), QStringList({"3 ", "12"}));
    QCOMPARE(f.read("ArqDia.Txt"), QStringList({"09/12/26", "14/12/26"}));
    QVERIFY(w->SGConsultas->isVisible() && w->BLivres->isVisible() && w->Button2->isVisible());
    const QString wed = "09/12/26";
    QCOMPARE(shown(w->SGConsultas),
             QStringList({"09/12/26|Dr. Teste Silva|08:00|||12|1|" + wed,
                          "||08:30|Maria Souza|3333-4444|12|2|" + wed, "||09:00|R|3333-4444|12|3|" + wed,
                          "||09:30|||12|4|" + wed, "|||Fora da Grade||12|6|" + wed,
                          "14/12/26|Dra. Paula Ramos|14:00|x||3|1|14/12/26", "||14:20|x||3|2|14/12/26",
                          "|Dr. Teste Silva|08:00|||12|1|14/12/26", "||08:30|||12|2|14/12/26",
                          "||09:00|||12|3|14/12/26", "||09:30|||12|4|14/12/26"}));
    // The texts of the grid as the list holds them.
    QCOMPARE(w->grid(SlotGrid::Show::All).text(0, SlotGrid::Paciente), QString(22, QLatin1Char(' ')));
    QCOMPARE(w->grid(SlotGrid::Show::All).text(5, SlotGrid::Paciente), QString(20, QLatin1Char(' ')) + "x");
    QCOMPARE(w->grid(SlotGrid::Show::All).text(1, SlotGrid::Paciente),
             "Maria Souza" + QString(25, QLatin1Char(' ')));

    click(w->BLivres);
    QVERIFY(w->SGLivres->isVisible() && !w->SGConsultas->isVisible());
    QCOMPARE(shown(w->SGLivres),
             QStringList({"09/12/26|Dr. Teste Silva|08:00|||12|1|" + wed, "||09:30|||12|4|" + wed,
                          "14/12/26|Dr. Teste Silva|08:00|||12|1|14/12/26", "||08:30|||12|2|14/12/26",
                          "||09:00|||12|3|14/12/26", "||09:30|||12|4|14/12/26"}));
    click(w->BOcupados);
    QVERIFY(w->SGOcupados->isVisible() && !w->SGLivres->isVisible());
    QCOMPARE(shown(w->SGOcupados),
             QStringList({"09/12/26|Dr. Teste Silva|08:30|Maria Souza|3333-4444|12|2|" + wed,
                          "||09:00|R|3333-4444|12|3|" + wed, "|||Fora da Grade||12|6|" + wed,
                          "14/12/26|Dra. Paula Ramos|14:00|x||3|1|14/12/26", "||14:20|x||3|2|14/12/26"}));
    click(w->BTodos);
    QVERIFY(w->SGConsultas->isVisible() && !w->SGOcupados->isVisible());

    // A new choice of dates hides what belongs to the old result.
    chooseStarting(w->ListBox2, {"10/12/26"});
    QVERIFY(!w->BLivres->isVisible() && !w->Button2->isVisible());
}

void TestSearches::specialtiesAndTypedTextChooseDoctors()
{
    Fixture f;
    f.addDoctor(14, QStringLiteral("Dra. Silvana Costa"), QStringLiteral("52 Cardiologia"));
    Program p(f);
    TFPesquisas *w = p.searches();
    click(w->Label3);
    QVERIFY(w->ListBox3->isVisible() && w->ListBox1->isVisible() && w->ListBox2->isVisible());
    chooseStarting(w->ListBox3, {"52    Cardiologia"});
    QCOMPARE(items(w->ListBox1).size(), 2);
    QVERIFY(items(w->ListBox1).first().startsWith(QStringLiteral("12    Dr. Teste Silva")));
    QVERIFY(items(w->ListBox1).last().startsWith(QStringLiteral("14    Dra. Silvana Costa")));
    chooseStarting(w->ListBox3, {"55    Pediatria"});
    QCOMPARE(items(w->ListBox1).size(), 3);

    click(w->Label2);
    QVERIFY(!w->ListBox3->isVisible());
    QCOMPARE(items(w->ListBox1).size(), 3);
    QVERIFY(items(w->ListBox1).first().startsWith(QStringLiteral("3    Dra. Paula Ramos")));
    type(QStringLiteral("Silva"));
    QCOMPARE(selected(w->ListBox1).size(), 2);
    QVERIFY(selected(w->ListBox1).first().startsWith(QStringLiteral("12")));
    typeOver(w->Edit2, QStringLiteral("Paula"));
    QCOMPARE(selected(w->ListBox1).size(), 1);
    QVERIFY(selected(w->ListBox1).first().startsWith(QStringLiteral("3 ")));
}

void TestSearches::nothingChosenIsTold()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    click(w->Label2);
    chooseStarting(w->ListBox2, {"09/12/26"});
    f.dialogs.clear();
    click(w->BExecutarCons2);
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY(f.dialogs.texts().first().startsWith(QStringLiteral("Selecione o(s) médico(s)")));
    QVERIFY(!w->SGConsultas->isVisible());
    QVERIFY(!f.exists("ArqDia.Txt"));
}

void TestSearches::printingTheVisibleGrid()
{
    Fixture f;
    f.addRows({booking("09/12/26", 2, 12, "Maria Souza")});
    Program p(f);
    TFPesquisas *w = p.searches();
    searchTwoDays(w);
    click(w->BOcupados);
    click(w->Button2);
    QCOMPARE(f.printer.documents().size(), 1);
    QCOMPARE(f.printer.lastTexts(),
             QStringList({"RELAÇÃO DAS CONSULTAS MARCADAS", "Data", "Médico", "Horário", "Paciente",
                          "Telefone", "09/12/26", "Dr. Teste Silva          ", "08:30",
                          "Maria Souza              ", "3333-4444   "}));
    click(w->BLivres);
    click(w->Button2);
    QCOMPARE(f.printer.lastTexts().first(), QStringLiteral("RELAÇÃO DOS HORÁRIOS LIVRES"));

    // Doctor 3 has no hours on Wednesday: an empty grid is not printed.
    click(w->Label2);
    chooseStarting(w->ListBox1, {"3 "});
    QListWidgetItem *wednesday = w->ListBox2->findItems("09/12/26", Qt::MatchExactly).first();
    click(w->ListBox2, indexOf(w->ListBox2, wednesday));
    QCOMPARE(selected(w->ListBox2), QStringList{"09/12/26"});
    click(w->BExecutarCons2);
    QCOMPARE(w->SGConsultas->model()->rowCount(), 0);
    f.dialogs.clear();
    click(w->Button2);
    QCOMPARE(f.printer.documents().size(), 2);
    QCOMPARE(f.dialogs.texts(), QStringList{"A relação está vazia: não há horários para imprimir."});
}

void TestSearches::freeSlotOfASpecialtyJumpedToAndBooked()
{
    Fixture f;
    f.addRows({booking("09/12/26", 1, 12, "Já Marcada")});
    Program p(f);
    TFPesquisas *w = p.searches();
    click(w->Label3);
    chooseStarting(w->ListBox3, {"52    Cardiologia"});
    chooseStarting(w->ListBox1, {"12 "});
    chooseStarting(w->ListBox2, {"08/12/26", "09/12/26", "10/12/26", "11/12/26", "12/12/26"});
    click(w->BExecutarCons2);
    click(w->BLivres);
    // Tuesday's four slots, then Wednesday's free ones: 08:30 is the first of them.
    QCOMPARE(shown(w->SGLivres).value(4), QStringLiteral("09/12/26|Dr. Teste Silva|08:30|||12|2|09/12/26"));

    bool booked = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        const TFVisaoGeral::DayTab &tab = screen->dayTab(9);
        QCOMPARE(screen->PageControl1->currentWidget(), tab.page);
        QCOMPARE(tab.grid->currentColumn(), 2);
        QCOMPARE(tab.grid->currentRow(), 12);
        // The screen was opened as its menu opens it: the sheets are filled.
        QCOMPARE(f.context().sheets.sheet(9).cell(1, 12), QStringLiteral("C"));
        onModal<TFConsulta>([](TFConsulta *d) {
            type(QStringLiteral("Nova Paciente"));
            click(d->BIncluir);
        });
        doubleClickOn(tab.grid, tab.grid->currentIndex());
        QCOMPARE(f.context().sheets.sheet(9).cell(2, 12), QStringLiteral("C"));
        booked = true;
        bringToFront(screen);
        press(Qt::Key_Escape);
    });
    doubleClickRow(w->SGLivres, 4);
    QVERIFY(booked);
    QVERIFY(!w->isVisible());
    QVERIFY(keys(f.rows()).contains(QStringLiteral("09/12/26;2;12;Nova Paciente")));
}

void TestSearches::listsShortcutOpensTheBookingScreenAsTheMenuDoes()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    bool opened = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        opened = true;
        QCOMPARE(screen->PageControl1->currentWidget(), screen->TabDesmarcadas);
        QVERIFY(screen->overview().grid().cell(0, 12).contains(QStringLiteral("Dr. Teste Silva")));
        QCOMPARE(f.context().sheets.sheet(9).cell(1, 12), QString());
        QCOMPARE(f.context().sheets.sheet(9).cell(5, 12), QStringLiteral(" x"));
        press(Qt::Key_Escape);
    });
    click(w->Label8);
    QVERIFY(opened);
    QVERIFY(!w->isVisible());
}

void TestSearches::namePanelJumpsToTheAppointment_data()
{
    QTest::addColumn<bool>("enter"); // false: the hit double-clicked
    QTest::newRow("double-click") << false;
    QTest::newRow("click and Enter") << true;
}

void TestSearches::namePanelJumpsToTheAppointment()
{
    QFETCH(bool, enter);
    Fixture f;
    f.addRows({booking("09/12/26", 1, 3, "Outra Pessoa"), booking("10/12/26", 3, 12, "Joana D'Avila")});
    Program p(f);
    TFPesquisas *w = p.searches();
    // The slot search was used first: its place is taken by the panel.
    click(w->Label2);
    click(w->Label1);
    QVERIFY(w->Panel1->isVisible() && !w->ListBox1->isVisible());
    QCOMPARE(widgetUnder(w->Edit1), w->Edit1);
    click(w->BSair);
    QVERIFY(!w->Panel1->isVisible());
    click(w->Label1);
    click(w->Edit1);
    type(QStringLiteral("d'av"));
    click(w->BProcurar);
    QCOMPARE(shown(w->DBGrid1), QStringList{"10/12/26|3|12|Joana D'Avila|3333-4444"});
    // Enter in the box searches too.
    click(w->Edit1);
    press(Qt::Key_End);
    for (int i = 0; i < 4; ++i)
        press(Qt::Key_Backspace);
    type(QStringLiteral("a"));
    press(Qt::Key_Return);
    QCOMPARE(shown(w->DBGrid1).size(), 2);
    bool jumped = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        QCOMPARE(screen->PageControl1->currentWidget(), screen->dayTab(10).page);
        QCOMPARE(screen->dayTab(10).grid->currentColumn(), 3);
        QCOMPARE(screen->dayTab(10).grid->currentRow(), 12);
        jumped = true;
        press(Qt::Key_Escape);
    });
    if (enter) {
        click(w->DBGrid1, w->DBGrid1->model()->index(1, 3));
        press(Qt::Key_Return);
    } else {
        doubleClickRow(w->DBGrid1, 1);
    }
    QVERIFY(jumped);
    QVERIFY(!w->isVisible());
}

void TestSearches::slotResultJumpsOnEnter()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    searchTwoDays(w);
    bool jumped = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        QCOMPARE(screen->PageControl1->currentWidget(), screen->dayTab(14).page);
        QCOMPARE(screen->dayTab(14).grid->currentColumn(), 2);
        QCOMPARE(screen->dayTab(14).grid->currentRow(), 12);
        jumped = true;
        press(Qt::Key_Escape);
    });
    // Doctor 12's second slot of Monday 14.
    const int row = shown(w->SGConsultas).indexOf(QStringLiteral("||08:30|||12|2|14/12/26"));
    QVERIFY(row > 0);
    click(w->SGConsultas, w->SGConsultas->model()->index(row, 2));
    press(Qt::Key_Return);
    QVERIFY(jumped);
}

void TestSearches::closedElsewhereLeavesTheOpenWindow()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    click(w->Label2);
    chooseStarting(w->ListBox1, {"12 "});
    chooseStarting(w->ListBox2, {"09/12/26", "10/12/26", "14/12/26"});
    click(w->BExecutarCons2);
    QCOMPARE(shown(w->SGConsultas).filter(QStringLiteral("|10/12/26")).size(), 4);

    // The window stays open while Thursday 10 is closed from the main window...
    p.window.activateWindow();
    QTRY_VERIFY(p.window.isActiveWindow());
    EntryGrid closing{{QStringLiteral("10/12/26")}, {QString()}};
    QVERIFY(closeDates(f.context(), closing).done);
    // ...and comes back to the front.
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QVERIFY(!items(w->ListBox2).contains(QStringLiteral("10/12/26")));
    // What was chosen and is still offered stays chosen.
    QCOMPARE(selected(w->ListBox2), QStringList({"09/12/26", "14/12/26"}));
    QCOMPARE(selected(w->ListBox1).size(), 1);
    QVERIFY(selected(w->ListBox1).first().startsWith(QStringLiteral("12 ")));
    // The result on show no longer offers the closed date's hours.
    QVERIFY(w->SGConsultas->isVisible() && w->BLivres->isVisible());
    QCOMPARE(shown(w->SGConsultas).filter(QStringLiteral("|10/12/26")), QStringList{});
    QCOMPARE(shown(w->SGConsultas).size(), 8);
    click(w->BLivres);
    QCOMPARE(shown(w->SGLivres).filter(QStringLiteral("|10/12/26")), QStringList{});

    // Opened again, a date opens again in the list, unchosen.
    f.write("ArqFolgas.Txt", QStringList{});
    p.window.activateWindow();
    QTRY_VERIFY(p.window.isActiveWindow());
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QVERIFY(items(w->ListBox2).contains(QStringLiteral("10/12/26")));
    QCOMPARE(selected(w->ListBox2), QStringList({"09/12/26", "14/12/26"}));
}

void TestSearches::unreadableDatesAreToldOnce()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    QVERIFY(QFile::remove(f.dir() + QStringLiteral("/ArqFolgas.Txt")));
    f.dialogs.clear();
    // Each return to the front reads the file again; the error box's own closing is one.
    for (int i = 0; i < 3; ++i) {
        p.window.activateWindow();
        QTRY_VERIFY(p.window.isActiveWindow());
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
    }
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().contains(QStringLiteral("ArqFolgas.Txt")));
    QCOMPARE(w->ListBox2->count(), 0);

    f.write("ArqFolgas.Txt", QStringList{});
    p.window.activateWindow();
    QTRY_VERIFY(p.window.isActiveWindow());
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QCOMPARE(w->ListBox2->count(), 31);
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
}

void TestSearches::resultsFollowTheTableNotTheWindowsOverThem()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    searchTwoDays(w);
    const QStringList first = shown(w->SGConsultas);
    QCOMPARE(first.first(), QStringLiteral("09/12/26|Dr. Teste Silva|08:00|||12|1|09/12/26"));
    w->SGConsultas->scrollToBottom();
    const int scroll = w->SGConsultas->verticalScrollBar()->value();
    QSignalSpy searched(&w->grid(SlotGrid::Show::All), &QAbstractItemModel::modelReset);
    QSignalSpy datesFilled(w->ListBox2->model(), &QAbstractItemModel::rowsInserted);

    // A message box over the window, and the main window, come and go: nothing changed.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Pesquisas Diversas"), QStringLiteral("Aviso"),
                    QMessageBox::Ok, w);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    click(box.button(QMessageBox::Ok));
    QVERIFY(!box.isVisible());
    bringToFront(w);
    bringToFront(&p.window);
    bringToFront(w);
    QCOMPARE(searched.count(), 0);
    QCOMPARE(datesFilled.count(), 0);
    QCOMPARE(shown(w->SGConsultas), first);
    QCOMPARE(w->SGConsultas->verticalScrollBar()->value(), scroll);

    // Doctor 12's free 08:00 of Wednesday booked on the booking screen meanwhile.
    bool booked = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        const TFVisaoGeral::DayTab &tab = screen->dayTab(9);
        clickTab(screen->PageControl1, tab.page);
        onModal<TFConsulta>([](TFConsulta *d) {
            type(QStringLiteral("Nova Paciente"));
            click(d->BIncluir);
        });
        tab.grid->goToCell(1, 12);
        doubleClickOn(tab.grid, tab.grid->currentIndex());
        booked = f.context().sheets.sheet(9).cell(1, 12) == QStringLiteral("C");
        bringToFront(screen);
        press(Qt::Key_Escape);
    });
    bringToFront(&p.window);
    QMenuBar *bar = p.window.menuBar();
    click(bar, bar->actionGeometry(p.window.menuItem(QStringLiteral("MarcaodeConsultas1"))).center());
    QVERIFY(booked);
    bringToFront(w);
    QCOMPARE(searched.count(), 1);
    QStringList now = first;
    now[0] = QStringLiteral("09/12/26|Dr. Teste Silva|08:00|Nova Paciente||12|1|09/12/26");
    QCOMPARE(shown(w->SGConsultas), now);
    click(w->BOcupados);
    QVERIFY(shown(w->SGOcupados)
                .contains(QStringLiteral("09/12/26|Dr. Teste Silva|08:00|Nova Paciente||12|1|09/12/26")));
}

void TestSearches::openingFillsTheDatesOnce()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    click(w->Button1);
    QVERIFY(!w->isVisible());
    QSignalSpy datesFilled(w->ListBox2->model(), &QAbstractItemModel::rowsInserted);
    QCOMPARE(p.searches(), w);
    QVERIFY(w->isActiveWindow());
    QCOMPARE(datesFilled.count(), 1);
    QCOMPARE(w->ListBox2->count(), 31);
}

void TestSearches::resultsFollowADoctorChangedElsewhere()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    searchTwoDays(w);
    QCOMPARE(shown(w->SGConsultas).filter(QStringLiteral("|x|")).size(), 0);
    // Doctor 12 given a leave over Monday 14 and a new first hour, in the main window's
    // doctor register, while the search waits behind it.
    bringToFront(&p.window);
    f.context().doctors.doctor(12).leaveStart = QStringLiteral("14/12/26");
    f.context().doctors.doctor(12).leaveEnd = QStringLiteral("15/12/26");
    f.context().doctors.setTime(4, 12, 1, QStringLiteral("07:40"));
    bringToFront(w);
    const QStringList now = shown(w->SGConsultas);
    QCOMPARE(now.value(0), QStringLiteral("09/12/26|Dr. Teste Silva|07:40|||12|1|09/12/26"));
    QCOMPARE(now.filter(QStringLiteral("|x||12|")).size(), 4);
}

void TestSearches::printedPagesNameTheirDateAndDoctor()
{
    Fixture f;
    Program p(f);
    TFPesquisas *w = p.searches();
    click(w->Label2);
    chooseStarting(w->ListBox1, {"12 "});
    chooseStarting(w->ListBox2, {"09/12/26", "14/12/26"});
    click(w->BExecutarCons2);
    // Three rows to a page: the 09:30 of Wednesday starts page 2.
    f.printer.setPageHeight(400);
    click(w->Button2);
    const RecordingPrinter::Document &printed = f.printer.documents().last();
    QCOMPARE(printed.pages, 3);
    const QStringList heading{
        "RELAÇÃO DE TODOS OS HORÁRIOS", "Data", "Médico", "Horário", "Paciente", "Telefone"};
    const QString doctor = QStringLiteral("Dr. Teste Silva          ");
    const QString blank8(8, QLatin1Char(' '));
    const QString blank25(25, QLatin1Char(' '));
    const QString free25(25, QLatin1Char(' '));
    const QString phone(12, QLatin1Char(' '));
    QCOMPARE(printed.page(2),
             heading + QStringList({"09/12/26", doctor, "09:30", free25, phone, "14/12/26", doctor, "08:00",
                                    free25, phone, blank8, blank25, "08:30", free25, phone}));
    QCOMPARE(printed.page(3).mid(6, 3), QStringList({"14/12/26", doctor, "09:00"}));
    // On the screen, and within a page, the group is named once.
    QCOMPARE(printed.page(1).mid(6 + 5, 3), QStringList({blank8, blank25, "08:30"}));
}

void TestSearches::printedNamesHaveTheirRoom()
{
    Fixture f;
    // Names of the whole 25 characters a record holds, in the widest letters they use.
    f.addRows({booking("09/12/26", 2, 12, "MARIA APARECIDA WAGNER MM"), booking("09/12/26", 3, 12, "Wanderley Mendonça Werneck")});
    Program p(f);
    f.context().doctors.doctor(12).name = QStringLiteral("Dra. Wilma Mendonça Muniz");
    TFPesquisas *w = p.searches();
    click(w->Label2);
    chooseStarting(w->ListBox1, {"12 "});
    chooseStarting(w->ListBox2, {"09/12/26"});
    click(w->BExecutarCons2);
    click(w->BOcupados);
    click(w->Button2);
    const RecordingPrinter::Document &printed = f.printer.documents().last();
    QStringList drawn;
    for (const RecordingPrinter::Text &t : printed.texts) {
        if (t.width <= 0 || t.text.trimmed().isEmpty())
            continue;
        QFont font(t.font.family);
        font.setPixelSize(t.font.pixelHeight);
        font.setBold(t.font.bold);
        const QString shown = t.text.trimmed();
        QVERIFY2(QFontMetrics(font).horizontalAdvance(shown) <= t.width,
                 qPrintable(QStringLiteral("\"%1\" is cut to %2").arg(shown).arg(t.width)));
        drawn << shown;
    }
    QVERIFY(drawn.contains(QStringLiteral("Dra. Wilma Mendonça Muniz")));
    QVERIFY(drawn.contains(QStringLiteral("MARIA APARECIDA WAGNER MM")));
}

void TestSearches::nameSearchFromADaySheet()
{
    Fixture f;
    f.addRows({booking("10/12/26", 3, 12, "Joana D'Avila"), booking("11/12/26", 1, 12, "Pedro Santos")});
    Desk desk(f);
    const TFVisaoGeral::DayTab &day9 = desk.screen->dayTab(9);
    clickTab(desk.screen->PageControl1, day9.page);
    QCOMPARE(desk.screen->PageControl1->currentWidget(), day9.page);
    pressF4(day9.grid, [](TFProcuraNome *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Pesquisar por Nome"));
        QVERIFY(d->Edit1->text().isEmpty());
        // The focus arrives with the window's activation, which a busy machine delays.
        QTRY_VERIFY(d->Edit1->hasFocus());
        findAndOpen(d, QStringLiteral("D'Av"), 0);
    });
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
    const TFVisaoGeral::DayTab &day10 = desk.screen->dayTab(10);
    QCOMPARE(desk.screen->PageControl1->currentWidget(), day10.page);
    QCOMPARE(day10.grid->currentColumn(), 3);
    QCOMPARE(day10.grid->currentRow(), 12);
    QCOMPARE(day10.grid->rowAt(0), 11);
}

void TestSearches::nameSearchFindsListEntries()
{
    Fixture f;
    f.addRows({booking("05/12H/", 2, 12, "Carlos Desmarcado"), booking("03/12P/", 1, 3, "Outro Desmarcado"),
               booking("46185360", 0, 12, "Sofia Esperando")});
    Desk desk(f);
    pressF4(desk.screen->StringGrid1, [](TFProcuraNome *d) { findAndOpen(d, QStringLiteral("Carlos"), 0); });
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
    ListTabWidget &cancelled = desk.screen->desmarcadas();
    QCOMPARE(desk.screen->PageControl1->currentWidget(), &cancelled);
    QCOMPARE(cancelled.selectedRows(), std::vector<int>{1});
    QCOMPARE(cancelled.tab().entries().text(1, ListEntries::Paciente), QStringLiteral("Carlos Desmarcado"));

    // From the cancelled list's own grid, to the waiting list.
    pressF4(cancelled.grid, [](TFProcuraNome *d) { findAndOpen(d, QStringLiteral("esperando"), 0); });
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
    ListTabWidget &waiting = desk.screen->emEspera();
    QCOMPARE(desk.screen->PageControl1->currentWidget(), &waiting);
    QCOMPARE(waiting.selectedRows(), std::vector<int>{0});
    QCOMPARE(waiting.tab().entries().count(), 1);
    // The lists hold only their own kind of rows.
    QCOMPARE(cancelled.tab().entries().count(), 2);
}

void TestSearches::namesAreTextNotPatterns_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QString>("message");
    QTest::newRow("apostrophe") << "'" << QStringList{"Joana D'Avila"} << "";
    QTest::newRow("double quote") << "\"" << QStringList{"Pedro \"Pepe\" Lima"} << "";
    QTest::newRow("percent") << "%" << QStringList{"Rui 50% Lima"} << "";
    QTest::newRow("underscore") << "_" << QStringList{"Ana_Maria"} << "";
    QTest::newRow("backslash") << "\\" << QStringList{"Barra\\Invertida"} << "";
    QTest::newRow("middle of a name") << "lim" << QStringList{"Pedro \"Pepe\" Lima", "Rui 50% Lima"} << "";
    QTest::newRow("nobody") << "Zacarias" << QStringList{} << "Nenhum paciente com \"Zacarias\" no nome.";
    QTest::newRow("200 characters") << QString(200, QLatin1Char('a')) << QStringList{}
                                    << "Nenhum paciente com \"" + QString(25, QLatin1Char('a')) +
                                           "\" no nome.";
    QTest::newRow("empty") << "" << QStringList{} << "Digite as letras do nome do paciente a pesquisar.";
}

void TestSearches::namesAreTextNotPatterns()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QFETCH(QString, message);
    Fixture f;
    f.addRows({booking("10/12/26", 1, 12, "Joana D'Avila"), booking("10/12/26", 2, 12, "Pedro \"Pepe\" Lima"),
               booking("10/12/26", 3, 12, "Rui 50% Lima"), booking("11/12/26", 1, 12, "Ana_Maria"),
               booking("11/12/26", 2, 12, "Barra\\Invertida"), booking("11/12/26", 3, 12, "Anaxmaria")});
    Desk desk(f);
    QStringList hits;
    f.dialogs.clear();
    pressF4(desk.screen->StringGrid1, [&](TFProcuraNome *d) {
        type(typed);
        click(d->Button1);
        for (int row = 0; row < d->DBGrid1->model()->rowCount(); ++row)
            hits << d->DBGrid1->model()->index(row, ListEntries::Paciente).data().toString();
        press(Qt::Key_Escape);
    });
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
    QCOMPARE(hits, found);
    QCOMPARE(f.dialogs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
}

void TestSearches::jumpOutsideTheSheetsIsTold_data()
{
    QTest::addColumn<QString>("data");
    QTest::newRow("a past appointment kept") << "01/12/26";
    QTest::newRow("beyond the day window") << "08/01/27";
    QTest::newRow("not a date") << "31/02/27";
}

void TestSearches::jumpOutsideTheSheetsIsTold()
{
    QFETCH(QString, data);
    Fixture f;
    f.addRows({booking(data, 2, 12, "Lia Fora")});
    Desk desk(f);
    clickTab(desk.screen->PageControl1, desk.screen->dayTab(9).page);
    QCOMPARE(desk.screen->PageControl1->currentWidget(), desk.screen->dayTab(9).page);
    desk.screen->dayTab(9).grid->goToCell(1, 3);
    f.dialogs.clear();
    pressF4(desk.screen->dayTab(9).grid, [](TFProcuraNome *d) { findAndOpen(d, QStringLiteral("Lia"), 0); });
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY2(f.dialogs.texts().first().startsWith("A consulta de " + data +
                                                  " (horário 2, médico 12) está fora das "
                                                  "folhas dos dias"),
             qPrintable(f.dialogs.texts().first()));
    // Nothing moved: no cell of the sheet with the same day number was chosen.
    QCOMPARE(desk.screen->PageControl1->currentWidget(), desk.screen->dayTab(9).page);
    QCOMPARE(desk.screen->dayTab(9).grid->currentColumn(), 1);
    QCOMPARE(desk.screen->dayTab(data.left(2).toInt()).grid->currentColumn(), 0);
}

void TestSearches::f4ClosesAndEmptyClicksDoNothing()
{
    Fixture f;
    f.addRows({booking("10/12/26", 3, 12, "Joana D'Avila")});
    Desk desk(f);
    QWidget *current = desk.screen->PageControl1->currentWidget();
    bool checked = false;
    pressF4(desk.screen->StringGrid1, [&](TFProcuraNome *d) {
        // An empty grid and the headings do nothing on a double-click.
        doubleClickOn(d->DBGrid1->viewport(), QPoint(20, 10));
        QVERIFY(d->isVisible());
        click(d->Edit1);
        type(QStringLiteral("Joana"));
        click(d->Button1);
        QHeaderView *header = d->DBGrid1->horizontalHeader();
        doubleClickOn(header->viewport(), QPoint(header->sectionPosition(3) + 10, header->height() / 2));
        QVERIFY(d->isVisible());
        press(Qt::Key_F4);
        checked = true;
    });
    QTRY_VERIFY(checked);
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
    QCOMPARE(desk.screen->PageControl1->currentWidget(), current);
    // Opened again, the box is empty and so is the grid.
    pressF4(desk.screen->StringGrid1, [](TFProcuraNome *d) {
        QVERIFY(d->Edit1->text().isEmpty());
        QCOMPARE(d->DBGrid1->model()->rowCount(), 0);
        press(Qt::Key_F4);
    });
    QTRY_VERIFY(!desk.screen->procuraNome().isVisible());
}

QTEST_MAIN(TestSearches)
#include "tst_searches.moc"
