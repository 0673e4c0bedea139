#include "statistics/esp_meses.h"

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
    std::vector<stats::MonthLine> lines = stats::readMonthFile(path, kRows, 2);
    for (int j = 0; j < kRows; ++j) {
        stats::MonthLine &line = lines[static_cast<std::size_t>(j)];
        m_rows[static_cast<std::size_t>(j)] = {std::move(line.codes[0]), std::move(line.counts)};
    }
}

QByteArray SpecialtyMonths::bytes() const
{
    QByteArray result;
    result.reserve(kRows * 52);
    for (const SpecialtyMonthsRow &r : m_rows) {
        stats::appendCode(result, r.code, 2);
        stats::appendCounts(result, r.counts);
    }
    return result;
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
