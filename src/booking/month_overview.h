// The month tab of the booking screen: one row per doctor, one column per day number,
// showing which doctor still has a free slot on which day; the specialty filter with
// its row map, the headings of F1 and F2, the jumps and the marks of special days.
#pragma once

#include "sheets/text_grid.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace clinora {

class AppContext;

class MonthOverview
{
public:
    static constexpr int kColumns = 32;
    static constexpr int kRows = 51;
    // The filter text that stands for no filter.
    static inline const QString kAllDoctors = QStringLiteral("  Todos os Médicos");

    // How a day column is marked.
    enum class DayMark { None, Closed, Unavailable };

    explicit MonthOverview(AppContext &context);

    TextGrid &grid() { return m_grid; }         // StringGrid1
    TextGrid &filtered() { return m_filtered; } // SGMascara

    // Column 0 from Medicos.Txt, headings 1 to 31, and the month summary.
    void prepare();
    // Cell (d, k) is empty when doctor k has a free slot on the enabled sheet of day d,
    // otherwise " x".
    void computeSummary();
    // "Atualização Completa": every sheet refreshed, then the summary; progress counts
    // the days done (and 0 at the end).
    void completeRefresh(const std::function<void(int)> &progress);

    // The specialty filter: the items (lines of Esp.Txt), how many lines the drop-down
    // shows, and the choice of an item.
    QStringList filterItems() const;
    static int dropDownCount(const QStringList &items);
    void applyFilter(const QString &itemText);
    // Rebuilds the filtered grid from the current month grid with the last filter.
    void rebuildFiltered();
    // The doctor code of a filtered row (0 for none).
    int doctorOfFilteredRow(int row) const;
    int filteredRows() const { return static_cast<int>(m_rowMap.size()); }

    // F1: day numbers where the day window has the day, " " elsewhere; F2: weekday
    // abbreviations. Both grids take the same headings.
    void showDayNumbers();
    void showWeekdays();

    // The jumps of the filtered grid: the first filtered row whose doctor column begins
    // with the typed one or two characters, or that belongs to a doctor whose name holds
    // the text (0 for none).
    int filteredCodeJump(const QString &text) const;
    int filteredNameJump(const QString &text) const;

    // The mark of each day column 1 to 31 (index 0 unused), from the reason texts; the
    // heading of a day the month does not have is emptied in both grids.
    std::vector<DayMark> markDays();

private:
    void fillHeadings(TextGrid &grid);
    // Column 0 from Medicos.Txt and the headings 1 to 31 of the month grid.
    void fillDoctorsAndDays();

    AppContext &m_context;
    TextGrid m_grid;
    TextGrid m_filtered;
    QString m_filter;
    std::vector<int> m_rowMap; // filtered row (from 1) -> doctor code
};

} // namespace clinora
