// Builds data directories for the benchmarks: a full month of appointments
// (50 doctors x 24 slots x 31 days) and the register that goes with it.
#pragma once

#include <QDate>
#include <QString>

namespace clinora::bench {

// Installs a data directory with 50 doctors, each with 24 slots on every weekday.
void installFullRegister(const QString &dir);
// Books every slot of every doctor on the 31 days from today: 37,200 rows.
int bookFullMonth(const QString &dir, QDate today);
// Adds cancelled and waiting-list rows.
int addLists(const QString &dir, int cancelled, int waiting);

// Median of a list of figures.
double median(std::vector<double> values);

} // namespace clinora::bench
