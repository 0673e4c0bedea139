// What each doctor's day added to the statistics of the open year (FichasGravadas.Txt),
// one line per doctor and date that an attendance sheet or the automatic entry
// counted: the week it went to, the booked and attended, and the attended per
// situation. A sheet recorded again replaces its earlier counts by the difference.
#pragma once

#include "statistics/day_count.h"

#include <QDate>
#include <QHash>
#include <QLatin1String>
#include <QList>
#include <QStringList>
#include <optional>

namespace clinora {

inline constexpr QLatin1String kRecordedSheetsFile("FichasGravadas.Txt");

struct RecordedDay
{
    QDate date;
    int doctor = 0;
    int week = 0;
    DayCount count;
};

class RecordedSheets
{
public:
    // Line: date dd/mm/yyyy, doctor (2, blank-padded), week (2), booked and attended
    // (4 each), then the attended of situations 1 to 9 (4 each).
    static constexpr int kWidth = 10 + 2 + 2 + 8 + 9 * 4;

    // A missing file holds no day; a line that is not a day throws FileError naming
    // the file and the line.
    void load(const QString &path);
    QStringList lines() const;

    std::optional<RecordedDay> find(QDate date, int doctor) const;
    // Puts the day in place of what was there for its date and doctor.
    void set(const RecordedDay &day);
    // Forgets every day of a doctor (his code freed).
    void forgetDoctor(int doctor);
    void clear()
    {
        m_days.clear();
        m_index.clear();
    }

private:
    static qint64 key(QDate date, int doctor);
    void reindex();

    QList<RecordedDay> m_days;
    // Where each date and doctor is in m_days: a year's file holds thousands of days,
    // and every day counted looks up each of its doctors.
    QHash<qint64, qsizetype> m_index;
};

} // namespace clinora
