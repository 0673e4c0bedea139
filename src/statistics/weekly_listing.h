// The weekly report "Relatório Semanal": for one week, each doctor's patients booked
// and attended, the attendance rate, his specialty, his shifts and the bookings per
// shift, printed in landscape; and the list of weeks made from a typed first day.
#pragma once

#include "platform/printer.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace clinora {

class DoctorRegister;
class SpecialtyTable;
class WeeklyCounts;
class Weeks;

namespace weekly {

// attended x 100 / booked, cut to four characters ("83,3", "100", "66,6"); "0" when
// either is 0.
QString attendanceRate(int booked, int attended);
// booked / shifts cut the same way ("6"); "0" with nothing booked or no shifts (a
// blank, "0" or anything that is not a digit).
QString bookingsPerShift(int booked, const QString &shifts);

struct SelectedWeek
{
    int number = 0; // 1 to 54
    QDate first;
    QDate last;
};

// The printout of a week: the three title lines, the seven headings (repeated on
// every page) and one line per doctor with a name, in landscape.
// The specialty is named as the specialties register names it, whole, when given and
// it knows the doctor's code; otherwise as the doctor's record holds it.
DrawnList weeklyReport(const WeeklyCounts &counts, const DoctorRegister &doctors, const SelectedWeek &week,
                       const SpecialtyTable *specialties = nullptr);

// The weeks from a typed first day: one line per week ("dd/mm/yyyy" twice), up to 54
// while the week starts on or before the last day, 31 December of the first day's
// year (of the next year for a first day in December). No lines, and the message for
// the user, when the text is not a date or 54 weeks from it do not reach that day.
struct WeeksFromDay
{
    QStringList lines;
    QString refusal;
};
WeeksFromDay weeksFrom(const QString &typed);

// The week the report opens on (from 1; 0 for none): the last week begun by today
// that has counts, so that printing without choosing prints a week that happened;
// with none, the week of today.
int weekToOpenOn(const Weeks &weeks, const WeeklyCounts &counts, QDate today);

inline const QString kNoWeek = QStringLiteral("Você deve selecionar a semana");

} // namespace weekly
} // namespace clinora
