// The booking screen's paths a receptionist waits on, each next to a bare baseline
// measured in the same run:
//  - "Atualização Completa" with a full month (37,200 appointments) and 2,000 cancelled
//    and waiting rows, against a bare SQLite read of the month's rows;
//  - one booking (the dialog prepared for a free cell, "Incluir", the cell showing "C"),
//    against a single-row SQLite insert plus a key lookup;
//  - the peak memory of the program with the booking screen open and filled, against
//    the main window alone plus the sheets' own data.
#include "app/context.h"
#include "app/session.h"
#include "bench_data.h"
#include "platform/null_printer.h"
#include "booking/month_overview.h"
#include "booking/tfconsulta.h"
#include "booking/tfvisaogeral.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace clinora;

namespace {

double currentRssMb()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024.0) / 1024.0;
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // The program is started later, from inside the data directory.
    const std::string exe = argc > 1 ? QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath().toStdString() : "";
    const int repeats = 9;
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const QDate today = QDate::currentDate();
    bench::installFullRegister(dir);
    const int rows = bench::bookFullMonth(dir, today);
    const int lists = bench::addLists(dir, 1000, 1000);
    textfile::writeOneLine(dir + QStringLiteral("/DataIniFim.Txt"), dates::format(today.addDays(30)));
    std::printf("%d appointments and %d cancelled and waiting rows\n", rows, lists);

    bench::SilentDialogs dialogs;
    FixedClock clock(QDateTime(today, QTime(10, 0)));
    NullPrinter printer;
    AppContext context(Paths(dir, tmp.filePath(QStringLiteral("drives"))), clock, dialogs, printer);
    session::startUp(context);
    session::createMainWindow(context);

    // The bare read: the same 31 days through one prepared statement.
    sqlite3 *db = nullptr;
    sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT Hora, Medico, Paciente FROM Medicos WHERE Data = ?1", -1, &stmt, nullptr);
    std::vector<std::string> days;
    for (int d = 0; d < 31; ++d)
        days.push_back(dates::formatShort(today.addDays(d)).toStdString());
    long checksum = 0;
    std::vector<double> bare, refresh, screenRefresh;
    const double rssBefore = currentRssMb();
    MonthOverview overview(context);
    for (int r = 0; r < repeats; ++r) {
        bare.push_back(bench::timeMs([&] {
            for (const std::string &day : days) {
                sqlite3_bind_text(stmt, 1, day.c_str(), -1, SQLITE_STATIC);
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    checksum += sqlite3_column_int(stmt, 0) + sqlite3_column_int(stmt, 1)
                                + sqlite3_column_bytes(stmt, 2);
                sqlite3_reset(stmt);
            }
        }));
        refresh.push_back(bench::timeMs([&] { overview.completeRefresh({}); }));
    }
    const double modelMb = currentRssMb() - rssBefore;

    TFVisaoGeral screen(context);
    screen.prepareMonthTab();
    screen.show();
    QApplication::processEvents();
    for (int r = 0; r < repeats; ++r) {
        screenRefresh.push_back(bench::timeMs([&] {
            screen.BAtualizar0->click();
            QApplication::processEvents();
        }));
    }

    // One booking on a day emptied first, cell after cell.
    const QString emptyDay = dates::formatShort(today.addDays(30));
    const int emptyDayNumber = today.addDays(30).day();
    context.DMMedicos.table().database().exec(QStringLiteral("DELETE FROM Medicos WHERE Data = '%1'").arg(emptyDay));
    context.sheets.refresh(emptyDayNumber);
    std::vector<double> booking, bareBooking;
    sqlite3 *rw = nullptr;
    sqlite3_open_v2((dir + QStringLiteral("/bare.db")).toUtf8().constData(), &rw,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(rw, "CREATE TABLE Medicos (Data TEXT NOT NULL, Hora TEXT NOT NULL, Medico TEXT NOT NULL, "
                     "Paciente TEXT NOT NULL, Telefone TEXT, Situacao TEXT, Observacoes TEXT, "
                     "PRIMARY KEY (Data, Hora, Medico)) WITHOUT ROWID",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *ins = nullptr, *find = nullptr;
    sqlite3_prepare_v2(rw, "INSERT INTO Medicos VALUES (?1, ?2, ?3, 'Paciente', '', '1', '')", -1, &ins, nullptr);
    sqlite3_prepare_v2(rw, "SELECT * FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1, &find, nullptr);
    TFConsulta &dialog = screen.consulta();
    const std::string dayText = emptyDay.toStdString();
    for (int i = 0; i < 24; ++i) {
        const int slot = 1 + i;
        const int code = 1 + i % 50;
        bareBooking.push_back(bench::timeMs([&] {
            const std::string s = std::to_string(slot), c = std::to_string(code);
            sqlite3_bind_text(find, 1, dayText.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(find, 2, s.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(find, 3, c.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(find);
            sqlite3_reset(find);
            sqlite3_bind_text(ins, 1, dayText.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(ins, 2, s.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(ins, 3, c.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }));
        booking.push_back(bench::timeMs([&] {
            dialog.prepareFor({emptyDayNumber, slot, code});
            dialog.DBEdit1->setText(QStringLiteral("Paciente"));
            dialog.BIncluir->click();
        }));
        if (context.sheets.sheet(emptyDayNumber).cell(slot, code) != QLatin1String("C"))
            std::fprintf(stderr, "booking %d did not mark the cell\n", i);
    }

    {
        AppointmentTable other;
        other.open(dir + QStringLiteral("/Medicos.db"), false);
        std::printf("rows on the booked day seen by another connection: %zu; in a transaction: %d\n",
                    other.onDate(emptyDay).size(), !sqlite3_get_autocommit(context.DMMedicos.table().database().handle()));
    }
    using bench::median;
    std::printf("complete refresh, %d repeats, medians (checksum %ld)\n", repeats, checksum);
    std::printf("  bare SQLite read of the 31 days   : %7.2f ms\n", median(bare));
    std::printf("  refresh + month summary (models)  : %7.2f ms   ratio %.2f x\n", median(refresh),
                median(refresh) / median(bare));
    std::printf("  the same with the screen shown    : %7.2f ms   ratio %.2f x\n", median(screenRefresh),
                median(screenRefresh) / median(bare));
    std::printf("one booking, 24 bookings, medians\n");
    std::printf("  bare SQLite lookup + insert       : %7.3f ms\n", median(bareBooking));
    std::printf("  dialog, Incluir, cell \"C\"         : %7.3f ms   ratio %.2f x\n", median(booking),
                median(booking) / median(bareBooking));

    if (!exe.empty()) {
        const std::string data = dir.toStdString();
        const std::string drives = tmp.filePath(QStringLiteral("drives")).toStdString();
        std::vector<double> alone, withBooking;
        for (int i = 0; i < 5; ++i) {
            alone.push_back(bench::runProcess({exe, "--dados", data, "--unidades", drives, "--sair-ao-mostrar"}).mb);
            withBooking.push_back(
                bench::runProcess({exe, "--dados", data, "--unidades", drives, "--sair-ao-mostrar", "--com-marcacao"}).mb);
        }
        std::printf("peak memory, 5 runs, medians\n");
        std::printf("  main window alone                 : %7.1f MB\n", median(alone));
        std::printf("  the sheets' own data (models)     : %7.1f MB\n", modelMb);
        std::printf("  booking screen open and filled    : %7.1f MB   ratio %.2f x\n", median(withBooking),
                    median(withBooking) / (median(alone) + modelMb));
    }
    sqlite3_finalize(stmt);
    sqlite3_finalize(ins);
    sqlite3_finalize(find);
    sqlite3_close(db);
    sqlite3_close(rw);
    return 0;
}
