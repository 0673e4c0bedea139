// Data protection against bare baselines doing the same work, run alternately
// (A B A B ...) at a full month and at ten times that:
//  - the mirror consistency check before a guarded screen (stamps in step) against two
//    bare one-line reads;
//  - the full write over the mirror against copying the same 21 files (each written
//    and synced) plus a bare SQLite online backup of the table; and the snapshot against
//    the bare backup plus the two emptied journals; with the growth of the peak memory;
//  - the replay of a 1,000- and a 10,000-line journal (new bookings, changes,
//    cancellations, bookings in taken slots) against a bare replay in plain C++ and
//    SQLite that checks, pairs and resolves clashes as the program does and must leave
//    the same table (the run aborts if not), per 1,000 lines (BENCH_REPLAY_ONLY=1: only
//    this);
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

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <unordered_map>

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

// A day's journal of the given length: new bookings on free dates (some cancelled again
// the same day: the insert paired with a later delete), changes of booked rows (E + I at
// the same key), cancellations by the patient (E + I at dd/mmP/), and now and then a
// booking in a slot the older table already holds for another patient, which goes to
// the cancelled list (dd/mmH/, Hora raised past the ones taken there).
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
        if (i % 10 == 9) {
            // Rows from the far end of the ones read, which the changes never reach.
            Appointment clash = booked[booked.size() - 1 - static_cast<std::size_t>(i / 10) % booked.size()];
            clash.paciente = QStringLiteral("Encaixe %1").arg(i);
            journal << journal::line(QLatin1Char('I'), clash, stamp);
        }
        switch (i % 3) {
        case 0:
            journal << journal::line(QLatin1Char('I'), fresh, stamp);
            if (i % 9 == 0) {
                Appointment cancelled = fresh;
                cancelled.data = fresh.data.left(5) + QStringLiteral("P/");
                journal << journal::line(QLatin1Char('E'), fresh, stamp)
                        << journal::line(QLatin1Char('I'), cancelled, stamp);
            }
            break;
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

// The bare replay, plain C++ over the journal's Windows-1252 bytes and SQLite. It does
// what the program does with each line: leaves out the lines the program leaves out
// (blank, unknown operation, shorter than the 67-character head, no Data, Hora or
// Medico not a number of one or two digits, no patient); passes over an insertion that
// a later deletion of the same row (Data, Hora, Medico, patient) takes back, and that
// deletion; posts each insertion at its key, and on a clash with another row moves it
// to the cancelled list (a dated Data becomes dd/mmH/) under the first Hora above its
// own that the doctor has free there, unless that list already holds the same row
// above its Hora; and deletes at the key only the line's patient. One transaction.
struct BareLine
{
    char op = 0;
    bool passedOver = false;
    std::string data, hora, medico, paciente, telefone, situacao, observacoes; // UTF-8
    std::string data1252;                                                    // for dd/mm + "H/"
    int horaNumber = 0;
};

void appendUtf8(std::string &out, unsigned char c)
{
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    const unsigned u = c < 0x80 ? c : c < 0xA0 ? high[c - 0x80] : c;
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

std::string utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        appendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

// A fixed field without its trailing blanks.
std::string_view cut(std::string_view line, std::size_t at, std::size_t width)
{
    std::string_view f = at < line.size() ? line.substr(at, width) : std::string_view();
    while (!f.empty() && f.back() == ' ')
        f.remove_suffix(1);
    return f;
}

bool isBlank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= 9 && u <= 13) || u == 0xA0;
}

// One or two digits, blanks around them allowed; -1 otherwise.
int smallNumber(std::string_view f)
{
    while (!f.empty() && isBlank(f.front()))
        f.remove_prefix(1);
    while (!f.empty() && isBlank(f.back()))
        f.remove_suffix(1);
    if (f.empty() || f.size() > 2)
        return -1;
    int n = 0;
    for (const char c : f) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string trimmedNumber(std::string_view f)
{
    while (!f.empty() && isBlank(f.front()))
        f.remove_prefix(1);
    while (!f.empty() && isBlank(f.back()))
        f.remove_suffix(1);
    return std::string(f);
}

// The remarks with their escapes undone and trailing blanks removed.
std::string remarks(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\\' && i + 1 < raw.size() && (raw[i + 1] == 'n' || raw[i + 1] == 'r' || raw[i + 1] == '\\')) {
            ++i;
            c = raw[i] == 'n' ? '\n' : raw[i] == 'r' ? '\r' : '\\';
        }
        out += c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return utf8(out);
}

// A stored Hora read as the program reads it: a number, or 0.
int horaValue(const unsigned char *text)
{
    int n = 0;
    if (!text || !*text)
        return 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9')
            return 0;
        n = n * 10 + (*text - '0');
    }
    return n;
}

struct BareCounts
{
    int skipped = 0, inserted = 0, toCancelled = 0, deleted = 0, alreadyApplied = 0;
};

BareCounts bareReplay(sqlite3 *db, const std::vector<std::string> &lines)
{
    BareCounts counts;
    std::vector<BareLine> checked(lines.size());
    std::unordered_map<std::string, std::size_t> pendingInsert;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        BareLine &l = checked[n];
        if (std::all_of(line.begin(), line.end(), isBlank) || (line[0] != 'I' && line[0] != 'E')
            || line.size() < static_cast<std::size_t>(journal::kHeadWidth)) {
            ++counts.skipped;
            continue;
        }
        const std::string_view data = cut(line, 1, 8), paciente = cut(line, 13, 25);
        const int hora = smallNumber(cut(line, 9, 2)), medico = smallNumber(cut(line, 11, 2));
        if (data.empty() || hora < 0 || medico < 0 || paciente.empty()) {
            ++counts.skipped;
            continue;
        }
        l.op = line[0];
        l.data1252 = data;
        l.data = utf8(data);
        l.hora = trimmedNumber(cut(line, 9, 2));
        l.horaNumber = hora;
        l.medico = trimmedNumber(cut(line, 11, 2));
        l.paciente = utf8(paciente);
        l.telefone = utf8(cut(line, 38, 12));
        l.situacao = utf8(cut(line, 50, 1));
        l.observacoes = remarks(line.substr(journal::kHeadWidth));
        std::string image = l.data1252 + '\n' + l.hora + '\n' + l.medico + '\n' + std::string(paciente);
        if (l.op == 'I') {
            pendingInsert[std::move(image)] = n;
        } else if (const auto found = pendingInsert.find(image); found != pendingInsert.end()) {
            checked[found->second].passedOver = true;
            l.passedOver = true;
            pendingInsert.erase(found);
        }
    }

    sqlite3_stmt *insert = nullptr, *find = nullptr, *listed = nullptr, *remove = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Medicos (Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)", -1, &insert, nullptr);
    sqlite3_prepare_v2(db, "SELECT Paciente, Telefone, Situacao, Observacoes FROM Medicos "
                           "WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1, &find, nullptr);
    sqlite3_prepare_v2(db, "SELECT Hora, Paciente, Telefone, Situacao, Observacoes FROM Medicos "
                           "WHERE Data = ?1 AND +Medico = ?2", -1, &listed, nullptr);
    sqlite3_prepare_v2(db, "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3 AND Paciente = ?4",
                       -1, &remove, nullptr);
    const auto text = [](sqlite3_stmt *s, int i, const std::string &value) {
        sqlite3_bind_text(s, i, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    };
    const auto column = [](sqlite3_stmt *s, int i) {
        return std::string_view(reinterpret_cast<const char *>(sqlite3_column_text(s, i)),
                                static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
    };
    const auto sameContents = [&column](sqlite3_stmt *s, int first, const BareLine &l) {
        return column(s, first) == l.paciente && column(s, first + 1) == l.telefone
               && column(s, first + 2) == l.situacao && column(s, first + 3) == l.observacoes;
    };
    const auto post = [&](const std::string &data, const std::string &hora, const BareLine &l) {
        text(insert, 1, data);
        text(insert, 2, hora);
        text(insert, 3, l.medico);
        text(insert, 4, l.paciente);
        text(insert, 5, l.telefone);
        text(insert, 6, l.situacao);
        text(insert, 7, l.observacoes);
        const int rc = sqlite3_step(insert);
        sqlite3_reset(insert);
        return rc == SQLITE_DONE;
    };
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const BareLine &l : checked) {
        if (!l.op || l.passedOver)
            continue;
        if (l.op == 'E') {
            text(remove, 1, l.data);
            text(remove, 2, l.hora);
            text(remove, 3, l.medico);
            text(remove, 4, l.paciente);
            sqlite3_step(remove);
            sqlite3_reset(remove);
            counts.deleted += sqlite3_changes(db) > 0;
            continue;
        }
        if (post(l.data, l.hora, l)) {
            ++counts.inserted;
            continue;
        }
        text(find, 1, l.data);
        text(find, 2, l.hora);
        text(find, 3, l.medico);
        const bool same = sqlite3_step(find) == SQLITE_ROW && sameContents(find, 0, l);
        sqlite3_reset(find);
        if (same) {
            ++counts.alreadyApplied;
            continue;
        }
        const bool dated = l.data1252.size() >= 6 && l.data1252[5] == '/';
        const std::string list = dated ? utf8(std::string_view(l.data1252).substr(0, 5)) + "H/" : l.data;
        std::array<bool, 100> taken{};
        bool applied = false;
        text(listed, 1, list);
        text(listed, 2, l.medico);
        while (sqlite3_step(listed) == SQLITE_ROW) {
            const unsigned char *hora = sqlite3_column_text(listed, 0);
            const int value = horaValue(hora);
            if (sameContents(listed, 1, l) && value > l.horaNumber)
                applied = true;
            if (value < 100 && std::to_string(value) == reinterpret_cast<const char *>(hora))
                taken[static_cast<std::size_t>(value)] = true;
        }
        sqlite3_reset(listed);
        if (applied) {
            ++counts.alreadyApplied;
            continue;
        }
        int hora = l.horaNumber + 1;
        while (hora <= 99 && taken[static_cast<std::size_t>(hora)])
            ++hora;
        if (hora > 99) {
            ++counts.skipped;
            continue;
        }
        if (!post(list, std::to_string(hora), l))
            std::abort();
        ++counts.toCancelled;
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    for (sqlite3_stmt *s : {insert, find, listed, remove})
        sqlite3_finalize(s);
    return counts;
}

// Whether two table files hold the same rows.
bool sameRows(const QString &a, const QString &b)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(a.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const std::string attach = "ATTACH DATABASE '" + b.toStdString() + "' AS other";
    sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, "SELECT (SELECT COUNT(*) FROM (SELECT * FROM main.Medicos EXCEPT SELECT * FROM other.Medicos))"
                           " + (SELECT COUNT(*) FROM (SELECT * FROM other.Medicos EXCEPT SELECT * FROM main.Medicos))",
                       -1, &s, nullptr);
    const bool same = sqlite3_step(s) == SQLITE_ROW && sqlite3_column_int(s, 0) == 0;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return same;
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    const QDate today = QDate::currentDate();
    // BENCH_REPLAY_ONLY=1 runs the replay alone.
    const bool replayOnly = qEnvironmentVariableIsSet("BENCH_REPLAY_ONLY");
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

        PeakMemory memory;
        if (!replayOnly) {
            // Full write and snapshot, with the peak memory each adds.
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
        }

        // The replay of a journal onto fresh copies of the table.
        context.DMMedicos.close();
        sqlite3_close(db);
        const QString pristine = dir + QStringLiteral("/original.db");
        const QString work = dir + QStringLiteral("/replay.db");
        bench::freshCopy(table, pristine);
        // Each measure replays at least 10,000 lines (the short journal several times,
        // each onto a fresh copy) and the runs are paired at least 15 times: a single
        // replay of 1,000 lines is over in a few milliseconds, too short to measure
        // steadily on a shared machine.
        const int replayPairs = std::max(pairs, 15);
        const QString bareWork = dir + QStringLiteral("/bare-replay.db");
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
            const int repeats = std::max(1, 10000 / lines);
            ReplayResult last;
            BareCounts bareLast;
            bool compared = false;
            const bench::Paired replay = bench::paired(
                replayPairs,
                [&] {
                    double ms = 0;
                    for (int r = 0; r < repeats; ++r) {
                        bench::freshCopy(pristine, work);
                        AppointmentTable t;
                        t.open(work, false);
                        ms += bench::timeMs([&] { last = applyJournal(t, journal); });
                    }
                    return ms * 1000.0 / (lines * repeats);
                },
                [&] {
                    double ms = 0;
                    for (int r = 0; r < repeats; ++r) {
                        bench::freshCopy(pristine, bareWork);
                        sqlite3 *w = nullptr;
                        sqlite3_open_v2(bareWork.toUtf8().constData(), &w, SQLITE_OPEN_READWRITE, nullptr);
                        ms += bench::timeMs([&] { bareLast = bareReplay(w, bareLines); });
                        sqlite3_close(w);
                    }
                    // The bare must leave the very table the program leaves.
                    if (!compared) {
                        compared = true;
                        if (!sameRows(work, bareWork)) {
                            std::fprintf(stderr, "the bare replay left another table than the program\n");
                            std::abort();
                        }
                    }
                    return ms * 1000.0 / (lines * repeats);
                });
            const QByteArray label = QStringLiteral("replay of %1 lines, per 1,000").arg(lines).toUtf8();
            bench::report(label.constData(), replay);
            std::printf("  program: %d inserted, %d to the cancelled list, %d deleted, %d already there, %d left out\n",
                        last.inserted, last.toCancelled, last.deleted, last.alreadyApplied,
                        static_cast<int>(last.skipped.size()));
            std::printf("  bare:    %d inserted, %d to the cancelled list, %d deleted, %d already there, %d left out\n",
                        bareLast.inserted, bareLast.toCancelled, bareLast.deleted, bareLast.alreadyApplied,
                        bareLast.skipped);
        }
        if (replayOnly)
            continue;

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
