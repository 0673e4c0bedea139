// One appointment table (Medicos.db, medicos2.db or the mirror's Medicos3.db) in
// SQLite, keyed Data;Hora;Medico as text. Texts are stored cut to their widths and
// without trailing blanks, so keys compare as the rest of the system expects.
#pragma once

#include "platform/errors.h"
#include "platform/sqlite.h"
#include "store/appointment.h"

#include <QDate>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace clinora {

// A Hora that would need a third digit: the cancelled list holds at most 99 entries
// per day, month and doctor.
class ListFullError : public StoreError
{
public:
    using StoreError::StoreError;
};

// The table file is missing.
class MissingTableError : public StoreError
{
public:
    using StoreError::StoreError;
};

// The list queries, each expressed with bound parameters.
struct ListQuery
{
    enum class Kind {
        All,          // Select * from Medicos
        Cancelled,    // Data Like "%/"
        NotNotified,  // Data Like "%H/"
        Waiting,      // Data Between "4" and "5"
        CancelledOf,  // Data Like "%/" and Medico in (codes)
        WaitingOf,    // Data Between "4" and "5" and Medico in (codes)
        PatientName,  // Paciente like "%text%"
    };
    Kind kind = Kind::All;
    QStringList codes; // CancelledOf, WaitingOf
    QString text;      // PatientName

    static ListQuery all() { return {}; }
    static ListQuery cancelled() { return {Kind::Cancelled, {}, {}}; }
    static ListQuery notNotified() { return {Kind::NotNotified, {}, {}}; }
    static ListQuery waiting() { return {Kind::Waiting, {}, {}}; }
    static ListQuery cancelledOf(QStringList codes) { return {Kind::CancelledOf, std::move(codes), {}}; }
    static ListQuery waitingOf(QStringList codes) { return {Kind::WaitingOf, std::move(codes), {}}; }
    static ListQuery patientName(QString text) { return {Kind::PatientName, {}, std::move(text)}; }
};

// The Horas already taken on cancelled-list dates, per list date and doctor, for moving
// many rows in one pass: each list date is read once, with one query, and the Horas the
// moved rows take are added as they go. Valid only while nothing else writes rows under
// those list dates.
class TakenHoras
{
public:
    bool known(const QString &data) const { return m_read.contains(data); }
    void markRead(const QString &data) { m_read.insert(data); }
    std::set<QString> &of(const QString &data, const QString &medico) { return m_taken[{data, medico}]; }

private:
    std::set<QString> m_read;
    std::map<std::pair<QString, QString>, std::set<QString>> m_taken;
};

class AppointmentTable
{
public:
    AppointmentTable() = default;
    AppointmentTable(const AppointmentTable &) = delete;
    AppointmentTable &operator=(const AppointmentTable &) = delete;

    // Whether open reads the whole file through SQLite's quick check.
    enum class WholeCheck {
        Always,
        // Not when the last run closed the table clean (closeClean) and the file still
        // has the size and modification time it had then.
        UnlessClosedClean,
    };
    // Opens the table file. With create, a missing file is created empty; otherwise a
    // missing file throws MissingTableError. An empty, damaged or foreign file (not this
    // program's table, or failing SQLite's quick check) throws StoreError naming it,
    // and nothing is written into it. With UnlessClosedClean the clean-close marker is
    // removed before anything is written, so a run that ends without closeClean (a
    // crash, a kill) leaves the next open to check the whole file.
    void open(const QString &path, bool create, WholeCheck whole = WholeCheck::Always);
    // Whether the last open ran the quick check over the whole file.
    bool checkedWhole() const { return m_checkedWhole; }
    // Closes the table and, when it was open with nothing pending, records beside it
    // (cleanCloseMarker) that it was closed clean, with the file's size and
    // modification time.
    void closeClean();
    // The marker a clean close leaves beside the table file: "Medicos.db.ok".
    static QString cleanCloseMarker(const QString &path);
    // Writes a new, empty table file whole (a crash leaves no half-made file).
    static void createFile(const QString &path);
    // The bytes of a new, empty table file.
    static QByteArray emptyTableBytes();
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString &path() const { return m_path; }

    // Replaces the file by a new, empty table.
    void recreate(const QString &path);

    std::optional<Appointment> find(const AppointmentKey &key);
    bool contains(const AppointmentKey &key) { return find(key).has_value(); }
    // Posts a new row; KeyViolation when the key exists, StoreError when a required
    // field (Data, Hora, Medico, Paciente) is empty.
    void insert(const Appointment &row);
    // Writes the row over the one at oldKey (key fields included); KeyViolation when
    // the new key belongs to another row.
    void update(const AppointmentKey &oldKey, const Appointment &row);
    // Deletes the row; false when there was none.
    bool remove(const AppointmentKey &key);
    // Deletes the row at the key only when it is this patient's.
    bool removeHolding(const AppointmentKey &key, const QString &paciente);
    // Deletes every row.
    void clear();

    int count();
    // Every row in key order.
    std::vector<Appointment> all();
    // Visits the key of every row in key order without holding the rows.
    void forEachKey(const std::function<void(const AppointmentKey &)> &visit);
    // The rows after a key (from the first without one) in key order, at most limit.
    std::vector<Appointment> after(const std::optional<AppointmentKey> &key, int limit);
    // The rows whose Data is exactly this text, in key order (one indexed read).
    std::vector<Appointment> onDate(const QString &data);
    // The slots taken on one Data: Hora and Medico as numbers, and whether the row is a
    // reserved hour. One indexed read of three columns.
    struct TakenSlot
    {
        int hora;
        int medico;
        bool reserved;
    };
    std::vector<TakenSlot> takenOn(const QString &data);
    // One Data's rows with what the slot search and the day counts need, in key order:
    // Hora and Medico as the plain numbers they are written as ("7", never "07" or " 7";
    // 0 for any other text), Paciente, Telefone and Situacao as their UTF-8 bytes, valid
    // during the visit only. One indexed read; nothing is copied the visitor does not keep.
    struct DayRow
    {
        int hora;
        int medico;
        QByteArrayView paciente;
        QByteArrayView telefone;
        QByteArrayView situacao;
    };
    void forEachOnDate(const QString &data, const std::function<void(const DayRow &)> &visit);
    // A number as the program writes it, 1 to most: "7" gives 7; "07", " 7", "7a", ""
    // and anything past most give 0.
    static int plainNumber(QByteArrayView text, int most = 99);
    // The rows of one Medico code, in key order.
    std::vector<Appointment> ofDoctor(const QString &medico);
    // The dated rows of one Medico code whose date d has from <= d < to (no end when
    // to is invalid), in key order. An indexed range: the rest of the history is not read.
    std::vector<Appointment> datedOfDoctor(const QString &medico, QDate from, QDate to);
    // The rows of one Medico code that are not dated (cancelled and waiting lists).
    std::vector<Appointment> listsOfDoctor(const QString &medico);
    // The Data texts of the dated rows that, read as yymmdd, lie before the day: an
    // indexed range. A Data that is not a real date may be among them; callers check.
    QStringList datedDaysBefore(QDate day);
    // Deletes every row of one Data; returns how many.
    int removeDay(const QString &data);
    // The first dated row after the day (by the same reading) that accept takes.
    std::optional<AppointmentKey> firstDatedAfter(QDate day,
                                                  const std::function<bool(const AppointmentKey &)> &accept);
    // A day as the indexes read dated rows: "yymmdd".
    static QString dayKey(QDate date);
    std::vector<Appointment> select(const ListQuery &query);
    // Visits the rows of a list query in key order with the six columns a list shows
    // (Data, Hora, Medico, Paciente, Telefone, Situacao) as UTF-8 bytes, valid during
    // the visit only: nothing is copied that the visitor does not keep.
    using ListedRow = std::array<QByteArrayView, 6>;
    void forEachListed(const ListQuery &query, const std::function<void(const ListedRow &)> &visit);
    // Deletes the rows with these keys that belong to the list of the query's kind (the
    // cancelled or the waiting list), all in one transaction; other rows stay. Returns
    // how many rows went.
    int removeListed(const ListQuery &list, const std::vector<AppointmentKey> &keys);

    // Moves a row to a list under a new Data (dd/mmH/, dd/mmP/, ...), raising Hora
    // until the key is free. Throws ListFullError, leaving the row where it was, when
    // Hora would pass 99. Returns the row as moved.
    Appointment moveTo(const AppointmentKey &key, const QString &newData);
    // The same for a row already read.
    Appointment moveRow(const Appointment &row, const QString &newData);
    // The same, one of many rows moved in one pass: the list date's taken Horas come from
    // (and go into) taken, read from the table once per list date.
    Appointment moveRow(const Appointment &row, const QString &newData, TakenHoras &taken);
    // The Hora a row of (newData, medico) would take starting from hora; nullopt
    // past 99.
    std::optional<QString> freeHora(const QString &newData, const QString &hora,
                                    const QString &medico);

    // Appends every row of the source (used by the copies between tables).
    void insertAll(const std::vector<Appointment> &rows);

    sql::Database &database() { return m_db; }

    // What tells a reader whether the table changed: two stamps compare equal only when
    // no row was written between them, through this connection or any other, and the
    // table was not closed or opened again.
    struct ChangeStamp
    {
        quint64 opening = 0;
        qint64 changes = -1;
        qint64 dataVersion = -1;
        bool operator==(const ChangeStamp &) const = default;
    };
    ChangeStamp changeStamp();

    // Cut to the field's width, trailing blanks removed: the stored form of a text.
    static QString stored(Field f, const QString &text);
    static Appointment stored(const Appointment &row);

private:
    void requireOpen() const;
    sql::Statement &cached(std::optional<sql::Statement> &slot, const char *sql);
    std::vector<Appointment> rows(sql::Statement &statement);
    void checkRequired(const Appointment &row) const;
    void bindRow(sql::Statement &statement, const Appointment &row, int first);
    // Runs an insert or update, turning a key clash into a KeyViolation naming the key.
    void runWrite(sql::Statement &statement, const AppointmentKey &key);
    // The first Hora from hora on that is not taken; nullopt past 99.
    static std::optional<QString> firstFree(const std::set<QString> &taken, const QString &hora);
    // Moves the row to newData under the Hora found, or throws ListFullError.
    Appointment moveRowTo(const Appointment &row, const QString &newData, const std::optional<QString> &hora);
    // The statement of a list query selecting these columns, its parameters bound.
    sql::Statement listStatement(const ListQuery &query, const char *columns);

    QString m_path;
    sql::Database m_db;
    bool m_checkedWhole = false;
    std::optional<sql::Statement> m_find;
    std::optional<sql::Statement> m_insert;
    std::optional<sql::Statement> m_update;
    std::optional<sql::Statement> m_remove;
    std::optional<sql::Statement> m_removeHolding;
    std::optional<sql::Statement> m_onDate;
    std::optional<sql::Statement> m_takenOn;
    std::optional<sql::Statement> m_dayRows;
    std::optional<sql::Statement> m_dataVersion;
    quint64 m_opening = 0;
    std::optional<sql::Statement> m_freeHora;
    std::optional<sql::Statement> m_horasOn;

public:
    // The rows of one Data and one Medico code (a doctor's rows on one list date), in
    // no particular order: one indexed read of the date, the other doctors' rows left
    // unread.
    std::vector<Appointment> onDateOf(const QString &data, const QString &medico);
    // Visits the rows of one Data in key order with their seven columns as UTF-8 bytes,
    // valid during the visit only: a caller that needs a few of a day's rows copies only
    // those. The visitor must not read or write the table.
    using RowBytes = std::array<QByteArrayView, 7>;
    void forEachRowOnDate(const QString &data, const std::function<void(const RowBytes &)> &visit);
    // Posts a new row as insert does, but answers false, writing nothing, when another
    // row holds its key: for callers to whom a taken key is an everyday case.
    bool insertUnlessTaken(const Appointment &row);

private:
    std::optional<sql::Statement> m_onDateOf;
    std::optional<sql::Statement> m_forEachRowOnDate;
    std::optional<sql::Statement> m_insertUnlessTaken;
};

} // namespace clinora
