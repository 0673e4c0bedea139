#include "statistics/recorded_sheets.h"

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
    reindex();
}

qint64 RecordedSheets::key(QDate date, int doctor)
{
    return date.toJulianDay() * 64 + doctor;
}

void RecordedSheets::reindex()
{
    m_index.clear();
    m_index.reserve(m_days.size());
    // The first line of a date and doctor is the one found, as the file is read.
    for (qsizetype i = 0; i < m_days.size(); ++i)
        if (const qint64 k = key(m_days[i].date, m_days[i].doctor); !m_index.contains(k))
            m_index.insert(k, i);
}

QStringList RecordedSheets::lines() const
{
    QStringList result;
    result.reserve(m_days.size());
    for (const RecordedDay &day : m_days) {
        QString line;
        line.reserve(kWidth);
        stats::appendDate(line, day.date);
        line += textfile::fixed(QString::number(day.doctor), 2);
        stats::appendCount(line, day.week, 2);
        stats::appendCount(line, day.count.booked);
        stats::appendCount(line, day.count.attended);
        for (int s = 1; s <= 9; ++s)
            stats::appendCount(line, day.count.situations[static_cast<std::size_t>(s)]);
        result << line;
    }
    return result;
}

std::optional<RecordedDay> RecordedSheets::find(QDate date, int doctor) const
{
    const auto found = m_index.constFind(key(date, doctor));
    if (found == m_index.cend())
        return std::nullopt;
    return m_days[*found];
}

void RecordedSheets::set(const RecordedDay &day)
{
    const qint64 k = key(day.date, day.doctor);
    if (const auto found = m_index.constFind(k); found != m_index.cend()) {
        m_days[*found] = day;
        return;
    }
    m_index.insert(k, m_days.size());
    m_days.append(day);
}

void RecordedSheets::forgetDoctor(int doctor)
{
    m_days.removeIf([doctor](const RecordedDay &day) { return day.doctor == doctor; });
    reindex();
}

} // namespace clinora
