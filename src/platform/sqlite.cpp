#include "platform/sqlite.h"

#include "platform/errors.h"
#include "platform/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace clinora::sql {

namespace {

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The message a user reads: what failed, on which file, why in Portuguese, and
// SQLite's own text as the detail for whoever mends it.
QString message(const QString &what, const QString &path, int code, const QString &detail)
{
    return QStringLiteral("%1 (%2): %3.\r\nDetalhe: %4")
        .arg(what, shownPath(path), describe(code), detail);
}

} // namespace

QString describe(int code)
{
    switch (code & 0xFF) {
    case SQLITE_FULL: return QStringLiteral("não há espaço livre no disco");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("o banco de dados está bloqueado por outro programa; feche-o e repita a "
                              "operação");
    case SQLITE_READONLY: return QStringLiteral("o arquivo só pode ser lido (sem permissão de gravação)");
    case SQLITE_IOERR: return QStringLiteral("erro de leitura ou gravação no disco");
    case SQLITE_CORRUPT: return QStringLiteral("o arquivo está danificado");
    case SQLITE_NOTADB: return QStringLiteral("o arquivo não é um banco de dados");
    case SQLITE_CANTOPEN: return QStringLiteral("não foi possível abrir o arquivo");
    case SQLITE_PERM:
    case SQLITE_AUTH: return QStringLiteral("sem permissão de acesso ao arquivo");
    case SQLITE_NOMEM: return QStringLiteral("falta memória");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("um campo obrigatório está vazio ou a chave já existe");
    case SQLITE_TOOBIG: return QStringLiteral("um texto é grande demais");
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT: return QStringLiteral("a operação foi interrompida");
    case SQLITE_PROTOCOL:
    case SQLITE_NOLFS: return QStringLiteral("o sistema de arquivos não permite a operação");
    default: return QStringLiteral("erro %1 do banco de dados").arg(code);
    }
}

Database::Database(const QString &path, bool create) : m_path(path)
{
    if (!create && !QFileInfo::exists(path))
        throw StoreError(QStringLiteral("Arquivo não encontrado: %1").arg(shownPath(path)));
    openWith(SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
}

Database Database::openReadOnly(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw StoreError(QStringLiteral("Arquivo não encontrado: %1").arg(shownPath(path)));
    Database db;
    db.m_path = path;
    db.openWith(SQLITE_OPEN_READONLY);
    return db;
}

void Database::openWith(int flags)
{
    const QString &path = m_path;
    // A new database file is made for its owner alone; SQLite gives its journal the
    // same permissions.
    if ((flags & SQLITE_OPEN_CREATE) && !path.startsWith(QLatin1Char(':')) && !QFileInfo::exists(path)) {
        QFile created(path);
        if (created.open(QIODevice::WriteOnly, privacy::kFile))
            created.close();
    }
    flags |= SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                    : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(message(QStringLiteral("Não foi possível abrir o banco de dados"), path, rc, reason));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
}

Database::~Database()
{
    close();
}

Database::Database(Database &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_path(std::move(other.m_path))
{
}

Database &Database::operator=(Database &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
        m_path = std::move(other.m_path);
    }
    return *this;
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Database::fail(const QString &what, int code) const
{
    const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                : QString::fromUtf8(sqlite3_errstr(code));
    const QString text = message(what, m_path, code, reason);
    if (code == SQLITE_CONSTRAINT_PRIMARYKEY || code == SQLITE_CONSTRAINT_UNIQUE)
        throw KeyViolation(text);
    throw StoreError(text);
}

void Database::exec(const QString &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString reason = QString::fromUtf8(error ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        throw StoreError(message(QStringLiteral("Erro no banco de dados"), m_path,
                                 sqlite3_extended_errcode(m_db), reason));
    }
}

QByteArray Database::serialize() const
{
    sqlite3_int64 size = 0;
    unsigned char *data = sqlite3_serialize(m_db, "main", &size, 0);
    if (!data)
        fail(QStringLiteral("Erro no banco de dados"), SQLITE_NOMEM);
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    sqlite3_free(data);
    return bytes;
}

Statement Database::prepare(const QString &sql)
{
    return Statement(*this, sql);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

void Database::backupTo(const QString &destinationPath)
{
    Database destination(destinationPath, true);
    sqlite3_backup *backup = sqlite3_backup_init(destination.m_db, "main", m_db, "main");
    if (!backup)
        destination.fail(QStringLiteral("Erro ao copiar o banco de dados"),
                         sqlite3_errcode(destination.m_db));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        destination.fail(QStringLiteral("Erro ao copiar o banco de dados"), rc);
}

Statement::Statement(Database &db, const QString &sql) : m_db(&db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                                      &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        db.fail(QStringLiteral("Erro no banco de dados"), rc);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

Statement &Statement::bind(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    const int rc = sqlite3_bind_text(m_stmt, index, utf8.constData(),
                                     static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_db->fail(QStringLiteral("Erro no banco de dados"), rc);
    return *this;
}

Statement &Statement::bind(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_db->fail(QStringLiteral("Erro no banco de dados"), rc);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_db->fail(QStringLiteral("Erro no banco de dados"), rc);
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QString Statement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView Statement::utf8(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.exec(QStringLiteral("BEGIN"));
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    m_db.exec(QStringLiteral("COMMIT"));
    m_done = true;
}

} // namespace clinora::sql
