// A grid of texts with a fixed heading row and column, as a model: cells are addressed
// as a string grid addresses them (column, row); views show row 0 and column 0 as their
// headers and the rest as cells.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace clinora {

class TextGrid : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextGrid)

public:
    TextGrid(int columns, int maxRows, int rows, QObject *parent = nullptr);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    int gridColumnCount() const { return m_columns; }
    int gridRowCount() const { return m_rows; }
    void setGridRowCount(int rows);
    // Empties the cells of rows 1 on, columns 1 on.
    void clearBody();
    // Empties every cell.
    void clearAll();

    // Bulk changes announce themselves once, at the end.
    void beginChanges() { ++m_bulk; }
    void endChanges();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // Extra roles of a body cell, for subclasses.
    virtual QVariant cellData(const QString &text, int col, int row, int role) const;

private:
    std::size_t at(int col, int row) const { return static_cast<std::size_t>(row) * m_columns + col; }

    int m_columns;
    int m_maxRows;
    int m_rows;
    std::vector<QString> m_cells;
    int m_bulk = 0;
    bool m_changed = false;
};

} // namespace clinora
