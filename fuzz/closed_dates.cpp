// ArqFolgas.Txt: the closed dates, as the day sheets, the searches and the closing
// dialog read them (the prepared limit of the installation beside it).
#include "support.h"

#include "agenda/closed_dates.h"
#include "platform/paths.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    static const Paths paths(dir, fuzz::folder(QStringLiteral("drives")));
    static const bool installed = [] {
        fuzz::writeFile(paths.file(QStringLiteral("DataIniFim.Txt")), QByteArray("31/12/2026\r\n"));
        return true;
    }();
    (void)installed;
    fuzz::writeFile(paths.file(QStringLiteral("ArqFolgas.Txt")), data, size);

    const QDate today(2026, 12, 8);
    QStringList lines;
    if (!fuzz::readsCleanly([&] { lines = closeddates::read(paths); }))
        return 0;
    fuzz::readsCleanly([&] { closeddates::readDates(paths); });
    QList<QDate> open;
    if (fuzz::readsCleanly([&] { open = closeddates::openDates(paths, today); })) {
        for (const QDate &d : open)
            fuzz::require(d.isValid() && d >= today, "an open date before today");
    }
    const QStringList kept = closeddates::withoutPastDates(lines, today);
    const QStringList sorted = closeddates::sortedUnique(kept);
    // Sorting what is sorted changes nothing.
    fuzz::require(closeddates::sortedUnique(sorted) == sorted, "the closed dates do not sort the same twice");
    return 0;
}
