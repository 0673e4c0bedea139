#include "statistics/scheduled_removal.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "statistics/counts.h"
#include "statistics/posting.h"
#include "statistics/statistics_files.h"

namespace clinora {

namespace {

bool hasLeaveStart(const Doctor &d)
{
    return !d.name.startsWith(QStringLiteral("  ")) && !d.leaveStart.isEmpty() &&
           d.leaveStart.at(0) > QLatin1Char(' ');
}

QString badDate(int code, const QString &field, const QString &text)
{
    return QStringLiteral(
               "%1, linha %2: a data de %3 do médico (\"%4\") não é uma data; o afastamento dele não "
               "foi considerado.")
        .arg(QString(files::kDoctors))
        .arg(code)
        .arg(field, text);
}

} // namespace

RemovalResult runScheduledRemoval(AppContext &context)
{
    RemovalResult result;
    const QDate today = context.clock.today();
    DoctorRegister doctors = context.doctors;
    QStringList problems;
    QList<int> due;

    for (int code = 1; code <= DoctorRegister::kDoctors; ++code) {
        Doctor &d = doctors.doctor(code);
        if (!hasLeaveStart(d))
            continue;
        const std::optional<QDate> start = dates::parse(d.leaveStart);
        if (!start) {
            problems << badDate(code, QStringLiteral("saída"), d.leaveStart);
            continue;
        }
        const bool definitive = d.leaveEnd == DoctorRegister::kDefinitiveLeave;
        const std::optional<QDate> end =
            definitive ? std::optional<QDate>(QDate(2055, 12, 31)) : dates::parse(d.leaveEnd);
        if (!end) {
            problems << badDate(code, QStringLiteral("retorno"), d.leaveEnd);
            continue;
        }
        if (definitive && start->addDays(-7) <= today && today < *start) {
            context.dialogs.information(
                QStringLiteral("                    Nome do(a) médico(a): ") + textfile::fixed(d.name, 25) +
                QStringLiteral("\n") + QStringLiteral("            O médico será excluído no dia ") +
                d.leaveStart + QStringLiteral("\n") +
                QStringLiteral("== Mantenha atualizadas as suas Fichas de Atendimentos =="));
            result.warned << code;
        }
        if (!definitive && today > *end) {
            d.leaveStart.clear();
            d.leaveEnd.clear();
            result.leavesCleared << code;
        }
        if (definitive && today >= *start)
            due << code;
    }
    if (!problems.isEmpty())
        context.dialogs.warning(problems.join(QLatin1Char('\n')));
    if (result.leavesCleared.isEmpty() && due.isEmpty())
        return result;

    StatisticsFiles files(context);
    PostingResult posted;
    QStringList removedMessages;
    if (!due.isEmpty()) {
        // What is still pending of a doctor is counted before his counts move.
        posted = postPending(files);
        DoctorMonths &months = files.doctorMonths();
        for (const int code : std::as_const(due)) {
            Doctor &d = doctors.doctor(code);
            const std::optional<int> specialty = stats::countValue(d.specialtyCode);
            if (specialty && *specialty >= 51 && *specialty <= 80) {
                months.moveRemovedCounts(code, *specialty);
            } else if (months.lines()[code - 1].mid(4) == QString(48, QLatin1Char('0'))) {
                months.row(code).specialtyCode = QStringLiteral("00");
            } else {
                context.dialogs.warning(
                    QStringLiteral("O médico(a) %1 não foi excluído(a): %2, linha %3, tem "
                                   "atendimentos e o cadastro não diz a especialidade (\"%4\") "
                                   "para onde levá-los.")
                        .arg(d.name.trimmed(), QString(files::kDoctors))
                        .arg(code)
                        .arg(d.specialtyCode));
                continue;
            }
            forgetDoctorDays(files, code);
            removedMessages << QStringLiteral("O médico(a) ") + textfile::fixed(d.name, 25) +
                                   QStringLiteral(" foi excluído(a)");
            doctors.removeDoctor(code);
            result.removed << code;
        }
    }
    if (result.leavesCleared.isEmpty() && result.removed.isEmpty())
        return result;
    doctors.rebuildFreeCodeList();
    files.stageLines(files::kTimetable, doctors.timetableLines());
    files.stageLines(files::kDoctors, doctors.codMedLines());
    files.stageLines(files::kDoctorNames, doctors.medicosLines());
    files.commit();
    context.doctors = doctors;
    if (!result.removed.isEmpty())
        context.statisticsUpToDate = true;
    for (const QString &message : std::as_const(removedMessages))
        context.dialogs.information(message);
    reportPosting(posted, context.dialogs);
    return result;
}

void forgetDoctorDays(StatisticsFiles &files, int code)
{
    WeeklyCounts &weekly = files.weeklyCounts();
    for (int week = 1; week <= WeeklyCounts::kWeeks; ++week)
        weekly.clear(week, code);
    files.recordedSheets().forgetDoctor(code);
}

PostingResult releaseAllDoctorCodes(StatisticsFiles &files)
{
    const PostingResult posted = postPending(files);
    DoctorMonths &months = files.doctorMonths();
    for (int code = 1; code <= DoctorMonths::kDoctorRows; ++code) {
        const int specialty = months.postingSpecialty(code);
        if (specialty != 0) {
            months.moveRemovedCounts(code, specialty);
        } else {
            months.row(code).specialtyCode = QStringLiteral("00");
            months.row(code).counts = stats::zeroCounts();
        }
        forgetDoctorDays(files, code);
    }
    return posted;
}

} // namespace clinora
