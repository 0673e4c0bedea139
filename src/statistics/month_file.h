// The shape the three monthly tables share: each line is a few code characters
// followed by twelve counts of four digits, January first.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace clinora::stats {

using MonthCounts = std::array<QString, 12>;

struct MonthLine
{
    std::array<QString, 2> codes; // the code fields before the counts (one or two)
    MonthCounts counts;
};

// Reads a file of exactly `rows` lines of the code fields (firstWidth characters, then
// secondWidth, none when 0) and 48 characters whose counts are four digits each;
// FileError naming the file, line and month otherwise.
std::vector<MonthLine> readMonthFile(const QString &path, int rows, int firstWidth, int secondWidth = 0);
// One line: the codes, then the twelve counts.
QString monthLine(const QString &codes, const MonthCounts &counts);
// A code at its width in the file (cut, or padded with blanks), appended to a line of
// the file's bytes.
void appendCode(QByteArray &bytes, QStringView code, int width);
// The twelve counts and the line end after a line's codes in the file's bytes: the line
// monthLine gives, as the file holds it.
void appendCounts(QByteArray &bytes, const MonthCounts &counts);
// Twelve "0000".
MonthCounts zeroCounts();

} // namespace clinora::stats
