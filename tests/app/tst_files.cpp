// Patients' names never leave their user: the folders and files the program creates,
// the printed lists written as PDF, a data folder others can open, and nothing written
// outside the data folder.
#include "app/session.h"
#include "platform/qt_printer.h"
#include "protection/mirror.h"
#include "support/fixture.h"

#include <QDirIterator>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                             QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                             QFileDevice::WriteOther | QFileDevice::ExeOther;

// The entries below a folder that someone other than their owner can open.
QStringList openToOthers(const QString &dir)
{
    QStringList found;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        if (entry.permissions() & kOthers)
            found << entry.filePath();
    }
    return found;
}

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printedListIsPrivate();
    void mirrorIsPrivate();
    void dataFolderOthersCanOpenIsReported_data();
    void dataFolderOthersCanOpenIsReported();
    void programWritesOnlyItsDataFolder();
};

void TestFiles::printedListIsPrivate()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed here: nothing goes to a PDF file");
    Fixture f;
    const mode_t saved = ::umask(022);
    QtPrinter printer(f.context().paths, f.clock, f.dialogs);
    printer.begin(QStringLiteral("Lista de Espera"));
    printer.drawText(10, 10, QStringLiteral("Ângela Müller  9988-7766"), PrintFont{});
    printer.end();
    ::umask(saved);
    const QStringList pdfs = QDir(printer.printFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    QCOMPARE(pdfs.size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Information).first().contains(pdfs.first()));
    QCOMPARE(openToOthers(f.dir()), QStringList());
}

void TestFiles::mirrorIsPrivate()
{
    // A mirror drive on which the clinic's folder does not exist yet.
    Fixture f;
    const QString drive = f.drives() + QStringLiteral("/E");
    QVERIFY(QDir().mkpath(drive));
    AppContext &context = f.start();
    context.settings.setMirroring(QStringLiteral("Com"));
    const mode_t saved = ::umask(022);
    const bool written = mirror::writeSystem(context, false);
    ::umask(saved);
    QVERIFY2(written, qPrintable(f.dialogs.texts().join(QLatin1Char('|'))));
    QVERIFY(QFileInfo::exists(f.mirror() + QStringLiteral("/Medicos3.db")));
    QCOMPARE(openToOthers(drive), QStringList());
}

void TestFiles::dataFolderOthersCanOpenIsReported_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("reported");
    QTest::newRow("its owner's alone") << 0700 << false;
    QTest::newRow("the group may read it") << 0750 << true;
    QTest::newRow("anyone may read it") << 0755 << true;
}

void TestFiles::dataFolderOthersCanOpenIsReported()
{
    QFETCH(int, mode);
    QFETCH(bool, reported);
    Fixture f;
    QVERIFY(::chmod(QFile::encodeName(f.dir()).constData(), static_cast<mode_t>(mode)) == 0);
    f.start();
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), reported ? 1 : 0);
    if (reported) {
        QVERIFY2(warnings.first().contains(QStringLiteral("chmod -R go= \"%1\"").arg(f.dir())),
                 qPrintable(warnings.first()));
        QVERIFY(warnings.first().contains(QStringLiteral("telefones dos pacientes")));
    }
}

void TestFiles::programWritesOnlyItsDataFolder()
{
    // The program run as a user runs it, on a home of its own, creating a clinic.
    QTemporaryDir tmp;
    const QString home = tmp.filePath(QStringLiteral("home"));
    const QString data = home + QStringLiteral("/ClinicaDemo");
    QVERIFY(QDir().mkpath(home));
    QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("run"))));
    QFile::setPermissions(tmp.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), tmp.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(CLINORA_EXE),
                  {QStringLiteral("--demo"), data, QStringLiteral("--sair-ao-mostrar")});
    QVERIFY(program.waitForFinished(240000));
    QCOMPARE(program.exitCode(), 0);

    QDirIterator it(home, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QStringList written;
    while (it.hasNext())
        written << it.next();
    QCOMPARE(written, QStringList{data});
    QVERIFY(QFileInfo::exists(data + QStringLiteral("/Medicos.db")));
    QVERIFY(!(QFileInfo(data).permissions() & kOthers));
    QCOMPARE(openToOthers(data), QStringList());
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
