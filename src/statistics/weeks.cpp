#include "statistics/weeks.h"

#include "platform/dates.h"
#include "platform/text_file.h"

namespace clinora {

QStringList weeksOfYear(int year)
{
    const QDate january1(year, 1, 1);
    const QDate december31(year, 12, 31);
    QDate start = january1.addDays(-(dates::weekday(january1) - 2));
    QStringList lines;
    for (int i = 0; i < 55 && start <= december31; ++i) {
        lines << dates::format(start) + dates::format(start.addDays(6));
        start = start.addDays(7);
    }
    return lines;
}

void createWeeks(const QString &path, int year)
{
    textfile::writeLines(path, weeksOfYear(year));
}

} // namespace clinora
