// The counts of the statistics files and the strict reading they share: a count is
// four digits with leading zeros (five for the yearly totals of the history), and a
// file whose rows or widths are not its own is refused with the file and line named.
#pragma once

#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <QList>

namespace clinora::stats {

inline constexpr int kMaxCount = 9999;
inline constexpr int kMaxTotal = 99999;

// A count that would not fit its cell (past 9,999, or 99,999 in the history, or below
// zero). The operation stops before anything is written.
class CountOverflow : public Error
{
public:
    using Error::Error;
};

// A number written with leading zeros at its cell's width ("0007"); a wider number is
// written whole, a negative one with its sign first ("-005").
QString countText(int value, int width = 4);
// The text of a count 0 ... 9,999 at the width of a month's cell ("0007"): one string
// per value, shared by every cell that holds it, so that a table's thousands of cells
// hold no string of their own.
const QString &cellText(int value);
// The same text appended to a line: the tables are written cell by cell, and a string
// of its own for every cell is what a whole table's writing would spend its time on.
void appendCount(QString &line, int value, int width = 4);
// A date as the statistics files write it, dd/mm/yyyy, appended to a line.
void appendDate(QString &line, QDate date);
// The number of a cell that holds exactly its width in digits; nothing otherwise.
std::optional<int> countValue(QStringView text);

// The file as it is named in messages.
QString shownName(const QString &path);

// A damaged statistics file: DamagedFileError naming the file and the line (from 1).
[[noreturn]] void damaged(const QString &path, int line, const QString &what);

// Every line of a file that must hold exactly `rows` lines of exactly `width`
// characters; DamagedFileError naming the file and the first wrong line otherwise.
QStringList readFixedLines(const QString &path, int rows, int width);
// The same check of the file's bytes (one byte a character), giving where each line
// lies in them.
QList<textfile::LineSpan> fixedLineSpans(const QString &path, const QByteArray &bytes, int rows, int width);

// Checks that a sum fits its cell, named as "MedMeses.Txt, linha 7, mês 03";
// CountOverflow otherwise.
int checkedSum(int sum, const QString &cell, int maximum = kMaxCount);
// "MedMeses.Txt, linha 7, mês 03" (month 1 to 12).
QString monthCell(const QString &file, int line, int month);

} // namespace clinora::stats
