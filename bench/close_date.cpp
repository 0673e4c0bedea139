// Closing a date with a full month in the table (37,200 rows): the closed-dates
// "Incluir" of one date, whole and its table part alone, against a bare SQLite read of
// that date's rows plus their updates (moves to dd/mmH/, reserved hours deleted), each
// in one transaction, in the same run. Every repeat closes days of its own, all full.
#include "agenda/closed_dates.h"
#include "app/context.h"
#include "bench_data.h"
#include "platform/null_printer.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/text_file.h"

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace clinora;

namespace {

struct Row
{
    std::string data, hora, medico, paciente;
};

// The bare baseline: one read of the date's rows, then one statement per row.
int bareClose(sqlite3 *db, const std::string &data, const std::string &listData)
{
    sqlite3_stmt *read = nullptr;
    sqlite3_stmt *move = nullptr;
    sqlite3_stmt *remove = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes FROM Medicos "
                       "WHERE Data = ?1",
                       -1, &read, nullptr);
    sqlite3_prepare_v2(db, "UPDATE Medicos SET Data = ?1 WHERE Data = ?2 AND Hora = ?3 AND Medico = ?4", -1,
                       &move, nullptr);
    sqlite3_prepare_v2(db, "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1, &remove,
                       nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::vector<Row> rows;
    sqlite3_bind_text(read, 1, data.c_str(), -1, SQLITE_STATIC);
    while (sqlite3_step(read) == SQLITE_ROW) {
        const auto text = [read](int col) {
            return std::string(reinterpret_cast<const char *>(sqlite3_column_text(read, col)));
        };
        rows.push_back({text(0), text(1), text(2), text(3)});
        for (int col = 4; col < 7; ++col)
            sqlite3_column_bytes(read, col);
    }
    for (const Row &r : rows) {
        sqlite3_stmt *s = r.paciente == "R" ? remove : move;
        int i = 1;
        if (s == move)
            sqlite3_bind_text(s, i++, listData.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, i++, r.data.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, i++, r.hora.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, i++, r.medico.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(read);
    sqlite3_finalize(move);
    sqlite3_finalize(remove);
    return static_cast<int>(rows.size());
}

} // namespace

int main(int argc, char **argv)
{
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 7;
    if (repeats < 1 || repeats > 10) {
        std::fprintf(stderr, "repeats: 1 to 10 (each takes three full days of the month)\n");
        return 2;
    }
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    bench::installFullRegister(dir);
    const QDate today = QDate::currentDate();
    const int rows = bench::bookFullMonth(dir, today);
    textfile::writeOneLine(dir + QStringLiteral("/DataIniFim.Txt"), dates::format(today.addDays(30)));

    FixedClock clock(QDateTime(today, QTime(10, 0)));
    bench::SilentDialogs dialogs;
    NullPrinter printer;
    AppContext context(Paths(dir, tmp.filePath(QStringLiteral("drives"))), clock, dialogs, printer);
    context.settings.load(context.file(files::kSettings));
    context.doctors.load(dir + QLatin1Char('/'));
    context.days.build();
    context.DMMedicos.open();

    sqlite3 *db = nullptr;
    sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);

    std::vector<double> wholeMs, tableMs, bareMs;
    int moved = 0;
    int bareRows = 0;
    for (int r = 0; r < repeats; ++r) {
        const QDate whole = today.addDays(1 + 3 * r);
        const QDate table = whole.addDays(1);
        const QDate bare = whole.addDays(2);
        const std::string bareData = dates::formatShort(bare).toStdString();
        const std::string bareList = dates::formatShort(bare).left(5).toStdString() + "H/";
        bareMs.push_back(bench::timeMs([&] { bareRows += bareClose(db, bareData, bareList); }));
        tableMs.push_back(bench::timeMs([&] { moved += closeDateInTable(context.DMMedicos.table(), table).moved; }));
        wholeMs.push_back(bench::timeMs([&] {
            EntryGrid grid{{dates::formatShort(whole)}, {QString()}};
            moved += closeDates(context, grid).moved;
        }));
    }
    const double bareMedian = bench::median(bareMs);
    std::printf("%d rows in the table, %d repeats, medians (moved %d, bare rows %d)\n", rows, repeats, moved,
                bareRows);
    std::printf("bare read + updates            : %7.2f ms\n", bareMedian);
    std::printf("closeDateInTable               : %7.2f ms  (%.2f x)\n", bench::median(tableMs),
                bench::median(tableMs) / bareMedian);
    std::printf("\"Incluir\" of one date (whole)  : %7.2f ms  (%.2f x)\n", bench::median(wholeMs),
                bench::median(wholeMs) / bareMedian);
    sqlite3_close(db);
    return 0;
}
