// A small RAII wrapper over the SQLite C API: connections, prepared statements with
// bound parameters, transactions and the online backup.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace clinora::sql {

class Statement;

// Why SQLite refused, in Portuguese, from its result code.
QString describe(int code);

class Database
{
public:
    Database() = default;
    // Opens (and with create, creates) the database file; throws StoreError. The path
    // ":memory:" opens a database that lives in memory only.
    Database(const QString &path, bool create);
    // Opens an existing database file for reading only; throws StoreError.
    static Database openReadOnly(const QString &path);
    ~Database();
    Database(Database &&other) noexcept;
    Database &operator=(Database &&other) noexcept;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    bool isOpen() const { return m_db != nullptr; }
    const QString &path() const { return m_path; }
    void close();

    void exec(const QString &sql);
    Statement prepare(const QString &sql);
    int changes() const;

    // The whole database as the bytes of a database file.
    QByteArray serialize() const;

    // Copies the whole of this database over the destination file.
    void backupTo(const QString &destinationPath);

    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void fail(const QString &what, int code) const;

private:
    void openWith(int flags);

    sqlite3 *m_db = nullptr;
    QString m_path;
};

class Statement
{
public:
    Statement(Database &db, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) = delete;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const QString &value); // index from 1
    Statement &bind(int index, qint64 value);
    // Steps once: true while a row is available.
    bool step();
    // Runs to completion (for statements without rows).
    void run();
    void reset();

    QString text(int column) const;
    // The column's UTF-8 bytes, valid until the next step or reset.
    QByteArrayView utf8(int column) const;
    qint64 integer(int column) const;

private:
    Database *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// Commits at commit(); rolls back when left without it.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace clinora::sql
