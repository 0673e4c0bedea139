// DataIniFim.Txt: the prepared limit date.
#include "support.h"

#include "core/prepared_limit.h"
#include "platform/paths.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    static const Paths paths(dir, fuzz::folder(QStringLiteral("drives")));
    fuzz::writeFile(paths.file(QStringLiteral("DataIniFim.Txt")), data, size);
    QDate limit;
    if (fuzz::readsCleanly([&] { limit = readPreparedLimit(paths); }))
        fuzz::require(limit.isValid(), "the prepared limit read is not a date");
    return 0;
}
