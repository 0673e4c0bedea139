// The purge at the close of the program, against bare SQLite doing the same work, run
// alternately (A B A B ...) at a full month and at ten times that:
//  - nothing past (the usual close: the history went at earlier closes): the program
//    and the bare run both range over the dated rows' day index before the cut-off and
//    after the prepared limit, finding nothing; the time stays flat in table size;
//  - the first close after half a year of history, on fresh copies of the table: the
//    history older than ten days deleted, against one bare DELETE of the same rows.
#include "agenda/purge.h"
#include "app/context.h"
#include "bench_data.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/null_printer.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>
#include <string>

using namespace clinora;

namespace {

const char *const kDayKey = "substr(Data, 7, 2) || substr(Data, 4, 2) || substr(Data, 1, 2)";

std::string key(QDate d)
{
    return d.toString(QStringLiteral("yyMMdd")).toStdString();
}

int bareCount(sqlite3 *db, const std::string &sql, const std::string &day)
{
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    sqlite3_bind_text(s, 1, day.c_str(), -1, SQLITE_TRANSIENT);
    int rows = 0;
    while (sqlite3_step(s) == SQLITE_ROW)
        ++rows;
    sqlite3_finalize(s);
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 9;
    const QDate today = QDate::currentDate();
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const int rows = bench::buildClinic(dir, today, size);
        const QString table = dir + QStringLiteral("/Medicos.db");
        const QString pristine = dir + QStringLiteral("/original.db");
        FixedClock clock(QDateTime(today, QTime(10, 0)));
        bench::SilentDialogs dialogs;
        NullPrinter printer;
        AppContext context(Paths(dir, tmp.filePath(QStringLiteral("drives"))), clock, dialogs, printer);
        context.settings.load(context.file(files::kSettings));
        context.DMMedicos.open(); // builds the indexes, as the first start does
        context.DMMedicos.close();
        bench::freshCopy(table, pristine);
        const QDate limit = today.addDays(30);

        // Nothing past: the cut-off lies before the oldest row.
        context.DMMedicos.open();
        context.purgeKeepDays = bench::kHistoryDays + 1;
        sqlite3 *db = nullptr;
        sqlite3_open_v2(table.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        int found = 0;
        const std::string before = std::string("SELECT Data, Hora, Medico FROM Medicos WHERE substr(Data, 6, 1) = '/' AND ") + kDayKey + " < ?1";
        const std::string after = std::string("SELECT Data, Hora, Medico FROM Medicos WHERE substr(Data, 6, 1) = '/' AND ") + kDayKey + " > ?1";
        const bench::Paired nothing = bench::paired(
            pairs, [&] { return bench::timeMs([&] { found += purgePastAppointments(context, false).deleted; }); },
            [&] {
                return bench::timeMs([&] {
                    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
                    found += bareCount(db, before, key(today.addDays(-context.purgeKeepDays)));
                    found += bareCount(db, after, key(limit));
                    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
                });
            });
        sqlite3_close(db);
        context.DMMedicos.close();
        std::printf("purge at close, %d rows in the table (rows found %d)\n", rows, found);
        bench::report("nothing past", nothing);

        if (size <= bench::kMonthRows)
            continue;
        // The first close after the history: everything older than ten days goes.
        int deleted = 0;
        const bench::Paired history = bench::paired(
            std::max(1, pairs / 3),
            [&] {
                bench::freshCopy(pristine, table);
                context.DMMedicos.open();
                context.purgeKeepDays = 10;
                const double ms = bench::timeMs([&] { deleted += purgePastAppointments(context, false).deleted; });
                context.DMMedicos.close();
                return ms;
            },
            [&] {
                bench::freshCopy(pristine, table);
                sqlite3 *bare = nullptr;
                sqlite3_open_v2(table.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE, nullptr);
                const std::string sql = std::string("DELETE FROM Medicos WHERE substr(Data, 6, 1) = '/' AND ") + kDayKey + " < ?1";
                const double ms = bench::timeMs([&] {
                    sqlite3_stmt *s = nullptr;
                    sqlite3_prepare_v2(bare, sql.c_str(), -1, &s, nullptr);
                    const std::string cutoff = key(today.addDays(-10));
                    sqlite3_bind_text(s, 1, cutoff.c_str(), -1, SQLITE_TRANSIENT);
                    sqlite3_step(s);
                    deleted += sqlite3_changes(bare);
                    sqlite3_finalize(s);
                });
                sqlite3_close(bare);
                return ms;
            });
        std::printf("purge at the first close after the history (deleted %d in all)\n", deleted);
        bench::report("history older than ten days", history);
    }
    return 0;
}
