// Historico.Txt: the three-year history, and its yearly shift.
#include "table_roundtrip.h"

#include "statistics/history.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzz::readTable<History>("Historico.Txt", data, size, [](History &history) {
        const QStringList before = history.lines();
        if (!fuzz::readsCleanly([&] { history.shift(History::label(2026), [](int code) { return code * 1000; }); }))
            fuzz::require(history.lines() == before, "a refused shift changed the history");
    });
}
