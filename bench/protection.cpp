// Data protection against bare baselines doing the same work, run alternately
// (A B A B ...) at a full month and at ten times that:
//  - the mirror consistency check before a guarded screen (stamps in step) against two
//    bare one-line reads;
//  - the full write over the mirror against copying the same 21 files (each written
//    and synced) plus a bare SQLite online backup of the table; and the snapshot against
//    the bare backup plus the two emptied journals; with the growth of the peak memory;
//  - the replay of a 10,000-line journal (new bookings, changes, cancellations) against
//    bare keyed inserts and deletes of the same lines in one transaction, per line;
//  - the reorganisation against a bare VACUUM, with the growth of the peak memory.
#include "agenda/restart.h"
#include "app/context.h"
#include "bench_data.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/null_printer.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "protection/replay.h"
#include "store/appointment_table.h"
#include "store/journal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

using namespace clinora;

namespace {

// Peak resident memory since the last reset, in MB, above the resident memory then.
struct PeakMemory
{
    double base = 0;
    static double field(const char *name)
    {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind(name, 0) == 0)
                return std::stod(line.substr(std::string(name).size())) / 1024.0;
        }
        return 0;
    }
    void reset()
    {
        std::ofstream("/proc/self/clear_refs") << "5";
        base = field("VmRSS:");
    }
    double growth() const { return field("VmHWM:") - base; }
};

std::string bareReadFirstLine(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line;
}

void bareCopySynced(const QString &from, const QString &to)
{
    QFile in(from);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    QFile out(to);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    out.write(bytes);
    ::fsync(out.handle());
}

void bareBackup(sqlite3 *source, const QString &to)
{
    QFile::remove(to);
    sqlite3 *destination = nullptr;
    sqlite3_open_v2(to.toUtf8().constData(), &destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_backup *backup = sqlite3_backup_init(destination, "main", source, "main");
    sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    sqlite3_close(destination);
}

// A day's journal of the given length: new bookings on free dates, changes of booked
// rows (E + I at the same key) and cancellations by the patient (E + I at dd/mmP/).
QStringList makeJournal(AppointmentTable &table, QDate today, int lines)
{
    const std::vector<Appointment> booked = table.after(std::nullopt, lines);
    QStringList journal;
    const QString stamp = QStringLiteral("08/12/2026 10:00");
    int i = 0;
    while (journal.size() < lines) {
        const Appointment &old = booked[static_cast<std::size_t>(i) % booked.size()];
        Appointment fresh{dates::formatShort(today.addDays(60 + i / 1200)), QString::number(1 + i % 24),
                          QString::number(1 + (i / 24) % 50), QStringLiteral("Novo %1").arg(i), QStringLiteral("3333"),
                          QStringLiteral("1"), QStringLiteral("obs")};
        switch (i % 3) {
        case 0: journal << journal::line(QLatin1Char('I'), fresh, stamp); break;
        case 1: {
            Appointment changed = old;
            changed.paciente = old.paciente + QStringLiteral(" Filho");
            journal << journal::line(QLatin1Char('E'), old, stamp) << journal::line(QLatin1Char('I'), changed, stamp);
            break;
        }
        default: {
            Appointment cancelled = old;
            cancelled.data = old.data.left(5) + QStringLiteral("P/");
            journal << journal::line(QLatin1Char('E'), old, stamp) << journal::line(QLatin1Char('I'), cancelled, stamp);
            break;
        }
        }
        ++i;
    }
    return journal.mid(0, lines);
}

// The bare replay: the fixed fields cut from each line, then one keyed INSERT or
// DELETE per line, in one transaction.
void bareReplay(sqlite3 *db, const std::vector<std::string> &lines)
{
    sqlite3_stmt *insert = nullptr;
    sqlite3_stmt *remove = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Medicos (Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)", -1, &insert, nullptr);
    sqlite3_prepare_v2(db, "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1, &remove,
                       nullptr);
    const auto field = [](const std::string &line, std::size_t at, std::size_t width) {
        std::string f = line.substr(at, width);
        while (!f.empty() && f.back() == ' ')
            f.pop_back();
        return f;
    };
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const std::string &line : lines) {
        const std::string data = field(line, 1, 8), hora = field(line, 9, 2), medico = field(line, 11, 2);
        sqlite3_stmt *s = line[0] == 'I' ? insert : remove;
        sqlite3_bind_text(s, 1, data.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, hora.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, medico.c_str(), -1, SQLITE_TRANSIENT);
        if (s == insert) {
            const std::string paciente = field(line, 13, 25), telefone = field(line, 38, 12),
                              situacao = field(line, 50, 1), remarks = line.substr(67);
            sqlite3_bind_text(s, 4, paciente.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 5, telefone.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 6, situacao.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 7, remarks.c_str(), -1, SQLITE_TRANSIENT);
        }
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(insert);
    sqlite3_finalize(remove);
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    const QDate today = QDate::currentDate();
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const QString drives = tmp.filePath(QStringLiteral("drives"));
        const int rows = bench::buildClinic(dir, today, size);
        FixedClock clock(QDateTime(today, QTime(10, 0)));
        bench::SilentDialogs dialogs;
        NullPrinter printer;
        AppContext context(Paths(dir, drives), clock, dialogs, printer);
        context.settings.load(context.file(files::kSettings));
        context.settings.setMirrorDir(QStringLiteral("E:\\Consultas\\Espelho"));
        context.settings.setMirroring(QStringLiteral("Com"));
        const QString mirrorDir = drives + QStringLiteral("/E/Consultas/Espelho");
        QDir().mkpath(mirrorDir);
        context.DMMedicos.open();
        const QString table = context.file(files::kTable);
        sqlite3 *db = nullptr;
        sqlite3_open_v2(table.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        std::printf("%d rows in the table\n", rows);

        // Full write and snapshot, with the peak memory each adds.
        PeakMemory memory;
        std::vector<double> writeMb, bareWriteMb;
        const bench::Paired write = bench::paired(
            pairs,
            [&] {
                memory.reset();
                const double ms = bench::timeMs([&] { mirror::writeSystem(context, false); });
                writeMb.push_back(memory.growth());
                return ms;
            },
            [&] {
                memory.reset();
                const double ms = bench::timeMs([&] {
                    for (const QString &name : mirror::fullCopyFiles())
                        bareCopySynced(context.file(name), mirrorDir + QStringLiteral("/bare-") + name);
                    bareBackup(db, mirrorDir + QStringLiteral("/bare.db"));
                });
                bareWriteMb.push_back(memory.growth());
                return ms;
            });
        bench::report("full write (Sist --> Esp)", write);
        std::printf("  %-34s program %9.1f MB   bare %9.1f MB\n", "  peak memory added", bench::median(writeMb),
                    bench::median(bareWriteMb));
        const bench::Paired snapshot = bench::paired(
            pairs, [&] { return bench::timeMs([&] { takeMirrorSnapshot(context); }); },
            [&] {
                return bench::timeMs([&] {
                    bareBackup(db, mirrorDir + QStringLiteral("/bare.db"));
                    textfile::writeLines(mirrorDir + QStringLiteral("/bare-ArqMovA.Txt"), {});
                    textfile::writeLines(context.file(QStringLiteral("bare-ArqMov.Txt")), {});
                });
            });
        bench::report("mirror snapshot", snapshot);

        // The consistency check, 1,000 times per measure (figures in microseconds).
        const int checks = 1000;
        const std::string systemStamp = context.file(files::kSystemStamp).toStdString();
        const std::string mirrorStamp = (mirrorDir + QStringLiteral("/CodEsp.Txt")).toStdString();
        int inStep = 0;
        const bench::Paired check = bench::paired(
            pairs,
            [&] {
                return bench::timeMs([&] {
                           for (int i = 0; i < checks; ++i)
                               inStep += mirror::checkStamps(context) == mirror::Check::InStep;
                       })
                       * 1000.0 / checks;
            },
            [&] {
                return bench::timeMs([&] {
                           for (int i = 0; i < checks; ++i)
                               inStep += bareReadFirstLine(systemStamp) == bareReadFirstLine(mirrorStamp);
                       })
                       * 1000.0 / checks;
            });
        bench::report("consistency check (in step)", check, "us");
        if (inStep != 2 * checks * pairs)
            std::printf("  (the stamps were not in step)\n");

        // The replay of a journal onto fresh copies of the table.
        context.DMMedicos.close();
        sqlite3_close(db);
        const QString pristine = dir + QStringLiteral("/original.db");
        const QString work = dir + QStringLiteral("/replay.db");
        bench::freshCopy(table, pristine);
        for (const int lines : {1000, 10000}) {
            QStringList journal;
            {
                AppointmentTable t;
                t.open(pristine, false);
                journal = makeJournal(t, today, lines);
            }
            std::vector<std::string> bareLines;
            for (const QString &line : journal)
                bareLines.push_back(textfile::encode(line).toStdString());
            int skipped = 0;
            int clashes = 0;
            const bench::Paired replay = bench::paired(
                pairs,
                [&] {
                    bench::freshCopy(pristine, work);
                    AppointmentTable t;
                    t.open(work, false);
                    return bench::timeMs([&] {
                               const ReplayResult r = applyJournal(t, journal);
                               skipped += static_cast<int>(r.skipped.size());
                               clashes += r.toCancelled + r.alreadyApplied;
                           })
                           * 1000.0 / lines;
                },
                [&] {
                    bench::freshCopy(pristine, work);
                    sqlite3 *w = nullptr;
                    sqlite3_open_v2(work.toUtf8().constData(), &w, SQLITE_OPEN_READWRITE, nullptr);
                    const double ms = bench::timeMs([&] { bareReplay(w, bareLines); }) * 1000.0 / lines;
                    sqlite3_close(w);
                    return ms;
                });
            const QByteArray label = QStringLiteral("replay of %1 lines, per 1,000").arg(lines).toUtf8();
            bench::report(label.constData(), replay);
            if (skipped || clashes)
                std::printf("  (%d lines skipped, %d clashes)\n", skipped, clashes);
        }

        // The reorganisation, with the peak memory it adds.
        context.DMMedicos.open();
        std::vector<double> reorganiseMb, bareVacuumMb;
        const bench::Paired reorganise = bench::paired(
            pairs,
            [&] {
                memory.reset();
                const double ms = bench::timeMs([&] { reorganiseTable(context); });
                reorganiseMb.push_back(memory.growth());
                return ms;
            },
            [&] {
                memory.reset();
                sqlite3 *v = nullptr;
                sqlite3_open_v2(table.toUtf8().constData(), &v, SQLITE_OPEN_READWRITE, nullptr);
                const double ms = bench::timeMs([&] { sqlite3_exec(v, "VACUUM", nullptr, nullptr, nullptr); });
                sqlite3_close(v);
                bareVacuumMb.push_back(memory.growth());
                return ms;
            });
        bench::report("reorganise (rebuild)", reorganise);
        std::printf("  %-34s program %9.1f MB   bare %9.1f MB\n", "  peak memory added", bench::median(reorganiseMb),
                    bench::median(bareVacuumMb));
    }
    return 0;
}
