// The booking screen's paths a receptionist waits on, each against a bare baseline
// doing the same work, run alternately (A B A B ...) at a full month (37,200
// appointments) and at ten times that (half a year of history and large lists):
//  - "Atualização Completa", against a bare SQLite read of the 31 days' rows;
//  - one booking (the dialog prepared for a free cell, "Incluir", the cell showing "C"),
//    against a bare key lookup and insert into the same table (the same indexes kept);
//  - the peak memory of the program with the booking screen open and filled, against a
//    bare Qt program holding the same widgets (a main window with a menu, a dialog of
//    32 tabs with a grid each) and the same data (bench_bare_booking).
#include "app/context.h"
#include "app/session.h"
#include "bench_data.h"
#include "booking/month_overview.h"
#include "booking/tfconsulta.h"
#include "booking/tfvisaogeral.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/null_printer.h"
#include "store/appointment_table.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>

using namespace clinora;

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 9;
    const QDate today = QDate::currentDate();
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const int rows = bench::buildClinic(dir, today, size);
        std::printf("booking screen, %d rows in the table\n", rows);

        bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
        AppContext &context = program.context;

        sqlite3 *db = nullptr;
        sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE,
                        nullptr);
        sqlite3_stmt *day = nullptr;
        sqlite3_prepare_v2(db, "SELECT Hora, Medico, Paciente FROM Medicos WHERE Data = ?1", -1, &day, nullptr);
        std::vector<std::string> days;
        for (int d = 0; d < 31; ++d)
            days.push_back(dates::formatShort(today.addDays(d)).toStdString());
        long checksum = 0;
        const auto bareRead = [&] {
            return bench::timeMs([&] {
                for (const std::string &d : days) {
                    sqlite3_bind_text(day, 1, d.c_str(), -1, SQLITE_STATIC);
                    while (sqlite3_step(day) == SQLITE_ROW)
                        checksum += sqlite3_column_int(day, 0) + sqlite3_column_int(day, 1)
                                    + sqlite3_column_bytes(day, 2);
                    sqlite3_reset(day);
                }
            });
        };
        MonthOverview overview(context);
        bench::report("complete refresh (models)",
                      bench::paired(pairs, [&] { return bench::timeMs([&] { overview.completeRefresh({}); }); },
                                    bareRead));

        TFVisaoGeral screen(context);
        screen.prepareMonthTab();
        screen.show();
        QApplication::processEvents();
        bench::report("complete refresh, screen shown", bench::paired(
                                                            pairs,
                                                            [&] {
                                                                return bench::timeMs([&] {
                                                                    screen.BAtualizar0->click();
                                                                    QApplication::processEvents();
                                                                });
                                                            },
                                                            bareRead));

        // Bookings into two days emptied first: the program books one, the bare run
        // the other, cell after cell, in the same table.
        const QDate programDay = today.addDays(29), bareDay = today.addDays(30);
        for (const QDate d : {programDay, bareDay})
            context.DMMedicos.table().database().exec(
                QStringLiteral("DELETE FROM Medicos WHERE Data = '%1'").arg(dates::formatShort(d)));
        context.sheets.refresh(programDay.day());
        sqlite3_stmt *ins = nullptr, *find = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Medicos VALUES (?1, ?2, ?3, 'Paciente', '', '1', '')", -1, &ins, nullptr);
        sqlite3_prepare_v2(db, "SELECT * FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1, &find,
                           nullptr);
        TFConsulta &dialog = screen.consulta();
        const std::string bareText = dates::formatShort(bareDay).toStdString();
        int booking = 0, bareBooking = 0, unmarked = 0;
        const bench::Paired bookings = bench::paired(
            24,
            [&] {
                const int slot = 1 + booking % 24, code = 1 + booking / 24 % 50;
                ++booking;
                const double ms = bench::timeMs([&] {
                    dialog.prepareFor({programDay.day(), slot, code});
                    dialog.DBEdit1->setText(QStringLiteral("Paciente"));
                    dialog.BIncluir->click();
                });
                unmarked += context.sheets.sheet(programDay.day()).cell(slot, code) != QLatin1String("C");
                return ms;
            },
            [&] {
                const std::string s = std::to_string(1 + bareBooking % 24), c = std::to_string(1 + bareBooking / 24 % 50);
                ++bareBooking;
                return bench::timeMs([&] {
                    sqlite3_bind_text(find, 1, bareText.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(find, 2, s.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(find, 3, c.c_str(), -1, SQLITE_STATIC);
                    sqlite3_step(find);
                    sqlite3_reset(find);
                    sqlite3_bind_text(ins, 1, bareText.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(ins, 2, s.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(ins, 3, c.c_str(), -1, SQLITE_STATIC);
                    sqlite3_step(ins);
                    sqlite3_reset(ins);
                });
            });
        bench::report("one booking", bookings);
        if (unmarked > 0)
            std::fprintf(stderr, "%d bookings did not mark their cell\n", unmarked);
        std::printf("  (checksum %ld)\n", checksum);
        sqlite3_finalize(day);
        sqlite3_finalize(ins);
        sqlite3_finalize(find);
        sqlite3_close(db);
        screen.hide();
        context.DMMedicos.close();

        const std::string data = dir.toStdString();
        const std::string drives = tmp.filePath(QStringLiteral("drives")).toStdString();
        bench::report("peak memory, booking screen filled",
                      bench::paired(
                          5,
                          [&] {
                              return bench::runProcess({CLINORA_EXE, "--dados", data, "--unidades", drives,
                                                        "--sair-ao-mostrar", "--com-marcacao"})
                                  .mb;
                          },
                          [&] { return bench::runProcess({BARE_BOOKING_EXE, data}).mb; }),
                      "MB");
    }
    return 0;
}
