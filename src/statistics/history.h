// The three-year history (Historico.Txt): 31 lines of 17 characters. Line 1 is the
// heading, "00" and the labels of the oldest, middle and newest year (" 2025");
// lines 2 to 31 a specialty code and its yearly totals of five digits. A line whose
// code is blank is empty and stays empty.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace clinora {

struct HistoryRow
{
    QString code;                  // "00" on the heading, the specialty code, or empty
    std::array<QString, 3> fields; // labels on the heading, totals "00123" below
};

class History
{
public:
    static constexpr int kLines = 31;
    static constexpr int kWidth = 17;

    History();

    // Reads the 31 lines; FileError naming file and line when a line is neither empty
    // nor 17 characters of a code and three five-character fields (five digits below
    // the heading).
    void load(const QString &path);
    QStringList lines() const;

    // Lines 1 to 31.
    const HistoryRow &row(int line) const { return m_rows.at(static_cast<std::size_t>(line - 1)); }
    HistoryRow &row(int line) { return m_rows.at(static_cast<std::size_t>(line - 1)); }

    // The yearly shift: every column moves one place to the older side, the oldest is
    // dropped; the heading takes the new label (five characters, " 2026") and every
    // specialty line the total given for its code. CountOverflow naming the line
    // when a total passes 99,999; the history is then unchanged.
    void shift(const QString &label, const std::function<int(int code)> &totalOf);

    // A year as a heading label: " 2026".
    static QString label(int year);

private:
    std::array<HistoryRow, kLines> m_rows;
};

} // namespace clinora
