// The data module every screen reaches the appointments through (DMMedicos): the
// table Medicos under the alias Medicos, its shared cursor TMedicos, the two live
// list queries and the work table medicos2.
#pragma once

#include "store/appointment_table.h"
#include "store/table_cursor.h"

#include <QString>

#include <vector>

namespace clinora {

class Paths;
class Settings;

// A list query whose answer is held in memory; deleting through it reaches the table.
class LiveQuery
{
public:
    LiveQuery(AppointmentTable &table, QString initialText);

    void open(const ListQuery &query);
    void close();
    bool isOpen() const { return m_open; }
    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }

    const std::vector<Appointment> &rows() const { return m_rows; }
    int count() const { return static_cast<int>(m_rows.size()); }
    // Deletes row i of the answer from the table.
    void removeAt(int i);

private:
    AppointmentTable &m_table;
    QString m_text;
    std::vector<Appointment> m_rows;
    bool m_open = false;
};

class TDMMedicos
{
    // The tables come first: the cursor and the queries are built on them.
    const Paths &m_paths;
    AppointmentTable m_table;
    AppointmentTable m_workTable;

public:
    explicit TDMMedicos(const Paths &paths);
    TDMMedicos(const TDMMedicos &) = delete;
    TDMMedicos &operator=(const TDMMedicos &) = delete;

    // Opens the appointment table (created when missing). A table that cannot be
    // opened throws StoreError naming its file. Its whole file is checked unless the
    // last run ended with closeAtEnd and the file has not changed since.
    void open();
    // Closes the cursor, the queries and the tables.
    void close();
    // The same at the end of a normal run: the table is marked closed clean, so that
    // the next start need not read the whole file to check it.
    void closeAtEnd();

    // The directory an alias names: Medicos is the data directory, MedicosBK the
    // mirror directory of the settings.
    static QString aliasDirectory(const QString &alias, const Paths &paths, const Settings &settings);

    AppointmentTable &table() { return m_table; }
    // The work table medicos2, opened on first use.
    AppointmentTable &workTable();
    // Closes it, before its file is replaced.
    void closeWorkTable() { m_workTable.close(); }

    TableCursor TMedicos;
    LiveQuery QMedicos;
    LiveQuery QMedicos2;
};

} // namespace clinora
