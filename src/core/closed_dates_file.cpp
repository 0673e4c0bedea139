#include "core/closed_dates_file.h"

#include "core/data_files.h"
#include "core/prepared_limit.h"
#include "platform/dates.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <set>

namespace clinora {

namespace closeddates {

QStringList read(const Paths &paths)
{
    return textfile::readLines(paths.file(files::kClosedDates));
}

QList<QDate> readDates(const Paths &paths)
{
    QList<QDate> closed;
    for (const QString &line : read(paths)) {
        if (const std::optional<QDate> date = dates::parse(line))
            closed << *date;
    }
    return closed;
}

void write(const Paths &paths, const QStringList &lines)
{
    textfile::writeLines(paths.file(files::kClosedDates), lines);
}

QStringList withoutPastDates(const QStringList &lines, QDate today)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const std::optional<QDate> date = dates::parse(line);
        if (!date || *date >= today)
            kept << line;
    }
    return kept;
}

QStringList sortedUnique(const QStringList &lines)
{
    std::set<QDate> closed;
    QStringList others;
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        if (const std::optional<QDate> date = dates::parse(line))
            closed.insert(*date);
        else if (!others.contains(line))
            others << line;
    }
    QStringList result;
    for (const QDate &date : closed)
        result << dates::format(date);
    return result + others;
}

QList<QDate> openDates(const Paths &paths, QDate today)
{
    const QDate limit = readPreparedLimit(paths);
    const QList<QDate> closed = readDates(paths);
    QList<QDate> open;
    for (int n = 0; n <= 31; ++n) {
        const QDate date = today.addDays(n);
        if (date > limit)
            break;
        if (!closed.contains(date))
            open << date;
    }
    return open;
}

} // namespace closeddates

} // namespace clinora
