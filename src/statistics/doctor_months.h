// The monthly attendance table per doctor (MedMeses.Txt): 80 rows, rows 1 to 50 by
// doctor code and rows 51 to 80 by specialty code, each a code, a specialty code and
// twelve monthly counts of four digits.
#pragma once

#include "statistics/month_file.h"

#include <QString>
#include <QStringList>
#include <array>

namespace clinora {

class DoctorRegister;

struct DoctorMonthsRow
{
    QString code;                   // 2: "7 ", "12", "51"
    QString specialtyCode;          // 2: "51" ... "80", "00" for a removed doctor
    std::array<QString, 12> counts; // "0007", January first
};

class DoctorMonths
{
public:
    static constexpr int kRows = 80;
    static constexpr int kDoctorRows = 50;
    static constexpr int kWidth = 52;

    DoctorMonths();

    // Reads the file whole. A file that is not 80 lines of 52 characters with counts
    // of four digits throws FileError naming the file and the line; nothing is taken.
    void load(const QString &path);
    // Writes all 80 rows.
    void save(const QString &path) const;
    QStringList lines() const;
    // The file's bytes: the lines in Windows-1252, each with CR LF.
    QByteArray bytes() const;

    DoctorMonthsRow &row(int n) { return m_rows.at(static_cast<std::size_t>(n - 1)); }
    const DoctorMonthsRow &row(int n) const { return m_rows.at(static_cast<std::size_t>(n - 1)); }

    // The counts of a removed doctor go to the row of the specialty, month by month;
    // the doctor's row keeps its code with the specialty "00" and zero counts. Every
    // count is checked before anything changes: a count that is not a number throws
    // ConversionError, a sum past 9,999 throws CountOverflow naming the row and month,
    // and a doctor outside 1 to 50 or a specialty outside 51 to 80 throws
    // ConversionError; the table stays as it was.
    void moveRemovedCounts(int doctor, int specialty);

    // Rows 1 to 50 take the specialty of the register record with the same code; a
    // free code, or a record without a specialty code, gets "00" (a blank specialty
    // would leave its pending lines nowhere to go).
    void relink(const DoctorRegister &doctors);

    // The specialty a doctor's lines are posted to: the code 51 to 80 of his row, or 0
    // when the row holds none ("00", blanks).
    int postingSpecialty(int doctor) const;

    // A count written as the file holds it: four digits with leading zeros, the last
    // four when the number is larger.
    static QString countText(int count);

private:
    static DoctorMonthsRow emptyRow(int n);

    std::array<DoctorMonthsRow, kRows> m_rows;
};

} // namespace clinora
