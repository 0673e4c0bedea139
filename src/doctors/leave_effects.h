// What a doctor's leave and a new doctor's inclusion do to the appointment table and
// the day sheets: the inclusion check of a free code, the leave move of the doctor's
// appointments to the cancelled list, the leave marking of the sheets and their
// restore when a leave changes. Each operation that edits or deletes a row of the
// table sets the caller's table-changed flag.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace clinora {

class AppointmentTable;
class DaySheets;
class DayWindow;
class Dialogs;
class DoctorRegister;

// The days d with start <= d < end; a definitive leave ends on 31/12/55.
struct LeavePeriod
{
    QDate start;
    QDate end;

    bool contains(QDate day) const { return start <= day && day < end; }
};

struct InclusionCheck
{
    bool cancelledConflict = false;
    bool waitingConflict = false;

    bool refused() const { return cancelledConflict || waitingConflict; }
};

// Before a free code is given to a new doctor: entries of the code on the waiting
// list or the cancelled list refuse the inclusion (with their messages); dated
// appointments from today on still carrying the code are moved to the cancelled list
// first, and count as cancelled entries. Past appointments are history and stay.
InclusionCheck checkInclusion(AppointmentTable &table, int code, QDate today, Dialogs &dialogs,
                              bool &tableChanged);

// Moves the doctor's appointments inside the leave to the cancelled list ("dd/mmH/")
// and deletes the doctor's reserved hours inside it. True when an appointment was
// moved. An appointment that would need a Hora past 99 on the cancelled list stays
// where it was; one warning names every such appointment, the others are moved.
bool moveLeaveAppointments(AppointmentTable &table, int code, const LeavePeriod &leave, Dialogs &dialogs,
                           bool &tableChanged);

// Marks the doctor's 24 slots "x" on the sheets of the leave's days, up to the
// prepared limit. Only the days the sheets show are touched.
void markLeave(DaySheets &sheets, const DayWindow &days, int code, const LeavePeriod &leave,
               QDate preparedLimit);

// Gives the sheets of an old leave's days back their timetable look: every slot of
// the doctor that holds no appointment is emptied, or " x" where the doctor has no
// time on that weekday.
void restoreLeave(DaySheets &sheets, const DayWindow &days, const DoctorRegister &doctors, int code,
                  const LeavePeriod &leave, QDate preparedLimit);

// The warning that names the appointments a move left in place (empty list: none).
QString notMovedWarning(const QStringList &reasons);

} // namespace clinora
