// 37,200 key lookups (every slot of the coming month) through the store against the
// same lookups through one prepared SQLite statement, each inside one read
// transaction, run alternately (A B A B ...), at a full month and at ten times that.
#include "bench_data.h"

#include "platform/dates.h"
#include "store/appointment_table.h"

#include <QDate>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <vector>

using namespace clinora;

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 9;
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const QDate today = QDate::currentDate();
        const int rows = bench::buildClinic(dir, today, size);

        std::vector<AppointmentKey> keys;
        for (int day = 0; day < 31; ++day)
            for (int c = 1; c <= 50; ++c)
                for (int s = 1; s <= 24; ++s)
                    keys.push_back({dates::formatShort(today.addDays(day)), QString::number(s), QString::number(c)});
        std::vector<std::string> raw;
        for (const AppointmentKey &k : keys)
            raw.push_back(k.data.toStdString() + '\0' + k.hora.toStdString() + '\0' + k.medico.toStdString());

        AppointmentTable table;
        table.open(dir + QStringLiteral("/Medicos.db"), false);
        sqlite3 *db = nullptr;
        sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes FROM Medicos "
                           "WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3",
                           -1, &stmt, nullptr);
        int found = 0;
        const bench::Paired runs = bench::paired(
            pairs,
            [&] {
                return bench::timeMs([&] {
                    sql::Transaction read(table.database());
                    for (const AppointmentKey &k : keys)
                        found += table.find(k).has_value();
                    read.commit();
                });
            },
            [&] {
                return bench::timeMs([&] {
                    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
                    for (const std::string &k : raw) {
                        const char *p = k.c_str();
                        const char *h = p + std::strlen(p) + 1;
                        const char *m = h + std::strlen(h) + 1;
                        sqlite3_bind_text(stmt, 1, p, -1, SQLITE_STATIC);
                        sqlite3_bind_text(stmt, 2, h, -1, SQLITE_STATIC);
                        sqlite3_bind_text(stmt, 3, m, -1, SQLITE_STATIC);
                        if (sqlite3_step(stmt) == SQLITE_ROW)
                            for (int col = 0; col < 7; ++col)
                                found += sqlite3_column_bytes(stmt, col) >= 0;
                        sqlite3_reset(stmt);
                    }
                    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
                });
            });
        std::printf("%zu lookups, %d rows in the table (found %d)\n", keys.size(), rows, found);
        bench::report("store find()", runs);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
    return 0;
}
