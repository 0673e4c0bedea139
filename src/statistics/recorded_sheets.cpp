#include "statistics/recorded_sheets.h"

#include "platform/dates.h"
#include "platform/text_file.h"
#include "statistics/counts.h"

#include <QFileInfo>

namespace clinora {

void RecordedSheets::load(const QString &path)
{
    const QStringList lines = QFileInfo::exists(path) ? textfile::readLines(path) : QStringList();
    QList<RecordedDay> days;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const auto bad = [&] {
            stats::damaged(path, i + 1,
                           QStringLiteral("\"%1\" não é o registro de uma Ficha gravada").arg(line));
        };
        if (line.size() != kWidth)
            bad();
        RecordedDay day;
        day.date = QDate::fromString(line.left(10), QStringLiteral("dd/MM/yyyy"));
        const QString doctor = line.mid(10, 2).trimmed();
        const std::optional<int> doctorNumber = stats::countValue(doctor);
        const std::optional<int> week = stats::countValue(line.mid(12, 2));
        if (!day.date.isValid() || !doctorNumber || *doctorNumber < 1 || *doctorNumber > 50 || !week)
            bad();
        day.doctor = *doctorNumber;
        day.week = *week;
        std::array<int, 11> counts{};
        for (int c = 0; c < 11; ++c) {
            const std::optional<int> value = stats::countValue(line.mid(14 + 4 * c, 4));
            if (!value)
                bad();
            counts[static_cast<std::size_t>(c)] = *value;
        }
        day.count.booked = counts[0];
        day.count.attended = counts[1];
        for (int s = 1; s <= 9; ++s)
            day.count.situations[static_cast<std::size_t>(s)] = counts[static_cast<std::size_t>(s + 1)];
        days.append(day);
    }
    m_days = std::move(days);
}

QStringList RecordedSheets::lines() const
{
    QStringList result;
    for (const RecordedDay &day : m_days) {
        QString line = dates::format(day.date) + textfile::fixed(QString::number(day.doctor), 2) +
                       stats::countText(day.week, 2) + stats::countText(day.count.booked) +
                       stats::countText(day.count.attended);
        for (int s = 1; s <= 9; ++s)
            line += stats::countText(day.count.situations[static_cast<std::size_t>(s)]);
        result << line;
    }
    return result;
}

std::optional<RecordedDay> RecordedSheets::find(QDate date, int doctor) const
{
    for (const RecordedDay &day : m_days) {
        if (day.date == date && day.doctor == doctor)
            return day;
    }
    return std::nullopt;
}

void RecordedSheets::set(const RecordedDay &day)
{
    for (RecordedDay &d : m_days) {
        if (d.date == day.date && d.doctor == day.doctor) {
            d = day;
            return;
        }
    }
    m_days.append(day);
}

void RecordedSheets::forgetDoctor(int doctor)
{
    m_days.removeIf([doctor](const RecordedDay &day) { return day.doctor == doctor; });
}

} // namespace clinora
