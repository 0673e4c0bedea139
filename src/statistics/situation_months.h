// The monthly attendance table per situation and specialty (SitMeses.Txt): 300 rows
// of a situation code (1), a specialty code (2) and twelve counts, in the order of
// the template they come from.
#pragma once

#include "statistics/month_file.h"

#include <QStringList>
#include <array>

namespace clinora {

struct SituationMonthsRow
{
    QString situation; // 1
    QString specialty; // 2
    stats::MonthCounts counts;
};

class SituationMonths
{
public:
    static constexpr int kRows = 300;

    SituationMonths();

    // Reads the 300 lines of 51 characters; FileError naming file and line otherwise.
    void load(const QString &path);
    QStringList lines() const;
    // The file's bytes: the lines in Windows-1252, each with CR LF.
    QByteArray bytes() const;

    // Rows 1 to 300.
    SituationMonthsRow &row(int n) { return m_rows.at(static_cast<std::size_t>(n - 1)); }
    const SituationMonthsRow &row(int n) const { return m_rows.at(static_cast<std::size_t>(n - 1)); }

    // The first row of a situation 1 to 9 and a specialty 51 to 80, matched as the
    // codes written in plain decimals; 0 when there is none.
    class Index
    {
    public:
        int find(int situation, int specialty) const
        {
            if (situation < 1 || situation > 9 || specialty < 51 || specialty > 80)
                return 0;
            return m_rows[slotOf(situation, specialty)];
        }

    private:
        friend class SituationMonths;
        static std::size_t slotOf(int situation, int specialty)
        {
            return static_cast<std::size_t>((situation - 1) * 30 + (specialty - 51));
        }
        std::array<int, 9 * 30> m_rows{};
    };
    Index index() const;

private:
    std::array<SituationMonthsRow, kRows> m_rows;
};

} // namespace clinora
