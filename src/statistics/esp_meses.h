// The monthly attendance table per specialty (EspMeses.Txt): 30 rows, row j for the
// specialty code 50 + j, each the code and twelve counts of four digits.
#pragma once

#include "statistics/month_file.h"

#include <QStringList>
#include <array>

namespace clinora {

struct SpecialtyMonthsRow
{
    QString code; // 2, informational: the position decides
    stats::MonthCounts counts;
};

class SpecialtyMonths
{
public:
    static constexpr int kRows = 30;
    static constexpr int kFirst = 51;
    static constexpr int kLast = 80;

    SpecialtyMonths();

    // Reads the 30 lines of 50 characters; FileError naming file and line otherwise.
    void load(const QString &path);
    QStringList lines() const;
    // The file's bytes: the lines in Windows-1252, each with CR LF.
    QByteArray bytes() const;

    // The row of a specialty code 51 to 80.
    SpecialtyMonthsRow &row(int code) { return m_rows.at(static_cast<std::size_t>(code - kFirst)); }
    const SpecialtyMonthsRow &row(int code) const
    {
        return m_rows.at(static_cast<std::size_t>(code - kFirst));
    }

    // The sum of the twelve months of a specialty.
    int yearTotal(int code) const;

private:
    std::array<SpecialtyMonthsRow, kRows> m_rows;
};

} // namespace clinora
