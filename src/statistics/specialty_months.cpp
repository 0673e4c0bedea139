#include "statistics/specialty_months.h"

#include "platform/text_file.h"
#include "statistics/counts.h"

namespace clinora {

SpecialtyMonths::SpecialtyMonths()
{
    for (int code = kFirst; code <= kLast; ++code)
        row(code) = {QString::number(code), stats::zeroCounts()};
}

void SpecialtyMonths::load(const QString &path)
{
    const std::vector<stats::MonthLine> lines = stats::readMonthFile(path, kRows, 2);
    for (int j = 0; j < kRows; ++j)
        m_rows[static_cast<std::size_t>(j)] = {lines[static_cast<std::size_t>(j)].codes,
                                               lines[static_cast<std::size_t>(j)].counts};
}

QStringList SpecialtyMonths::lines() const
{
    QStringList result;
    result.reserve(kRows);
    for (const SpecialtyMonthsRow &r : m_rows)
        result << stats::monthLine(textfile::fixed(r.code, 2), r.counts);
    return result;
}

int SpecialtyMonths::yearTotal(int code) const
{
    int total = 0;
    for (const QString &count : row(code).counts)
        total += stats::countValue(count).value_or(0);
    return total;
}

} // namespace clinora
