// The view of a text grid: the heading row and the doctor column fixed as headers,
// small cells, and backgrounds that tell free, booked, reserved and missing slots
// (day sheets) or closed and unavailable days (the month grids) apart at a glance.
#pragma once

#include "booking/month_overview.h"

#include <QTableView>

#include <vector>

namespace clinora {

class TextGrid;

class GridView : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridView)

public:
    enum class Style { DaySheet, Month, Filtered };
    // Colour of a day column of the month grids.
    using ColumnMark = MonthOverview::DayMark;

    GridView(Style style, QWidget *parent = nullptr);

    void setGrid(TextGrid *grid);
    TextGrid *grid() const { return m_grid; }

    // Marks day columns 1 to 31 (index 0 unused) of a month grid.
    void setColumnMarks(const std::vector<ColumnMark> &marks);
    ColumnMark columnMark(int column) const;

    // The grid's current cell as the grid addresses it (column, row), or (0, 0).
    int currentColumn() const;
    int currentRow() const;
    // Makes a grid cell current and brings it into view.
    void goToCell(int col, int row);
    // Scrolls so that a grid row is the top row.
    void setTopRow(int row);

Q_SIGNALS:
    void focusEntered();
    // A double-click on a body cell, or Enter on the current one, in grid coordinates.
    void cellDoubleClicked(int col, int row);

protected:
    void focusInEvent(QFocusEvent *event) override;
    // Enter on a cell does what a double-click does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    Style m_style;
    TextGrid *m_grid = nullptr;
    std::vector<ColumnMark> m_marks;
};

} // namespace clinora
