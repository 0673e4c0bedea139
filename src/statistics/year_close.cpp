#include "statistics/year_close.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/errors.h"
#include "statistics/statistics_files.h"
#include "statistics/year_code.h"

#include <QDir>

namespace clinora {

QString archiveFolder(int year)
{
    return QString(files::kStatisticsDir) + QStringLiteral("/Ano") + QString::number(year);
}

void stageReset(StatisticsFiles &files, const DoctorRegister &doctors, Settings &settings, QDate lastCounted,
                int year)
{
    files.resetFromTemplates();
    Weeks &weeks = files.weeks();
    if (!weeks.areOfYear(year))
        weeks.createFor(year);
    files.doctorMonths().relink(doctors);
    settings.setLastProcessed(dates::format(lastCounted));
    settings.setYearState(openYearCode(year));
}

PostingResult stageYearClose(StatisticsFiles &files, const DoctorRegister &doctors, Settings &settings,
                             int closedYear, int newYear)
{
    // The lines still pending belong to the year that closes.
    const PostingResult posted = postPending(files);
    if (!posted.kept.isEmpty())
        throw Error(
            QStringLiteral("As estatísticas de %1 não foram fechadas: %2 linha(s) de %3 não puderam ser "
                           "processadas (%4). Nada foi gravado.")
                .arg(closedYear)
                .arg(posted.kept.size())
                .arg(QString(files::kPendingMovements), posted.keptReason));

    const QString folder = archiveFolder(closedYear);
    if (!QDir().mkpath(files.path(folder)))
        throw FileError(QStringLiteral("Não foi possível criar a pasta %1.")
                            .arg(QDir::toNativeSeparators(files.path(folder))));
    const auto archived = [&folder](const QString &name) { return folder + QLatin1Char('/') + name; };
    for (const QLatin1String name :
         {files::kTimetable, files::kDoctors, files::kSpecialties, files::kSituations})
        files.stageCopy(name, archived(name));
    // The tables as posted: what the year really counted.
    files.stageLines(archived(files::kDoctorMonths), files.doctorMonths().lines());
    files.stageLines(archived(files::kSituationMonths), files.situationMonths().lines());
    files.stageLines(archived(files::kSpecialtyMonths), files.specialtyMonths().lines());
    files.stageLines(archived(files::kHistory), files.history().lines());
    files.stageLines(archived(files::kWeeklyCounts), files.weeklyCounts().lines());
    files.stageLines(archived(files::kWeeks), files.weeks().lines());

    const SpecialtyMonths &specialties = files.specialtyMonths();
    files.history().shift(History::label(closedYear), [&specialties](int code) {
        return code >= SpecialtyMonths::kFirst && code <= SpecialtyMonths::kLast ? specialties.yearTotal(code)
                                                                                 : 0;
    });
    stageReset(files, doctors, settings, QDate(newYear - 1, 12, 31), newYear);
    return posted;
}

void resetStatistics(AppContext &context)
{
    StatisticsFiles files(context);
    Settings settings = context.settings;
    const QDate today = context.clock.today();
    stageReset(files, context.doctors, settings, today.addDays(-1), today.year());
    files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = true;
}

void closeStatisticsYear(AppContext &context)
{
    const StatisticsYear year = statisticsYear(context.settings);
    const int today = context.clock.today().year();
    StatisticsFiles files(context);
    Settings settings = context.settings;
    const PostingResult posted = stageYearClose(files, context.doctors, settings, year.year,
                                                year.year < today ? today : year.year + 1);
    files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = true;
    reportPosting(posted, context.dialogs);
}

} // namespace clinora
