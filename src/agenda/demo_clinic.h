// The demonstration clinic: a new data directory with a handful of doctors and their
// weekly timetables, the agenda prepared a month ahead with its weekends and a holiday
// closed, and appointments, reserved hours, cancelled and waiting entries; the weeks
// before today carry attendances recorded on their sheets and posted. It is built
// with the program's own writers, so it always matches the program's formats.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace clinora {

class Clock;

struct DemoClinic
{
    int doctors = 0;
    QDate preparedLimit;
    QDate holiday;        // closed by the preparation
    QDate closedByHand;   // closed afterwards, its appointments moved to the cancelled list
    QDate openSaturday;   // a Saturday opened again, with morning hours
    int appointments = 0; // booked on dates
    int reserved = 0;
    int cancelled = 0;
    int waiting = 0;
    // The weeks before today: appointments booked, their sheets recorded (a few patients
    // absent) and posted into the statistics.
    QDate countedFrom;    // the first day counted, invalid when the year has none yet
    int recordedSheets = 0;
    int booked = 0;       // patients booked on those days
    int attended = 0;     // of them, those marked present
};

// Creates the clinic in dir, which must not exist or be empty (FileError otherwise), as
// of the clock's today. drivesRoot maps the drive letters of stored paths.
DemoClinic createDemoClinic(const QString &dir, const QString &drivesRoot, const Clock &clock);

} // namespace clinora
