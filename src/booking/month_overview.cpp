#include "booking/month_overview.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/text_file.h"

namespace clinora {

MonthOverview::MonthOverview(AppContext &context)
    : m_context(context), m_grid(kColumns, kRows, kRows), m_filtered(kColumns, kRows, 2)
{
}

void MonthOverview::fillHeadings(TextGrid &grid)
{
    for (int d = 1; d <= 31; ++d)
        grid.setCell(d, 0, QString::number(d));
}

void MonthOverview::fillDoctorsAndDays()
{
    m_grid.beginChanges();
    const QStringList column = m_context.sheets.doctorColumn();
    for (int row = 1; row < column.size(); ++row)
        m_grid.setCell(0, row, column[row]);
    fillHeadings(m_grid);
    m_grid.endChanges();
}

void MonthOverview::prepare()
{
    fillDoctorsAndDays();
    computeSummary();
}

void MonthOverview::computeSummary()
{
    m_grid.beginChanges();
    for (int d = 1; d <= 31; ++d) {
        const DaySheet &sheet = m_context.sheets.sheet(d);
        for (int k = 1; k <= 50; ++k) {
            bool free = false;
            if (sheet.isEnabled()) {
                for (int slot = 1; slot <= 24 && !free; ++slot)
                    free = sheet.cell(slot, k).isEmpty();
            }
            m_grid.setCell(d, k, free ? QString() : QStringLiteral(" x"));
        }
    }
    m_grid.endChanges();
    if (!m_filter.isEmpty())
        rebuildFiltered();
}

void MonthOverview::completeRefresh(const std::function<void(int)> &progress)
{
    fillDoctorsAndDays();
    if (progress)
        progress(0);
    m_context.sheets.refreshAll(progress);
    computeSummary();
    if (progress)
        progress(0);
}

QStringList MonthOverview::filterItems() const
{
    return textfile::readLines(m_context.file(files::kSpecialties));
}

int MonthOverview::dropDownCount(const QStringList &items)
{
    int count = 0;
    for (int i = 0; i < items.size() && i < 31; ++i) {
        if (items[i].size() >= 4 && !items[i].mid(3).trimmed().isEmpty())
            count = i + 1;
    }
    return count;
}

void MonthOverview::applyFilter(const QString &itemText)
{
    m_filter = itemText.left(2);
    rebuildFiltered();
}

void MonthOverview::rebuildFiltered()
{
    m_filtered.beginChanges();
    m_filtered.clearAll();
    for (int d = 1; d <= 31; ++d)
        m_filtered.setCell(d, 0, m_grid.cell(d, 0));
    m_rowMap.clear();
    for (int k = 1; k <= 50; ++k) {
        if (m_filter.trimmed().isEmpty() || m_context.doctors.doctor(k).specialtyCode.left(2) != m_filter)
            continue;
        m_rowMap.push_back(k);
        const int row = static_cast<int>(m_rowMap.size());
        for (int col = 0; col < kColumns; ++col)
            m_filtered.setCell(col, row, m_grid.cell(col, k));
    }
    m_filtered.setGridRowCount(static_cast<int>(m_rowMap.size()) + 1);
    m_filtered.endChanges();
}

int MonthOverview::doctorOfFilteredRow(int row) const
{
    if (row < 1 || row > static_cast<int>(m_rowMap.size()))
        return 0;
    return m_rowMap[static_cast<std::size_t>(row - 1)];
}

void MonthOverview::showDayNumbers()
{
    for (TextGrid *grid : {&m_grid, &m_filtered}) {
        grid->beginChanges();
        for (int d = 1; d <= 31; ++d)
            grid->setCell(d, 0, m_context.days.weekday(d) != 0 ? QString::number(d) : QStringLiteral(" "));
        grid->endChanges();
    }
}

void MonthOverview::showWeekdays()
{
    for (TextGrid *grid : {&m_grid, &m_filtered}) {
        grid->beginChanges();
        for (int d = 1; d <= 31; ++d)
            grid->setCell(d, 0, DaySheets::kWeekdayNames.value(m_context.days.weekday(d)));
        grid->endChanges();
    }
}

int MonthOverview::filteredCodeJump(const QString &text) const
{
    const QString prefix = text.left(2);
    if (prefix.isEmpty())
        return 0;
    for (int row = 1; row <= filteredRows(); ++row) {
        if (m_filtered.cell(0, row).startsWith(prefix))
            return row;
    }
    return 0;
}

int MonthOverview::filteredNameJump(const QString &text) const
{
    for (int c = 1; c <= 50; ++c) {
        if (!DaySheets::nameHolds(m_context.doctors.doctor(c).name, text))
            continue;
        const QString code = textfile::fixed(QString::number(c), 2);
        for (int row = 1; row <= filteredRows(); ++row) {
            const QString cell = m_filtered.cell(0, row);
            if (cell.startsWith(code) || (c < 10 && cell.startsWith(code.left(1))))
                return row;
        }
    }
    return 0;
}

std::vector<MonthOverview::DayMark> MonthOverview::markDays()
{
    std::vector<DayMark> marks(32, DayMark::None);
    const QStringList reasons = m_context.sheets.reasonTexts();
    for (int d = 1; d <= 31; ++d) {
        const QString &reason = reasons[d];
        if (reason == DaySheets::kSunday || reason == DaySheets::kSaturday || reason == DaySheets::kClosed)
            marks[static_cast<std::size_t>(d)] = DayMark::Closed;
        else if (reason == DaySheets::kNotPrepared)
            marks[static_cast<std::size_t>(d)] = DayMark::Unavailable;
        else if (reason == DaySheets::kNoSuchDay) {
            marks[static_cast<std::size_t>(d)] = DayMark::Unavailable;
            m_grid.setCell(d, 0, QString());
            m_filtered.setCell(d, 0, QString());
        }
    }
    return marks;
}

} // namespace clinora
