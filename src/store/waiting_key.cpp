#include "store/waiting_key.h"

#include "platform/errors.h"
#include "store/appointment_table.h"

#include <set>

namespace clinora::waitingkey {

namespace {
// Five digits hold every second of a day and the seconds taken after it by clashes.
constexpr int kLastSecond = 99999;
} // namespace

QString make(QDate day, int seconds)
{
    const qint64 days = QDate(2010, 1, 1).daysTo(day);
    return QLatin1Char('4') + QString::number(days).rightJustified(4, QLatin1Char('0')).right(4) +
           QString::number(seconds).rightJustified(5, QLatin1Char('0'));
}

int secondOf(const AppointmentKey &key)
{
    return (key.data.mid(5) + key.hora).toInt();
}

AppointmentKey freeKey(AppointmentTable &table, const QDateTime &moment)
{
    return freeKey(table, moment.date(), moment.time().msecsSinceStartOfDay() / 1000);
}

AppointmentKey freeKey(AppointmentTable &table, QDate day, int fromSecond)
{
    QString data;
    std::set<int> taken;
    for (int second = fromSecond; second <= kLastSecond; ++second) {
        const QString key = make(day, second);
        // Data spans a hundred seconds: its taken Hora values are read once.
        if (key.left(8) != data) {
            data = key.left(8);
            taken.clear();
            for (const AppointmentTable::TakenSlot &slot : table.takenOn(data))
                taken.insert(slot.hora);
        }
        if (!taken.contains(key.mid(8).toInt()))
            return {data, key.mid(8), QString()};
    }
    throw StoreError(QStringLiteral("Não há mais chaves livres para a lista de espera hoje."));
}

} // namespace clinora::waitingkey
