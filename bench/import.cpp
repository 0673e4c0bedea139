// The import of the old program's Paradox table (40,000 rows, remarks on one row in
// five, a few long ones, some keys twice) against reading the same table with pxlib
// alone and writing its rows with bare SQLite inserts in one transaction into a table
// with the same schema and indexes, run alternately (A B A B ...).
#include "bench_data.h"
#include "platform/dates.h"
#include "platform/text_file.h"
#include "store/table_import.h"
#include "support/paradox_writer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>

extern "C" {
#include <paradox.h>
}

using namespace clinora;

namespace {

constexpr int kRows = 40000;

std::vector<Appointment> oldRows()
{
    std::vector<Appointment> rows;
    rows.reserve(kRows);
    const QDate first = QDate::currentDate();
    for (int i = 0; static_cast<int>(rows.size()) < kRows; ++i) {
        const int doctor = 1 + i % 50;
        const int slot = 1 + (i / 50) % 20;
        const QDate day = first.addDays(i / 1000);
        QString data = dates::formatShort(day);
        if (i % 10 == 3)
            data = data.left(5) + QStringLiteral("H/");
        else if (i % 97 == 5)
            data = QStringLiteral("4%1%2")
                       .arg(day.dayOfYear(), 4, 10, QLatin1Char('0'))
                       .arg(i % 1000, 3, 10, QLatin1Char('0'));
        QString remark;
        if (i % 5 == 0)
            remark = QStringLiteral("Retorno com exames, convênio %1.").arg(i % 7);
        if (i % 400 == 1)
            remark = QStringLiteral("Histórico: pressão alta, diabetes; trazer receitas. ").repeated(30);
        rows.push_back({data, QString::number(slot), QString::number(doctor),
                        QStringLiteral("Paciente João Conceição %1").arg(i % 10000),
                        QStringLiteral("(21)255-%1").arg(i % 10000, 4, 10, QLatin1Char('0')),
                        QString::number(1 + i % 3), remark});
        if (i % 1000 == 7) // a key written twice
            rows.push_back(rows.back());
    }
    rows.resize(kRows);
    return rows;
}

// Windows-1252 to UTF-8, byte by byte, from a table made once.
std::array<std::string, 256> utf8Table()
{
    std::array<std::string, 256> table;
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        table[static_cast<std::size_t>(b)] = textfile::decode(QByteArrayView(&c, 1)).toStdString();
    }
    return table;
}

void toUtf8(const std::array<std::string, 256> &table, const char *text, std::size_t length, std::string &out)
{
    out.clear();
    for (std::size_t i = 0; i < length && text[i]; ++i)
        out += table[static_cast<unsigned char>(text[i])];
}

quint32 le32(const char *p)
{
    quint32 v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

// The bare run: pxlib reads every record, the remarks are cut from the memo file's
// bytes, and the rows go into the same table with one prepared insert.
int bareImport(const QString &db, const QString &mb, const QString &target,
               const std::array<std::string, 256> &cp)
{
    QFile memo(mb);
    memo.open(QIODevice::ReadOnly);
    const QByteArray memoBytes = memo.readAll();
    pxdoc_t *px = PX_new();
    PX_open_file(px, QFile::encodeName(db).constData());
    const pxfield_t *fields = PX_get_fields(px);
    const int count = PX_get_num_fields(px);
    std::vector<int> offsets;
    for (int i = 0, at = 0; i < count; ++i) {
        offsets.push_back(at);
        at += fields[i].px_flen;
    }
    sqlite3 *out = nullptr;
    sqlite3_open(QFile::encodeName(target).constData(), &out);
    sqlite3_exec(
        out,
        "CREATE TABLE Medicos (Data TEXT NOT NULL CHECK (Data <> ''), Hora TEXT NOT NULL CHECK (Hora <> ''),"
        " Medico TEXT NOT NULL CHECK (Medico <> ''), Paciente TEXT NOT NULL CHECK (Paciente <> ''),"
        " Telefone TEXT NOT NULL DEFAULT '', Situacao TEXT NOT NULL DEFAULT '',"
        " Observacoes TEXT NOT NULL DEFAULT '', PRIMARY KEY (Data, Hora, Medico)) WITHOUT ROWID;"
        "CREATE INDEX MedicosPorDia ON Medicos (substr(Data, 7, 2) || substr(Data, 4, 2) || substr(Data, 1, "
        "2))"
        " WHERE substr(Data, 6, 1) = '/';"
        "CREATE INDEX MedicosPorMedicoDia ON Medicos (Medico, (substr(Data, 6, 1) = '/'),"
        " substr(Data, 7, 2) || substr(Data, 4, 2) || substr(Data, 1, 2));",
        nullptr, nullptr, nullptr);
    sqlite3_exec(out, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(out, "INSERT OR IGNORE INTO Medicos VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)", -1, &insert,
                       nullptr);
    QByteArray record(PX_get_recordsize(px), '\0');
    std::array<std::string, 7> values;
    int written = 0;
    const int records = PX_get_num_records(px);
    for (int n = 0; n < records; ++n) {
        PX_get_record(px, n, record.data());
        for (int f = 0; f < count && f < 7; ++f) {
            char *data = record.data() + offsets[static_cast<std::size_t>(f)];
            const int length = fields[f].px_flen;
            if (fields[f].px_ftype == pxfAlpha) {
                char *text = nullptr;
                if (PX_get_data_alpha(px, data, length, &text) > 0) {
                    toUtf8(cp, text, static_cast<std::size_t>(length), values[static_cast<std::size_t>(f)]);
                    px->free(px, text);
                } else {
                    values[static_cast<std::size_t>(f)].clear();
                }
            } else {
                const int leader = length - 10;
                const quint32 size = le32(data + leader + 4);
                const qsizetype offset = le32(data + leader) & 0xFFFFFF00u;
                const quint32 index = le32(data + leader) & 0xFFu;
                const char *text = data;
                if (size > static_cast<quint32>(leader)) {
                    const char *block = memoBytes.constData() + offset;
                    text = block[0] == 2 ? block + 9
                                         : block + static_cast<unsigned char>(block[12 + index * 5]) * 16;
                }
                toUtf8(cp, text, size, values[static_cast<std::size_t>(f)]);
            }
        }
        for (int f = 0; f < 7; ++f)
            sqlite3_bind_text(insert, f + 1, values[static_cast<std::size_t>(f)].c_str(),
                              static_cast<int>(values[static_cast<std::size_t>(f)].size()), SQLITE_STATIC);
        sqlite3_step(insert);
        written += sqlite3_changes(out);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(out, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(out);
    PX_close(px);
    PX_delete(px);
    return written;
}

void clearDirectory(const QString &dir)
{
    const QStringList names = QDir(dir).entryList(QDir::Files);
    for (const QString &name : names)
        QFile::remove(QDir(dir).filePath(name));
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 9;
    QTemporaryDir tmp;
    const QString pristine = tmp.filePath(QStringLiteral("pristine"));
    const QString work = tmp.filePath(QStringLiteral("work"));
    QDir().mkpath(pristine);
    QDir().mkpath(work);
    test::writeParadoxTable(pristine + QStringLiteral("/Medicos.db"), oldRows());
    const std::array<std::string, 256> cp = utf8Table();

    int imported = 0;
    int bareWritten = 0;
    const bench::Paired runs = bench::paired(
        pairs,
        [&] {
            clearDirectory(work);
            bench::freshCopy(pristine + QStringLiteral("/Medicos.db"), work + QStringLiteral("/Medicos.db"));
            bench::freshCopy(pristine + QStringLiteral("/Medicos.mb"), work + QStringLiteral("/Medicos.mb"));
            return bench::timeMs([&] {
                const QString table = work + QStringLiteral("/Medicos.db");
                imported = importParadoxTable(table, table, QStringLiteral("01/01/2027 10:00:00")).imported;
            });
        },
        [&] {
            clearDirectory(work);
            return bench::timeMs([&] {
                bareWritten = bareImport(pristine + QStringLiteral("/Medicos.db"),
                                         pristine + QStringLiteral("/Medicos.mb"),
                                         work + QStringLiteral("/bare.db"), cp);
            });
        });
    std::printf("%d rows in the old table: %d imported, %d written bare\n", kRows, imported, bareWritten);
    bench::report("import of the old table", runs);
    return 0;
}
