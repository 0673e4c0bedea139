// The leave move and the inclusion check on a table of 100,000 rows (a full month of
// appointments and a year of cancelled and waiting rows) against a bare SQLite scan of
// the same rows in key order, in the same run. Each repeat starts from a fresh copy of
// the table, since both operations move rows.
#include "bench_data.h"
#include "platform/null_printer.h"
#include "doctors/leave_effects.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "store/appointment_table.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace clinora;

namespace {

void freshCopy(const QString &pristine, const QString &work)
{
    QFile::remove(work);
    if (!QFile::copy(pristine, work))
        std::abort();
}

} // namespace

int main(int argc, char **argv)
{
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 7;
    constexpr int kTotal = 100000;
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    bench::installFullRegister(dir);
    const QDate today = QDate::currentDate();
    int rows = bench::bookFullMonth(dir, today);
    const int cancelled = (kTotal - rows) * 2 / 3;
    rows += bench::addLists(dir, cancelled, kTotal - rows - cancelled);
    const QString pristine = dir + QStringLiteral("/Medicos.db");
    const QString work = dir + QStringLiteral("/trabalho.db");
    const LeavePeriod month{today, today.addDays(31)};
    bench::SilentDialogs dialogs;

    std::vector<double> bareMs, moveMs, inclusionMs;
    int read = 0;
    int moved = 0;
    int refused = 0;
    for (int r = 0; r < repeats; ++r) {
        // The baseline: every row of the table, every field, in key order.
        freshCopy(pristine, work);
        {
            sqlite3 *db = nullptr;
            sqlite3_open_v2(work.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
            bareMs.push_back(bench::timeMs([&] {
                sqlite3_stmt *stmt = nullptr;
                sqlite3_prepare_v2(db,
                                   "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes "
                                   "FROM Medicos ORDER BY Data, Hora, Medico",
                                   -1, &stmt, nullptr);
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    for (int col = 0; col < 7; ++col)
                        read += sqlite3_column_bytes(stmt, col) >= 0;
                sqlite3_finalize(stmt);
            }));
            sqlite3_close(db);
        }

        // A doctor goes on leave for the whole month: his appointments move to the
        // cancelled list, his reserved hours go.
        freshCopy(pristine, work);
        {
            AppointmentTable table;
            table.open(work, false);
            bool changed = false;
            moveMs.push_back(bench::timeMs([&] { moveLeaveAppointments(table, 7, month, dialogs, changed); }));
            moved = static_cast<int>(table.select(ListQuery::cancelledOf({QStringLiteral("7")})).size());
        }

        // A code is checked for a new doctor: its month of appointments moves, its
        // cancelled and waiting rows refuse the inclusion.
        freshCopy(pristine, work);
        {
            AppointmentTable table;
            table.open(work, false);
            bool changed = false;
            inclusionMs.push_back(
                bench::timeMs([&] { refused += checkInclusion(table, 9, today, dialogs, changed).refused(); }));
        }
    }
    const double bare = bench::median(bareMs);
    std::printf("%d rows (%d cancelled, %d waiting), %d repeats, medians (read %d, refused %d)\n", rows,
                cancelled, kTotal - 37200 - cancelled, repeats, read, refused);
    std::printf("bare SQLite scan in key order : %7.2f ms\n", bare);
    std::printf(
        "leave move, one month         : %7.2f ms  ratio %.2f x  (%d rows on the cancelled list after)\n",
        bench::median(moveMs), bench::median(moveMs) / bare, moved);
    std::printf("inclusion check               : %7.2f ms  ratio %.2f x\n", bench::median(inclusionMs),
                bench::median(inclusionMs) / bare);
    QFile::remove(work);
    return 0;
}
