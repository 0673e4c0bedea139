// The platform layer: data files, dates, stored paths, the instance lock and the
// one place that turns a failed action into an error box.
#include "platform/dates.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/instance_lock.h"
#include <QSysInfo>
#include "platform/paths.h"
#include "platform/private_files.h"
#include "platform/sqlite.h"
#include "platform/table_replacement.h"
#include "platform/text_file.h"
#include "platform/user_action.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/resource.h>

using namespace clinora;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textIsWindows1252WithCrLf();
    void readsEveryLineEnding_data();
    void readsEveryLineEnding();
    void missingFileNamesIt();
    void fullDiskKeepsTheOldFile();
    void fullDiskIsSaidSo_data();
    void fullDiskIsSaidSo();
    void appendCreatesAndAdds();
    void newFilesAreTheirOwnersAlone();
    void groupCommitsAllOrNothing();
    void interruptedGroupIsFinishedAtStart();
    void killedGroupNeverLeavesHalf();
    void tableIsReplacedOnlyWhenTheGroupCommits_data();
    void tableIsReplacedOnlyWhenTheGroupCommits();
    void fixedWidthFields();
    void parsesTypedDates_data();
    void parsesTypedDates();
    void weekdayAndMonthStep();
    void mapsStoredPaths_data();
    void mapsStoredPaths();
    void secondProgramOnSameDirectoryIsRefused();
    void relativeDataDirectoryReleasesItsLock();
    void lockOfAnotherWorkstationNamesHostAndFile();
    void lockLeftByAnEndedProgramIsTakenOver();
    void storeReasonsInPortuguese_data();
    void storeReasonsInPortuguese();
    void fileThatIsNotTextIsDamaged_data();
    void fileThatIsNotTextIsDamaged();
    void failedActionShowsTheErrorBox();
    void plainLinesBreakPages_data();
    void plainLinesBreakPages();
    void drawnListsBreakPages_data();
    void drawnListsBreakPages();
};

void TestPlatform::textIsWindows1252WithCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.Txt"));
    textfile::writeLines(path, {QStringLiteral("Clínica São João €"), QString()});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Cl\xEDnica S\xE3o Jo\xE3o \x80\r\n\r\n"));
    QCOMPARE(textfile::readLines(path), QStringList({QStringLiteral("Clínica São João €"), QString()}));
}

void TestPlatform::readsEveryLineEnding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{QString()};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line unterminated") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("bare lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("bare cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("more lines than line feeds") << QByteArray("a\rb\rc\rd\n\re") << QStringList{"a", "b", "c", "d", "", "e"};
    QTest::newRow("accents of Latin-1") << QByteArray("Jo\xE3o\r\n\xC1gua\r\n") << QStringList{"João", "Água"};
    QTest::newRow("signs of Windows-1252") << QByteArray("Jo\xE3o\r\n\x93R$ 5\x94 \x80\r\n")
                                           << QStringList{"João", "“R$ 5” €"};
}

void TestPlatform::readsEveryLineEnding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("x.Txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QCOMPARE(textfile::readLines(file.fileName()), lines);
    QCOMPARE(textfile::lineCount(file.fileName()), lines.size());
}

void TestPlatform::missingFileNamesIt()
{
    QTemporaryDir dir;
    try {
        textfile::readLines(dir.filePath(QStringLiteral("CodMed.Txt")));
        QFAIL("no error");
    } catch (const FileError &e) {
        QVERIFY(e.message().contains(QStringLiteral("CodMed.Txt")));
    }
}

void TestPlatform::fullDiskKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("CodMed.Txt"));
    textfile::writeLines(path, {QStringLiteral("old contents")});

    // A file-size limit makes the disk "full" after 100 bytes.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &limited);
    bool failed = false;
    try {
        textfile::writeLines(path, QStringList(50, QString(67, QLatin1Char('x'))));
    } catch (const FileError &) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    QVERIFY(failed);
    QCOMPARE(textfile::readLines(path), QStringList{QStringLiteral("old contents")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("CodMed.Txt")});
}

void TestPlatform::appendCreatesAndAdds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ArqMovA.Txt"));
    textfile::appendLines(path, {QStringLiteral("1")});
    textfile::appendLines(path, {QStringLiteral("2"), QStringLiteral("3")});
    QCOMPARE(textfile::readLines(path), QStringList({"1", "2", "3"}));
}

void TestPlatform::newFilesAreTheirOwnersAlone()
{
    // As a user's session leaves it: new files readable by everyone unless a writer says otherwise.
    const mode_t saved = ::umask(022);
    QTemporaryDir dir;
    const auto path = [&](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    QFile shared(path("Esp.Txt"));
    QVERIFY(shared.open(QIODevice::WriteOnly));
    shared.close();
    QVERIFY(shared.setPermissions(shared.permissions() | QFileDevice::ReadOther));

    textfile::writeLines(path("Sit.Txt"), {QStringLiteral("1 Primeira vez")});
    textfile::writeLines(path("Esp.Txt"), {QStringLiteral("51 Clínica Geral")});
    textfile::appendLines(path("ArqMov.Txt"), {QStringLiteral("I 05/01/27")});
    FileGroup group(dir.path());
    group.stageLines(path("Estatisticas/Ano2026/MedMeses.Txt"), {QStringLiteral("0001")});
    group.commit();
    sql::Database(path("Medicos.db"), true).exec(QStringLiteral("CREATE TABLE t (x)"));
    ::umask(saved);

    for (const char *name : {"Sit.Txt", "Esp.Txt", "ArqMov.Txt", "Estatisticas/Ano2026/MedMeses.Txt", "Medicos.db"})
        QVERIFY2(QFileInfo(path(name)).permissions() == (privacy::kFile | QFileDevice::ReadUser | QFileDevice::WriteUser),
                 name);
    for (const char *name : {"Estatisticas", "Estatisticas/Ano2026"})
        QVERIFY2(!(QFileInfo(path(name)).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)), name);
}

namespace {

// The file-size limit makes the disk "full" after this many bytes, inside f.
template<typename F>
bool withFullDisk(rlim_t bytes, F f)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    bool failed = false;
    try {
        f();
    } catch (const FileError &) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    return failed;
}

} // namespace

void TestPlatform::groupCommitsAllOrNothing()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("CodMed.Txt"));
    const QString b = dir.filePath(QStringLiteral("Medicos.Txt"));
    textfile::writeLines(a, {QStringLiteral("old a")});
    textfile::writeLines(b, {QStringLiteral("old b")});

    // The last file does not fit: nothing changes, nothing is left beside them, not
    // even the folders the group would have brought.
    const QString archived = dir.filePath(QStringLiteral("Estatisticas/Ano2026/CodMed.Txt"));
    FileGroup tooBig(dir.path());
    tooBig.stageLines(a, {QStringLiteral("new a")});
    tooBig.stageLines(archived, {QStringLiteral("old a")});
    tooBig.stageLines(b, QStringList(50, QString(67, QLatin1Char('x'))));
    QVERIFY(withFullDisk(100, [&] { tooBig.commit(); }));
    QCOMPARE(textfile::readLines(a), QStringList{QStringLiteral("old a")});
    QCOMPARE(textfile::readLines(b), QStringList{QStringLiteral("old b")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({"CodMed.Txt", "Medicos.Txt"}));

    FileGroup group(dir.path());
    group.stageLines(a, {QStringLiteral("new a")});
    group.stageLines(archived, {QStringLiteral("old a")});
    group.stageLines(b, {QStringLiteral("new b")});
    group.commit();
    QCOMPARE(textfile::readLines(a), QStringList{QStringLiteral("new a")});
    QCOMPARE(textfile::readLines(b), QStringList{QStringLiteral("new b")});
    QCOMPARE(textfile::readLines(archived), QStringList{QStringLiteral("old a")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"CodMed.Txt", "Medicos.Txt"}));
    // The folders it brought are its owner's alone.
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("Estatisticas/Ano2026"))).permissions() & 0x0077, 0);
}

void TestPlatform::interruptedGroupIsFinishedAtStart()
{
    // The state a crash leaves: both staged, the list written, one renamed already.
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("CodMed.Txt"));
    const QString b = dir.filePath(QStringLiteral("Medicos.Txt"));
    textfile::writeLines(a, {QStringLiteral("new a")});
    textfile::writeLines(b, {QStringLiteral("old b")});
    textfile::writeLines(b + QStringLiteral(".novo~"), {QStringLiteral("new b")});
    QFile list(dir.filePath(FileGroup::listName()));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("CodMed.Txt\nMedicos.Txt\n");
    list.close();
    // A temporary of a write that never took effect.
    textfile::writeLines(dir.filePath(QStringLiteral("Esp.Txt.novo~")), {QStringLiteral("half")});

    QCOMPARE(FileGroup::recover(dir.path()), QStringList{QFileInfo(b).absoluteFilePath()});
    QCOMPARE(textfile::readLines(a), QStringList{QStringLiteral("new a")});
    QCOMPARE(textfile::readLines(b), QStringList{QStringLiteral("new b")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"CodMed.Txt", "Medicos.Txt"}));
}

void TestPlatform::killedGroupNeverLeavesHalf()
{
    // A child commits generation after generation of three files; it is killed at a
    // random moment, the start's recovery runs, and the three must agree.
    std::mt19937 random(20261210);
    for (int round = 0; round < 40; ++round) {
        QTemporaryDir dir;
        const QStringList names{dir.filePath("CodMed.Txt"), dir.filePath("Medicos.Txt"),
                                dir.filePath("DiaMedHora.Txt")};
        for (const QString &name : names)
            textfile::writeLines(name, {QStringLiteral("0")});
        const pid_t child = fork();
        if (child == 0) {
            for (int generation = 1;; ++generation) {
                FileGroup group(dir.path());
                for (const QString &name : names)
                    group.stageLines(name, QStringList(generation % 7 + 1, QString::number(generation)));
                group.commit();
            }
        }
        QVERIFY(child > 0);
        ::usleep(std::uniform_int_distribution<useconds_t>(200, 20000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        FileGroup::recover(dir.path());
        const QStringList first = textfile::readLines(names[0]);
        QVERIFY(!first.isEmpty());
        for (const QString &name : names)
            QCOMPARE(textfile::readLines(name), first);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    }
}

namespace {

void writeTable(const QString &path, const QString &value)
{
    sql::Database db(path, true);
    db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS t(v TEXT); INSERT INTO t VALUES('%1')").arg(value));
}

// Every value of the table, as the next program that opens it reads them.
QString tableValues(const QString &path)
{
    sql::Database db(path, false);
    sql::Statement select = db.prepare(QStringLiteral("SELECT v FROM t ORDER BY rowid"));
    QStringList values;
    while (select.step())
        values << select.text(0);
    return values.join(QLatin1Char(','));
}

// The rollback journal a crash leaves in the middle of a change to the table at path,
// written beside target.
void leaveHotJournal(const QString &path, const QString &target)
{
    const QString scratch = path + QStringLiteral(".scratch");
    QVERIFY(QFile::copy(path, scratch));
    sql::Database db(scratch, false);
    db.exec(QStringLiteral("PRAGMA synchronous=OFF; BEGIN; UPDATE t SET v='half'"));
    QVERIFY(QFile::copy(scratch + QStringLiteral("-journal"), target + QStringLiteral("-journal")));
    db.exec(QStringLiteral("ROLLBACK"));
    db.close();
    QFile::remove(scratch);
}

} // namespace

void TestPlatform::tableIsReplacedOnlyWhenTheGroupCommits_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("error"); // empty: the replacement goes through
    QTest::addColumn<QStringList>("calls");
    const QStringList released{QStringLiteral("release before the swap")};
    const QStringList reopened = released + QStringList{QStringLiteral("reopen")};
    QTest::newRow("nothing in the way") << "" << "" << released;
    QTest::newRow("a leftover of an earlier attempt") << "leftover" << "" << released;
    QTest::newRow("a rollback journal of the old table") << "journal" << "" << released;
    QTest::newRow("the write fails") << "write" << "disco cheio" << QStringList();
    QTest::newRow("the copy is not a table") << "text" << "não é uma tabela" << QStringList();
    QTest::newRow("the copy was not written") << "nothing" << "não existe" << QStringList();
    QTest::newRow("a file staged after the table is missing") << "late" << "Nada.Txt" << QStringList();
    QTest::newRow("another file cannot be staged") << "blocked" << "Esp.Txt" << reopened;
    QTest::newRow("a rename fails after the commit list") << "decided" << "Esp.Txt" << reopened;
}

void TestPlatform::tableIsReplacedOnlyWhenTheGroupCommits()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, error);
    QFETCH(QStringList, calls);
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("Medicos.db"));
    const QString staged = FileGroup::temporaryPath(table);
    const QString other = dir.filePath(QStringLiteral("Esp.Txt"));
    writeTable(table, QStringLiteral("old"));
    if (obstacle == QLatin1String("decided"))
        QVERIFY(QDir().mkpath(other + QStringLiteral("/in the way")));
    else
        textfile::writeLines(other, {QStringLiteral("old")});
    if (obstacle == QLatin1String("leftover"))
        writeTable(staged, QStringLiteral("leftover"));
    if (obstacle == QLatin1String("journal"))
        leaveHotJournal(table, table);
    if (obstacle == QLatin1String("blocked"))
        QVERIFY(QDir().mkpath(FileGroup::temporaryPath(other)));

    QStringList called;
    try {
        FileGroup group(dir.path());
        group.stageLines(other, {QStringLiteral("new")});
        TableReplacement replacement(group, table);
        replacement.stage([&](const QString &path) {
            if (obstacle == QLatin1String("write"))
                throw FileError(QStringLiteral("disco cheio"));
            if (obstacle == QLatin1String("text"))
                textfile::writeLines(path, {QStringLiteral("new")});
            else if (obstacle != QLatin1String("nothing"))
                writeTable(path, QStringLiteral("new"));
        });
        if (obstacle == QLatin1String("late"))
            group.stageCopy(dir.filePath(QStringLiteral("Nada.Txt")), other);
        replacement.commit(
            [&] {
                called << (QFileInfo::exists(staged) ? QStringLiteral("release before the swap")
                                                     : QStringLiteral("release after the swap"));
            },
            [&] { called << QStringLiteral("reopen"); });
        QVERIFY2(error.isEmpty(), "the replacement reported success");
    } catch (const FileError &e) {
        QVERIFY2(!error.isEmpty() && e.message().contains(error), qPrintable(e.message()));
    }
    QCOMPARE(called, calls);
    if (obstacle == QLatin1String("decided")) {
        // The next start finishes the commit, the table included, once the way is free.
        QVERIFY(QFileInfo::exists(staged));
        QVERIFY(QDir(other).removeRecursively());
        FileGroup::recover(dir.path());
    }
    const bool replaced = error.isEmpty() || obstacle == QLatin1String("decided");
    QCOMPARE(tableValues(table), replaced ? QStringLiteral("new") : QStringLiteral("old"));
    QCOMPARE(textfile::readLines(other), QStringList{replaced ? QStringLiteral("new") : QStringLiteral("old")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Esp.Txt", "Medicos.db"}));
}

void TestPlatform::fixedWidthFields()
{
    QCOMPARE(textfile::fixed(QStringLiteral("7"), 2), QStringLiteral("7 "));
    QCOMPARE(textfile::fixed(QStringLiteral("Cardiologia Pediátrica"), 15), QStringLiteral("Cardiologia Ped"));
    QCOMPARE(textfile::field(QStringLiteral("12Ana"), 2, 25), QStringLiteral("Ana"));
    QCOMPARE(textfile::field(QStringLiteral("12"), 27, 15), QString());
    QCOMPARE(textfile::trimRight(QStringLiteral(" a  ")), QStringLiteral(" a"));
}

void TestPlatform::parsesTypedDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::newRow("short form") << "1/5/13" << QDate(2013, 5, 1);
    QTest::newRow("two-digit year") << "07/09/13" << QDate(2013, 9, 7);
    QTest::newRow("full") << "31/12/2026" << QDate(2026, 12, 31);
    QTest::newRow("definitive leave") << "31/12/55" << QDate(2055, 12, 31);
    QTest::newRow("blanks around") << " 05/01/27 " << QDate(2027, 1, 5);
    QTest::newRow("no such day") << "30/02/27" << QDate();
    QTest::newRow("not a date") << "abc" << QDate();
    QTest::newRow("two parts") << "1/5" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("cancelled marker") << "05/01H/" << QDate();
}

void TestPlatform::parsesTypedDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QCOMPARE(dates::parse(typed).value_or(QDate()), date);
    if (!date.isValid())
        QVERIFY_THROWS_EXCEPTION(ConversionError, dates::parseOrThrow(typed));
}

void TestPlatform::weekdayAndMonthStep()
{
    QCOMPARE(dates::weekday(QDate(2026, 12, 6)), 1); // Sunday
    QCOMPARE(dates::weekday(QDate(2026, 12, 12)), 7); // Saturday
    QCOMPARE(dates::addMonth(QDate(2027, 1, 31)), QDate(2027, 2, 28));
    QCOMPARE(dates::addMonth(QDate(2028, 1, 30)), QDate(2028, 2, 29));
    QCOMPARE(dates::format(QDate(2027, 1, 5)), QStringLiteral("05/01/2027"));
    QCOMPARE(dates::formatShort(QDate(2027, 1, 5)), QStringLiteral("05/01/27"));
    QCOMPARE(dates::dateTimeText(QDateTime(QDate(2027, 1, 5), QTime(9, 3, 7))),
             QStringLiteral("05/01/2027 09:03:07"));
}

void TestPlatform::mapsStoredPaths_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("local");
    QTest::newRow("mirror drive") << "E:\\Consultas\\Espelho" << "/drives/E/Consultas/Espelho";
    QTest::newRow("lower-case drive") << "e:\\Consultas\\Espelho" << "/drives/E/Consultas/Espelho";
    QTest::newRow("data directory") << "C:\\Consultas\\Foto\\Capa.png" << "/data/Foto/Capa.png";
    QTest::newRow("data directory itself") << "C:\\Consultas" << "/data";
    QTest::newRow("other folder of C:") << "C:\\Outros\\a.png" << "/drives/C/Outros/a.png";
    QTest::newRow("relative") << "Foto\\Capa.png" << "/data/Foto/Capa.png";
    QTest::newRow("local absolute") << "/srv/fotos/capa.png" << "/srv/fotos/capa.png";
}

void TestPlatform::mapsStoredPaths()
{
    QFETCH(QString, stored);
    QFETCH(QString, local);
    const Paths paths(QStringLiteral("/data"), QStringLiteral("/drives"));
    QCOMPARE(paths.local(stored), local);
}

void TestPlatform::secondProgramOnSameDirectoryIsRefused()
{
    QTemporaryDir dir;
    InstanceLock first(dir.path());
    QVERIFY(first.acquire());
    InstanceLock second(dir.path());
    QVERIFY(!second.acquire());
    QVERIFY(second.refusal().contains(QStringLiteral("já está aberto")));
    QVERIFY(second.refusal().contains(QDir::toNativeSeparators(dir.path())));
}

void TestPlatform::relativeDataDirectoryReleasesItsLock()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Consultas"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        InstanceLock lock(QStringLiteral("Consultas"));
        QVERIFY(lock.acquire());
        // The program works inside its data directory from here on.
        QDir::setCurrent(dir.filePath(QStringLiteral("Consultas")));
    }
    QDir::setCurrent(before);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Consultas/Clinora.lock"))));
    InstanceLock next(dir.filePath(QStringLiteral("Consultas")));
    QVERIFY(next.acquire());
}

void TestPlatform::lockOfAnotherWorkstationNamesHostAndFile()
{
    // A lock left on a shared folder by a program on another workstation.
    QTemporaryDir dir;
    const QString lockFile = dir.filePath(QStringLiteral("Clinora.lock"));
    QFile file(lockFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("4242\nclinora\nrecepcao-2\n");
    file.close();
    InstanceLock lock(dir.path());
    QVERIFY(!lock.acquire());
    QVERIFY2(lock.refusal().contains(QStringLiteral("\"recepcao-2\"")), qPrintable(lock.refusal()));
    QVERIFY2(lock.refusal().contains(QStringLiteral("apague o arquivo ") + QDir::toNativeSeparators(lockFile)),
             qPrintable(lock.refusal()));
    QVERIFY(QFileInfo::exists(lockFile)); // the decision is the user's
}

void TestPlatform::lockLeftByAnEndedProgramIsTakenOver()
{
    // A program of this workstation ended without giving the folder up (a power cut).
    QTemporaryDir dir;
    const QString lockFile = dir.filePath(QStringLiteral("Clinora.lock"));
    QFile file(lockFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("4242\nclinora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    file.close();
    {
        InstanceLock lock(dir.path());
        QVERIFY2(lock.acquire(), qPrintable(lock.refusal()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine().trimmed().toLongLong(), qint64(QCoreApplication::applicationPid()));
        file.close();
        InstanceLock second(dir.path());
        QVERIFY(!second.acquire());
        QVERIFY(second.refusal().contains(QString::number(QCoreApplication::applicationPid())));
    }
    QVERIFY(!QFileInfo::exists(lockFile));
}

void TestPlatform::storeReasonsInPortuguese_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << 13 << "não há espaço livre no disco";
    QTest::newRow("locked") << 5 << "bloqueado por outro programa";
    QTest::newRow("read-only") << 8 << "só pode ser lido";
    QTest::newRow("damaged") << 11 << "danificado";
    QTest::newRow("not a database") << 26 << "não é um banco de dados";
    QTest::newRow("disk error, extended code") << (10 | (4 << 8)) << "erro de leitura ou gravação";
}

void TestPlatform::storeReasonsInPortuguese()
{
    QFETCH(int, code);
    QFETCH(QString, reason);
    QVERIFY2(sql::describe(code).contains(reason), qPrintable(sql::describe(code)));
}

void TestPlatform::fileThatIsNotTextIsDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("first"); // the byte the message names (0: not checked)
    QTest::newRow("zeros") << QByteArray(512, '\0') << 1;
    QTest::newRow("a line with a control byte") << QByteArray("Nao\r\n01/01/2000\r\nA2\x01""000\r\n") << 20;
    QTest::newRow("delete after accents") << QByteArray("Jo\xE3o \x7F\r\n") << 6;
    QTest::newRow("control byte before a zero") << QByteArray("ab\x02\0c", 5) << 3;
    QTest::newRow("zero before a control byte") << QByteArray("ab\0\x02c", 5) << 3;
    std::mt19937 random(21);
    QByteArray noise(300, Qt::Uninitialized);
    for (char &c : noise)
        c = static_cast<char>(random() & 0xFF);
    QTest::newRow("random bytes") << noise << 0;
}

void TestPlatform::fileThatIsNotTextIsDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, first);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Automatica.Txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    try {
        textfile::readLines(path);
        QFAIL("read as text");
    } catch (const DamagedFileError &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)) && e.message().contains(QStringLiteral("danificado")),
                 qPrintable(e.message()));
        if (first > 0)
            QVERIFY2(e.message().contains(QStringLiteral("no byte %1 ").arg(first)), qPrintable(e.message()));
    }
}

void TestPlatform::failedActionShowsTheErrorBox()
{
    test::ScriptedDialogs dialogs;
    bool after = false;
    const bool ok = runUserAction(dialogs, [&] {
        textfile::readLines(QStringLiteral("/no/such/DataIniFim.Txt"));
        after = true;
    });
    QVERIFY(!ok);
    QVERIFY(!after);
    QCOMPARE(dialogs.texts(test::ScriptedDialogs::Kind::Error).size(), 1);
    QVERIFY(dialogs.texts().first().contains(QStringLiteral("DataIniFim.Txt")));
    QVERIFY(runUserAction(dialogs, [] {}));
}

void TestPlatform::plainLinesBreakPages_data()
{
    QTest::addColumn<int>("bodyLines");
    QTest::addColumn<int>("headLines");
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("pages");
    // 14 points are 70 units a line on the recording printer.
    QTest::newRow("one page") << 10 << 3 << 3394 << 1;
    QTest::newRow("exactly full") << 7 << 3 << 700 << 1;
    QTest::newRow("one line over") << 8 << 3 << 700 << 2;
    QTest::newRow("many pages") << 100 << 8 << 1400 << 9;
    QTest::newRow("no headings") << 25 << 0 << 700 << 3;
    QTest::newRow("headings fill the page") << 3 << 12 << 700 << 3;
}

void TestPlatform::plainLinesBreakPages()
{
    QFETCH(int, bodyLines);
    QFETCH(int, headLines);
    QFETCH(int, pageHeight);
    QFETCH(int, pages);
    QStringList head, body;
    for (int i = 0; i < headLines; ++i)
        head << QStringLiteral("Cabeçalho %1").arg(i);
    for (int i = 0; i < bodyLines; ++i)
        body << QStringLiteral("Linha %1").arg(i);
    test::RecordingPrinter printer;
    printer.setPageHeight(pageHeight);
    PrintFont font;
    font.pointSize = 14;
    printer.printLines(QStringLiteral("Lista"), head + body, font, headLines);

    const auto &doc = printer.documents().last();
    QCOMPARE(doc.pages, pages);
    QStringList printedBody;
    for (int p = 1; p <= doc.pages; ++p) {
        const QStringList page = doc.page(p);
        QCOMPARE(page.mid(0, headLines), head);
        QVERIFY(page.size() > headLines);
        printedBody << page.mid(headLines);
    }
    QCOMPARE(printedBody, body);
    // Nothing runs off the bottom, unless the headings alone fill the page.
    if ((headLines + 1) * 70 <= pageHeight) {
        for (const auto &t : doc.texts)
            QVERIFY(t.y + 70 <= pageHeight);
    }
}

void TestPlatform::drawnListsBreakPages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("pages");
    // An A4 page holds the rows from 250 to 3354: 78 rows.
    QTest::newRow("one page") << 78 << 2400 << 1;
    QTest::newRow("two pages") << 79 << 2400 << 2;
    QTest::newRow("scaled twice, same pages") << 200 << 4800 << 3;
    QTest::newRow("empty list") << 0 << 2400 << 1;
}

void TestPlatform::drawnListsBreakPages()
{
    QFETCH(int, rows);
    QFETCH(int, pageWidth);
    QFETCH(int, pages);
    const int f = pageWidth / 2400;
    DrawnList list;
    list.title = QStringLiteral("Relação");
    list.head = {{600, 130, QStringLiteral("RELAÇÃO")}, {200, 200, QStringLiteral("Data")}, {400, 200, QStringLiteral("Hora")}};
    list.columns = {200, 430};
    for (int i = 0; i < rows; ++i)
        list.rows << QStringList{QStringLiteral("d%1").arg(i), QString::number(i)};
    test::RecordingPrinter printer;
    printer.setPageWidth(pageWidth);
    printer.setPageHeight(3394 * f);
    printer.printList(list);

    const auto &doc = printer.documents().last();
    QCOMPARE(doc.pages, pages);
    int next = 0;
    for (int p = 1; p <= doc.pages; ++p) {
        QCOMPARE(doc.page(p).mid(0, 3), QStringList({"RELAÇÃO", "Data", "Hora"}));
        int step = 0;
        for (const auto &t : doc.texts) {
            if (t.page != p || t.x != 200 * f || t.y == 200 * f)
                continue;
            // Rows follow one another, 40 units apart, from 250, and stay on the page.
            QCOMPARE(t.text, QStringLiteral("d%1").arg(next++));
            QCOMPARE(t.y, (250 + 40 * step++) * f);
            QCOMPARE(t.font.pixelHeight, 40 * f);
            // No wider than the space before the next column.
            QCOMPARE(t.width, (430 - 10 - 200) * f);
            QVERIFY(t.y + t.font.pixelHeight <= printer.pageHeight());
        }
    }
    QCOMPARE(next, rows);
}

void TestPlatform::fullDiskIsSaidSo_data()
{
    QTest::addColumn<bool>("lock"); // the start's reservation of the folder, or a file's rewrite
    QTest::newRow("reserving the data folder") << true;
    QTest::newRow("rewriting a file") << false;
}

void TestPlatform::fullDiskIsSaidSo()
{
    QFETCH(bool, lock);
    // A small disk of its own, filled up.
    QTemporaryDir dir;
    const QString disk = dir.filePath(QStringLiteral("disco"));
    QVERIFY(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=256k"), QStringLiteral("tmpfs"), disk}) != 0)
        QSKIP("no small disk can be mounted here");
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
    const QString data = disk + QStringLiteral("/Consultas");
    QVERIFY(QDir().mkpath(data));
    const QString settings = data + QStringLiteral("/Automatica.Txt");
    textfile::writeLines(settings, {QStringLiteral("Nao")});
    {
        QFile filler(disk + QStringLiteral("/enche"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    QString told;
    if (lock) {
        InstanceLock reservation(data);
        QVERIFY(!reservation.acquire());
        told = reservation.refusal();
    } else {
        try {
            textfile::writeLines(settings, QStringList(100, QString(67, QLatin1Char('x'))));
        } catch (const FileError &e) {
            told = e.message();
        }
    }
    QVERIFY2(told.contains(QStringLiteral("está cheio")), qPrintable(told));
    QVERIFY2(!told.contains(QStringLiteral("permissão")), qPrintable(told));
    QVERIFY2(told.contains(QDir::toNativeSeparators(lock ? data : settings)), qPrintable(told));
}

QTEST_APPLESS_MAIN(TestPlatform)
#include "tst_platform.moc"
