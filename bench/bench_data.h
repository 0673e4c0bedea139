// Builds data directories for the benchmarks: a full month of appointments
// (50 doctors x 24 slots x 31 days) and the register that goes with it.
#pragma once

#include "platform/dialogs.h"

#include <QDate>
#include <QString>

#include <chrono>
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

} // namespace clinora::bench
