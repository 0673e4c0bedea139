// The monthly attendance table per doctor (MedMeses.Txt): 80 rows, rows 1 to 50 by
// doctor code and rows 51 to 80 by specialty code, each a code, a specialty code and
// twelve monthly counts of four digits.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace clinora {

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

    DoctorMonths();

    // Reads the file whole; a missing line gives the row as the templates have it
    // (its own code, "00" or its specialty code, zero counts). FileError when the
    // file cannot be read.
    void load(const QString &path);
    // Writes all 80 rows.
    void save(const QString &path) const;
    QStringList lines() const;

    DoctorMonthsRow &row(int n) { return m_rows.at(static_cast<std::size_t>(n - 1)); }
    const DoctorMonthsRow &row(int n) const { return m_rows.at(static_cast<std::size_t>(n - 1)); }

    // The counts of a removed doctor go to the row of the specialty, month by month;
    // the doctor's row keeps its code with the specialty "00" and zero counts. Every
    // count is checked before anything changes: a count that is not a number throws
    // ConversionError and leaves the table as it was, as does a doctor outside 1 to 50
    // or a specialty outside 51 to 80.
    void moveRemovedCounts(int doctor, int specialty);

    // A count written as the file holds it: four digits with leading zeros, the last
    // four when the number is larger.
    static QString countText(int count);

private:
    static DoctorMonthsRow emptyRow(int n);

    std::array<DoctorMonthsRow, kRows> m_rows;
};

} // namespace clinora
