#include "statistics/day_count.h"

#include "statistics/statistics_files.h"

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

int weekOfDate(StatisticsFiles &files, QDate date, int openYear)
{
    Weeks &weeks = files.weeks();
    if (!weeks.areOfYear(openYear))
        weeks.createFor(openYear);
    return weeks.weekNumber(date);
}

QString missingWeeksMessage()
{
    return QStringLiteral(
        "     Ainda não foram cadastradas as semanas para o corrente ano\n\n     Use a opção "
        "Estatísticas + Relatório Semanal + Criar Semanas");
}

} // namespace clinora
