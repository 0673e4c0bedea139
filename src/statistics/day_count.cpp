#include "statistics/day_count.h"

#include "core/data_files.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "statistics/statistics_files.h"

#include <algorithm>

namespace clinora {

void addDayCount(StatisticsFiles &files, int week, int doctor, QDate date, const DayCount &count)
{
    RecordedSheets &recorded = files.recordedSheets();
    // A day counted before is replaced: what it added is taken back as this one is added.
    const std::optional<RecordedDay> earlier = recorded.find(date, doctor);
    const DayCount before = earlier ? earlier->count : DayCount{};
    WeeklyCounts &weekly = files.weeklyCounts();
    if (earlier && earlier->week != week) {
        // The weeks were made again since: the earlier counts are where they went.
        weekly.add(earlier->week, doctor, -before.booked, -before.attended);
        weekly.add(week, doctor, count.booked, count.attended);
    } else {
        weekly.add(week, doctor, count.booked - before.booked, count.attended - before.attended);
    }
    QStringList lines;
    for (int s = 1; s <= 9; ++s) {
        const auto i = static_cast<std::size_t>(s);
        const int difference = count.situations[i] - before.situations[i];
        if (difference != 0)
            lines << PendingMovements::line(doctor, date.month(), s, difference);
    }
    files.pending().append(lines);
    recorded.set({date, doctor, week, count});
}

int weekOfDate(StatisticsFiles &files, QDate date, int openYear, Dialogs &dialogs)
{
    Weeks &weeks = files.weeks();
    if (!weeks.areOfYear(openYear))
        weeks.createFor(openYear);
    if (const int week = weeks.weekNumber(date))
        return week;
    const QString file = QString(files::kWeeks);
    const QString day = dates::format(date);
    const int lines = static_cast<int>(weeks.weeks().size());
    const Weeks::Week &last = weeks.weeks().last();
    const QString where =
        QStringLiteral("O dia %1 não está em nenhuma semana do arquivo %2, que vai da linha 1 "
                       "(%3 a %4) à linha %5 (%6 a %7).")
            .arg(day, file, dates::format(weeks.weeks().first().first),
                 dates::format(weeks.weeks().first().last))
            .arg(lines)
            .arg(dates::format(last.first), dates::format(last.last));
    // The file stops short of the day: the weeks that follow its last one put it right
    // without renumbering the weeks already counted.
    const QDate yearEnd(openYear, 12, 31);
    if (date > last.last) {
        Weeks extended = weeks;
        if (extended.extendTo(std::max(date, yearEnd))) {
            const int added = static_cast<int>(extended.weeks().size()) - lines;
            if (dialogs.question(
                    where + QStringLiteral("\n\nAcrescentar ao arquivo as %1 semana(s) que faltam até %2, "
                                           "de sete dias cada uma, continuando a da linha %3?")
                                .arg(added)
                                .arg(dates::format(extended.weeks().last().last))
                                .arg(lines))) {
                weeks = extended;
                return weeks.weekNumber(date);
            }
        }
    }
    dialogs.information(where + QStringLiteral("\n\nNada foi gravado. Para corrigir, crie as semanas de novo "
                                               "em Estatísticas + Relatório Semanal + Criar Semanas, com um "
                                               "primeiro dia que inclua o dia %1.")
                                    .arg(day));
    return 0;
}

} // namespace clinora
