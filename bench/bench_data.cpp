#include "bench_data.h"

#include "app/session.h"
#include "core/doctor_register.h"
#include "core/installation.h"
#include "platform/dates.h"
#include "store/appointment_table.h"
#include "core/settings.h"
#include "platform/text_file.h"
#include "statistics/weeks.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>

#include <algorithm>
#include <map>
#include <set>
#include <chrono>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace clinora::bench {

StartedProgram::StartedProgram(const QString &dataDir, const QString &drives, QDate today)
    : clock(QDateTime(today, QTime(10, 0))), context(Paths(dataDir, drives), clock, dialogs, printer)
{
    session::startUp(context);
    session::createMainWindow(context);
}

void installFullRegister(const QString &dir)
{
    installDataDirectory(dir);
    DoctorRegister reg;
    reg.load(dir + QLatin1Char('/'));
    for (int c = 1; c <= 50; ++c) {
        Doctor &d = reg.doctor(c);
        d.name = QStringLiteral("Dr(a). Médico %1").arg(c);
        d.specialty = QStringLiteral("%1 Especialidade").arg(51 + c % 30);
        d.specialtyCode = d.specialty.left(2);
        d.room = QString::number(100 + c);
        d.floor = QString::number(1 + c % 5);
        d.shift = QStringLiteral("1");
        for (int w = 1; w <= 7; ++w) {
            for (int s = 1; s <= 24; ++s)
                reg.setTime(w, c, s, QTime(7, 0).addSecs((s - 1) * 20 * 60).toString(QStringLiteral("hh:mm")));
        }
    }
    reg.save(dir);
}

int bookFullMonth(const QString &dir, QDate today)
{
    std::vector<Appointment> rows;
    rows.reserve(31 * 50 * 24);
    for (int day = 0; day < 31; ++day) {
        const QString data = dates::formatShort(today.addDays(day));
        for (int c = 1; c <= 50; ++c) {
            for (int s = 1; s <= 24; ++s)
                rows.push_back({data, QString::number(s), QString::number(c),
                                s == 24 ? QStringLiteral("R") : QStringLiteral("Paciente %1-%2").arg(c).arg(s),
                                QStringLiteral("3333-4444"), QStringLiteral("1"), QString()});
        }
    }
    AppointmentTable table;
    table.open(dir + QStringLiteral("/Medicos.db"), true);
    table.insertAll(rows);
    return static_cast<int>(rows.size());
}

int addLists(const QString &dir, int cancelled, int waiting)
{
    std::vector<Appointment> rows;
    for (int i = 0; i < cancelled; ++i)
        rows.push_back({QStringLiteral("%1/%2H/").arg(1 + i % 28, 2, 10, QLatin1Char('0')).arg(1 + (i / 28) % 12, 2, 10, QLatin1Char('0')),
                        QString::number(1 + (i / 336) % 99), QString::number(1 + i % 50),
                        QStringLiteral("Desmarcado %1").arg(i), {}, QStringLiteral("1"), {}});
    for (int i = 0; i < waiting; ++i)
        rows.push_back({QStringLiteral("4%1%2").arg(6000 + i / 100).arg(36000 + i % 100),
                        QString::number(10 + i % 90), QString::number(1 + i % 50),
                        QStringLiteral("Espera %1").arg(i), {}, QStringLiteral("1"), {}});
    AppointmentTable table;
    table.open(dir + QStringLiteral("/Medicos.db"), true);
    table.insertAll(rows);
    return static_cast<int>(rows.size());
}

int addHistory(const QString &dir, QDate today, int days)
{
    std::vector<Appointment> rows;
    rows.reserve(static_cast<std::size_t>(days) * 50 * 24);
    for (int day = 1; day <= days; ++day) {
        const QString data = dates::formatShort(today.addDays(-day));
        for (int c = 1; c <= 50; ++c) {
            for (int s = 1; s <= 24; ++s)
                rows.push_back({data, QString::number(s), QString::number(c),
                                QStringLiteral("Paciente %1-%2").arg(c).arg(s), QStringLiteral("3333-4444"),
                                QStringLiteral("1"), QString()});
        }
    }
    AppointmentTable table;
    table.open(dir + QStringLiteral("/Medicos.db"), true);
    table.insertAll(rows);
    return static_cast<int>(rows.size());
}

int buildClinic(const QString &dir, QDate today, int rows)
{
    setTableSize(rows);
    installFullRegister(dir);
    textfile::writeOneLine(dir + QStringLiteral("/DataIniFim.Txt"), dates::format(today.addDays(30)));
    Settings settings;
    settings.load(dir + QStringLiteral("/Automatica.Txt"));
    settings.setYearState(QStringLiteral("A") + QString::number(today.year()));
    settings.setLastProcessed(dates::format(today.addDays(-1)));
    settings.save(dir + QStringLiteral("/Automatica.Txt"));
    createWeeks(dir + QStringLiteral("/Semanas.Txt"), today.year());
    int total = bookFullMonth(dir, today);
    if (rows > total) {
        total += addHistory(dir, today, kHistoryDays);
        const int lists = rows - total;
        total += addLists(dir, lists * 2 / 3, lists - lists * 2 / 3);
    }
    return total;
}

std::vector<int> sizesFrom(int argc, char **argv, int first)
{
    std::vector<int> sizes;
    for (int i = first; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {kMonthRows, kLargeRows};
    return sizes;
}

std::vector<double> Paired::ratios() const
{
    std::vector<double> result;
    for (std::size_t i = 0; i < program.size() && i < bare.size(); ++i)
        result.push_back(program[i] / bare[i]);
    return result;
}

namespace {
int g_tableSize = 0;
}

void setTableSize(int rows)
{
    g_tableSize = rows;
}

void report(const char *label, const Paired &runs, const char *unit)
{
    const double program = median(runs.program), bare = median(runs.bare), ratio = median(runs.ratios());
    std::printf("  %-34s program %9.3f %s   bare %9.3f %s   ratio %6.2f x  (%zu pairs)\n", label, program, unit,
                bare, unit, ratio, runs.program.size());
    std::fflush(stdout);
    if (const char *table = std::getenv("CLINORA_BENCH_TABLE"); table && *table) {
        if (std::FILE *out = std::fopen(table, "a")) {
            std::fprintf(out, "%s\t%s\t%d\t%s\t%.3f\t%.3f\t%.3f\t%zu\n", program_invocation_short_name, label,
                         g_tableSize, unit, program, bare, ratio, runs.program.size());
            std::fclose(out);
        }
    }
}


int bareMoveToCancelled(sqlite3 *db, const std::vector<BareRow> &rows, bool deleteReserved)
{
    sqlite3_stmt *taken = nullptr, *move = nullptr, *remove = nullptr;
    // Each list date's taken Horas read once, then followed in memory as rows move in:
    // the efficient way to do the same moves.
    sqlite3_prepare_v2(db, "SELECT Medico, Hora FROM Medicos WHERE Data = ?1", -1, &taken, nullptr);
    sqlite3_prepare_v2(db, "UPDATE Medicos SET Data = ?1, Hora = ?2 WHERE Data = ?3 AND Hora = ?4 AND Medico = ?5",
                       -1, &move, nullptr);
    sqlite3_prepare_v2(db, "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1, &remove,
                       nullptr);
    std::map<std::string, std::map<std::string, std::set<int>>> used;
    int changed = 0;
    for (const BareRow &r : rows) {
        if (deleteReserved && r.paciente == "R") {
            sqlite3_bind_text(remove, 1, r.data.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(remove, 2, r.hora.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(remove, 3, r.medico.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(remove);
            sqlite3_reset(remove);
            ++changed;
            continue;
        }
        const std::string list = r.data.substr(0, 5) + "H/";
        auto date = used.find(list);
        if (date == used.end()) {
            date = used.emplace(list, std::map<std::string, std::set<int>>{}).first;
            sqlite3_bind_text(taken, 1, list.c_str(), -1, SQLITE_STATIC);
            while (sqlite3_step(taken) == SQLITE_ROW)
                date->second[reinterpret_cast<const char *>(sqlite3_column_text(taken, 0))].insert(
                    sqlite3_column_int(taken, 1));
            sqlite3_reset(taken);
        }
        std::set<int> &horas = date->second[r.medico];
        int hora = std::stoi(r.hora);
        while (horas.count(hora))
            ++hora;
        if (hora > 99)
            continue;
        horas.insert(hora);
        const std::string newHora = std::to_string(hora);
        sqlite3_bind_text(move, 1, list.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(move, 2, newHora.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(move, 3, r.data.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(move, 4, r.hora.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(move, 5, r.medico.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(move);
        sqlite3_reset(move);
        ++changed;
    }
    sqlite3_finalize(taken);
    sqlite3_finalize(move);
    sqlite3_finalize(remove);
    return changed;
}

std::vector<BareRow> bareRead(sqlite3 *db, const char *sql, const std::vector<std::string> &params)
{
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    for (std::size_t i = 0; i < params.size(); ++i)
        sqlite3_bind_text(s, static_cast<int>(i + 1), params[i].c_str(), -1, SQLITE_TRANSIENT);
    std::vector<BareRow> rows;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const auto text = [s](int col) { return std::string(reinterpret_cast<const char *>(sqlite3_column_text(s, col))); };
        rows.push_back({text(0), text(1), text(2), text(3)});
        for (int col = 4; col < 7; ++col)
            sqlite3_column_bytes(s, col);
    }
    sqlite3_finalize(s);
    return rows;
}


void freshCopy(const QString &pristine, const QString &work)
{
    QFile::remove(work);
    if (!QFile::copy(pristine, work))
        std::abort();
}

ProcessRun runProcess(const std::vector<std::string> &args)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s ended with status %d\n", args[0].c_str(), status);
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace clinora::bench
