// "Fechar/Reservar Horários" of 06:00 to 18:00 for all 50 doctors over the 31 open dates
// of a month about half booked, against bare SQLite doing the same reads and writes in
// one transaction: every slot looked up by its key, each booked one moved to the
// cancelled list ("dd/mmH/", its Hora raised past the ones taken there) and a
// reservation inserted in its place, a reservation inserted in every free slot; and the
// same work files written. Run alternately (A B A B ...) on fresh copies of the table,
// at a full month (37,200 rows) and at ten times that (half a year of history and large
// lists). The day sheets are counted as they announce their changes: once each.
// Usage: bench_blocking [PAIRS [ROWS...]].
#include "doctors/blocking.h"

#include "app/context.h"
#include "bench_data.h"
#include "platform/dates.h"
#include "platform/sqlite.h"
#include "store/appointment_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <map>
#include <set>
#include <vector>

using namespace clinora;

namespace {

// Leaves about half of the month booked: the slots whose number and doctor code add up
// to an odd number are freed.
void freeHalfTheMonth(const QString &path, QDate today)
{
    AppointmentTable table;
    table.open(path, false);
    sql::Transaction transaction(table.database());
    for (int d = 0; d < 31; ++d) {
        sql::Statement s =
            table.database().prepare(QStringLiteral("DELETE FROM Medicos WHERE Data = ?1 AND (CAST(Hora AS "
                                                    "INTEGER) + CAST(Medico AS INTEGER)) % 2 = 1"));
        s.bind(1, dates::formatShort(today.addDays(d)));
        s.run();
    }
    transaction.commit();
}

void writeFile(const std::string &path, const std::string &text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        ::fsync(fd) != 0)
        std::abort();
    ::close(fd);
}

struct Bare
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *find = nullptr, *taken = nullptr, *move = nullptr, *insert = nullptr;

    explicit Bare(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_prepare_v2(
            db,
            "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes FROM Medicos "
            "WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3",
            -1, &find, nullptr);
        sqlite3_prepare_v2(db, "SELECT Medico, Hora FROM Medicos WHERE Data = ?1", -1, &taken, nullptr);
        sqlite3_prepare_v2(
            db, "UPDATE Medicos SET Data = ?1, Hora = ?2 WHERE Data = ?3 AND Hora = ?4 AND Medico = ?5", -1,
            &move, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO Medicos VALUES (?1, ?2, ?3, 'R', '', '', '')", -1, &insert,
                           nullptr);
    }
    ~Bare()
    {
        for (sqlite3_stmt *s : {find, taken, move, insert})
            sqlite3_finalize(s);
        sqlite3_close(db);
    }

    // The reservation of every slot of the doctors on the dates; the ArqAux.Txt text of
    // the patients displaced.
    std::string reserve(const std::vector<std::string> &days, int doctors)
    {
        std::string aux;
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        // Each list date's taken Horas read once and followed in memory as rows move in.
        std::map<std::string, std::map<std::string, std::set<int>>> listed;
        for (const std::string &day : days) {
            const std::string list = day.substr(0, 5) + "H/";
            auto listDate = listed.find(list);
            if (listDate == listed.end()) {
                listDate = listed.emplace(list, std::map<std::string, std::set<int>>{}).first;
                sqlite3_bind_text(taken, 1, list.c_str(), -1, SQLITE_STATIC);
                while (sqlite3_step(taken) == SQLITE_ROW)
                    listDate->second[reinterpret_cast<const char *>(sqlite3_column_text(taken, 0))].insert(
                        sqlite3_column_int(taken, 1));
                sqlite3_reset(taken);
            }
            for (int c = 1; c <= doctors; ++c) {
                const std::string code = std::to_string(c);
                for (int s = 1; s <= 24; ++s) {
                    const std::string slot = std::to_string(s);
                    sqlite3_bind_text(find, 1, day.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(find, 2, slot.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(find, 3, code.c_str(), -1, SQLITE_STATIC);
                    std::string patient;
                    const bool found = sqlite3_step(find) == SQLITE_ROW;
                    if (found) {
                        patient = reinterpret_cast<const char *>(sqlite3_column_text(find, 3));
                        for (int col = 4; col < 7; ++col)
                            sqlite3_column_bytes(find, col);
                    }
                    sqlite3_reset(find);
                    if (found && patient == "R")
                        continue;
                    if (found) {
                        std::set<int> &used = listDate->second[code];
                        int hora = s;
                        while (used.count(hora))
                            ++hora;
                        used.insert(hora);
                        const std::string newHora = std::to_string(hora);
                        sqlite3_bind_text(move, 1, list.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(move, 2, newHora.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(move, 3, day.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(move, 4, slot.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(move, 5, code.c_str(), -1, SQLITE_STATIC);
                        sqlite3_step(move);
                        sqlite3_reset(move);
                        aux += day + (slot + " ").substr(0, 2) + (code + " ").substr(0, 2) + patient +
                               std::string(25 - std::min<std::size_t>(25, patient.size()), ' ') +
                               "3333-4444\r\n";
                    }
                    sqlite3_bind_text(insert, 1, day.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(insert, 2, slot.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(insert, 3, code.c_str(), -1, SQLITE_STATIC);
                    sqlite3_step(insert);
                    sqlite3_reset(insert);
                }
            }
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        return aux;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 5;
    const QDate today = QDate::currentDate();
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const int built = bench::buildClinic(dir, today, size);
        const QString table = dir + QStringLiteral("/Medicos.db");
        const QString pristine = tmp.filePath(QStringLiteral("pristine.db"));
        const QString work = tmp.filePath(QStringLiteral("bare.db"));
        freeHalfTheMonth(table, today);
        int rows = 0;
        {
            AppointmentTable indexed; // the program's indexes, as its first start builds them
            indexed.open(table, false);
            rows = indexed.count();
        }
        QFile::copy(table, pristine);

        bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
        AppContext &context = program.context;
        QStringList codes;
        for (int c = 1; c <= 50; ++c)
            codes << (QString::number(c) + QLatin1Char(' ')).left(2);
        QStringList days;
        std::vector<std::string> bareDays;
        for (int d = 0; d < 31; ++d) {
            days << dates::formatShort(today.addDays(d));
            bareDays.push_back(days.last().toStdString());
        }
        // Each sheet tells its views of its changes: counted per sheet and run.
        std::array<int, 32> announced{};
        int mostPerSheet = 0, sheetsTold = 0;
        for (int day = 1; day <= 31; ++day)
            QObject::connect(&context.sheets.sheet(day), &DaySheet::dataChanged,
                             [&announced, day] { ++announced[static_cast<std::size_t>(day)]; });

        const blocking::Period period{6 * 3600, 18 * 3600};
        int reserved = 0, displaced = 0;
        std::size_t bareDisplaced = 0;
        const std::string bareDir = tmp.filePath(QStringLiteral("bare-")).toStdString();
        std::string codeLines, dayLines, slotLines;
        for (const QString &c : codes)
            codeLines += c.toStdString() + "\r\n";
        for (const std::string &d : bareDays)
            dayLines += d + "\r\n";
        for (int s = 1; s <= 24; ++s)
            slotLines += std::to_string(s) + "\r\n";
        const bench::Paired runs = bench::paired(
            pairs,
            [&] {
                context.DMMedicos.close();
                bench::freshCopy(pristine, table);
                context.DMMedicos.open();
                for (int day = 1; day <= 31; ++day)
                    context.sheets.sheet(day).clearSlots();
                announced.fill(0);
                const double ms = bench::timeMs([&] {
                    const auto result = blocking::run(context, blocking::Mode::Reserve, codes, days, period);
                    reserved += result->reserved;
                    displaced += static_cast<int>(result->lines.size());
                });
                sheetsTold = 0;
                for (const int told : announced) {
                    mostPerSheet = std::max(mostPerSheet, told);
                    sheetsTold += told > 0;
                }
                return ms;
            },
            [&] {
                bench::freshCopy(pristine, work);
                Bare bare(work);
                return bench::timeMs([&] {
                    writeFile(bareDir + "ArqMed.Txt", codeLines);
                    writeFile(bareDir + "ArqDia.Txt", dayLines);
                    const std::string aux = bare.reserve(bareDays, 50);
                    bareDisplaced += static_cast<std::size_t>(std::count(aux.begin(), aux.end(), '\n'));
                    writeFile(bareDir + "ArqAux.Txt", aux);
                    writeFile(bareDir + "ArqHora.Txt", slotLines);
                });
            });
        std::printf("reserving 06:00-18:00, 50 doctors x 31 dates, %d rows in the table (built %d)\n", rows,
                    built);
        std::printf("  per run: %d reserved, %d displaced (bare displaced %zu); %d sheets changed, each told "
                    "its views at most %d time(s)\n",
                    reserved / pairs, displaced / pairs, bareDisplaced / static_cast<std::size_t>(pairs),
                    sheetsTold, mostPerSheet);
        bench::report("Fechar/Reservar Horarios", runs);
        context.DMMedicos.close();
    }
    return 0;
}
