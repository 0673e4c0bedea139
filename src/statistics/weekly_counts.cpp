#include "statistics/weekly_counts.h"

#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/text_file.h"
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
    // Read from the file's bytes: 2,700 lines of eight digits need no string of their own.
    const QByteArray bytes = textfile::readText(path);
    const QList<textfile::LineSpan> spans = stats::fixedLineSpans(path, bytes, kLines, 8);
    std::vector<std::array<int, 2>> records(kLines);
    for (int i = 0; i < kLines; ++i) {
        const char *const line = bytes.constData() + spans[i].start;
        std::array<int, 2> &record = records[static_cast<std::size_t>(i)];
        for (int c = 0; c < 8; ++c) {
            if (line[c] < '0' || line[c] > '9')
                stats::damaged(path, i + 1,
                               QStringLiteral("\"%1\" não são duas contagens de quatro algarismos")
                                   .arg(textfile::decode(QByteArrayView(line, 8))));
            record[static_cast<std::size_t>(c / 4)] =
                record[static_cast<std::size_t>(c / 4)] * 10 + (line[c] - '0');
        }
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

QByteArray WeeklyCounts::bytes() const
{
    // Every count is 0 to 9,999 (add refuses more), written at four digits.
    QByteArray result(static_cast<qsizetype>(m_records.size()) * 10, Qt::Uninitialized);
    char *out = result.data();
    const auto put = [&out](int value) {
        for (int divisor = 1000; divisor > 0; divisor /= 10)
            *out++ = static_cast<char>('0' + value / divisor % 10);
    };
    for (const auto &record : m_records) {
        put(record[0]);
        put(record[1]);
        *out++ = '\r';
        *out++ = '\n';
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
