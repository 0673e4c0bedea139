// The attendance sheet "Ficha de Atendimentos" driven through its widgets: F3 on the
// booking screen's month grid and day sheets, the individual entry that records it,
// the jump from a patient back to his slot, and the printed image.
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/booking_setup.h"
#include "booking/grid_view.h"
#include "booking/tfvisaogeral.h"
#include "core/data_files.h"
#include "statistics/tffichamed.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

using namespace clinora;
using test::booking;
using test::Fixture;
using test::onModal;
using Kind = test::ScriptedDialogs::Kind;

namespace {

// The booking clinic (today Tuesday 08/12/2026) with its screen shown.
struct Desk
{
    explicit Desk(Fixture &fixture) : f(fixture)
    {
        test::setUpClinic(f);
        f.setSetting(3, QStringLiteral("A2026"));
        session::startUp(f.context());
        main = std::make_unique<TFPrincipal>(f.context());
        main->FormCreate();
        main->show();
        screen = &main->visaoGeral();
        screen->prepareMonthTab();
        screen->show();
        screen->BAtualizar0->click();
    }
    TFFichaMed &sheet() { return screen->fichaMed(); }

    Fixture &f;
    std::unique_ptr<TFPrincipal> main;
    TFVisaoGeral *screen = nullptr;
};

struct ShownRow
{
    QString time, patient, telephone, situation;
    bool present;
};

ShownRow shown(const TFFichaMed *s, int k)
{
    const auto i = static_cast<std::size_t>(k - 1);
    return {s->times[i]->text(), s->patients[i]->text(), s->telephones[i]->text(), s->situations[i]->text(),
            s->presences[i]->isChecked()};
}

void compareRow(const TFFichaMed *s, int k, const ShownRow &expected)
{
    const ShownRow row = shown(s, k);
    QCOMPARE(row.time, expected.time);
    QCOMPARE(row.patient, expected.patient);
    QCOMPARE(row.telephone, expected.telephone);
    QCOMPARE(row.situation, expected.situation);
    QCOMPARE(row.present, expected.present);
}

// Replaces what a situation box holds by typed text, as a person does: the cursor to
// the end, the old character erased, the new one typed.
void typeSituation(TFFichaMed *s, int k, const QString &text)
{
    QLineEdit *box = s->situations[static_cast<std::size_t>(k - 1)];
    test::click(box);
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// The pixels of a rectangle of an image that are nearly black (a tick mark).
int darkPixels(const QImage &image, const QRect &rect)
{
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            dark += image.pixelColor(x, y).value() < 80 ? 1 : 0;
    return dark;
}

// Text typed into an empty box after a click in it.
void typeInto(TFFichaMed *s, QLineEdit *box, const QString &text)
{
    Q_UNUSED(s);
    test::click(box);
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void clickPresence(TFFichaMed *s, int k)
{
    QCheckBox *box = s->presences[static_cast<std::size_t>(k - 1)];
    test::click(box, QPoint(8, box->height() / 2));
}

} // namespace

class TestSheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void f3OnADaySheetShowsTheDoctorsDay();
    void f3OnTheMonthGridAndWhereThereIsNoSheet();
    void patientDoubleClickGoesToItsOwnSlot();
    void individualEntryRecordsAndReplaces();
    void refusedRecordingCanBeCorrected_data();
    void refusedRecordingCanBeCorrected();
    void individualEntryTakesTheWeekdayOfTheDate();
    void printingUnticksOnlyThePrintedImage();
};

void TestSheets::f3OnADaySheetShowsTheDoctorsDay()
{
    Fixture f;
    f.addRows({booking("09/12/26", 2, 12, QStringLiteral("Maria Souza")),
               {QStringLiteral("09/12/26"),
                QStringLiteral("3"),
                QStringLiteral("12"),
                QStringLiteral("R"),
                {},
                {},
                {}},
               {QStringLiteral("09/12/26"),
                QStringLiteral("4"),
                QStringLiteral("12"),
                QStringLiteral("Rui Lopes"),
                QStringLiteral("0"),
                {},
                {}}});
    Desk desk(f);
    const TFVisaoGeral::DayTab &tab = desk.screen->dayTab(9);
    desk.screen->PageControl1->setCurrentWidget(tab.page);
    tab.grid->goToCell(1, 12);
    bool seen = false;
    onModal<TFFichaMed>([&](TFFichaMed *s) {
        seen = true;
        QCOMPARE(s->windowTitle(), QStringLiteral("Ficha de Atendimentos"));
        QCOMPARE(s->Label28->text(), QStringLiteral("Dr. Teste Silva"));
        QCOMPARE(s->Label30->text(), QStringLiteral("09/12/26"));
        QVERIFY(!s->BProcessar->isVisible());
        QVERIFY(s->BImprimir->isVisible());
        compareRow(s, 1, {"08:00", "", "", "", false});
        compareRow(s, 2, {"08:30", "Maria Souza", "3333-4444", "1", true});
        compareRow(s, 3, {"09:00", "R", "", "", false});
        // A booked patient without a situation is ticked and taken as situation 1.
        compareRow(s, 4, {"09:30", "Rui Lopes", "", "1", true});
        compareRow(s, 5, {"", "", "", "", false});
        QVERIFY(s->frameGeometry().height() <= 700);
        QTest::keyClick(s, Qt::Key_F3);
    });
    QTest::keyClick(tab.grid, Qt::Key_F3);
    QVERIFY(seen);
    QVERIFY(!desk.sheet().isVisible());
    // Closing empties the sheet for the next one.
    QCOMPARE(desk.sheet().patients[1]->text(), QString());
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestSheets::f3OnTheMonthGridAndWhereThereIsNoSheet()
{
    // On 08/02/2027 the window runs to 07/03: day 30 is 30 February, which has no sheet.
    Fixture f(QDate(2027, 2, 8));
    f.addRows({booking("10/02/27", 1, 12, QStringLiteral("Ana Dias"))});
    Desk desk(f);
    desk.screen->PageControl1->setCurrentWidget(desk.screen->TabSheet1);
    GridView *grid = desk.screen->StringGrid1;
    grid->goToCell(10, 12);
    QString patient;
    onModal<TFFichaMed>([&](TFFichaMed *s) {
        patient = s->patients[0]->text();
        s->BSair->click();
    });
    QTest::keyClick(grid, Qt::Key_F3);
    QCOMPARE(patient, QStringLiteral("Ana Dias"));

    grid->goToCell(30, 12);
    QTest::keyClick(grid, Qt::Key_F3);
    grid->goToCell(10, 20); // a free code
    QTest::keyClick(grid, Qt::Key_F3);
    QCOMPARE(
        f.dialogs.texts(Kind::Information),
        QStringList({QStringLiteral("Não há Ficha de Atendimentos do dia 30: o mês de 02 não tem esse dia."),
                     QStringLiteral("Escolha na grade a linha de um médico para ver a sua Ficha de "
                                    "Atendimentos.")}));
    QVERIFY(!desk.sheet().isVisible());
}

void TestSheets::patientDoubleClickGoesToItsOwnSlot()
{
    // Doctor 3 sees patients at 14:00 and 14:20 on Mondays; a patient was put in slot 7.
    Fixture f;
    f.addRows({booking("14/12/26", 7, 3, QStringLiteral("Lia Castro"))});
    Desk desk(f);
    const TFVisaoGeral::DayTab &tab = desk.screen->dayTab(14);
    desk.screen->PageControl1->setCurrentWidget(tab.page);
    tab.grid->goToCell(1, 3);
    onModal<TFFichaMed>([&](TFFichaMed *s) {
        compareRow(s, 1, {"14:00", "", "", "", false});
        compareRow(s, 2, {"14:20", "", "", "", false});
        compareRow(s, 3, {"", "Lia Castro", "3333-4444", "1", true});
        test::doubleClickOn(s->patients[2], s->patients[2]->rect().center());
    });
    QTest::keyClick(tab.grid, Qt::Key_F3);
    QVERIFY(!desk.sheet().isVisible());
    QCOMPARE(desk.screen->PageControl1->currentWidget(), tab.page);
    QCOMPARE(tab.grid->currentColumn(), 7);
    QCOMPARE(tab.grid->currentRow(), 3);
}

void TestSheets::individualEntryRecordsAndReplaces()
{
    Fixture f;
    f.addRows({booking("09/12/26", 2, 12, QStringLiteral("Maria Souza")),
               {QStringLiteral("09/12/26"),
                QStringLiteral("3"),
                QStringLiteral("12"),
                QStringLiteral("R"),
                {},
                {},
                {}}});
    Desk desk(f);
    TFFichaMed &s = desk.sheet();
    s.showEntry(QDate(2026, 12, 9), 12);
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    QVERIFY(s.BProcessar->isVisible());
    compareRow(&s, 2, {"08:30", "Maria Souza", "3333-4444", "1", true});
    compareRow(&s, 3, {"09:00", "R", "", "", false});
    // Slot 4 has a walk-in: ticked present, he becomes a situation-1 patient; then 3.
    typeInto(&s, s.patients[3], QStringLiteral("Caio Prado"));
    clickPresence(&s, 4);
    QCOMPARE(s.situations[3]->text(), QStringLiteral("1"));
    typeSituation(&s, 4, QStringLiteral("3"));
    // Slot 1 was booked by telephone and did not come: booked, not attended.
    typeInto(&s, s.situations[0], QStringLiteral("2"));
    test::click(s.BProcessar);
    QVERIFY(f.dialogs.shown().isEmpty());
    // Week 50 of 2026 holds 09/12: three booked, two attended.
    const int line = 49 * 50 + 12 - 1;
    QCOMPARE(f.read(files::kWeeklyCounts)[line], QStringLiteral("00030002"));
    QCOMPARE(f.read(files::kPendingMovements), QStringList({"121211", "121231"}));
    QVERIFY(!f.context().statisticsUpToDate);

    // Recording the same doctor's day again asks first; No leaves the day as it was.
    const QString asked =
        QStringLiteral("Esta Ficha já foi gravada: 3 marcado(s) e 2 atendido(s).\n\nSubstituir "
                       "a gravação anterior por esta? A anterior deixa de contar nas "
                       "estatísticas.");
    f.dialogs.answerQuestion(false);
    test::click(s.BProcessar);
    QCOMPARE(f.dialogs.texts(), QStringList{asked});
    QCOMPARE(f.read(files::kWeeklyCounts)[line], QStringLiteral("00030002"));
    QCOMPARE(f.read(files::kPendingMovements).size(), 2);

    // Maria did not come after all: Yes replaces the day, which then counts once.
    clickPresence(&s, 2);
    f.dialogs.answerQuestion(true);
    test::click(s.BProcessar);
    QCOMPARE(f.read(files::kWeeklyCounts)[line], QStringLiteral("00030001"));
    QCOMPARE(f.read(files::kPendingMovements), QStringList({"121211", "121231", "12121-1"}));

    // A new showing of the same day asks too: the table's one patient, booked and
    // attended, takes the place of the day recorded before.
    test::click(s.BSair);
    QVERIFY(!s.isVisible());
    s.showEntry(QDate(2026, 12, 9), 12);
    f.dialogs.answerQuestion(true);
    test::click(s.BProcessar);
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
    QCOMPARE(f.read(files::kWeeklyCounts)[line], QStringLiteral("00010001"));
    // What is pending for the day adds up to the last recording alone.
    std::array<int, 10> pending{};
    for (const QString &movement : f.read(files::kPendingMovements))
        pending[static_cast<std::size_t>(movement.mid(4, 1).toInt())] += movement.mid(5).toInt();
    QCOMPARE(pending[1], 1);
    QCOMPARE(pending[3], 0);
    test::click(s.BSair);
}

void TestSheets::refusedRecordingCanBeCorrected_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("a letter")
        << "A"
        << "Linha 2 da Ficha (08:30): a situação \"A\" não é um número de 1 a 9. Corrija-a e "
           "grave a Ficha de novo.";
    QTest::newRow("present without a situation") << ""
                                                 << "Linha 2 da Ficha (08:30): o paciente está presente e "
                                                    "não tem situação. Escreva a situação (1 a 9) "
                                                    "e grave a Ficha de novo.";
}

void TestSheets::refusedRecordingCanBeCorrected()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture f;
    f.addRows({booking("09/12/26", 2, 12, QStringLiteral("Maria Souza"))});
    Desk desk(f);
    TFFichaMed &s = desk.sheet();
    s.showEntry(QDate(2026, 12, 9), 12);
    typeSituation(&s, 2, typed);
    const QStringList before = f.read(files::kWeeklyCounts);
    test::click(s.BProcessar);
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QCOMPARE(f.read(files::kWeeklyCounts), before);
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    // Corrected, the same showing records.
    typeSituation(&s, 2, QStringLiteral("4"));
    test::click(s.BProcessar);
    QCOMPARE(f.dialogs.texts().size(), 1);
    QCOMPARE(f.read(files::kPendingMovements), QStringList{QStringLiteral("121241")});
    s.BSair->click();
}

void TestSheets::individualEntryTakesTheWeekdayOfTheDate()
{
    // 16/11/2026 is a Monday, outside the window, where day 16 is a Wednesday.
    Fixture f;
    f.addRows({booking("16/11/26", 2, 3, QStringLiteral("Otto Reis"))});
    Desk desk(f);
    TFFichaMed &s = desk.sheet();
    s.showEntry(QDate(2026, 11, 16), 3);
    compareRow(&s, 1, {"14:00", "", "", "", false});
    compareRow(&s, 2, {"14:20", "Otto Reis", "3333-4444", "1", true});
    // A sheet of another year than the open one is refused as it stands.
    s.BSair->click();
    s.showEntry(QDate(2025, 11, 17), 3);
    test::click(s.BProcessar);
    QCOMPARE(
        f.dialogs.texts(),
        QStringList{QStringLiteral("   Para realizar a gravação desta Ficha, você precisa primeiro\nabrir as "
                                   "estatísticas do ano de 2025\n\n           == use a opção [ Abrir, Limpar "
                                   "(reiniciar) as Estatísticas ] == ")});
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    s.BSair->click();
}

void TestSheets::printingUnticksOnlyThePrintedImage()
{
    Fixture f;
    f.addRows({booking("09/12/26", 1, 12, QStringLiteral("Maria Souza")),
               booking("09/12/26", 2, 12, QStringLiteral("Davi Melo"))});
    Desk desk(f);
    TFFichaMed &s = desk.sheet();
    s.showEntry(QDate(2026, 12, 9), 12);
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    test::click(s.BImprimir);
    QCOMPARE(f.printer.documents().size(), 1);
    QCOMPARE(f.printer.documents()[0].title, QStringLiteral("Ficha de Atendimentos"));
    const QImage image = f.printer.documents()[0].drawing;
    QVERIFY(image.width() > 400);
    // The paper has empty boxes for the doctor to tick; the screen keeps its ticks.
    QCheckBox *box = s.presences[0];
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    const QRect onSheet = indicator.translated(box->mapTo(&s, QPoint()));
    QVERIFY(darkPixels(box->grab().toImage(), indicator) > 0);
    QCOMPARE(darkPixels(image, onSheet), 0);
    QVERIFY(s.presences[0]->isChecked() && s.presences[1]->isChecked());
    QCOMPARE(s.patients[1]->text(), QStringLiteral("Davi Melo"));
    QVERIFY(s.BProcessar->isVisible() && s.BImprimir->isVisible() && s.BSair->isVisible());
    // Recorded after printing, the day has its two patients attended.
    test::click(s.BProcessar);
    QCOMPARE(f.read(files::kWeeklyCounts)[49 * 50 + 12 - 1], QStringLiteral("00020002"));
    test::click(s.BSair);
}

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
