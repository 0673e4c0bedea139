// Printing through a real print system: a private CUPS scheduler of the test's own
// (its configuration, spool and socket in a temporary folder) with a cups-pdf queue as
// the default printer. The cancelled list printed from its tab comes out of the queue
// as a PDF with its rows in it; a queue that rejects jobs, or a stopped one, is named
// to the user and the list stays open when nothing came out.
#include "app/context.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/list_tab.h"
#include "booking/list_tab_widget.h"
#include "booking/tfvisaogeral.h"
#include "booking_setup.h"
#include "platform/qt_printer.h"
#include "support/mouse.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace clinora;
using test::booking;
using test::click;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

const QString kQueue = QStringLiteral("ClinoraPDF");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");

struct Run
{
    int code = -1;
    QString output;
};

// A command of the print system's, bounded in time.
Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(5000);
        result.output = program + QStringLiteral(" did not end");
        return result;
    }
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

// The program on the test clinic, printing through the real print system, with the
// cancelled list's tab open on the booking screen.
struct Desk
{
    explicit Desk(Fixture &fixture)
        : f(fixture),
          printer(f.context().paths, f.clock, f.dialogs),
          context(f.context().paths, f.clock, f.dialogs, printer)
    {
        session::startUp(context);
        main = std::make_unique<TFPrincipal>(context);
        main->FormCreate();
        main->show();
        screen = &main->visaoGeral();
        screen->prepareMonthTab();
        screen->show();
        list = &screen->desmarcadas();
        screen->PageControl1->setCurrentWidget(list);
    }

    Fixture &f;
    QtPrinter printer;
    AppContext context;
    std::unique_ptr<TFPrincipal> main;
    TFVisaoGeral *screen = nullptr;
    ListTabWidget *list = nullptr;
};

} // namespace

class TestCups : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cancelledListComesOutOfTheQueue();
    void rejectingQueueIsToldAndTheListKept();
    void stoppedQueueIsToldBeforePrinting();
    void cleanupTestCase();

private:
    void addPatients(Fixture &f) const;
    QStringList writtenPdfs() const;
    QString text(const QString &pdf) const;
    Run admin(const QString &program, const QStringList &arguments) const;

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_socket;
    QString m_out;
    QString m_instanceConf;
    QString m_pdftotext;
};

void TestCups::initTestCase()
{
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"),
                                                         {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (cupsd.isEmpty())
        QSKIP("cupsd is not installed (Debian package cups): the real print system is not tried");
    // The cups-pdf backend runs as root only, and the scheduler hands jobs to it as root.
    if (::geteuid() != 0)
        QSKIP("the cups-pdf queue needs the scheduler to run as root");
    QVERIFY2(QFileInfo::exists(kBackend) && QFileInfo::exists(kPpd), "printer-driver-cups-pdf is not installed");
    m_pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QVERIFY2(!m_pdftotext.isEmpty(), "pdftotext (poppler-utils) is not installed");
    QVERIFY(m_dir.isValid());

    // The scheduler's filters run as lp: the folders are open for it to pass through.
    const QString root = m_dir.path();
    QVERIFY(QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    for (const char *sub : {"conf", "spool", "cache", "state", "log", "out", "pdfspool"})
        QVERIFY(QDir(root).mkpath(QString::fromLatin1(sub)));
    m_socket = root + QStringLiteral("/cups.sock");
    m_out = root + QStringLiteral("/out");
    QVERIFY(writeFile(root + QStringLiteral("/conf/cups-files.conf"),
                      QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\n"
                                     "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/log/error_log\n"
                                     "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                                     "User lp\nGroup lp\nSystemGroup root\n")
                          .arg(root)));
    QVERIFY(writeFile(root + QStringLiteral("/conf/cupsd.conf"),
                      QStringLiteral("Listen %1\nLogLevel info\nWebInterface No\nBrowsing No\n"
                                     "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                                     "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                     "  </Limit>\n</Policy>\n")
                          .arg(m_socket)));
    // cups-pdf reads the settings of a queue named by its address from the system's
    // folder; this one writes into the test's own.
    const QString instance = QStringLiteral("clinora-test-%1").arg(QCoreApplication::applicationPid());
    m_instanceConf = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(instance);
    QVERIFY2(writeFile(m_instanceConf, QStringLiteral("Out %1\nAnonDirName %1\nSpool %2/pdfspool\nLog %2/log\n")
                                           .arg(m_out, root)),
             qPrintable(m_instanceConf));

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/conf/cupsd.conf"),
                          QStringLiteral("-s"), root + QStringLiteral("/conf/cups-files.conf")});
    QVERIFY2(m_cupsd.waitForStarted(10000), qPrintable(m_cupsd.errorString()));
    QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(m_socket) || m_cupsd.state() == QProcess::NotRunning,
                              "cupsd did not open its socket", 20000);
    QVERIFY2(m_cupsd.state() == QProcess::Running, qPrintable(QString::fromUtf8(m_cupsd.readAll())));
    // The program under test, and the commands below, talk to this scheduler only.
    qputenv("CUPS_SERVER", m_socket.toUtf8());

    const Run added = admin(QStringLiteral("lpadmin"), {QStringLiteral("-p"), kQueue, QStringLiteral("-E"),
                                                        QStringLiteral("-v"), QStringLiteral("cups-pdf:/") + instance,
                                                        QStringLiteral("-P"), kPpd});
    QVERIFY2(added.code == 0, qPrintable(added.output));
    // The PostScript the queue makes on the way keeps the text readable when poppler's
    // cairo renders it (the default turns the letters into drawings).
    const Run renderer = admin(QStringLiteral("lpadmin"), {QStringLiteral("-p"), kQueue, QStringLiteral("-o"),
                                                           QStringLiteral("pdftops-renderer-default=pdftocairo")});
    QVERIFY2(renderer.code == 0, qPrintable(renderer.output));
    const Run chosen = admin(QStringLiteral("lpadmin"), {QStringLiteral("-d"), kQueue});
    QVERIFY2(chosen.code == 0, qPrintable(chosen.output));
}

void TestCups::cleanupTestCase()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }
    if (!m_instanceConf.isEmpty())
        QFile::remove(m_instanceConf);
    qunsetenv("CUPS_SERVER");
}

Run TestCups::admin(const QString &program, const QStringList &arguments) const
{
    const QString path = QStandardPaths::findExecutable(program, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    return run(path.isEmpty() ? program : path, QStringList{QStringLiteral("-h"), m_socket} + arguments);
}

void TestCups::addPatients(Fixture &f) const
{
    test::setUpClinic(f);
    f.addRows({booking(QStringLiteral("10/12H/"), 1, 12, QStringLiteral("Ângela Müller")),
               booking(QStringLiteral("11/12P/"), 2, 12, QStringLiteral("Bruno Lima")),
               booking(QStringLiteral("14/12H/"), 3, 3, QStringLiteral("Conceição Araújo"))});
}

void TestCups::init()
{
    // The queue names its files by the document's title: each test sees only its own.
    for (const QString &pdf : writtenPdfs())
        QFile::remove(pdf);
}

QStringList TestCups::writtenPdfs() const
{
    QStringList result;
    for (const QFileInfo &info : QDir(m_out).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time))
        result << info.filePath();
    return result;
}

QString TestCups::text(const QString &pdf) const
{
    const Run converted = run(m_pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    return converted.code == 0 ? converted.output : QString();
}

void TestCups::cancelledListComesOutOfTheQueue()
{
    Fixture f;
    addPatients(f);
    Desk desk(f);
    click(desk.list->atualizar);
    QCOMPARE(desk.list->tab().entries().count(), 3);
    click(desk.list->imprimir);
    QCOMPARE(f.dialogs.texts(), QStringList());
    QCOMPARE(desk.list->tab().entries().count(), 0);
    // Nothing is left in the print folder: the document went to the printer.
    QCOMPARE(QDir(desk.printer.printFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList());

    QTRY_VERIFY2_WITH_TIMEOUT(!writtenPdfs().isEmpty(), "the queue wrote no PDF", 60000);
    QString printed;
    QTRY_VERIFY_WITH_TIMEOUT((printed = text(writtenPdfs().first())).contains(QStringLiteral("Conceição Araújo")),
                             30000);
    for (const QString &expected : {QStringLiteral("RELAÇÃO DAS CONSULTAS DESMARCADAS"), QStringLiteral("Ângela Müller"),
                                    QStringLiteral("Bruno Lima"), QStringLiteral("Dr. Teste Silva")})
        QVERIFY2(printed.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + printed));
}

void TestCups::rejectingQueueIsToldAndTheListKept()
{
    QCOMPARE(admin(QStringLiteral("cupsreject"), {kQueue}).code, 0);
    Fixture f;
    addPatients(f);
    Desk desk(f);
    click(desk.list->atualizar);
    // First no PDF is wanted: nothing came out, the list stays to be printed again.
    f.dialogs.answerQuestion(false);
    click(desk.list->imprimir);
    const QStringList asked = f.dialogs.texts(Kind::Question);
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().startsWith(QStringLiteral("A impressora \"%1\" recusou o documento: nada foi impresso.")
                                          .arg(kQueue)),
             qPrintable(asked.first()));
    QCOMPARE(desk.list->tab().entries().count(), 3);
    const QString folder = desk.printer.printFolder();
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList());
    // Then the PDF is wanted: it is in the print folder, and the user is told where.
    f.dialogs.clear();
    f.dialogs.answerQuestion(true);
    click(desk.list->imprimir);
    const QStringList pdfs = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    QCOMPARE(pdfs.size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Information).first().endsWith(QDir::toNativeSeparators(folder + QLatin1Char('/') + pdfs.first())));
    QVERIFY(text(folder + QLatin1Char('/') + pdfs.first()).contains(QStringLiteral("Ângela Müller")));
    QCOMPARE(desk.list->tab().entries().count(), 0);
    QCOMPARE(admin(QStringLiteral("cupsaccept"), {kQueue}).code, 0);
}

void TestCups::stoppedQueueIsToldBeforePrinting()
{
    QCOMPARE(admin(QStringLiteral("cupsdisable"), {kQueue}).code, 0);
    Fixture f;
    addPatients(f);
    Desk desk(f);
    click(desk.list->atualizar);
    // Left in the queue: it comes out once the printer is started again.
    f.dialogs.answerQuestion(false);
    click(desk.list->imprimir);
    const QStringList asked = f.dialogs.texts(Kind::Question);
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().startsWith(QStringLiteral("A impressora \"%1\" está parada").arg(kQueue)),
             qPrintable(asked.first()));
    QCOMPARE(desk.list->tab().entries().count(), 0);
    QTest::qWait(2000);
    QCOMPARE(writtenPdfs(), QStringList());
    QCOMPARE(admin(QStringLiteral("cupsenable"), {kQueue}).code, 0);
    QTRY_VERIFY2_WITH_TIMEOUT(!writtenPdfs().isEmpty(), "the queue wrote no PDF", 60000);
}

QTEST_MAIN(TestCups)
#include "tst_cups.moc"
