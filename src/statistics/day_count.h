// What the attendance sheets and the automatic entry add for one doctor's day: the
// booked and attended patients to the weekly table, and one pending line per
// situation to MovMes.Txt.
#pragma once

#include <QDate>
#include <QString>
#include <array>

namespace clinora {

class Dialogs;
class StatisticsFiles;

struct DayCount
{
    int booked = 0;
    int attended = 0;
    std::array<int, 10> situations{}; // attended per situation 1 to 9
};

// Adds the day's counts of a doctor: the weekly record of (week, doctor) and, for each
// situation 1 ... 9 in turn with a count, the line "doctor month situation count"; the
// day is kept in FichasGravadas.Txt. A day of the doctor counted before is replaced:
// the weekly record and the pending lines take the difference (a negative line where
// fewer attended), so the day counts once.
void addDayCount(StatisticsFiles &files, int week, int doctor, QDate date, const DayCount &count);

// The week of a date in Semanas.Txt, 0 when no week holds it. When the file does not
// hold the weeks of the open year at all, they are made first, as the first run
// makes them. When the date lies after the last week, the user is asked whether the
// missing weeks are to be added (up to 31 December of the open year); otherwise, or on
// No, the message names the file, its last line and how to put the weeks right.
int weekOfDate(StatisticsFiles &files, QDate date, int openYear, Dialogs &dialogs);

} // namespace clinora
