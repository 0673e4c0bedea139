#include "statistics/automatic_entry.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/sqlite.h"
#include "protection/mirror.h"
#include "statistics/counts.h"
#include "statistics/day_count.h"
#include "statistics/statistics_files.h"
#include "statistics/year_close.h"
#include "statistics/year_code.h"
#include "store/appointment_table.h"

namespace clinora {

namespace {

// The day's rows as the count reads them: only the four fields it looks at, straight
// from the table's text, without a row of seven strings for each appointment.
class DayRows
{
public:
    explicit DayRows(AppointmentTable &table)
        : m_statement(table.database(),
                      QStringLiteral("SELECT Hora, Medico, Paciente, Situacao FROM Medicos WHERE Data = ?1"))
    {
    }

    using Counts = std::array<DayCount, DoctorRegister::kDoctors + 1>;

    // Every booked patient of the day, per doctor: a situation above "0" and a patient
    // other than "R" (a reserved hour) is one booked and one attended. Codes freed in
    // the register (a name of blanks) are not counted.
    Counts count(const std::array<bool, DoctorRegister::kDoctors + 1> &inUse, QDate day)
    {
        Counts counts{};
        m_statement.bind(1, dates::formatShort(day));
        while (m_statement.step()) {
            const int doctor = AppointmentTable::plainNumber(m_statement.utf8(1), DoctorRegister::kDoctors);
            if (doctor == 0 ||
                AppointmentTable::plainNumber(m_statement.utf8(0), DoctorRegister::kSlots) == 0 ||
                !inUse[static_cast<std::size_t>(doctor)])
                continue;
            const QByteArrayView situation = m_statement.utf8(3);
            if (!(situation > QByteArrayView("0")) || m_statement.utf8(2) == QByteArrayView("R"))
                continue;
            DayCount &count = counts[static_cast<std::size_t>(doctor)];
            ++count.booked;
            ++count.attended;
            if (const int s = AppointmentTable::plainNumber(situation, 9))
                ++count.situations[static_cast<std::size_t>(s)];
        }
        m_statement.reset();
        return counts;
    }

private:
    sql::Statement m_statement;
};

} // namespace

AutomaticEntryResult runAutomaticEntry(AppContext &context, QDate first, QDate last)
{
    AutomaticEntryResult result;
    const StatisticsYear year = statisticsYear(context.settings);
    if (!year.open) {
        context.dialogs.information(
            QStringLiteral(
                "As estatísticas de %1 estão fechadas: a entrada automática das Fichas de Atendimentos "
                "só conta os dias de um ano aberto.\n\n"
                "== use a opção [ Abrir, Limpar (reiniciar) as Estatísticas ] == ")
                .arg(year.year));
        return result;
    }
    StatisticsFiles files(context);
    Settings settings = context.settings;
    AppointmentTable &table = context.DMMedicos.table();
    QDate passedFirst;
    QDate passedLast;
    bool closeYear = false;
    {
        // One read transaction: every day is read as the table stands now.
        sql::Transaction reading(table.database());
        DayRows dayRows(table);
        std::array<bool, DoctorRegister::kDoctors + 1> inUse{};
        for (int doctor = 1; doctor <= DoctorRegister::kDoctors; ++doctor)
            inUse[static_cast<std::size_t>(doctor)] =
                !context.doctors.doctor(doctor).name.startsWith(QStringLiteral("     "));
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            if (day.year() < year.year) {
                if (!passedFirst.isValid())
                    passedFirst = day;
                passedLast = day;
                continue;
            }
            if (day.year() > year.year) {
                // The open year was counted to its end without being closed.
                closeYear = true;
                break;
            }
            const int week = weekOfDate(files, day, year.year, context.dialogs);
            if (week == 0) {
                result.stopped = true;
                return result;
            }
            const auto counts = dayRows.count(inUse, day);
            for (int doctor = 1; doctor <= DoctorRegister::kDoctors; ++doctor) {
                const DayCount &count = counts[static_cast<std::size_t>(doctor)];
                // A day whose sheet was recorded by hand keeps the sheet's counts.
                if (count.booked > 0 && !files.recordedSheets().find(day, doctor))
                    addDayCount(files, week, doctor, day, count);
            }
            ++result.daysCounted;
            result.lastCounted = day;
            if (day.month() == 12 && day.day() == 31) {
                closeYear = true;
                break;
            }
        }
    }

    if (closeYear) {
        // The close posts what is pending into the year it closes.
        result.posting =
            stageYearClose(files, context.doctors, settings, year.year, year.year + 1, context.dialogs);
        result.yearClosed = true;
    } else {
        result.posting = postPending(files);
        settings.setLastProcessed(dates::format(last));
    }
    // A run that counted nothing leaves the settings file as it is.
    if (settings.lines() != context.settings.lines())
        files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = true;

    reportPosting(result.posting, context.dialogs);
    if (passedFirst.isValid())
        context.dialogs.information(
            QStringLiteral("Os dias de %1 a %2 não foram contados: pertencem a um ano "
                           "cujas estatísticas já foram fechadas.")
                .arg(dates::format(passedFirst), dates::format(passedLast)));
    if (result.yearClosed)
        context.dialogs.information(
            QStringLiteral("As estatísticas de %1 foram fechadas e guardadas na pasta %2; "
                           "as de %3 estão abertas.")
                .arg(year.year)
                .arg(QString(archiveFolder(year.year)).replace(QLatin1Char('/'), QLatin1Char('\\')))
                .arg(year.year + 1));
    return result;
}

AutomaticEntryResult runPendingAutomaticEntry(AppContext &context)
{
    const QDate lastCounted = dates::parseOrThrow(context.settings.lastProcessed());
    return runAutomaticEntry(context, lastCounted.addDays(1), context.clock.today().addDays(-1));
}

bool switchAutomaticEntryOn(AppContext &context, const std::function<bool()> &consistencyCheck)
{
    const QDate today = context.clock.today();
    if (context.settings.yearState() != openYearCode(today.year())) {
        context.dialogs.information(
            QStringLiteral("   Para selecionar a \"Entrada Automática\", você precisa primeiro\nabrir as "
                           "estatísticas do ano de ") +
            QString::number(today.year()) + QStringLiteral("\n\n") +
            QStringLiteral(
                "                 == use a opção [ Abrir, Limpar (reiniciar) as Estatísticas ] == "));
        return context.settings.automaticEntryOn();
    }
    if (consistencyCheck && !consistencyCheck())
        return context.settings.automaticEntryOn();
    if (context.settings.automaticEntryOn())
        return true;
    if (!context.dialogs.question(QStringLiteral(
            "                                             Mensagem\n\n1. A partir de amanhã, quando o "
            "Sistema for ligado pela primeira vez no dia,\nas Fichas de Atendimentos serão gravadas "
            "automaticamente;\n\n2. Se houver Fichas de Atendimentos pendentes, atualize-as antes de "
            "prosseguir.\n\n                                              Prosseguir?")))
        return false;
    Settings settings = context.settings;
    settings.setAutomaticEntry(QStringLiteral("Sim"));
    settings.setLastProcessed(dates::format(today.addDays(-1)));
    settings.save(context.file(files::kSettings));
    context.settings = settings;
    mirror::copy(context, files::kSettings);
    return true;
}

} // namespace clinora
