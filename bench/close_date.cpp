// Closing a date full of appointments: the closed-dates "Incluir" of one date, whole
// and its table part alone, against bare SQLite doing the same moves (the date's rows
// read by key, each appointment moved to "dd/mmH/" with its Hora raised past the ones
// the cancelled list already holds there, reserved hours deleted, in one transaction),
// run alternately (A B A B ...) at a full month and at ten times that, where the
// cancelled list already holds rows of the same days and doctors.
#include "agenda/closed_dates.h"
#include "app/context.h"
#include "bench_data.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/null_printer.h"

#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace clinora;

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    const QDate today = QDate::currentDate();
    // Days of the month whose lists hold rows at the large size (day of month 1 to 28);
    // each pair closes three of them.
    std::vector<QDate> days;
    for (int d = 1; d <= 30; ++d) {
        if (today.addDays(d).day() <= 28)
            days.push_back(today.addDays(d));
    }
    if (pairs < 1 || static_cast<std::size_t>(pairs) * 3 > days.size()) {
        std::fprintf(stderr, "pairs: 1 to %zu (each closes three full days of the month)\n", days.size() / 3);
        return 2;
    }
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const int rows = bench::buildClinic(dir, today, size);

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
        bench::Paired whole, table;
        int moved = 0, bareMoved = 0;
        for (int p = 0; p < pairs; ++p) {
            const QDate wholeDay = days[3 * p], tableDay = days[3 * p + 1], bareDay = days[3 * p + 2];
            whole.program.push_back(bench::timeMs([&] {
                EntryGrid grid{{dates::formatShort(wholeDay)}, {QString()}};
                moved += closeDates(context, grid).moved;
            }));
            table.program.push_back(
                bench::timeMs([&] { moved += closeDateInTable(context.DMMedicos.table(), tableDay).moved; }));
            const double bare = bench::timeMs([&] {
                sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
                const auto dayRows = bench::bareRead(
                    db, "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes FROM Medicos "
                        "WHERE Data = ?1",
                    {dates::formatShort(bareDay).toStdString()});
                bareMoved += bench::bareMoveToCancelled(db, dayRows, true);
                sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            });
            whole.bare.push_back(bare);
            table.bare.push_back(bare);
        }
        std::printf("closing a full date, %d rows in the table (moved %d, bare changed %d)\n", rows, moved,
                    bareMoved);
        bench::report("closeDateInTable", table);
        bench::report("\"Incluir\" of one date (whole)", whole);
        sqlite3_close(db);
        context.DMMedicos.close();
    }
    return 0;
}
