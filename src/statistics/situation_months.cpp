#include "statistics/situation_months.h"

#include "platform/text_file.h"
#include "statistics/counts.h"

namespace clinora {

SituationMonths::SituationMonths()
{
    for (SituationMonthsRow &r : m_rows)
        r = {QStringLiteral("0"), QStringLiteral("00"), stats::zeroCounts()};
}

void SituationMonths::load(const QString &path)
{
    std::vector<stats::MonthLine> lines = stats::readMonthFile(path, kRows, 1, 2);
    for (int i = 0; i < kRows; ++i) {
        stats::MonthLine &line = lines[static_cast<std::size_t>(i)];
        m_rows[static_cast<std::size_t>(i)] = {std::move(line.codes[0]), std::move(line.codes[1]),
                                               std::move(line.counts)};
    }
}

QByteArray SituationMonths::bytes() const
{
    QByteArray result;
    result.reserve(kRows * 53);
    for (const SituationMonthsRow &r : m_rows) {
        stats::appendCode(result, r.situation, 1);
        stats::appendCode(result, r.specialty, 2);
        stats::appendCounts(result, r.counts);
    }
    return result;
}

QStringList SituationMonths::lines() const
{
    QStringList result;
    result.reserve(kRows);
    for (const SituationMonthsRow &r : m_rows)
        result << stats::monthLine(textfile::fixed(r.situation, 1) + textfile::fixed(r.specialty, 2),
                                   r.counts);
    return result;
}

SituationMonths::Index SituationMonths::index() const
{
    Index index;
    for (int n = kRows; n >= 1; --n) {
        const SituationMonthsRow &r = row(n);
        // Codes as the plain decimals the lookup writes: "3" and "55", nothing else.
        const std::optional<int> situation = stats::countValue(r.situation);
        const std::optional<int> specialty = stats::countValue(r.specialty);
        if (!situation || !specialty || *situation < 1 || *situation > 9 || *specialty < 51 ||
            *specialty > 80 || r.specialty.startsWith(QLatin1Char('0')))
            continue;
        // From the last row up, so that the first row of a pair is the one kept.
        index.m_rows[Index::slotOf(*situation, *specialty)] = n;
    }
    return index;
}

} // namespace clinora
