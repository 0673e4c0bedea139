// Builds data directories for the benchmarks: a full month of appointments
// (50 doctors x 24 slots x 31 days) and the register that goes with it, and ten times
// that with half a year of history and large lists; and the paired runs (A B A B)
// whose per-pair ratios every benchmark reports.
#pragma once

#include "app/context.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/null_printer.h"

#include <QDate>
#include <QString>

#include <chrono>
#include <sqlite3.h>
#include <cstdio>
#include <string>
#include <vector>

namespace clinora::bench {

// Dialogs that answer Yes and show nothing but errors (on the standard error).
class SilentDialogs final : public Dialogs
{
public:
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool question(const QString &) override { return true; }
    QString input(const QString &, const QString &, const QString &d) override { return d; }
};

// The program started on a data directory as it starts for a receptionist (start-up
// and the main window's creation step), today at 10:00, with silent ports.
struct StartedProgram
{
    StartedProgram(const QString &dataDir, const QString &drives, QDate today);
    SilentDialogs dialogs;
    FixedClock clock;
    NullPrinter printer;
    AppContext context;
};

// Wall time and peak memory (maximum resident set) of one run of a program.
struct ProcessRun
{
    double ms;
    double mb;
};
ProcessRun runProcess(const std::vector<std::string> &args);

// Installs a data directory with 50 doctors, each with 24 slots on every weekday.
void installFullRegister(const QString &dir);
// Books every slot of every doctor on the 31 days from today: 37,200 rows.
int bookFullMonth(const QString &dir, QDate today);
// Adds cancelled and waiting-list rows.
int addLists(const QString &dir, int cancelled, int waiting);
// Books every slot of every doctor on the days before today, back to today - days.
int addHistory(const QString &dir, QDate today, int days);

// The two table sizes every benchmark runs at: a full month, and ten times that (the
// month, half a year of history, and cancelled and waiting lists for the rest).
inline constexpr int kMonthRows = 37200;
inline constexpr int kLargeRows = 372000;
inline constexpr int kHistoryDays = 182;
// Installs the register and fills the table to one of the sizes above; the agenda is
// prepared to today + 30 and the first run is done. Returns the rows in the table.
int buildClinic(const QString &dir, QDate today, int rows);
// The sizes chosen on the command line ("37200", "372000"), both by default.
std::vector<int> sizesFrom(int argc, char **argv, int first);

// A program and its bare baseline run alternately (A B A B ...); each figure is one
// run's measure (milliseconds or megabytes).
struct Paired
{
    std::vector<double> program;
    std::vector<double> bare;
    // program / bare of each pair.
    std::vector<double> ratios() const;
};
template <typename A, typename B>
Paired paired(int pairs, A program, B bare)
{
    Paired result;
    for (int i = 0; i < pairs; ++i) {
        result.program.push_back(program());
        result.bare.push_back(bare());
    }
    return result;
}
// One line: label, medians of the program and of the bare run, and the median of the
// per-pair ratios. When CLINORA_BENCH_TABLE names a file, the same figures are also
// added to it as one tab-separated line (benchmark, label, table size, unit, program,
// bare, ratio, pairs) for the table `bench_all` prints.
void report(const char *label, const Paired &runs, const char *unit = "ms");
// The table size the next figures belong to (buildClinic sets it); 0 for figures that
// do not depend on the table.
void setTableSize(int rows);

// The wall time of one call, in milliseconds.
template <typename F>
double timeMs(F f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Median of a list of figures.
double median(std::vector<double> values);

// Rows read bare, with what the moves need of them.
struct BareRow
{
    std::string data, hora, medico, paciente;
};
// Runs a query with text parameters and keeps the rows (every column read).
std::vector<BareRow> bareRead(sqlite3 *db, const char *sql, const std::vector<std::string> &params);
// The bare move of rows to the cancelled list ("dd/mmH/"): each row's Hora raised past
// the ones taken there, as the program resolves key clashes; reserved hours deleted
// when asked. Returns the rows changed.
int bareMoveToCancelled(sqlite3 *db, const std::vector<BareRow> &rows, bool deleteReserved);

// Copies a file over another (a fresh table for a benchmark that changes it).
void freshCopy(const QString &pristine, const QString &work);

} // namespace clinora::bench
