// EspMeses.Txt: the monthly attendance per specialty.
#include "table_roundtrip.h"

#include "statistics/esp_meses.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzz::readTable<SpecialtyMonths>("EspMeses.Txt", data, size, [](SpecialtyMonths &table) {
        for (int code = SpecialtyMonths::kFirst; code <= SpecialtyMonths::kLast; ++code)
            fuzz::require(table.yearTotal(code) >= 0, "a negative year total");
    });
}
