#include "store/appointment_table.h"

#include "platform/errors.h"
#include "platform/text_file.h"
#include "store/paradox_table.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <sqlite3.h>

#include <set>

namespace clinora {

namespace {

const char *const kColumns = "Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes";

const char *const kTableSchema =
    "CREATE TABLE Medicos ("
    " Data TEXT NOT NULL CHECK (Data <> ''),"
    " Hora TEXT NOT NULL CHECK (Hora <> ''),"
    " Medico TEXT NOT NULL CHECK (Medico <> ''),"
    " Paciente TEXT NOT NULL CHECK (Paciente <> ''),"
    " Telefone TEXT NOT NULL DEFAULT '',"
    " Situacao TEXT NOT NULL DEFAULT '',"
    " Observacoes TEXT NOT NULL DEFAULT '',"
    " PRIMARY KEY (Data, Hora, Medico)) WITHOUT ROWID;";

// A dated row ("dd/mm/yy") as "yymmdd", which sorts as the dates do: the purge and the
// leave move range over it instead of reading every row. The expressions here and in
// the queries below must stay the same text, or SQLite will not use the indexes.
#define CLINORA_DATED "substr(Data, 6, 1) = '/'"
#define CLINORA_DAY_KEY "substr(Data, 7, 2) || substr(Data, 4, 2) || substr(Data, 1, 2)"

const char *const kIndexes =
    "DROP INDEX IF EXISTS MedicosPorMedico;"
    "CREATE INDEX IF NOT EXISTS MedicosPorDia ON Medicos (" CLINORA_DAY_KEY ") WHERE " CLINORA_DATED ";"
    "CREATE INDEX IF NOT EXISTS MedicosPorMedicoDia ON Medicos (Medico, (" CLINORA_DATED "), "
    CLINORA_DAY_KEY ");";

// The columns of the table, in order, and their places in the primary key.
const struct
{
    const char *name;
    int key;
} kColumnsAndKey[] = {{"Data", 1}, {"Hora", 2}, {"Medico", 3}, {"Paciente", 0},
                      {"Telefone", 0}, {"Situacao", 0}, {"Observacoes", 0}};

// Every opening of a table in this run has its own number, so that a stamp taken before
// a table was closed never matches one taken after it was opened again.
quint64 openings = 0;

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The first line of the clean-close marker; the file's size and modification time
// (milliseconds since 1970, UTC) follow.
const char *const kClosedClean = "Fechada corretamente";

QStringList fileStamp(const QFileInfo &file)
{
    return {QString::number(file.size()),
            QString::number(file.lastModified().toMSecsSinceEpoch())};
}

// Whether the marker says the table was closed clean as it is now. A missing or
// unreadable marker, or a journal left beside the table, says no.
bool closedCleanAsItIs(const QString &path, const QString &marker)
{
    if (!QFileInfo::exists(marker) || QFileInfo::exists(path + QStringLiteral("-journal"))
        || QFileInfo::exists(path + QStringLiteral("-wal")))
        return false;
    try {
        const QStringList lines = textfile::readLines(marker);
        QFileInfo file(path);
        return lines == QStringList{QLatin1String(kClosedClean)} + fileStamp(file);
    } catch (const Error &) {
        return false;
    }
}

} // namespace

QString AppointmentTable::cleanCloseMarker(const QString &path)
{
    return path + QStringLiteral(".ok");
}

QString AppointmentTable::stored(Field f, const QString &text)
{
    const int width = fieldWidth(f);
    return textfile::trimRight(width < 0 ? text : text.left(width));
}

Appointment AppointmentTable::stored(const Appointment &row)
{
    Appointment r;
    for (int i = 0; i < 7; ++i) {
        const auto f = static_cast<Field>(i);
        r.value(f) = stored(f, row.value(f));
    }
    return r;
}

QByteArray AppointmentTable::emptyTableBytes()
{
    // The same bytes every time: made once.
    static const QByteArray bytes = [] {
        sql::Database memory(QStringLiteral(":memory:"), true);
        memory.exec(QString::fromLatin1(kTableSchema));
        memory.exec(QString::fromLatin1(kIndexes));
        return memory.serialize();
    }();
    return bytes;
}

void AppointmentTable::createFile(const QString &path)
{
    textfile::writeBytes(path, emptyTableBytes());
}

void AppointmentTable::open(const QString &path, bool create, WholeCheck whole)
{
    close();
    m_path = path;
    m_checkedWhole = true;
    if (whole == WholeCheck::UnlessClosedClean) {
        // The marker goes before anything is written: only the next clean close makes
        // the file trustworthy again. One that cannot be removed is not trusted.
        const QString marker = cleanCloseMarker(path);
        const bool trusted = closedCleanAsItIs(path, marker);
        QFile::remove(marker);
        m_checkedWhole = !trusted || QFileInfo::exists(marker);
    }
    const QFileInfo file(path);
    if (!file.exists()) {
        if (!create)
            throw MissingTableError(QStringLiteral("Arquivo não encontrado: %1").arg(shownPath(path)));
        createFile(path);
    }
    // What is wrong in Portuguese, naming the file; the library's own words, if any, only
    // as the last line, for whoever mends it.
    bool refused = false;
    const auto refuse = [&](const QString &why, const QString &detail = {}) {
        close();
        refused = true;
        return StoreError(QStringLiteral("O arquivo %1 não pôde ser aberto como tabela de consultas: %2\r\n"
                                         "Nada foi gravado nele. Se ele foi danificado, recupere os dados pelo "
                                         "menu Manutenção › Espelhamento › Recuperar Sistema com o Espelho "
                                         "(Sist <-- Esp); não copie a tabela da pasta Espelho à mão, pois as "
                                         "alterações feitas depois da última gravação do Espelho se perderiam.%3")
                              .arg(shownPath(path), why,
                                   detail.isEmpty() ? QString() : QStringLiteral("\r\nDetalhe: ") + detail));
    };
    if (QFileInfo(path).size() == 0)
        throw refuse(QStringLiteral("o arquivo está vazio (0 bytes)."));
    if (paradox::isParadoxTable(path))
        throw StoreError(QStringLiteral("O arquivo %1 é uma tabela de consultas do programa anterior (Paradox). "
                                        "O Clinora a importa ao abrir: feche-o e abra-o de novo. Nada foi "
                                        "gravado nela.")
                             .arg(shownPath(path)));
    try {
        m_db = sql::Database(path, false);
        // Before anything is written: the file must be this program's table, whole.
        QStringList columns;
        bool keyMatches = true;
        sql::Statement info = m_db.prepare(QStringLiteral("PRAGMA table_info(Medicos)"));
        for (int i = 0; info.step(); ++i) {
            columns << info.text(1);
            const int expected = i < 7 ? kColumnsAndKey[i].key : -1;
            keyMatches = keyMatches && info.integer(5) == expected;
        }
        QStringList expectedColumns;
        for (const auto &c : kColumnsAndKey)
            expectedColumns << QLatin1String(c.name);
        if (columns.isEmpty())
            throw refuse(QStringLiteral("ele não tem a tabela Medicos (é o banco de dados de outro "
                                        "programa?)."));
        if (columns != expectedColumns || !keyMatches)
            throw refuse(QStringLiteral("a tabela Medicos dele tem os campos %1 e não os do Clinora.")
                             .arg(columns.join(QStringLiteral(", "))));
        if (m_checkedWhole) {
            sql::Statement check = m_db.prepare(QStringLiteral("PRAGMA quick_check"));
            QStringList problems;
            while (check.step())
                problems << check.text(0);
            if (problems != QStringList{QStringLiteral("ok")})
                throw refuse(QStringLiteral("o arquivo está danificado."),
                             problems.mid(0, 3).join(QStringLiteral("; ")));
        }
        m_db.exec(QString::fromLatin1(kIndexes));
        m_opening = ++openings;
    } catch (const StoreError &e) {
        if (refused)
            throw;
        // The store's message: "what (file): why.\r\nDetalhe: the library's text".
        const QString text = e.message();
        const qsizetype detailAt = text.indexOf(QLatin1String("\r\nDetalhe: "));
        const QString head = detailAt < 0 ? text : text.left(detailAt);
        const qsizetype whyAt = head.lastIndexOf(QLatin1String("): "));
        throw refuse(whyAt < 0 ? head : head.mid(whyAt + 3),
                     detailAt < 0 ? QString() : text.mid(detailAt + 11));
    }
}

void AppointmentTable::close()
{
    m_dayRows.reset();
    m_dataVersion.reset();
    m_find.reset();
    m_insert.reset();
    m_update.reset();
    m_remove.reset();
    m_removeHolding.reset();
    m_onDate.reset();
    m_takenOn.reset();
    m_freeHora.reset();
    m_horasOn.reset();
    m_onDateOf.reset();
    m_forEachRowOnDate.reset();
    m_insertUnlessTaken.reset();
    m_db.close();
    // Whatever is opened next is another state of the table for anyone who compares.
    m_opening = 0;
}

void AppointmentTable::closeClean()
{
    // A transaction still open would be rolled back by the close: not a clean one.
    const bool clean = m_db.isOpen() && sqlite3_get_autocommit(m_db.handle()) != 0;
    close();
    if (!clean || QFileInfo::exists(m_path + QStringLiteral("-journal")))
        return;
    // Without the marker the next open checks the whole file: nothing to report. The
    // table's own changes are on the disk already; the marker is not forced there, as a
    // marker lost or emptied by a crash only costs the next start that check.
    const QString marker = cleanCloseMarker(m_path);
    try {
        textfile::writeHintLines(marker, QStringList{QLatin1String(kClosedClean)} + fileStamp(QFileInfo(m_path)));
    } catch (const Error &) {
        QFile::remove(marker);
    }
}

void AppointmentTable::recreate(const QString &path)
{
    close();
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw StoreError(QStringLiteral("Não foi possível recriar a tabela %1").arg(shownPath(path)));
    QFile::remove(path + QStringLiteral("-journal"));
    open(path, true);
}

void AppointmentTable::requireOpen() const
{
    if (!m_db.isOpen())
        throw StoreError(QStringLiteral("A tabela de consultas não está aberta."));
}

sql::Statement &AppointmentTable::cached(std::optional<sql::Statement> &slot, const char *sql)
{
    requireOpen();
    if (!slot)
        slot.emplace(m_db, QString::fromLatin1(sql));
    return *slot;
}

std::vector<Appointment> AppointmentTable::rows(sql::Statement &statement)
{
    std::vector<Appointment> result;
    while (statement.step()) {
        result.push_back({statement.text(0), statement.text(1), statement.text(2), statement.text(3),
                          statement.text(4), statement.text(5), statement.text(6)});
    }
    statement.reset();
    return result;
}

void AppointmentTable::checkRequired(const Appointment &row) const
{
    static const struct
    {
        Field field;
        const char *name;
    } required[] = {{Field::Data, "Data"}, {Field::Hora, "Hora"}, {Field::Medico, "Medico"},
                    {Field::Paciente, "Paciente"}};
    for (const auto &r : required) {
        if (row.value(r.field).isEmpty())
            throw StoreError(QStringLiteral("O campo %1 é obrigatório.").arg(QLatin1String(r.name)));
    }
}

void AppointmentTable::bindRow(sql::Statement &statement, const Appointment &row, int first)
{
    for (int i = 0; i < 7; ++i)
        statement.bind(first + i, row.value(static_cast<Field>(i)));
}

void AppointmentTable::runWrite(sql::Statement &statement, const AppointmentKey &key)
{
    try {
        statement.run();
    } catch (const KeyViolation &) {
        statement.reset();
        throw KeyViolation(QStringLiteral("Violação de chave: já existe um registro com %1.").arg(key.text()));
    }
}

std::optional<Appointment> AppointmentTable::find(const AppointmentKey &key)
{
    sql::Statement &s = cached(m_find, "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, "
                                       "Observacoes FROM Medicos WHERE Data = ?1 AND Hora = ?2 "
                                       "AND Medico = ?3");
    s.bind(1, key.data).bind(2, key.hora).bind(3, key.medico);
    std::vector<Appointment> found = rows(s);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

void AppointmentTable::insert(const Appointment &input)
{
    const Appointment row = stored(input);
    checkRequired(row);
    sql::Statement &s = cached(m_insert, "INSERT INTO Medicos (Data, Hora, Medico, Paciente, "
                                         "Telefone, Situacao, Observacoes) VALUES (?1, ?2, ?3, ?4, "
                                         "?5, ?6, ?7)");
    bindRow(s, row, 1);
    runWrite(s, row.key());
}

void AppointmentTable::update(const AppointmentKey &oldKey, const Appointment &input)
{
    const Appointment row = stored(input);
    checkRequired(row);
    sql::Statement &s = cached(m_update, "UPDATE Medicos SET Data = ?1, Hora = ?2, Medico = ?3, "
                                         "Paciente = ?4, Telefone = ?5, Situacao = ?6, "
                                         "Observacoes = ?7 WHERE Data = ?8 AND Hora = ?9 AND "
                                         "Medico = ?10");
    bindRow(s, row, 1);
    s.bind(8, oldKey.data).bind(9, oldKey.hora).bind(10, oldKey.medico);
    runWrite(s, row.key());
    if (m_db.changes() == 0)
        throw StoreError(QStringLiteral("O registro com %1 não existe mais.").arg(oldKey.text()));
}

bool AppointmentTable::remove(const AppointmentKey &key)
{
    sql::Statement &s = cached(m_remove,
                               "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3");
    s.bind(1, key.data).bind(2, key.hora).bind(3, key.medico);
    s.run();
    return m_db.changes() > 0;
}

bool AppointmentTable::removeHolding(const AppointmentKey &key, const QString &paciente)
{
    sql::Statement &s = cached(m_removeHolding, "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 "
                                                "AND Medico = ?3 AND Paciente = ?4");
    s.bind(1, key.data).bind(2, key.hora).bind(3, key.medico).bind(4, stored(Field::Paciente, paciente));
    s.run();
    return m_db.changes() > 0;
}

void AppointmentTable::clear()
{
    requireOpen();
    m_db.exec(QStringLiteral("DELETE FROM Medicos"));
}

int AppointmentTable::count()
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT COUNT(*) FROM Medicos"));
    s.step();
    return static_cast<int>(s.integer(0));
}

std::vector<Appointment> AppointmentTable::all()
{
    return after(std::nullopt, -1);
}

void AppointmentTable::forEachKey(const std::function<void(const AppointmentKey &)> &visit)
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT Data, Hora, Medico FROM Medicos "
                                                   "ORDER BY Data, Hora, Medico"));
    while (s.step())
        visit({s.text(0), s.text(1), s.text(2)});
}

std::vector<Appointment> AppointmentTable::after(const std::optional<AppointmentKey> &key, int limit)
{
    requireOpen();
    const QString base = QStringLiteral("SELECT %1 FROM Medicos ").arg(QLatin1String(kColumns));
    const QString order = QStringLiteral(" ORDER BY Data, Hora, Medico LIMIT ?4");
    sql::Statement s = m_db.prepare(
        base + (key ? QStringLiteral("WHERE (Data, Hora, Medico) > (?1, ?2, ?3)") : QString()) + order);
    if (key)
        s.bind(1, key->data).bind(2, key->hora).bind(3, key->medico);
    s.bind(4, static_cast<qint64>(limit));
    return rows(s);
}

std::vector<Appointment> AppointmentTable::onDate(const QString &data)
{
    sql::Statement &s = cached(m_onDate, "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, "
                                         "Observacoes FROM Medicos WHERE Data = ?1 "
                                         "ORDER BY Data, Hora, Medico");
    s.bind(1, data);
    return rows(s);
}

std::vector<AppointmentTable::TakenSlot> AppointmentTable::takenOn(const QString &data)
{
    sql::Statement &s = cached(m_takenOn, "SELECT CAST(Hora AS INTEGER), CAST(Medico AS INTEGER), "
                                          "Paciente = 'R' FROM Medicos WHERE Data = ?1");
    s.bind(1, data);
    std::vector<TakenSlot> taken;
    while (s.step())
        taken.push_back({static_cast<int>(s.integer(0)), static_cast<int>(s.integer(1)), s.integer(2) != 0});
    s.reset();
    return taken;
}

int AppointmentTable::plainNumber(QByteArrayView text, int most)
{
    if (text.isEmpty() || text.size() > 9 || text.front() == '0')
        return 0;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value <= most ? value : 0;
}

void AppointmentTable::forEachOnDate(const QString &data, const std::function<void(const DayRow &)> &visit)
{
    sql::Statement &s = cached(m_dayRows, "SELECT Hora, Medico, Paciente, Telefone, Situacao FROM Medicos "
                                          "WHERE Data = ?1 ORDER BY Data, Hora, Medico");
    s.bind(1, data);
    try {
        DayRow row{};
        while (s.step()) {
            row.hora = plainNumber(s.utf8(0));
            row.medico = plainNumber(s.utf8(1));
            row.paciente = s.utf8(2);
            row.telefone = s.utf8(3);
            row.situacao = s.utf8(4);
            visit(row);
        }
    } catch (...) {
        s.reset();
        throw;
    }
    s.reset();
}

AppointmentTable::ChangeStamp AppointmentTable::changeStamp()
{
    if (!m_db.isOpen())
        return {};
    sql::Statement &s = cached(m_dataVersion, "PRAGMA data_version");
    qint64 version = -1;
    if (s.step())
        version = s.integer(0);
    s.reset();
    return {m_opening, static_cast<qint64>(sqlite3_total_changes64(m_db.handle())), version};
}

std::vector<Appointment> AppointmentTable::ofDoctor(const QString &medico)
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT %1 FROM Medicos WHERE Medico = ?1 "
                                                   "ORDER BY Data, Hora, Medico")
                                        .arg(QLatin1String(kColumns)));
    s.bind(1, medico);
    return rows(s);
}

QString AppointmentTable::dayKey(QDate date)
{
    return date.toString(QStringLiteral("yyMMdd"));
}

std::vector<Appointment> AppointmentTable::datedOfDoctor(const QString &medico, QDate from, QDate to)
{
    requireOpen();
    sql::Statement s = m_db.prepare(
        QStringLiteral("SELECT %1 FROM Medicos INDEXED BY MedicosPorMedicoDia WHERE Medico = ?1 AND (" CLINORA_DATED ") = 1 AND "
                       CLINORA_DAY_KEY " >= ?2 AND " CLINORA_DAY_KEY " < ?3 ORDER BY Data, Hora, Medico")
            .arg(QLatin1String(kColumns)));
    s.bind(1, medico).bind(2, dayKey(from)).bind(3, to.isValid() ? dayKey(to) : QStringLiteral("~"));
    return rows(s);
}

std::vector<Appointment> AppointmentTable::listsOfDoctor(const QString &medico)
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT %1 FROM Medicos INDEXED BY MedicosPorMedicoDia WHERE Medico = ?1 AND ("
                                                   CLINORA_DATED ") = 0 ORDER BY Data, Hora, Medico")
                                        .arg(QLatin1String(kColumns)));
    s.bind(1, medico);
    return rows(s);
}

QStringList AppointmentTable::datedDaysBefore(QDate day)
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT Data FROM Medicos INDEXED BY MedicosPorDia WHERE " CLINORA_DATED
                                                   " AND " CLINORA_DAY_KEY " < ?1 GROUP BY " CLINORA_DAY_KEY ", Data"));
    s.bind(1, dayKey(day));
    QStringList days;
    while (s.step())
        days << s.text(0);
    return days;
}

int AppointmentTable::removeDay(const QString &data)
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("DELETE FROM Medicos WHERE Data = ?1"));
    s.bind(1, data);
    s.run();
    return m_db.changes();
}

std::optional<AppointmentKey> AppointmentTable::firstDatedAfter(QDate day, const std::function<bool(const AppointmentKey &)> &accept)
{
    requireOpen();
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT Data, Hora, Medico FROM Medicos INDEXED BY MedicosPorDia WHERE "
                                                   CLINORA_DATED " AND " CLINORA_DAY_KEY " > ?1"));
    s.bind(1, dayKey(day));
    while (s.step()) {
        AppointmentKey key{s.text(0), s.text(1), s.text(2)};
        if (accept(key))
            return key;
    }
    return std::nullopt;
}

namespace {

// The rows of a list, as its query selects them.
QString listCondition(ListQuery::Kind kind)
{
    using Kind = ListQuery::Kind;
    switch (kind) {
    case Kind::All: return {};
    case Kind::Cancelled:
    case Kind::CancelledOf: return QStringLiteral("Data LIKE '%/'");
    case Kind::NotNotified: return QStringLiteral("Data LIKE '%H/'");
    case Kind::Waiting:
    case Kind::WaitingOf: return QStringLiteral("Data BETWEEN '4' AND '5'");
    case Kind::PatientName: return QStringLiteral("Paciente LIKE '%' || ?1 || '%' ESCAPE '\\'");
    }
    return {};
}

} // namespace

sql::Statement AppointmentTable::listStatement(const ListQuery &query, const char *columns)
{
    using Kind = ListQuery::Kind;
    requireOpen();
    QString where = listCondition(query.kind);
    const bool withCodes = query.kind == Kind::CancelledOf || query.kind == Kind::WaitingOf;
    if (withCodes) {
        QStringList marks;
        for (int i = 0; i < query.codes.size(); ++i)
            marks << QStringLiteral("?%1").arg(i + 1);
        where += QStringLiteral(" AND Medico IN (%1)").arg(marks.join(QStringLiteral(", ")));
    }
    sql::Statement s = m_db.prepare(QStringLiteral("SELECT %1 FROM Medicos %2 ORDER BY Data, Hora, Medico")
                                        .arg(QLatin1String(columns),
                                             where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where));
    if (withCodes) {
        for (int i = 0; i < query.codes.size(); ++i)
            s.bind(i + 1, query.codes[i]);
    } else if (query.kind == Kind::PatientName) {
        QString text = query.text;
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('%'), QStringLiteral("\\%"));
        text.replace(QLatin1Char('_'), QStringLiteral("\\_"));
        s.bind(1, text);
    }
    return s;
}

std::vector<Appointment> AppointmentTable::select(const ListQuery &query)
{
    sql::Statement s = listStatement(query, kColumns);
    return rows(s);
}

void AppointmentTable::forEachListed(const ListQuery &query, const std::function<void(const ListedRow &)> &visit)
{
    sql::Statement s = listStatement(query, "Data, Hora, Medico, Paciente, Telefone, Situacao");
    ListedRow row;
    while (s.step()) {
        for (int i = 0; i < 6; ++i)
            row[static_cast<std::size_t>(i)] = s.utf8(i);
        visit(row);
    }
}

int AppointmentTable::removeListed(const ListQuery &list, const std::vector<AppointmentKey> &keys)
{
    requireOpen();
    const QString condition = listCondition(list.kind);
    if (condition.isEmpty() || list.kind == ListQuery::Kind::PatientName)
        throw StoreError(QStringLiteral("Só se excluem por aqui registros das listas."));
    sql::Transaction transaction(m_db);
    sql::Statement s = m_db.prepare(
        QStringLiteral("DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3 AND %1").arg(condition));
    int removed = 0;
    for (const AppointmentKey &key : keys) {
        s.bind(1, key.data).bind(2, key.hora).bind(3, key.medico);
        s.run();
        removed += m_db.changes();
    }
    transaction.commit();
    return removed;
}

std::optional<QString> AppointmentTable::freeHora(const QString &newData, const QString &hora,
                                                  const QString &medico)
{
    // "+Medico": the rows of one Data are few, a doctor's rows many; without the plus
    // SQLite may walk the doctor's index through his whole history.
    sql::Statement &s = cached(m_freeHora, "SELECT Hora FROM Medicos WHERE Data = ?1 AND +Medico = ?2");
    s.bind(1, stored(Field::Data, newData)).bind(2, medico);
    std::set<QString> taken;
    while (s.step())
        taken.insert(s.text(0));
    s.reset();
    return firstFree(taken, hora);
}

std::optional<QString> AppointmentTable::firstFree(const std::set<QString> &taken, const QString &hora)
{
    bool ok = false;
    int h = hora.trimmed().toInt(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' não é um número válido (campo Hora)").arg(hora));
    for (; h <= 99; ++h) {
        const QString candidate = QString::number(h);
        if (!taken.contains(candidate))
            return candidate;
    }
    return std::nullopt;
}

Appointment AppointmentTable::moveTo(const AppointmentKey &key, const QString &newData)
{
    const std::optional<Appointment> row = find(key);
    if (!row)
        throw StoreError(QStringLiteral("O registro com %1 não existe mais.").arg(key.text()));
    return moveRow(*row, newData);
}

Appointment AppointmentTable::moveRow(const Appointment &row, const QString &newData)
{
    return moveRowTo(row, newData, freeHora(newData, row.hora, row.medico));
}

Appointment AppointmentTable::moveRow(const Appointment &row, const QString &newData, TakenHoras &taken)
{
    const QString listData = stored(Field::Data, newData);
    if (!taken.known(listData)) {
        sql::Statement &s = cached(m_horasOn, "SELECT Medico, Hora FROM Medicos WHERE Data = ?1");
        s.bind(1, listData);
        while (s.step())
            taken.of(listData, s.text(0)).insert(s.text(1));
        s.reset();
        taken.markRead(listData);
    }
    std::set<QString> &horas = taken.of(listData, row.medico);
    Appointment moved = moveRowTo(row, newData, firstFree(horas, row.hora));
    horas.insert(moved.hora);
    return moved;
}

Appointment AppointmentTable::moveRowTo(const Appointment &row, const QString &newData,
                                        const std::optional<QString> &hora)
{
    const AppointmentKey key = row.key();
    if (!hora)
        throw ListFullError(
            QStringLiteral("A consulta de %1 (dia %2, horário %3, médico %4) não foi para a guia "
                           "Desmarcadas: já há 99 registros em %5 para este médico.\nA consulta "
                           "continua no dia %2. Remarque ou exclua alguns deles e repita a operação.")
                .arg(row.paciente, key.data, key.hora, key.medico, stored(Field::Data, newData)));
    Appointment moved = row;
    moved.data = newData;
    moved.hora = *hora;
    update(key, moved);
    return stored(moved);
}

void AppointmentTable::insertAll(const std::vector<Appointment> &rows)
{
    sql::Transaction transaction(m_db);
    for (const Appointment &row : rows)
        insert(row);
    transaction.commit();
}

std::vector<Appointment> AppointmentTable::onDateOf(const QString &data, const QString &medico)
{
    // "+Medico", as in freeHora: the rows of one Data are few, a doctor's rows many.
    sql::Statement &s = cached(m_onDateOf, "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, "
                                           "Observacoes FROM Medicos WHERE Data = ?1 AND +Medico = ?2");
    s.bind(1, data).bind(2, medico);
    return rows(s);
}

void AppointmentTable::forEachRowOnDate(const QString &data, const std::function<void(const RowBytes &)> &visit)
{
    sql::Statement &s = cached(m_forEachRowOnDate, "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, "
                                                   "Observacoes FROM Medicos WHERE Data = ?1 "
                                                   "ORDER BY Data, Hora, Medico");
    s.bind(1, data);
    const auto done = qScopeGuard([&s] { s.reset(); });
    RowBytes row;
    while (s.step()) {
        for (int i = 0; i < 7; ++i)
            row[static_cast<std::size_t>(i)] = s.utf8(i);
        visit(row);
    }
}

bool AppointmentTable::insertUnlessTaken(const Appointment &input)
{
    const Appointment row = stored(input);
    // The required fields are checked here, so the only constraint the insert can still
    // meet is the key.
    checkRequired(row);
    sql::Statement &s = cached(m_insertUnlessTaken, "INSERT OR IGNORE INTO Medicos (Data, Hora, Medico, "
                                                    "Paciente, Telefone, Situacao, Observacoes) VALUES "
                                                    "(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    bindRow(s, row, 1);
    s.run();
    return m_db.changes() > 0;
}

} // namespace clinora
