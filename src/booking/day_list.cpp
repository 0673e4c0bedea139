#include "booking/day_list.h"

#include "app/context.h"

namespace clinora {

namespace {

// The slot number right-aligned in two places, so that the times after it stay in one
// column from slot 10 on, on the screen and on paper.
QString slotText(const QString &slot)
{
    return slot.trimmed().rightJustified(2);
}

} // namespace

DayList makeDayList(AppContext &context, int day, int code)
{
    DayList list;
    list.day = day;
    list.code = code;
    list.date = context.sheets.dateOfDay(day);
    const DaySheet &sheet = context.sheets.sheet(day);
    const int weekday = context.sheets.weekdayOfDay(day);
    AppointmentTable &table = context.DMMedicos.table();
    for (int slot = 1; slot < sheet.gridColumnCount(); ++slot) {
        const QString cell = sheet.cell(slot, code);
        const QString time = weekday > 0 && DoctorRegister::validCode(code)
                                 ? context.doctors.time(weekday, code, slot)
                                 : QString();
        if (cell.isEmpty()) {
            // A closed or unprepared day has no free slot, and neither has a slot without
            // a time, whatever a sheet not yet filled shows.
            if (sheet.isEnabled() && !time.trimmed().isEmpty())
                list.free << slotText(QString::number(slot)) + QStringLiteral("    ") + time;
        } else if (cell != QLatin1String(" x")) {
            const std::optional<Appointment> row =
                table.find({list.date, QString::number(slot), QString::number(code)});
            if (row)
                list.booked << slotText(row->hora) + QStringLiteral("    ") + time + QStringLiteral("  ") + row->paciente;
        }
    }
    return list;
}

QStringList DayList::printLines() const
{
    QStringList lines{QStringLiteral(" "), QStringLiteral(" "),
                      QStringLiteral("           Médico:  ") + QString::number(code)
                          + QStringLiteral("                Dia: ") + date,
                      QStringLiteral(" "), QStringLiteral(" "),
                      QStringLiteral("Horário                                              Paciente"),
                      QStringLiteral(" "), QStringLiteral(" ")};
    lines << booked;
    lines << QStringLiteral(" ") << QStringLiteral(" ") << QStringLiteral("  Horários Livres")
          << QStringLiteral(" ") << QStringLiteral(" ");
    lines << free;
    return lines;
}

int DayList::slotOfLine(const QString &line)
{
    return line.left(2).trimmed().toInt();
}

} // namespace clinora
