// Today and now, behind an interface so that tests can fix the date.
#pragma once

#include <QDate>
#include <QDateTime>

namespace clinora {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that shows one moment until it is moved.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) {}
    QDateTime now() const override { return m_moment; }
    void set(const QDateTime &moment) { m_moment = moment; }
    void setToday(QDate date) { m_moment = QDateTime(date, m_moment.time()); }

private:
    QDateTime m_moment;
};

} // namespace clinora
