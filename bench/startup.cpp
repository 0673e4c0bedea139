// Start-up to the shown main window, with a data directory holding a full month
// (37,200 appointments), against a bare Qt program that shows an empty main window with
// a menu bar, run alternately in the same run. Reports medians of wall time and of
// peak memory (maximum resident set).
#include "bench_data.h"

#include <QDate>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>


int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir tmp;
    tmp.setAutoRemove(std::getenv("BENCH_KEEP") == nullptr);
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    clinora::bench::installFullRegister(dir);
    const int rows = clinora::bench::bookFullMonth(dir, QDate::currentDate());
    std::printf("data directory %s with %d appointments\n", qPrintable(dir), rows);

    const std::vector<std::string> clinora = {CLINORA_EXE, "--dados", dir.toStdString(), "--unidades",
                                              tmp.filePath(QStringLiteral("drives")).toStdString(),
                                              "--sair-ao-mostrar"};
    const std::vector<std::string> bare = {BARE_EXE};
    clinora::bench::runProcess(clinora); // the first run of a new directory does the first-run work
    clinora::bench::runProcess(bare);
    std::vector<double> clinoraMs, bareMs, clinoraMb, bareMb;
    for (int i = 0; i < runs; ++i) {
        const auto b = clinora::bench::runProcess(bare);
        const auto c = clinora::bench::runProcess(clinora);
        bareMs.push_back(b.ms);
        bareMb.push_back(b.mb);
        clinoraMs.push_back(c.ms);
        clinoraMb.push_back(c.mb);
    }
    using clinora::bench::median;
    std::printf("%d runs each, medians\n", runs);
    std::printf("bare Qt main window : %7.1f ms  %6.1f MB\n", median(bareMs), median(bareMb));
    std::printf("Clinora main window : %7.1f ms  %6.1f MB\n", median(clinoraMs), median(clinoraMb));
    std::printf("ratio               : %7.2f x   %6.2f x\n", median(clinoraMs) / median(bareMs),
                median(clinoraMb) / median(bareMb));
    return 0;
}
