// Printing when something is wrong: what the print system answers (printed, refused,
// stopped, silent, missing) is told to the user and reported to the forms, which keep
// a list open when it did not come out; the weekly report, the day list's columns and
// the owner of a printing message.
#include "booking/day_list.h"
#include "booking/list_tab.h"
#include "booking/list_tab_widget.h"
#include "desk.h"
#include "platform/cups_print_system.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_printer.h"
#include "statistics/tflistaprevreal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace clinora;
using test::booking;
using test::click;
using test::Desk;
using test::Fixture;
using test::onModal;
using Kind = test::ScriptedDialogs::Kind;
using State = PrinterState::Kind;
using Sent = Submission::Kind;

namespace {

// A print system whose answers the test chooses, and which keeps the jobs it took.
class FakePrintSystem final : public PrintSystem
{
public:
    PrinterState state(const QString &) override
    {
        ++asked;
        return m_state;
    }
    Submission submit(const QString &printer, const QString &pdfFile, const QString &, const PrintOptions &) override
    {
        submitted << printer;
        // What the print system would have read of the document.
        QFile file(pdfFile);
        if (file.open(QIODevice::ReadOnly))
            lastDocument = file.readAll();
        return m_submission;
    }
    int answerLimitSeconds() const override { return 5; }

    PrinterState m_state;
    Submission m_submission;
    QStringList submitted;
    QByteArray lastDocument;
    int asked = 0;
};

// A print server that takes connections and never says a word: a listening socket on
// the loopback whose connections nobody reads.
class SilentServer
{
public:
    SilentServer() : m_socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_socket >= 0 && ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), size) == 0
            && ::listen(m_socket, 8) == 0
            && ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &size) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer()
    {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;

    int port() const { return m_port; }

private:
    int m_socket;
    int m_port = 0;
};

QStringList pdfsIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

DrawnList smallList()
{
    DrawnList list;
    list.title = QStringLiteral("Consultas Desmarcadas");
    list.head = {{600, 130, QStringLiteral("RELAÇÃO DAS CONSULTAS DESMARCADAS")}};
    list.columns = {200, 1400};
    list.rows = {{QStringLiteral("10/12/26"), QStringLiteral("Ângela Müller")}};
    return list;
}

} // namespace

Q_DECLARE_METATYPE(PrintOutcome)

class TestPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachAnswerOfThePrintSystem_data();
    void eachAnswerOfThePrintSystem();
    void silentPrintSystemAskedOnceForTheDayList();
    void printDialogLoadedWhenFirstShown();
    void realPrintSystemMissingOrSilent_data();
    void realPrintSystemMissingOrSilent();
    void listStaysOpenWhenNotPrinted_data();
    void listStaysOpenWhenNotPrinted();
    void weeklyReportGoesStraightToThePrinter();
    void dayListTimesInOneColumn();
    void messageBelongsToTheWindowThatPrinted();
};

void TestPrinting::eachAnswerOfThePrintSystem_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<Sent>("sent");
    QTest::addColumn<int>("answer"); // to the question asked: -1 none asked, 0 No, 1 Yes
    QTest::addColumn<PrintOutcome>("outcome");
    QTest::addColumn<QString>("told"); // begins the first message
    QTest::addColumn<bool>("handedOver");
    QTest::addColumn<bool>("pdfKept");

    const QString refused = QStringLiteral("A impressora \"PDF\" recusou o documento: nada foi impresso.");
    const QString stopped = QStringLiteral("A impressora \"PDF\" está parada; o documento ficará na fila");
    QTest::newRow("printed") << State::Ready << Sent::Queued << -1 << PrintOutcome::Printed << QString() << true
                             << false;
    QTest::newRow("refused on hand-over, no PDF wanted")
        << State::Ready << Sent::Refused << 0 << PrintOutcome::NotPrinted << refused << true << false;
    QTest::newRow("refused on hand-over, PDF wanted")
        << State::Ready << Sent::Refused << 1 << PrintOutcome::SavedAsPdf << refused << true << true;
    QTest::newRow("printer not accepting jobs")
        << State::NotAccepting << Sent::Queued << 0 << PrintOutcome::NotPrinted << refused << false << false;
    QTest::newRow("stopped, left in its queue")
        << State::Stopped << Sent::Queued << 0 << PrintOutcome::Queued << stopped << true << false;
    QTest::newRow("stopped, PDF instead")
        << State::Stopped << Sent::Queued << 1 << PrintOutcome::SavedAsPdf << stopped << false << true;
    QTest::newRow("no answer") << State::NoAnswer << Sent::Queued << -1 << PrintOutcome::SavedAsPdf
                               << QStringLiteral("O sistema de impressão não respondeu em 5 segundos.") << false
                               << true;
    QTest::newRow("no answer on hand-over")
        << State::Ready << Sent::NoAnswer << -1 << PrintOutcome::SavedAsPdf
        << QStringLiteral("O sistema de impressão não respondeu em 5 segundos ao receber o documento para a "
                          "impressora \"PDF\"")
        << true << true;
    QTest::newRow("printers but no default")
        << State::NoDefault << Sent::Queued << -1 << PrintOutcome::SavedAsPdf
        << QStringLiteral("Há impressoras instaladas, mas nenhuma está definida como a impressora padrão.") << false
        << true;
    QTest::newRow("no printer") << State::NoPrinter << Sent::Queued << -1 << PrintOutcome::SavedAsPdf
                                << QStringLiteral("Não há impressora instalada.") << false << true;
    QTest::newRow("print system not running")
        << State::NotRunning << Sent::Queued << -1 << PrintOutcome::SavedAsPdf
        << QStringLiteral("O sistema de impressão (CUPS) não está funcionando") << false << true;
}

void TestPrinting::eachAnswerOfThePrintSystem()
{
    QFETCH(State, state);
    QFETCH(Sent, sent);
    QFETCH(int, answer);
    QFETCH(PrintOutcome, outcome);
    QFETCH(QString, told);
    QFETCH(bool, handedOver);
    QFETCH(bool, pdfKept);
    Fixture f;
    FakePrintSystem system;
    system.m_state = {state, QStringLiteral("PDF"), {}};
    system.m_submission = {sent, sent == Sent::Refused ? QStringLiteral("server-error-not-accepting-jobs") : QString()};
    if (answer >= 0)
        f.dialogs.answerQuestion(answer == 1);
    QtPrinter printer(f.context().paths, f.clock, f.dialogs, &system);

    QCOMPARE(printer.printList(smallList()), outcome);

    QCOMPARE(f.dialogs.unusedAnswers(), 0);
    const QStringList texts = f.dialogs.texts();
    if (told.isEmpty()) {
        QCOMPARE(texts, QStringList());
    } else {
        QVERIFY2(!texts.isEmpty() && texts.first().startsWith(told), qPrintable(texts.join(QLatin1Char('|'))));
        QCOMPARE(f.dialogs.shown().first().kind, answer >= 0 ? Kind::Question : Kind::Information);
    }
    if (answer >= 0) // the question offers the PDF in the print folder
        QVERIFY(texts.first().contains(QDir::toNativeSeparators(printer.printFolder())));
    if (sent == Sent::Refused && handedOver) // the print system's own answer is shown
        QVERIFY(texts.first().contains(QStringLiteral("server-error-not-accepting-jobs")));
    QCOMPARE(system.submitted, handedOver ? QStringList{QStringLiteral("PDF")} : QStringList());
    if (handedOver)
        QVERIFY(system.lastDocument.startsWith("%PDF"));
    const QStringList pdfs = pdfsIn(printer.printFolder());
    QCOMPARE(pdfs.size(), pdfKept ? 1 : 0);
    if (pdfKept) // and the user is told where it is
        QVERIFY2(texts.last().endsWith(QDir::toNativeSeparators(printer.printFolder() + QLatin1Char('/') + pdfs.first())),
                 qPrintable(texts.last()));
}

void TestPrinting::silentPrintSystemAskedOnceForTheDayList()
{
    Fixture f;
    FakePrintSystem system;
    system.m_state = {State::NoAnswer, {}, {}};
    QtPrinter printer(f.context().paths, f.clock, f.dialogs, &system);
    // No print dialog without a printer to choose: the document goes to a PDF, after one
    // wait for the print system, not one before the dialog and another after it.
    QVERIFY(printer.choose());
    QCOMPARE(printer.printLines(QStringLiteral("Consultas do Dia"), {QStringLiteral(" 1    08:00")}, {}),
             PrintOutcome::SavedAsPdf);
    QCOMPARE(system.asked, 1);
    QCOMPARE(f.dialogs.texts(Kind::Information).size(), 1);
    QVERIFY(f.dialogs.texts().first().startsWith(QStringLiteral("O sistema de impressão não respondeu")));
    QCOMPARE(pdfsIn(printer.printFolder()).size(), 1);
}

void TestPrinting::printDialogLoadedWhenFirstShown()
{
    const auto printSupportLoaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6PrintSupport.so");
    };
    QVERIFY(!printSupportLoaded());
    Fixture f;
    FakePrintSystem system;
    system.m_state = {State::Ready, {}, {}};
    QtPrinter printer(f.context().paths, f.clock, f.dialogs, &system);
    // The receptionist closes the print dialog with Esc: nothing is printed.
    QString shown;
    QTimer::singleShot(0, [&shown] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        shown = QString::fromLatin1(dialog->metaObject()->className());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, Qt::Key_Escape);
    });
    QVERIFY(!printer.choose());
    QCOMPARE(shown, QStringLiteral("QPrintDialog"));
    QVERIFY(printSupportLoaded());
    QVERIFY(f.dialogs.texts().isEmpty());
    QVERIFY(system.submitted.isEmpty());
}

void TestPrinting::realPrintSystemMissingOrSilent_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("told");
    QTest::newRow("not running") << false << QStringLiteral("O sistema de impressão (CUPS) não está funcionando");
    QTest::newRow("never answers") << true << QStringLiteral("O sistema de impressão não respondeu em 1 segundos.");
}

void TestPrinting::realPrintSystemMissingOrSilent()
{
    QFETCH(bool, silent);
    QFETCH(QString, told);
    Fixture f;
    // A print server that takes the connection and never says a word, or none at all.
    const SilentServer server;
    QVERIFY(server.port() > 0);
    const QByteArray address = silent ? QByteArray("127.0.0.1:") + QByteArray::number(server.port())
                                      : (f.dir() + QStringLiteral("/no-cups.sock")).toUtf8();
    const QByteArray saved = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", address);
    CupsPrintSystem system(std::chrono::seconds(1));
    QtPrinter printer(f.context().paths, f.clock, f.dialogs, &system);
    const PrintOutcome outcome = printer.printList(smallList());
    if (saved.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", saved);

    QCOMPARE(outcome, PrintOutcome::SavedAsPdf);
    QCOMPARE(f.dialogs.texts(Kind::Information).size(), 1);
    QVERIFY2(f.dialogs.texts().first().startsWith(told), qPrintable(f.dialogs.texts().first()));
    QCOMPARE(pdfsIn(printer.printFolder()).size(), 1);
}

void TestPrinting::listStaysOpenWhenNotPrinted_data()
{
    QTest::addColumn<PrintOutcome>("outcome");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("printed") << PrintOutcome::Printed << false;
    QTest::newRow("queued on a stopped printer") << PrintOutcome::Queued << false;
    QTest::newRow("saved as PDF") << PrintOutcome::SavedAsPdf << false;
    QTest::newRow("not printed") << PrintOutcome::NotPrinted << true;
}

void TestPrinting::listStaysOpenWhenNotPrinted()
{
    QFETCH(PrintOutcome, outcome);
    QFETCH(bool, staysOpen);
    Fixture f;
    f.addRows({booking(QStringLiteral("10/12H/"), 1, 12, QStringLiteral("Ana Souza")),
               booking(QStringLiteral("11/12P/"), 2, 12, QStringLiteral("Bruno Lima"))});
    Desk desk(f);
    ListTabWidget &list = desk.screen->desmarcadas();
    desk.screen->PageControl1->setCurrentWidget(&list);
    QVERIFY(QTest::qWaitForWindowExposed(desk.screen));
    f.printer.setOutcome(outcome);
    click(list.atualizar);
    QCOMPARE(list.tab().entries().count(), 2);
    click(list.imprimir);
    QCOMPARE(f.printer.documents().size(), 1);
    QCOMPARE(list.tab().entries().count(), staysOpen ? 2 : 0);
    if (staysOpen) { // printed again once the printer takes it
        f.printer.setOutcome(PrintOutcome::Printed);
        click(list.imprimir);
        QCOMPARE(f.printer.documents().size(), 2);
        QCOMPARE(f.printer.documents().last().lines(), f.printer.documents().first().lines());
        QCOMPARE(list.tab().entries().count(), 0);
    }
}

void TestPrinting::weeklyReportGoesStraightToThePrinter()
{
    Fixture f;
    AppContext &c = f.start();
    // A print dialog, if one were shown, would be cancelled.
    f.printer.setChoice(false);
    TFListaPrevReal screen(c);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QVERIFY(screen.ListBox1->currentItem() && screen.ListBox1->currentItem()->isSelected());
    click(screen.Button1);
    QCOMPARE(f.printer.documents().size(), 1);
    QVERIFY(f.printer.documents().first().landscape);
    QCOMPARE(f.dialogs.texts(), QStringList());
}

void TestPrinting::dayListTimesInOneColumn()
{
    Fixture f;
    test::setUpClinic(f);
    QStringList times;
    for (int slot = 0; slot < 12; ++slot)
        times << QTime(8, 0).addSecs(slot * 20 * 60).toString(QStringLiteral("hh:mm"));
    f.setTimes(12, 4, times); // Wednesday 9 December
    f.addRows({booking(QStringLiteral("09/12/26"), 2, 12, QStringLiteral("Ana Souza")),
               booking(QStringLiteral("09/12/26"), 11, 12, QStringLiteral("Bruno Lima"))});
    AppContext &c = f.start();
    c.sheets.refreshAll();
    const DayList list = makeDayList(c, 9, 12);
    QCOMPARE(list.free.size(), 10);
    QCOMPARE(list.booked, QStringList({" 2    08:20  Ana Souza", "11    11:20  Bruno Lima"}));
    QCOMPARE(list.free.first(), QStringLiteral(" 1    08:00"));
    QCOMPARE(list.free.last(), QStringLiteral("12    11:40"));
    // Every time starts at the same place, on the screen and in the printed lines.
    for (const QStringList &lines : {list.booked, list.free, list.printLines().mid(DayList::kHeadLines)}) {
        for (const QString &line : lines) {
            if (line.contains(QLatin1Char(':')))
                QVERIFY2(line.indexOf(QLatin1Char(':')) == 8, qPrintable(line));
        }
    }
    QCOMPARE(DayList::slotOfLine(list.free.first()), 1);
    QCOMPARE(DayList::slotOfLine(list.booked.last()), 11);
}

void TestPrinting::messageBelongsToTheWindowThatPrinted()
{
    Fixture f;
    FakePrintSystem system;
    system.m_state = {State::NoPrinter, {}, {}};
    QtDialogs dialogs;
    QtPrinter printer(f.context().paths, f.clock, dialogs, &system);
    // A modal screen, and a window kept open beside it that prints (the booking screen
    // and its day list).
    QDialog screen;
    screen.setWindowTitle(QStringLiteral("Marcar Consultas"));
    screen.resize(500, 400);
    auto *beside = new QDialog(&screen);
    beside->setWindowTitle(QStringLiteral("Consultas do Dia"));
    auto *print = new QPushButton(QStringLiteral("Imprimir"), beside);
    beside->resize(300, 200);
    print->move(20, 20);
    QObject::connect(print, &QPushButton::clicked, beside,
                     [&] { printer.printLines(QStringLiteral("Consultas do Dia"), {QStringLiteral("x")}, {}); });
    QWidget *owner = nullptr;
    onModal<QDialog>([&](QDialog *) {
        beside->show();
        beside->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), beside);
        onModal<QMessageBox>([&](QMessageBox *box) {
            owner = box->parentWidget();
            box->accept();
        });
        click(print);
        screen.reject();
    });
    screen.exec();
    // The message is the printing window's, which comes back to the front when it closes.
    QCOMPARE(owner, beside);
    QCOMPARE(pdfsIn(printer.printFolder()).size(), 1);
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
