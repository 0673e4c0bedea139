// The statistics tables share one shape of check: the input is the file, the strict
// reader either refuses it with the file and line named or takes it whole, and a table
// taken whole is written and read back the same.
#pragma once

#include "support.h"

#include "platform/text_file.h"

namespace clinora::fuzz {

template <typename Table, typename Use>
int readTable(const char *name, const std::uint8_t *data, std::size_t size, Use &&use)
{
    static const QString dir = folder(QStringLiteral("dados"));
    const QString path = dir + QLatin1Char('/') + QLatin1String(name);
    writeFile(path, data, size);
    Table table;
    if (!readsCleanly([&] { table.load(path); }))
        return 0;
    const QStringList lines = table.lines();
    const QString copy = dir + QStringLiteral("/copia.Txt");
    textfile::writeLines(copy, lines);
    Table again;
    again.load(copy);
    require(again.lines() == lines, "a table read back differs", QLatin1String(name));
    use(table);
    return 0;
}

} // namespace clinora::fuzz
