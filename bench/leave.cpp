// The leave move and the inclusion check against bare SQLite doing the same reads and
// writes on the same table (the doctor's rows on the days in question, the free Hora of
// each row on the cancelled list, the updates and deletes, in one transaction), run
// alternately (A B A B ...) on fresh copies of the table, at a full month and at ten
// times that (half a year of history and large lists): both read only the dates they
// need, so they stay flat as the history grows.
#include "bench_data.h"
#include "doctors/leave_effects.h"
#include "platform/dates.h"
#include "store/appointment_table.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace clinora;

namespace {

// A day as the index reads dated rows.
std::string key(QDate d)
{
    return d.toString(QStringLiteral("yyMMdd")).toStdString();
}

const char *const kDatedOfDoctor =
    "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes FROM Medicos WHERE Medico = ?1 AND "
    "(substr(Data, 6, 1) = '/') = 1 AND substr(Data, 7, 2) || substr(Data, 4, 2) || substr(Data, 1, 2) >= ?2 "
    "AND substr(Data, 7, 2) || substr(Data, 4, 2) || substr(Data, 1, 2) < ?3";
const char *const kListsOfDoctor =
    "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes FROM Medicos WHERE Medico = ?1 AND "
    "(substr(Data, 6, 1) = '/') = 0";

// Runs the action on a fresh copy of the table opened bare.
template <typename F>
double onBareCopy(const QString &pristine, const QString &work, F action)
{
    bench::freshCopy(pristine, work);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(work.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const double ms = bench::timeMs([&] {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        action(db);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
    sqlite3_close(db);
    return ms;
}

template <typename F>
double onStoreCopy(const QString &pristine, const QString &work, F action)
{
    bench::freshCopy(pristine, work);
    AppointmentTable table;
    table.open(work, false);
    return bench::timeMs([&] { action(table); });
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const QDate today = QDate::currentDate();
        const int rows = bench::buildClinic(dir, today, size);
        const QString pristine = dir + QStringLiteral("/Medicos.db");
        const QString work = dir + QStringLiteral("/trabalho.db");
        {
            AppointmentTable indexed; // the program's indexes, as its first start builds them
            indexed.open(pristine, false);
        }
        const LeavePeriod month{today, today.addDays(31)};
        bench::SilentDialogs dialogs;
        int moved = 0, bareMoved = 0, refused = 0;

        // A doctor goes on leave for the whole month: his appointments move to the
        // cancelled list, his reserved hours go.
        const bench::Paired leave = bench::paired(
            pairs,
            [&] {
                return onStoreCopy(pristine, work, [&](AppointmentTable &table) {
                    bool changed = false;
                    moved += moveLeaveAppointments(table, 7, month, dialogs, changed);
                });
            },
            [&] {
                return onBareCopy(pristine, work, [&](sqlite3 *db) {
                    const auto doctorRows = bench::bareRead(db, kDatedOfDoctor,
                                                 {"7", key(month.start), key(month.end)});
                    bareMoved += bench::bareMoveToCancelled(db, doctorRows, true);
                });
            });

        // A code is checked for a new doctor: its month of appointments moves, its
        // cancelled and waiting rows refuse the inclusion.
        const bench::Paired inclusion = bench::paired(
            pairs,
            [&] {
                return onStoreCopy(pristine, work, [&](AppointmentTable &table) {
                    bool changed = false;
                    refused += checkInclusion(table, 9, today, dialogs, changed).refused();
                });
            },
            [&] {
                return onBareCopy(pristine, work, [&](sqlite3 *db) {
                    refused += !bench::bareRead(db, kListsOfDoctor, {"9"}).empty();
                    const auto dated = bench::bareRead(db, kDatedOfDoctor, {"9", key(today), "~"});
                    bareMoved += bench::bareMoveToCancelled(db, dated, false);
                });
            });
        std::printf("%d rows in the table (leave runs that moved rows %d, bare rows changed %d, refusals %d)\n", rows,
                    moved, bareMoved, refused);
        bench::report("leave move, one month", leave);
        bench::report("inclusion check", inclusion);
        QFile::remove(work);
    }
    return 0;
}
