#include "statistics/attendance_sheet.h"

#include "app/context.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "statistics/day_count.h"
#include "statistics/recorded_sheets.h"
#include "statistics/statistics_files.h"
#include "statistics/year_code.h"
#include "store/appointment_table.h"

namespace clinora {

void AttendanceSheet::clear()
{
    m_rows.fill({});
    m_date = {};
    m_doctor = 0;
}

void AttendanceSheet::fillForView(AppointmentTable &table, const DoctorRegister &doctors, QDate date,
                                  int doctor)
{
    fill(table, doctors, date, doctor, true);
}

void AttendanceSheet::fillForEntry(AppointmentTable &table, const DoctorRegister &doctors, QDate date,
                                   int doctor)
{
    fill(table, doctors, date, doctor, false);
}

void AttendanceSheet::fill(AppointmentTable &table, const DoctorRegister &doctors, QDate date, int doctor,
                           bool packed)
{
    clear();
    m_date = date;
    m_doctor = doctor;
    const QString data = dates::formatShort(date);
    const QString code = QString::number(doctor);
    std::array<const Appointment *, kRows + 1> booked{};
    const std::vector<Appointment> rows = table.onDate(data);
    for (const Appointment &a : rows) {
        const int slot = a.hora.toInt();
        if (a.medico == code && slot >= 1 && slot <= kRows && QString::number(slot) == a.hora)
            booked[static_cast<std::size_t>(slot)] = &a;
    }
    // The times of the date's own weekday, whatever day of the window it is.
    const int weekday = dates::weekday(date);
    int next = 0;
    for (int slot = 1; slot <= kRows; ++slot) {
        const Appointment *a = booked[static_cast<std::size_t>(slot)];
        const QString time = doctors.time(weekday, doctor, slot);
        const bool hasTime = !time.isEmpty() && time != QLatin1String(" ");
        if (packed && !a && !hasTime)
            continue;
        SheetRow &row = m_rows[static_cast<std::size_t>(packed ? next++ : slot - 1)];
        row.date = data;
        row.slot = QString::number(slot);
        row.time = time;
        row.doctor = code;
        if (a) {
            row.patient = a->paciente;
            if (a->telefone > QLatin1String("0"))
                row.telephone = a->telefone;
            if (a->situacao > QLatin1String("0"))
                row.situation = a->situacao;
        }
    }
}

std::array<SheetBoxes, AttendanceSheet::kRows> AttendanceSheet::openingBoxes() const
{
    std::array<SheetBoxes, kRows> boxes;
    for (int k = 1; k <= kRows; ++k) {
        const SheetRow &r = row(k);
        SheetBoxes &b = boxes[static_cast<std::size_t>(k - 1)];
        b = {r.time, r.patient, r.telephone, r.situation, !r.patient.isEmpty()};
        if (r.patient == QLatin1String("R")) {
            b.present = false;
            b.situation.clear();
        } else if (b.present && b.situation.isEmpty()) {
            b.situation = QStringLiteral("1");
        }
    }
    return boxes;
}

QString sheetRefusal(const DoctorRegister &doctors, const DayWindow &days, int day, int doctor)
{
    if (!DoctorRegister::validCode(doctor) || doctors.isFree(doctor) || doctors.doctor(doctor).name.isEmpty())
        return QStringLiteral("Escolha na grade a linha de um médico para ver a sua Ficha de Atendimentos.");
    if (day < 1 || day > 31)
        return QStringLiteral("Escolha na grade o dia cuja Ficha de Atendimentos você quer ver.");
    if (!days.realDateOfDay(day).isValid())
        return QStringLiteral("Não há Ficha de Atendimentos do dia %1: o mês de %2 não tem esse dia.")
            .arg(day, 2, 10, QLatin1Char('0'))
            .arg(days.dateOfDay(day).mid(3, 2));
    return {};
}

bool recordSheet(AppContext &context, const AttendanceSheet &sheet, const std::array<SheetBoxes, 24> &boxes)
{
    Dialogs &dialogs = context.dialogs;
    const QString yy = dates::formatShort(sheet.date()).mid(6, 2);
    if (QStringLiteral("A20") + yy != context.settings.yearState()) {
        dialogs.information(
            QStringLiteral("   Para realizar a gravação desta Ficha, você precisa primeiro\nabrir as "
                           "estatísticas do ano de 20") +
            yy + QStringLiteral("\n\n") +
            QStringLiteral("           == use a opção [ Abrir, Limpar (reiniciar) as Estatísticas ] "
                           "== "));
        return false;
    }
    DayCount count;
    for (int k = 1; k <= AttendanceSheet::kRows; ++k) {
        const SheetBoxes &b = boxes[static_cast<std::size_t>(k - 1)];
        const QString situation = b.situation.left(1);
        const QString where =
            QStringLiteral("Linha %1 da Ficha%2")
                .arg(k)
                .arg(b.time.trimmed().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(b.time));
        if (!situation.isEmpty() && !(situation >= QLatin1String("0") && situation <= QLatin1String("9"))) {
            dialogs.information(
                QStringLiteral("%1: a situação \"%2\" não é um número de 1 a 9. Corrija-a e grave a "
                               "Ficha de novo.")
                    .arg(where, b.situation));
            return false;
        }
        if (b.present && situation.isEmpty()) {
            dialogs.information(
                QStringLiteral("%1: o paciente está presente e não tem situação. Escreva a situação "
                               "(1 a 9) e grave a Ficha de novo.")
                    .arg(where));
            return false;
        }
        if (!situation.isEmpty())
            ++count.booked;
        if (b.present) {
            ++count.attended;
            const int s = situation.toInt();
            if (s >= 1 && s <= 9)
                ++count.situations[static_cast<std::size_t>(s)];
        }
    }
    StatisticsFiles files(context);
    const int week = weekOfDate(files, sheet.date(), statisticsYear(context.settings).year, dialogs);
    if (week == 0)
        return false;
    if (const std::optional<RecordedDay> earlier =
            files.recordedSheets().find(sheet.date(), sheet.doctor())) {
        if (!dialogs.question(
                QStringLiteral("Esta Ficha já foi gravada: %1 marcado(s) e %2 atendido(s).\n\nSubstituir "
                               "a gravação anterior por esta? A anterior deixa de contar nas estatísticas.")
                    .arg(earlier->count.booked)
                    .arg(earlier->count.attended)))
            return false;
    }
    addDayCount(files, week, sheet.doctor(), sheet.date(), count);
    files.commit();
    context.statisticsUpToDate = false;
    return true;
}

} // namespace clinora
