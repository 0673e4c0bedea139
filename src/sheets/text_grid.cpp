#include "sheets/text_grid.h"

#include <algorithm>

namespace clinora {

TextGrid::TextGrid(int columns, int maxRows, int rows, QObject *parent)
    : QAbstractTableModel(parent), m_columns(columns), m_maxRows(maxRows), m_rows(rows)
{
}

QString TextGrid::cell(int col, int row) const
{
    // The cells are allocated at the first write: 31 sheets wait empty until used.
    if (col < 0 || col >= m_columns || row < 0 || row >= m_maxRows || m_cells.empty())
        return {};
    return m_cells[at(col, row)];
}

void TextGrid::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= m_columns || row < 0 || row >= m_maxRows)
        return;
    if (m_cells.empty()) {
        if (text.isEmpty())
            return;
        m_cells.resize(static_cast<std::size_t>(m_maxRows) * m_columns);
    }
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
    else if (col == 0 && row > 0 && row < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (row > 0 && row < m_rows && col > 0)
        Q_EMIT dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
}

void TextGrid::setGridRowCount(int rows)
{
    rows = std::clamp(rows, 1, m_maxRows);
    if (rows == m_rows)
        return;
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void TextGrid::clearBody()
{
    beginChanges();
    for (int row = 1; row < m_maxRows; ++row)
        for (int col = 1; col < m_columns; ++col)
            setCell(col, row, QString());
    endChanges();
}

void TextGrid::clearAll()
{
    beginChanges();
    for (int row = 0; row < m_maxRows; ++row)
        for (int col = 0; col < m_columns; ++col)
            setCell(col, row, QString());
    endChanges();
}

void TextGrid::endChanges()
{
    if (--m_bulk > 0 || !m_changed)
        return;
    m_changed = false;
    if (m_rows > 1)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 2, m_columns - 2));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 2);
    if (m_rows > 1)
        Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rows - 2);
}

int TextGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int TextGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns - 1;
}

QVariant TextGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const QString text = cell(col, row);
    if (role == Qt::DisplayRole)
        return text;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return cellData(text, col, row, role);
}

QVariant TextGrid::cellData(const QString &, int, int, int) const
{
    return {};
}

QVariant TextGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return cell(section + 1, 0);
    return cell(0, section + 1);
}

} // namespace clinora
