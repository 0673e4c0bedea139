#include "statistics/weekly_counts.h"

#include "core/data_files.h"
#include "platform/errors.h"
#include "statistics/counts.h"

namespace clinora {

namespace {

std::size_t lineIndex(int week, int doctor)
{
    if (week < 1 || week > WeeklyCounts::kWeeks || doctor < 1 || doctor > WeeklyCounts::kDoctors)
        throw ConversionError(
            QStringLiteral("Semana %1, médico %2: fora da tabela semanal").arg(week).arg(doctor));
    return static_cast<std::size_t>((week - 1) * WeeklyCounts::kDoctors + (doctor - 1));
}

} // namespace

WeeklyCounts::WeeklyCounts() : m_records(kLines, {0, 0})
{
}

void WeeklyCounts::load(const QString &path)
{
    const QStringList lines = stats::readFixedLines(path, kLines, 8);
    std::vector<std::array<int, 2>> records(kLines);
    for (int i = 0; i < kLines; ++i) {
        const QStringView line(lines[i]);
        const std::optional<int> booked = stats::countValue(line.left(4));
        const std::optional<int> attended = stats::countValue(line.mid(4, 4));
        if (!booked || !attended)
            stats::damaged(
                path, i + 1,
                QStringLiteral("\"%1\" não são duas contagens de quatro algarismos").arg(lines[i]));
        records[static_cast<std::size_t>(i)] = {*booked, *attended};
    }
    m_records = std::move(records);
}

QStringList WeeklyCounts::lines() const
{
    QStringList result;
    result.reserve(kLines);
    for (const auto &record : m_records) {
        QString line;
        line.reserve(8);
        stats::appendCount(line, record[0]);
        stats::appendCount(line, record[1]);
        result << line;
    }
    return result;
}

std::array<int, 2> &WeeklyCounts::at(int week, int doctor)
{
    return m_records[lineIndex(week, doctor)];
}

const std::array<int, 2> &WeeklyCounts::at(int week, int doctor) const
{
    return m_records[lineIndex(week, doctor)];
}

void WeeklyCounts::add(int week, int doctor, int booked, int attended)
{
    std::array<int, 2> &record = at(week, doctor);
    const int newBooked = record[0] + booked;
    const int newAttended = record[1] + attended;
    const auto fits = [](int count) { return count >= 0 && count <= stats::kMaxCount; };
    if (!fits(newBooked) || !fits(newAttended)) {
        // Named only when it does not fit: a day's counting adds to thousands of records.
        const int line = static_cast<int>(lineIndex(week, doctor)) + 1;
        const QString cell = QStringLiteral("%1, linha %2 (semana %3, médico %4)")
                                 .arg(QString(files::kWeeklyCounts))
                                 .arg(line)
                                 .arg(week)
                                 .arg(doctor);
        stats::checkedSum(newBooked, cell);
        stats::checkedSum(newAttended, cell);
    }
    record = {newBooked, newAttended};
}

} // namespace clinora
