// The weekly table (PrevReal.Txt): for each of 54 weeks and 50 doctors the patients
// booked ("Marcados") and attended ("Atendidos"), four digits each; the line of week w
// and doctor d is (w - 1) x 50 + d.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <array>
#include <vector>

namespace clinora {

class WeeklyCounts
{
public:
    static constexpr int kWeeks = 54;
    static constexpr int kDoctors = 50;
    static constexpr int kLines = kWeeks * kDoctors;

    WeeklyCounts();

    // Reads the 2,700 lines of eight digits; FileError naming file and line otherwise.
    void load(const QString &path);
    QStringList lines() const;
    // The file's bytes: the lines, each with CR LF.
    QByteArray bytes() const;

    int booked(int week, int doctor) const { return at(week, doctor)[0]; }
    int attended(int week, int doctor) const { return at(week, doctor)[1]; }
    // Adds to a record; CountOverflow naming the line when a count would pass 9,999.
    void add(int week, int doctor, int booked, int attended);
    // Both counts of a record back to 0.
    void clear(int week, int doctor) { at(week, doctor) = {0, 0}; }

private:
    std::array<int, 2> &at(int week, int doctor);
    const std::array<int, 2> &at(int week, int doctor) const;

    std::vector<std::array<int, 2>> m_records;
};

} // namespace clinora
