#include "doctors/leave_effects.h"

#include "sheets/day_sheets.h"
#include "core/day_window.h"
#include "core/doctor_register.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/sqlite.h"
#include "store/appointment_table.h"

namespace clinora {

namespace {

const QString kCancelledByHospital = QStringLiteral("H/");

// The sixth character of Data, or a null character when Data is shorter.
QChar sixth(const QString &data)
{
    return data.size() >= 6 ? data.at(5) : QChar();
}

QString cancelledData(const QString &data)
{
    return data.left(5) + kCancelledByHospital;
}

// Moves one row to the cancelled list; a full list leaves it in place and adds the
// reason to the list of rows not moved.
bool moveToCancelled(AppointmentTable &table, const Appointment &row, TakenHoras &taken, QStringList &notMoved)
{
    try {
        table.moveRow(row, cancelledData(row.data), taken);
        return true;
    } catch (const ListFullError &e) {
        notMoved << e.message();
        return false;
    }
}

// Calls visit(day number, date) for every day of the leave that a sheet shows, up to
// the prepared limit. A past day would fall on the sheet of another date with the
// same day of month, so it is passed over.
template <typename F>
void forEachShownDay(const DayWindow &days, const LeavePeriod &leave, QDate preparedLimit, F visit)
{
    if (!leave.start.isValid() || !leave.end.isValid())
        return;
    QDate from = std::max(leave.start, days.first());
    for (QDate d = from; d < leave.end && d <= preparedLimit; d = d.addDays(1)) {
        if (days.realDateOfDay(d.day()) == d)
            visit(d.day(), d);
    }
}

} // namespace

QString notMovedWarning(const QStringList &reasons)
{
    constexpr int kShown = 10;
    if (reasons.isEmpty())
        return {};
    QStringList lines = reasons.mid(0, kShown);
    if (reasons.size() > kShown)
        lines << QStringLiteral("... e mais %1 consultas na mesma situação.").arg(reasons.size() - kShown);
    return QStringLiteral("Algumas consultas não puderam ser transferidas para a Guia /Desmarcadas/ e "
                          "continuam na agenda:\n\n") +
           lines.join(QLatin1Char('\n'));
}

InclusionCheck checkInclusion(AppointmentTable &table, int code, QDate today, Dialogs &dialogs,
                              bool &tableChanged)
{
    InclusionCheck result;
    QStringList notMoved;
    bool changed = false;
    const QString medico = QString::number(code);
    {
        sql::Transaction transaction(table.database());
        for (const Appointment &row : table.listsOfDoctor(medico)) {
            const QChar kind = sixth(row.data);
            if (row.data.startsWith(QLatin1Char('4')))
                result.waitingConflict = true;
            else if (kind == QLatin1Char('H') || kind == QLatin1Char('P'))
                result.cancelledConflict = true;
        }
        // A dated appointment left with a free code, from today on (the past is
        // history); moved or not, the code cannot be given away while it is there.
        TakenHoras taken;
        for (const Appointment &row : table.datedOfDoctor(medico, today, QDate())) {
            changed = moveToCancelled(table, row, taken, notMoved) || changed;
            result.cancelledConflict = true;
        }
        transaction.commit();
    }
    tableChanged = tableChanged || changed;

    if (!notMoved.isEmpty())
        dialogs.warning(notMovedWarning(notMoved));
    if (result.cancelledConflict)
        dialogs.information(QStringLiteral(
            "                                    Inclusão não realizada:\n\n   Há consultas com o "
            "mesmo código do médico na Guia / DESMARCADAS /  \nAntes da inclusão, você deve "
            "transferí-las para outro médico ou excluí-las. "));
    if (result.waitingConflict)
        dialogs.information(QStringLiteral(
            "                                    Inclusão não realizada:\n\n   Há consultas com o "
            "mesmo código do médico na Guia / EM ESPERA /  \nAntes da inclusão, você deve "
            "transferí-las para outro médico ou excluí-las."));
    return result;
}

bool moveLeaveAppointments(AppointmentTable &table, int code, const LeavePeriod &leave, Dialogs &dialogs,
                           bool &tableChanged)
{
    bool moved = false;
    bool changed = false;
    QStringList notMoved;
    {
        sql::Transaction transaction(table.database());
        // Only dated rows belong to a day of the leave; the lists are left alone.
        TakenHoras taken;
        for (const Appointment &row : table.datedOfDoctor(QString::number(code), leave.start, leave.end)) {
            if (row.isWaiting())
                continue;
            const std::optional<QDate> day = dates::parse(row.data);
            if (!day || !leave.contains(*day))
                continue;
            if (row.isReserved()) {
                changed = table.remove(row.key()) || changed;
            } else if (moveToCancelled(table, row, taken, notMoved)) {
                moved = true;
                changed = true;
            }
        }
        transaction.commit();
    }
    tableChanged = tableChanged || changed;
    if (!notMoved.isEmpty())
        dialogs.warning(notMovedWarning(notMoved));
    return moved;
}

void markLeave(DaySheets &sheets, const DayWindow &days, int code, const LeavePeriod &leave,
               QDate preparedLimit)
{
    forEachShownDay(days, leave, preparedLimit, [&](int day, QDate) {
        DaySheet &sheet = sheets.sheet(day);
        sheet.beginChanges();
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot)
            sheet.setCell(slot, code, QStringLiteral("x"));
        sheet.endChanges();
    });
}

void restoreLeave(DaySheets &sheets, const DayWindow &days, const DoctorRegister &doctors, int code,
                  const LeavePeriod &leave, QDate preparedLimit)
{
    forEachShownDay(days, leave, preparedLimit, [&](int day, QDate date) {
        DaySheet &sheet = sheets.sheet(day);
        const int weekday = dates::weekday(date);
        sheet.beginChanges();
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot) {
            const QString current = sheet.cell(slot, code);
            // A booked or reserved slot keeps showing its row of the table.
            if (current == QLatin1String("C") || current == QLatin1String("R"))
                continue;
            sheet.setCell(slot, code,
                          doctors.hasSlot(weekday, code, slot) ? QString() : QStringLiteral(" x"));
        }
        sheet.endChanges();
    });
}

} // namespace clinora
