// One day sheet of the booking screen as a model: 51 rows (0 = heading row, 1 to 50 =
// doctors) by 25 columns (0 = doctor column, 1 to 24 = slots) of text, a label and an
// enabled state. Views show row 0 and column 0 as their fixed headers.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace clinora {

class DaySheet : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DaySheet)

public:
    static constexpr int kColumns = 25;
    static constexpr int kRows = 51;
    // The role that tells a view what a slot cell holds.
    enum Role { KindRole = Qt::UserRole + 1 };
    enum class Kind { Free, NoSlot, Marked, Booked, Reserved, Other };

    explicit DaySheet(int day, QObject *parent = nullptr);

    int day() const { return m_day; }

    // Cells as the grid addresses them: column first, then row.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    int gridRowCount() const { return m_rows; }
    void setGridRowCount(int rows);
    // Empties the slot cells (columns 1 to 24) of every doctor row.
    void clearSlots();
    // Empties every cell, heading and doctor column included.
    void clearAll();

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    QString label() const { return m_label; }
    void setLabel(const QString &label);

    static Kind kindOf(const QString &text);

    // Bulk changes announce themselves once, at the end.
    void beginChanges() { ++m_bulk; }
    void endChanges();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void enabledChanged(bool enabled);
    void labelChanged(const QString &label);

private:
    std::size_t at(int col, int row) const { return static_cast<std::size_t>(row) * kColumns + col; }

    int m_day;
    int m_rows = 12; // as designed; every fill sets 51
    std::vector<QString> m_cells;
    bool m_enabled = true;
    QString m_label;
    int m_bulk = 0;
    bool m_changed = false;
};

} // namespace clinora
