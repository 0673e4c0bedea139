#include "statistics/year_close.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "statistics/statistics_files.h"
#include "statistics/year_code.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

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

void shiftHistory(StatisticsFiles &files, int year)
{
    const SpecialtyMonths &specialties = files.specialtyMonths();
    files.history().shift(History::label(year), [&specialties](int code) {
        return code >= SpecialtyMonths::kFirst && code <= SpecialtyMonths::kLast ? specialties.yearTotal(code)
                                                                                 : 0;
    });
}

PostingResult stageYearClose(StatisticsFiles &files, const DoctorRegister &doctors, Settings &settings,
                             int closedYear, int newYear, Dialogs &dialogs)
{
    // The lines still pending belong to the year that closes.
    const PendingMovements pendingBefore = files.pending();
    PostingResult posted = postPending(files);
    if (!posted.kept.isEmpty()) {
        // A line that would take a month past 9,999 cannot be counted in this year's
        // tables, nor wait for a year it does not belong to: the user may close the
        // year without it, kept as it is beside the other lines not counted.
        const QString pending = QString(files::kPendingMovements);
        const QString setAside = QString(files::kSetAsideMovements);
        const QString first = posted.kept.first();
        qsizetype firstLine = 0;
        while (firstLine < pendingBefore.size() && pendingBefore.line(firstLine) != first)
            ++firstLine;
        const QString more =
            posted.kept.size() > 1
                ? QStringLiteral(" (e mais %1 linha(s) que também não cabem)").arg(posted.kept.size() - 1)
                : QString();
        const QString what =
            QStringLiteral(
                "As estatísticas de %1 não podem ser fechadas com todas as linhas de %2: a linha %3 "
                "(\"%4\")%5 não cabe nas tabelas, porque %6.")
                .arg(closedYear)
                .arg(pending)
                .arg(firstLine + 1)
                .arg(first, more, posted.keptReason);
        if (!dialogs.question(what +
                              QStringLiteral("\n\nFechar o ano assim mesmo, sem contar essa(s) linha(s)? "
                                             "Elas ficam guardadas, como estão, no arquivo %1.")
                                  .arg(setAside)))
            throw Error(what +
                        QStringLiteral("\n\nAs estatísticas de %1 continuam abertas e nada foi gravado; a "
                                       "mesma pergunta será feita da próxima vez.")
                            .arg(closedYear));
        if (posted.setAside.isEmpty())
            posted.setAsideReason = QStringLiteral("\"%1\": %2").arg(first, posted.keptReason);
        posted.setAside += posted.kept;
        const QString path = files.path(files::kSetAsideMovements);
        const QStringList before = QFileInfo::exists(path) ? textfile::readLines(path) : QStringList();
        files.stageLines(files::kSetAsideMovements, before + posted.setAside);
        posted.kept.clear();
        posted.keptReason.clear();
        files.pending().setLines({});
    }

    // The archive folder is made by the commit, private, and only if it goes through.
    const QString folder = archiveFolder(closedYear);
    const auto archived = [&folder](const QString &name) { return folder + QLatin1Char('/') + name; };
    for (const QLatin1String name :
         {files::kTimetable, files::kDoctors, files::kSpecialties, files::kSituations})
        files.stageCopy(name, archived(name));
    // The tables as posted: what the year really counted.
    files.stageBytes(archived(files::kDoctorMonths), files.doctorMonths().bytes());
    files.stageBytes(archived(files::kSituationMonths), files.situationMonths().bytes());
    files.stageBytes(archived(files::kSpecialtyMonths), files.specialtyMonths().bytes());
    files.stageLines(archived(files::kHistory), files.history().lines());
    files.stageBytes(archived(files::kWeeklyCounts), files.weeklyCounts().bytes());
    files.stageLines(archived(files::kWeeks), files.weeks().lines());

    shiftHistory(files, closedYear);
    stageReset(files, doctors, settings, QDate(newYear - 1, 12, 31), newYear);
    return posted;
}

QString resetStatistics(AppContext &context)
{
    StatisticsFiles files(context);
    const QDateTime now = context.clock.now();
    QString kept = QString(files::kStatisticsDir) + QStringLiteral("/Reinicio_") +
                   now.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    for (int n = 2; QFileInfo::exists(files.path(kept)); ++n)
        kept = kept.section(QLatin1Char('_'), 0, 2) + QStringLiteral("_%1").arg(n);
    // Everything a reset replaces, kept where it can be read as a set or put back by hand.
    for (const QLatin1String name :
         {files::kTimetable, files::kDoctors, files::kDoctorMonths, files::kSituationMonths,
          files::kSpecialtyMonths, files::kSpecialties, files::kSituations, files::kHistory,
          files::kWeeklyCounts, files::kWeeks, files::kPendingMovements}) {
        // Weeks not made yet are no weeks: nothing to keep.
        if (QFileInfo::exists(files.path(name)))
            files.stageCopy(name, kept + QLatin1Char('/') + name);
    }
    Settings settings = context.settings;
    const QDate today = context.clock.today();
    stageReset(files, context.doctors, settings, today.addDays(-1), today.year());
    files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = true;
    return kept;
}

void closeStatisticsYear(AppContext &context)
{
    const StatisticsYear year = statisticsYear(context.settings);
    const int today = context.clock.today().year();
    StatisticsFiles files(context);
    Settings settings = context.settings;
    const QStringList newYearLines = year.open ? QStringList() : files.pending().lines();
    if (!year.open)
        files.pending().setLines({});
    const PostingResult posted = stageYearClose(files, context.doctors, settings, year.year,
                                                year.year < today ? today : year.year + 1, context.dialogs);
    files.pending().setLines(newYearLines);
    files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = newYearLines.isEmpty();
    reportPosting(posted, context.dialogs);
}

} // namespace clinora
