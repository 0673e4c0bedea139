// The statistics, against bare work that reads and writes the same, run alternately
// (A B A B ...), each figure the median of the per-pair ratios:
//  - the automatic entry over the 31 missed days of a full month, at a full month and
//    at ten times that: the program (one read per day, the weekly table, the movements,
//    posting, the files committed as one group) against the bare SQLite reads of the
//    same 31 dates plus the same bytes of the changed files written;
//  - posting 13,950 pending lines: the program against reading MovMes.Txt and writing
//    the four files it changes;
//  - the year close with December's lines pending: the program (posting, the ten files
//    archived, the history shifted, the tables, weeks and settings reset, all as one
//    group) against reading the same files and writing the same bytes, archive folder
//    included, with fsync.
// The bare writes come twice: as a group (each file written and synced beside its
// target, a synced list naming them, all renamed, the directory synced, the list
// removed and the directory synced again: the writes the program's commit makes), and
// as plain durable writes of the files alone (written, synced, renamed, the directory
// synced once), which leaves the group's list out.
#include "app/context.h"
#include "bench_data.h"
#include "core/data_files.h"
#include "core/doctor_register.h"
#include "core/settings.h"
#include "platform/dates.h"
#include "platform/text_file.h"
#include "statistics/automatic_entry.h"
#include "statistics/doctor_months.h"
#include "statistics/pending_movements.h"
#include "statistics/posting.h"
#include "statistics/year_close.h"
#include "statistics/year_code.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <sqlite3.h>
#include <unistd.h>

using namespace clinora;

namespace {

const QStringList kStatisticsFiles = {files::kDoctorMonths, files::kSpecialtyMonths,  files::kSituationMonths,
                                      files::kWeeklyCounts, files::kPendingMovements, files::kSettings,
                                      files::kWeeks};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// The files as they stand, to put back before each program run.
std::map<QString, QByteArray> keep(const QString &dir)
{
    std::map<QString, QByteArray> kept;
    for (const QString &name : kStatisticsFiles)
        kept[name] = bytesOf(dir + QLatin1Char('/') + name);
    return kept;
}

void putBack(const QString &dir, const std::map<QString, QByteArray> &kept)
{
    for (const auto &[name, bytes] : kept)
        textfile::writeBytes(dir + QLatin1Char('/') + name, bytes);
}

// What a run changed: the files whose bytes differ from the kept ones.
std::map<QString, QByteArray> changed(const QString &dir, const std::map<QString, QByteArray> &kept)
{
    std::map<QString, QByteArray> result;
    for (const auto &[name, bytes] : kept) {
        const QByteArray now = bytesOf(dir + QLatin1Char('/') + name);
        if (now != bytes)
            result[name] = now;
    }
    return result;
}

void writeFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size() ||
        ::fsync(fd) != 0)
        std::abort();
    ::close(fd);
}

void syncDirectory(const QString &dir)
{
    const int fd = ::open(dir.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    ::fsync(fd);
    ::close(fd);
}

QByteArray temporary(const QString &dir, const QString &name)
{
    return (dir + QLatin1Char('/') + name + QStringLiteral(".tmp")).toLocal8Bit();
}

void writeTemporaries(const QString &dir, const std::map<QString, QByteArray> &files)
{
    for (const auto &[name, bytes] : files)
        writeFile(temporary(dir, name), bytes);
}

void renameAll(const QString &dir, const std::map<QString, QByteArray> &files)
{
    for (const auto &[name, bytes] : files) {
        if (::rename(temporary(dir, name).constData(),
                     (dir + QLatin1Char('/') + name).toLocal8Bit().constData()) != 0)
            std::abort();
    }
}

// Syncs every folder the files were renamed into (the archive folder of a year close
// besides the data directory).
void syncFolders(const QString &dir, const std::map<QString, QByteArray> &files)
{
    QStringList folders{dir};
    for (const auto &[name, bytes] : files) {
        const QString folder = QFileInfo(dir + QLatin1Char('/') + name).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    for (const QString &folder : folders)
        syncDirectory(folder);
}

// The bare group write: the files and a list naming them, as one commit.
void writeGroup(const QString &dir, const std::map<QString, QByteArray> &files)
{
    writeTemporaries(dir, files);
    QByteArray listed;
    for (const auto &[name, bytes] : files)
        listed += name.toUtf8() + '\n';
    const QByteArray list = (dir + QStringLiteral("/lista")).toLocal8Bit();
    writeFile(list + ".tmp", listed);
    if (::rename((list + ".tmp").constData(), list.constData()) != 0)
        std::abort();
    renameAll(dir, files);
    syncFolders(dir, files);
    ::unlink(list.constData());
    syncDirectory(dir);
}

// The bare plain write: the files alone, each written and synced beside its target,
// all renamed, the directory synced.
void writeDurably(const QString &dir, const std::map<QString, QByteArray> &files)
{
    writeTemporaries(dir, files);
    renameAll(dir, files);
    syncFolders(dir, files);
}

// The program against the bare read plus each of the bare writes, in pairs.
template <typename Program, typename Before, typename Read>
void compare(const char *label, int pairs, Program program, Before before, Read read, const QString &dir,
             const std::map<QString, QByteArray> &written)
{
    const auto bare = [&](void (*write)(const QString &, const std::map<QString, QByteArray> &)) {
        return [&, write] {
            before();
            return bench::timeMs([&] {
                read();
                write(dir, written);
            });
        };
    };
    const bench::Paired group = bench::paired(pairs, program, bare(&writeGroup));
    const bench::Paired plain = bench::paired(pairs, program, bare(&writeDurably));
    std::printf("  %s\n", label);
    bench::report("bare writes as one group", group);
    bench::report("bare writes the files alone", plain);
}

// The register's specialties on the doctors' MedMeses.Txt rows, as the doctor editor
// leaves them.
void linkDoctorRows(const QString &dir)
{
    DoctorRegister doctors;
    doctors.load(dir + QLatin1Char('/'));
    DoctorMonths months;
    months.load(dir + QLatin1Char('/') + files::kDoctorMonths);
    months.relink(doctors);
    months.save(dir + QLatin1Char('/') + files::kDoctorMonths);
}

void automaticEntry(int pairs, int size)
{
    // The missed days are July 2026; the program starts on 1 August.
    const QDate first(2026, 7, 1);
    const QDate last(2026, 7, 31);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const int rows = bench::buildClinic(dir, first, size);
    linkDoctorRows(dir);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), QDate(2026, 8, 1));
    AppContext &context = program.context;
    context.DMMedicos.close();
    context.DMMedicos.open();
    context.settings.setAutomaticEntry(QStringLiteral("Sim"));
    context.settings.setLastProcessed(dates::format(first.addDays(-1)));
    context.saveSettings();
    const auto kept = keep(dir);

    // One run to learn what the program writes.
    runAutomaticEntry(context, first, last);
    const auto written = changed(dir, kept);

    sqlite3 *db = nullptr;
    sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                    nullptr);
    std::vector<std::string> days;
    for (QDate d = first; d <= last; d = d.addDays(1))
        days.push_back(dates::formatShort(d).toStdString());
    std::size_t bareRows = 0;
    std::printf("%d rows in the table; the program writes %zu files\n", rows, written.size());
    compare(
        "automatic entry, 31 missed days", pairs,
        [&] {
            putBack(dir, kept);
            context.settings.setLastProcessed(dates::format(first.addDays(-1)));
            return bench::timeMs([&] { runAutomaticEntry(context, first, last); });
        },
        [&] { putBack(dir, kept); },
        [&] {
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            for (const std::string &day : days)
                bareRows += bench::bareRead(db,
                                            "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, "
                                            "Observacoes FROM Medicos WHERE Data = ?1",
                                            {day})
                                .size();
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        },
        dir, written);
    sqlite3_close(db);
    if (bareRows != 2 * static_cast<std::size_t>(pairs) * 31 * 1200)
        std::abort();
}

void posting(int pairs)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const QDate today(2026, 8, 1);
    bench::buildClinic(dir, today, bench::kMonthRows);
    linkDoctorRows(dir);
    QStringList pending;
    for (int i = 0; i < 13950; ++i)
        pending << PendingMovements::line(1 + i % 50, 1 + (i / 50) % 12, 1 + (i / 7) % 9, 1 + i % 30);
    textfile::writeLines(dir + QLatin1Char('/') + files::kPendingMovements, pending);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
    AppContext &context = program.context;
    const auto kept = keep(dir);

    const PostingResult first = postPendingMovements(context);
    const auto written = changed(dir, kept);
    const QString movements = dir + QLatin1Char('/') + files::kPendingMovements;
    qsizetype read = 0;
    std::printf("%d lines posted, %lld set aside; the program writes %zu files\n", first.posted,
                static_cast<long long>(first.setAside.size()), written.size());
    compare(
        "posting 13,950 pending lines", pairs,
        [&] {
            putBack(dir, kept);
            return bench::timeMs([&] { postPendingMovements(context); });
        },
        [&] { putBack(dir, kept); }, [&] { read += bytesOf(movements).size(); }, dir, written);
    if (read == 0)
        std::abort();
}

// Every file below the data directory but the table, by its path relative to it.
std::map<QString, QByteArray> allFiles(const QString &dir)
{
    std::map<QString, QByteArray> result;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(dir).relativeFilePath(path);
        if (!name.startsWith(QStringLiteral("Medicos.db")))
            result[name] = bytesOf(path);
    }
    return result;
}

void yearClose(int pairs, int size)
{
    // 2026 still open on 10 January 2027, with December's sheets pending.
    const QDate today(2027, 1, 10);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const int rows = bench::buildClinic(dir, today, size);
    linkDoctorRows(dir);
    QStringList pending;
    for (int i = 0; i < 1200; ++i)
        pending << PendingMovements::line(1 + i % 50, 12, 1 + (i / 7) % 9, 1 + i % 30);
    textfile::writeLines(dir + QLatin1Char('/') + files::kPendingMovements, pending);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
    AppContext &context = program.context;
    context.settings.setYearState(openYearCode(2026));
    context.saveSettings();
    const Settings settings = context.settings;
    const auto kept = allFiles(dir);
    const QString archive = dir + QLatin1Char('/') + archiveFolder(2026);
    const auto before = [&] {
        QDir(archive).removeRecursively();
        for (const auto &[name, bytes] : kept)
            textfile::writeBytes(dir + QLatin1Char('/') + name, bytes);
        context.settings = settings;
    };

    // One run to learn what the program reads and writes: a file it writes gets a new
    // time, even where its bytes come out as they were (a table reset to its template).
    const QDateTime past = QDateTime::currentDateTime().addDays(-1);
    for (const auto &[name, bytes] : kept) {
        QFile file(dir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(past, QFileDevice::FileModificationTime))
            std::abort();
    }
    closeStatisticsYear(context);
    std::map<QString, QByteArray> written;
    for (const auto &[name, bytes] : allFiles(dir)) {
        if (!kept.contains(name) || QFileInfo(dir + QLatin1Char('/') + name).lastModified() > past)
            written[name] = bytes;
    }
    if (context.settings.yearState() != openYearCode(2027) || !QFileInfo::exists(archive + QStringLiteral("/MedMeses.Txt")))
        std::abort();
    // The bare reads: the files the close archives or rebuilds, and the templates.
    QStringList read;
    for (const auto &[name, bytes] : kept)
        if (!name.contains(QLatin1Char('/')))
            read << dir + QLatin1Char('/') + name;
    std::printf("%d rows in the table; the year close writes %zu files\n", rows, written.size());
    qsizetype readBytes = 0;
    compare(
        "year close, December pending", pairs,
        [&] {
            before();
            return bench::timeMs([&] { closeStatisticsYear(context); });
        },
        before,
        [&] {
            for (const QString &path : read)
                readBytes += bytesOf(path).size();
            QDir().mkpath(archive);
        },
        dir, written);
    if (readBytes == 0)
        std::abort();
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 9;
    for (const int size : bench::sizesFrom(argc, argv, 2))
        automaticEntry(pairs, size);
    posting(pairs);
    for (const int size : bench::sizesFrom(argc, argv, 2))
        yearClose(pairs, size);
    return 0;
}
