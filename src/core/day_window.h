// The day window: the day numbers 1 to 31 of the booking screen name the dates from
// today up to one month after yesterday. The day-of-week map is built once at start.
#pragma once

#include <QDate>
#include <QString>

#include <array>

namespace clinora {

class Clock;

class DayWindow
{
public:
    explicit DayWindow(const Clock &clock);

    // Builds the day-of-week map for the window that starts today.
    void build();

    // Weekday (1 = Sunday ... 7 = Saturday) of day number d, or 0 when no date of the
    // window has that day of month.
    int weekday(int day) const { return (day >= 1 && day <= 31) ? m_weekday[day] : 0; }

    // The date of day number d as dd/mm/yy: this month when d is not before today's
    // day of month, otherwise the next month. It may name a day the month lacks (30/02).
    QString dateOfDay(int day) const;
    // Whether day number d exists in the month of its date.
    bool dayExists(int day) const;
    // The real date of day number d, invalid when the month lacks the day.
    QDate realDateOfDay(int day) const;

    QDate first() const { return m_first; }
    QDate last() const { return m_last; }

private:
    const Clock &m_clock;
    std::array<int, 32> m_weekday{};
    QDate m_first;
    QDate m_last;
};

} // namespace clinora
