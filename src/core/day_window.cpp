#include "core/day_window.h"

#include "platform/clock.h"
#include "platform/dates.h"

namespace clinora {

DayWindow::DayWindow(const Clock &clock) : m_clock(clock) {}

void DayWindow::build()
{
    m_weekday.fill(0);
    m_first = m_clock.today();
    m_last = dates::addMonth(m_first.addDays(-1));
    for (QDate d = m_first; d <= m_last; d = d.addDays(1))
        m_weekday[d.day()] = dates::weekday(d);
}

QString DayWindow::dateOfDay(int day) const
{
    const QDate today = m_clock.today();
    int month = today.month();
    int year = today.year() % 100;
    if (today.day() > day) {
        ++month;
        if (month == 13) {
            month = 1;
            year = (year + 1) % 100;
        }
    }
    return QStringLiteral("%1/%2/%3")
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(year, 2, 10, QLatin1Char('0'));
}

bool DayWindow::dayExists(int day) const
{
    return realDateOfDay(day).isValid();
}

QDate DayWindow::realDateOfDay(int day) const
{
    const QDate today = m_clock.today();
    QDate month(today.year(), today.month(), 1);
    if (today.day() > day)
        month = month.addMonths(1);
    return QDate(month.year(), month.month(), day);
}

} // namespace clinora
