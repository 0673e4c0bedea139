// Runs every benchmark at both table sizes and prints one table: each measure with the
// program's and the bare work's medians and the median of the per-pair ratios, at
// 37,200 and at 372,000 rows. Each benchmark's own output goes to the standard error
// as it runs; the table goes to the standard output at the end.
//
//   bench_all [--pares N] [name ...]   N pairs for every benchmark (each has its own
//                                      default); names choose benchmarks (e.g. startup)
#include "bench_data.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Benchmark
{
    const char *name;
    const char *path;
    bool takesPairs; // the first argument is the number of pairs
};

const Benchmark kBenchmarks[] = {
    {"startup", BENCH_STARTUP, true},       {"booking", BENCH_BOOKING, true},
    {"close_date", BENCH_CLOSE_DATE, true}, {"leave", BENCH_LEAVE, true},
    {"blocking", BENCH_BLOCKING, true},     {"purge", BENCH_PURGE, true},
    {"lists", BENCH_LISTS, false},          {"searches", BENCH_SEARCHES, true},
    {"statistics", BENCH_STATISTICS, true}, {"protection", BENCH_PROTECTION, true},
    {"reports", BENCH_REPORTS, true},       {"import", BENCH_IMPORT, true},
    {"store", BENCH_STORE, true},
};

// Runs one benchmark with its output on the standard error; false when it failed.
bool run(const Benchmark &b, const std::string &pairs)
{
    std::vector<std::string> args = {b.path};
    if (b.takesPairs && !pairs.empty())
        args.push_back(pairs);
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, 2, 1);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, b.path, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "bench_all: %s could not start: %s\n", b.path, std::strerror(spawned));
        return false;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_all: %s failed (status %d)\n", b.name, status);
        return false;
    }
    return true;
}

struct Figures
{
    double program = 0, bare = 0, ratio = 0;
    int pairs = 0;
    bool present = false;
};

struct Row
{
    std::string benchmark, label, unit;
    Figures month, large, single; // 37,200 rows, 372,000 rows, independent of the table
};

std::string cell(const Figures &f, const std::string &unit)
{
    if (!f.present)
        return "";
    char text[96];
    std::snprintf(text, sizeof text, "%10.2f %-2s %10.2f %-2s %6.2fx", f.program, unit.c_str(), f.bare,
                  unit.c_str(), f.ratio);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    std::string pairs;
    std::vector<std::string> chosen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pares") == 0 && i + 1 < argc)
            pairs = argv[++i];
        else
            chosen.emplace_back(argv[i]);
    }
    QTemporaryDir tmp;
    const std::string tablePath = tmp.filePath(QStringLiteral("figures.tsv")).toStdString();
    setenv("CLINORA_BENCH_TABLE", tablePath.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    std::vector<std::string> failed;
    for (const Benchmark &b : kBenchmarks) {
        if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), b.name) == chosen.end())
            continue;
        std::fprintf(stderr, "==== %s\n", b.name);
        if (!run(b, pairs))
            failed.emplace_back(b.name);
    }

    std::vector<Row> rows;
    std::map<std::string, std::size_t> index;
    std::ifstream in(tablePath);
    for (std::string line; std::getline(in, line);) {
        std::stringstream fields(line);
        std::string benchmark, label, size, unit, program, bare, ratio, count;
        std::getline(fields, benchmark, '\t');
        std::getline(fields, label, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, unit, '\t');
        std::getline(fields, program, '\t');
        std::getline(fields, bare, '\t');
        std::getline(fields, ratio, '\t');
        std::getline(fields, count, '\t');
        const std::string key = benchmark + '\t' + label;
        auto [it, added] = index.try_emplace(key, rows.size());
        if (added)
            rows.push_back({benchmark.substr(benchmark.find('_') + 1), label, unit, {}, {}, {}});
        Row &row = rows[it->second];
        const int rowsInTable = std::atoi(size.c_str());
        Figures &f = rowsInTable == clinora::bench::kLargeRows ? row.large
                     : rowsInTable == clinora::bench::kMonthRows ? row.month
                                                                 : row.single;
        f = {std::atof(program.c_str()), std::atof(bare.c_str()), std::atof(ratio.c_str()), std::atoi(count.c_str()),
             true};
    }

    int width = 7;
    for (const Row &r : rows)
        width = std::max(width, static_cast<int>(r.label.size()));
    std::printf("%-11s %-*s | %-36s | %-36s\n", "benchmark", width, "measure", "37,200 rows: program, bare, ratio",
                "372,000 rows: program, bare, ratio");
    for (const Row &r : rows) {
        const std::string month = r.single.present ? cell(r.single, r.unit) : cell(r.month, r.unit);
        const std::string large =
            r.single.present ? std::string("(same work at any table size)") : cell(r.large, r.unit);
        std::printf("%-11s %-*s | %-36s | %-36s\n", r.benchmark.c_str(), width, r.label.c_str(), month.c_str(),
                    large.c_str());
    }
    for (const std::string &name : failed)
        std::printf("FAILED: %s\n", name.c_str());
    return failed.empty() ? 0 : 1;
}
