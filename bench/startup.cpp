// Start-up to the shown main window against a bare Qt program that shows an empty main
// window with a menu bar, run alternately (A B A B ...), at a full month (37,200
// appointments) and at ten times that. The program opens and checks its table and
// files; the bare one only shows its window. Reports wall time and peak memory
// (maximum resident set) with the median of the per-pair ratios.
#include "bench_data.h"

#include <QDate>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace clinora;

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        // The clinic is built by a child of its own: a process forked from this one starts
        // with this one's pages, and the peak memory of both runs would count the rows built
        // here instead of their own.
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return 1;
        const pid_t builder = fork();
        if (builder == 0) {
            const int built = bench::buildClinic(dir, QDate::currentDate(), size);
            const bool sent = write(pipeEnds[1], &built, sizeof built) == sizeof built;
            _exit(sent ? 0 : 1);
        }
        bench::setTableSize(size);
        int rows = 0;
        const bool received = read(pipeEnds[0], &rows, sizeof rows) == sizeof rows;
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        int status = 0;
        waitpid(builder, &status, 0);
        if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
        const std::vector<std::string> clinora = {CLINORA_EXE, "--dados", dir.toStdString(), "--unidades",
                                                  tmp.filePath(QStringLiteral("drives")).toStdString(),
                                                  "--sair-ao-mostrar"};
        const std::vector<std::string> bare = {BARE_EXE};
        bench::runProcess(clinora); // the first start builds the table's indexes
        bench::runProcess(bare);
        std::vector<bench::ProcessRun> program, baseline;
        const bench::Paired time = bench::paired(
            pairs,
            [&] {
                program.push_back(bench::runProcess(clinora));
                return program.back().ms;
            },
            [&] {
                baseline.push_back(bench::runProcess(bare));
                return baseline.back().ms;
            });
        bench::Paired memory;
        for (std::size_t i = 0; i < program.size(); ++i) {
            memory.program.push_back(program[i].mb);
            memory.bare.push_back(baseline[i].mb);
        }
        std::printf("start-up to the main window, %d rows in the table\n", rows);
        bench::report("wall time", time);
        bench::report("peak memory", memory, "MB");
    }
    return 0;
}
