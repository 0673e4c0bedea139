#include "statistics/weekly_listing.h"

#include "core/doctor_register.h"
#include "core/registers.h"
#include "platform/dates.h"
#include "statistics/counts.h"
#include "statistics/weekly_counts.h"
#include "statistics/weeks.h"

#include <algorithm>

namespace clinora::weekly {

namespace {

// A quotient as the report prints it: in the decimal comma, cut to four characters.
QString cutQuotient(double value)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text.left(4);
}

} // namespace

QString attendanceRate(int booked, int attended)
{
    if (booked == 0 || attended == 0)
        return QStringLiteral("0");
    return cutQuotient(attended * 100.0 / booked);
}

QString bookingsPerShift(int booked, const QString &shifts)
{
    const QChar shift = shifts.isEmpty() ? QLatin1Char(' ') : shifts.at(0);
    if (booked == 0 || shift < QLatin1Char('1') || shift > QLatin1Char('9'))
        return QStringLiteral("0");
    return cutQuotient(static_cast<double>(booked) / (shift.unicode() - u'0'));
}

DrawnList weeklyReport(const WeeklyCounts &counts, const DoctorRegister &doctors, const SelectedWeek &week,
                       const SpecialtyTable *specialties)
{
    DrawnList list;
    list.title = QStringLiteral("Relatório Semanal");
    list.landscape = true;
    list.head = {
        {900, 130, QStringLiteral("Sistema de Marcação de Consultas")},
        {1050, 170, QStringLiteral("Relatório Semanal")},
        {625, 210,
         QStringLiteral("Planilha de Atendimento - Periodo:  ") + dates::format(week.first) +
             QStringLiteral(" a ") + dates::format(week.last)},
    };
    // A doctor's name takes up to 25 characters: its column is wide enough for them,
    // and the figures, four digits at the most, follow in narrower ones.
    list.columns = {108, 640, 880, 1110, 1430, 1740, 1975};
    const QStringList headings = {QStringLiteral("Nome"),          QStringLiteral("Marcados"),
                                  QStringLiteral("Atendidos"),     QStringLiteral("%Atendimentos"),
                                  QStringLiteral("Especialidade"), QStringLiteral("Turnos"),
                                  QStringLiteral("Marc/Turno")};
    for (int c = 0; c < headings.size(); ++c)
        list.head.append({list.columns[c], 290, headings[c]});
    list.firstRowY = 340;
    list.rowStep = 40;
    list.fontHeight = 40;
    for (int code = 1; code <= DoctorRegister::kDoctors; ++code) {
        const Doctor &doctor = doctors.doctor(code);
        if (doctor.name.isEmpty() || doctor.isFree())
            continue;
        // The record keeps 13 characters of the name; the register keeps it whole.
        QString specialty = doctor.specialty.mid(2).trimmed();
        const int specialtyCode = doctor.specialtyCode.toInt();
        if (specialties && specialtyCode >= SpecialtyTable::kFirst &&
            specialtyCode <= SpecialtyTable::kLast && !specialties->name(specialtyCode).trimmed().isEmpty())
            specialty = specialties->name(specialtyCode).trimmed();
        const int booked = counts.booked(week.number, code);
        const int attended = counts.attended(week.number, code);
        list.rows << QStringList{doctor.name.trimmed(),
                                 stats::countText(booked),
                                 stats::countText(attended),
                                 attendanceRate(booked, attended),
                                 specialty,
                                 doctor.shift.left(1),
                                 bookingsPerShift(booked, doctor.shift)};
    }
    return list;
}

int weekToOpenOn(const Weeks &weeks, const WeeklyCounts &counts, QDate today)
{
    const int listed =
        std::min(static_cast<int>(weeks.weeks().size()), static_cast<int>(WeeklyCounts::kWeeks));
    for (int week = listed; week >= 1; --week) {
        if (weeks.weeks()[week - 1].first > today)
            continue;
        for (int doctor = 1; doctor <= WeeklyCounts::kDoctors; ++doctor) {
            if (counts.booked(week, doctor) > 0 || counts.attended(week, doctor) > 0)
                return week;
        }
    }
    return weeks.weekNumber(today);
}

WeeksFromDay weeksFrom(const QString &typed)
{
    const std::optional<QDate> parsed = dates::parse(typed);
    if (!parsed)
        return {{}, typed + QStringLiteral(" é uma data inválida")};
    const QDate first = *parsed;
    const QDate last(first.month() == 12 ? first.year() + 1 : first.year(), 12, 31);
    const QDate lastStart = first.addDays(7 * (Weeks::kMaxWeeks - 1));
    if (lastStart.addDays(6) < last)
        return {{},
                QStringLiteral("A partir de %1, as %2 semanas da lista não chegam a %3. "
                               "Escolha um primeiro dia mais perto do início do ano.")
                    .arg(dates::format(first))
                    .arg(Weeks::kMaxWeeks)
                    .arg(dates::format(last))};
    QStringList lines;
    for (QDate start = first; start <= last && lines.size() < Weeks::kMaxWeeks; start = start.addDays(7))
        lines << dates::format(start) + dates::format(start.addDays(6));
    return {lines, {}};
}

} // namespace clinora::weekly
