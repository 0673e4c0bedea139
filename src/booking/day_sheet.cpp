#include "booking/day_sheet.h"

#include <algorithm>

namespace clinora {

DaySheet::DaySheet(int day, QObject *parent)
    : QAbstractTableModel(parent), m_day(day), m_cells(static_cast<std::size_t>(kRows) * kColumns)
{
}

QString DaySheet::cell(int col, int row) const
{
    if (col < 0 || col >= kColumns || row < 0 || row >= kRows)
        return {};
    return m_cells[at(col, row)];
}

void DaySheet::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= kColumns || row < 0 || row >= kRows)
        return;
    QString &current = m_cells[at(col, row)];
    if (current == text)
        return;
    current = text;
    if (m_bulk > 0) {
        m_changed = true;
        return;
    }
    if (row == 0 && col > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0 && row > 0)
        Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (row > 0 && row < m_rows)
        Q_EMIT dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
}

void DaySheet::setGridRowCount(int rows)
{
    rows = std::clamp(rows, 1, kRows);
    if (rows == m_rows)
        return;
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void DaySheet::clearSlots()
{
    beginChanges();
    for (int row = 1; row < kRows; ++row)
        for (int col = 1; col < kColumns; ++col)
            setCell(col, row, QString());
    endChanges();
}

void DaySheet::clearAll()
{
    beginChanges();
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            setCell(col, row, QString());
    endChanges();
}

void DaySheet::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Q_EMIT enabledChanged(enabled);
}

void DaySheet::setLabel(const QString &label)
{
    if (m_label == label)
        return;
    m_label = label;
    Q_EMIT labelChanged(label);
}

void DaySheet::endChanges()
{
    if (--m_bulk > 0 || !m_changed)
        return;
    m_changed = false;
    if (m_rows > 1)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 2, kColumns - 2));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, kColumns - 2);
    if (m_rows > 1)
        Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rows - 2);
}

DaySheet::Kind DaySheet::kindOf(const QString &text)
{
    if (text.isEmpty())
        return Kind::Free;
    if (text == QLatin1String(" x"))
        return Kind::NoSlot;
    if (text == QLatin1String("x"))
        return Kind::Marked;
    if (text == QLatin1String("C"))
        return Kind::Booked;
    if (text == QLatin1String("R"))
        return Kind::Reserved;
    return Kind::Other;
}

int DaySheet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int DaySheet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns - 1;
}

QVariant DaySheet::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QString &text = m_cells[at(index.column() + 1, index.row() + 1)];
    switch (role) {
    case Qt::DisplayRole: return text;
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    case KindRole: return static_cast<int>(kindOf(text));
    default: return {};
    }
}

QVariant DaySheet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return cell(section + 1, 0);
    return cell(0, section + 1);
}

} // namespace clinora
