#include "statistics/situation_months.h"

#include "platform/text_file.h"
#include "statistics/counts.h"

namespace clinora {

namespace {

std::size_t slotOf(int situation, int specialty)
{
    return static_cast<std::size_t>((situation - 1) * 30 + (specialty - 51));
}

} // namespace

SituationMonths::SituationMonths()
{
    for (SituationMonthsRow &r : m_rows)
        r = {QStringLiteral("0"), QStringLiteral("00"), stats::zeroCounts()};
}

void SituationMonths::load(const QString &path)
{
    const std::vector<stats::MonthLine> lines = stats::readMonthFile(path, kRows, 3);
    for (int i = 0; i < kRows; ++i) {
        const stats::MonthLine &line = lines[static_cast<std::size_t>(i)];
        m_rows[static_cast<std::size_t>(i)] = {line.codes.left(1), line.codes.mid(1, 2), line.counts};
    }
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
        index.m_rows[slotOf(*situation, *specialty)] = n;
    }
    return index;
}

int SituationMonths::Index::find(int situation, int specialty) const
{
    if (situation < 1 || situation > 9 || specialty < 51 || specialty > 80)
        return 0;
    return m_rows[slotOf(situation, specialty)];
}

} // namespace clinora
