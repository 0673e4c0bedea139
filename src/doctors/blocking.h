// Closing and reopening a period of the day for chosen doctors on chosen dates:
// reservation rows ("R") for every timetable slot in the period, the appointments
// booked there moved to the cancelled list; reopening deletes the reservations only.
// The work files ArqMed.Txt, ArqDia.Txt, ArqHora.Txt and ArqAux.Txt record the last
// selections and result, and the two printed lists are drawn from the result.
#pragma once

#include "platform/printer.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace clinora {

class AppContext;
class Dialogs;
class DoctorRegister;

namespace blocking {

inline const QString kDefaultStart = QStringLiteral("06:00");
inline const QString kDefaultEnd = QStringLiteral("18:00");
extern const QString kNoDoctor;
extern const QString kDisplacedNotice;
extern const QString kNothingSelected;
extern const QString kNoOperationYet;

// A time of day as seconds from midnight.
using Seconds = int;

// The slots first to last of one doctor on one weekday that a period covers; empty when
// first is 0 or last is before first.
struct SlotRange
{
    int first = 0;
    int last = 0;
    bool isEmpty() const { return first < 1 || last < first; }
    bool operator==(const SlotRange &) const = default;
};

// The slot range of a period [start, end) over a doctor's start times of one weekday
// (slot 1 up to the first slot without a time). The consultation length is slot 2 minus
// slot 1, or 30 minutes with a single slot; a period that starts after the end of a
// slot's consultation starts at the next slot, and one that ends at a slot's start time
// does not take that slot.
SlotRange slotRange(const QList<Seconds> &times, Seconds start, Seconds end);

// A timetable entry read as a time: its first five characters "hh:mm" (or "h:mm").
std::optional<Seconds> entryTime(const QString &entry);

// The period of the two time boxes, both normalised (the boxes take the result) and
// checked before anything is written: "24:00" stands for 23:59; a box that is not a
// time, or a start not before the end, is told and gives nothing.
struct Period
{
    Seconds start;
    Seconds end;
};
std::optional<Period> checkPeriod(QString &start, QString &end, Dialogs &dialogs);

enum class Mode { Reserve, Release };

// What one operation did: the ArqAux.Txt lines (one per displaced appointment when
// reserving, one per released slot when releasing) and whether the table changed.
struct Result
{
    Mode mode = Mode::Reserve;
    QStringList lines;
    int reserved = 0;
    bool tableChanged = false;
};

// "Fechar/Reservar Horários" and "Abrir/Liberar Horários": codes are the first two
// characters of the chosen doctor items, dates the chosen dates dd/mm/yy. Writes the
// work files, runs the whole operation in one transaction, then updates the sheets
// that stand for the dates and tells the user what needs telling. Nothing chosen is
// told, and nothing is written.
std::optional<Result> run(AppContext &context, Mode mode, const QStringList &codes, const QStringList &dates,
                          const Period &period);

// The doctor items of the window: code (2), four blanks, name (25), for every code
// whose name does not begin with a blank.
QStringList doctorItems(const DoctorRegister &doctors);

// The two printouts of a result: the displaced appointments, or the released slots.
// Each line of the result is read by its fixed widths, as the work file holds it.
DrawnList printedList(const AppContext &context, const QStringList &lines, bool displaced);

} // namespace blocking

} // namespace clinora
