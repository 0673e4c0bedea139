#include "statistics/day_count.h"

#include "statistics/statistics_files.h"

namespace clinora {

void addDayCount(StatisticsFiles &files, int week, int doctor, QDate date, const DayCount &count)
{
    files.weeklyCounts().add(week, doctor, count.booked, count.attended);
    QStringList lines;
    for (int s = 1; s <= 9; ++s) {
        if (count.situations[static_cast<std::size_t>(s)] > 0)
            lines << PendingMovements::line(doctor, date.month(), s,
                                            count.situations[static_cast<std::size_t>(s)]);
    }
    files.pending().append(lines);
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
