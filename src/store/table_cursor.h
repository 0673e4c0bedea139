// The table cursor the screens share (TMedicos): locate by key, first/next in key
// order, append, edit (key fields included), post with a key violation, delete moving
// to the following row. Rows are read in batches and moved through in memory.
#pragma once

#include "store/appointment_table.h"

#include <vector>

namespace clinora {

class TableCursor
{
public:
    enum class State { Inactive, Browse, Insert, Edit };

    explicit TableCursor(AppointmentTable &table);

    // Opens on the first row in key order; an open cursor is closed first.
    void open();
    // Drops an unposted new row or unposted edits.
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    void first();
    void next();
    bool eof() const { return m_eof; }
    // True when the cursor sits on a row of the table.
    bool onRow() const { return m_key.has_value() && !m_eof; }
    int recordCount();

    // Goes to the row with exactly this key; false (cursor unmoved) when none.
    bool locate(const AppointmentKey &key);

    // Starts a new, empty row.
    void append();
    // Puts the current row into edit mode.
    void edit();
    // Writes the new or edited row; on a KeyViolation the row stays in insert or edit
    // mode. After an edit of key fields the cursor sits at the new key.
    void post();
    // Drops the unposted changes.
    void cancel();
    // Deletes the current row; the cursor moves to the following row.
    void remove();

    const Appointment &row() const { return m_row; }
    QString field(Field f) const { return m_row.value(f); }
    QString fieldByName(const QString &name) const { return field(fieldByName_(name)); }
    // Changes a field of the row in insert or edit mode.
    void setField(Field f, const QString &value);

    AppointmentTable &table() { return m_table; }

private:
    static Field fieldByName_(const QString &name);
    void requireOpen() const;
    void moveTo(const std::optional<AppointmentKey> &after);
    void setCurrent(const Appointment &row);

    AppointmentTable &m_table;
    State m_state = State::Inactive;
    Appointment m_row;
    std::optional<AppointmentKey> m_key; // the table row the cursor is on
    bool m_eof = true;
    std::vector<Appointment> m_batch;
    std::size_t m_batchPos = 0;
};

} // namespace clinora
