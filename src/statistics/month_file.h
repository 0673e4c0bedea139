// The shape the three monthly tables share: each line is a few code characters
// followed by twelve counts of four digits, January first.
#pragma once

#include <QString>
#include <array>
#include <vector>

namespace clinora::stats {

using MonthCounts = std::array<QString, 12>;

struct MonthLine
{
    QString codes; // the code characters before the counts
    MonthCounts counts;
};

// Reads a file of exactly `rows` lines of codeWidth + 48 characters whose counts are
// four digits each; FileError naming the file, line and month otherwise.
std::vector<MonthLine> readMonthFile(const QString &path, int rows, int codeWidth);
// One line: the codes, then the twelve counts.
QString monthLine(const QString &codes, const MonthCounts &counts);
// Twelve "0000".
MonthCounts zeroCounts();

} // namespace clinora::stats
