// The key of a waiting-list entry, made when the entry is created: "4", the days from
// 01/01/2010 to the day of inclusion (at least four digits, cut to the last four) and
// the seconds since midnight in five digits. Its first 8 characters are the entry's
// Data, the last 2 its Hora, so the list keeps the order of inclusion.
#pragma once

#include "store/appointment.h"

#include <QDate>
#include <QDateTime>

namespace clinora {

class AppointmentTable;

namespace waitingkey {

// The ten characters of the key of an entry made on a day at a second since midnight.
QString make(QDate day, int seconds);

// The second since midnight a key was made at (its last five digits).
int secondOf(const AppointmentKey &key);

// The key of an entry made at a moment, Data and Hora, moved on to the next second
// while an entry of the table already holds that Data and Hora (two entries made in
// the same second). Throws StoreError when the day has no second left.
AppointmentKey freeKey(AppointmentTable &table, const QDateTime &moment);
// The same from a second of a day on.
AppointmentKey freeKey(AppointmentTable &table, QDate day, int fromSecond);

} // namespace waitingkey
} // namespace clinora
