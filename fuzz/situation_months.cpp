// SitMeses.Txt: the monthly attendance per situation and specialty, and its index.
#include "table_roundtrip.h"

#include "statistics/situation_months.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzz::readTable<SituationMonths>("SitMeses.Txt", data, size, [](SituationMonths &table) {
        const SituationMonths::Index index = table.index();
        for (int situation = 0; situation <= 10; ++situation)
            for (int specialty = 49; specialty <= 81; ++specialty) {
                const int row = index.find(situation, specialty);
                fuzz::require(row >= 0 && row <= SituationMonths::kRows, "a situation row out of range");
            }
    });
}
