#include "store/table_cursor.h"

#include "platform/errors.h"

namespace clinora {

namespace {
constexpr int kBatch = 256;
}

TableCursor::TableCursor(AppointmentTable &table) : m_table(table) {}

Field TableCursor::fieldByName_(const QString &name)
{
    return clinora::fieldByName(name);
}

void TableCursor::requireOpen() const
{
    if (m_state == State::Inactive)
        throw StoreError(QStringLiteral("O cursor da tabela de consultas está fechado."));
}

void TableCursor::open()
{
    close();
    if (!m_table.isOpen())
        throw StoreError(QStringLiteral("A tabela de consultas não está aberta."));
    m_state = State::Browse;
    first();
}

void TableCursor::close()
{
    m_state = State::Inactive;
    m_row = {};
    m_key.reset();
    m_eof = true;
    m_batch.clear();
    m_batchPos = 0;
}

void TableCursor::setCurrent(const Appointment &row)
{
    m_row = row;
    m_key = row.key();
    m_eof = false;
}

void TableCursor::moveTo(const std::optional<AppointmentKey> &after)
{
    m_batch = m_table.after(after, kBatch);
    m_batchPos = 0;
    if (m_batch.empty()) {
        m_eof = true;
        m_row = {};
        m_key.reset();
        return;
    }
    setCurrent(m_batch.front());
}

void TableCursor::first()
{
    requireOpen();
    m_state = State::Browse;
    moveTo(std::nullopt);
}

void TableCursor::next()
{
    requireOpen();
    if (m_eof)
        return;
    if (m_batchPos + 1 < m_batch.size()) {
        ++m_batchPos;
        setCurrent(m_batch[m_batchPos]);
        return;
    }
    const AppointmentKey current = *m_key;
    moveTo(current);
    if (m_eof) {
        // At the end the cursor stays on the last row, as a table cursor does.
        if (std::optional<Appointment> last = m_table.find(current)) {
            m_row = *last;
            m_key = current;
        }
        m_eof = true;
    }
}

int TableCursor::recordCount()
{
    requireOpen();
    return m_table.count();
}

bool TableCursor::locate(const AppointmentKey &key)
{
    requireOpen();
    const AppointmentKey stored{AppointmentTable::stored(Field::Data, key.data),
                                AppointmentTable::stored(Field::Hora, key.hora),
                                AppointmentTable::stored(Field::Medico, key.medico)};
    std::optional<Appointment> found = m_table.find(stored);
    if (!found)
        return false;
    m_state = State::Browse;
    m_batch.clear();
    m_batchPos = 0;
    setCurrent(*found);
    return true;
}

void TableCursor::append()
{
    requireOpen();
    m_state = State::Insert;
    m_row = {};
}

void TableCursor::edit()
{
    requireOpen();
    if (m_state == State::Insert || m_state == State::Edit)
        return;
    if (!m_key || m_eof)
        throw StoreError(QStringLiteral("Não há registro corrente para alterar."));
    m_state = State::Edit;
}

void TableCursor::setField(Field f, const QString &value)
{
    requireOpen();
    if (m_state == State::Browse)
        throw StoreError(QStringLiteral("O registro não está em edição."));
    m_row.value(f) = value;
}

void TableCursor::post()
{
    requireOpen();
    if (m_state == State::Insert)
        m_table.insert(m_row);
    else if (m_state == State::Edit)
        m_table.update(*m_key, m_row);
    else
        return;
    m_state = State::Browse;
    m_batch.clear();
    m_batchPos = 0;
    setCurrent(AppointmentTable::stored(m_row));
}

void TableCursor::cancel()
{
    requireOpen();
    const State was = m_state;
    m_state = State::Browse;
    if (was == State::Edit && m_key) {
        if (std::optional<Appointment> row = m_table.find(*m_key))
            m_row = *row;
    } else if (was == State::Insert) {
        if (m_key && !m_eof) {
            if (std::optional<Appointment> row = m_table.find(*m_key))
                m_row = *row;
        } else {
            m_row = {};
        }
    }
}

void TableCursor::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (!m_key || m_eof)
        throw StoreError(QStringLiteral("Não há registro corrente para excluir."));
    const AppointmentKey removed = *m_key;
    m_table.remove(removed);
    m_state = State::Browse;
    moveTo(removed);
}

} // namespace clinora
