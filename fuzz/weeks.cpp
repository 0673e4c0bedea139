// Semanas.Txt: the weeks of the statistics year.
#include "table_roundtrip.h"

#include "statistics/weeks.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzz::readTable<Weeks>("Semanas.Txt", data, size, [](Weeks &weeks) {
        fuzz::require(weeks.weeks().size() <= Weeks::kMaxWeeks, "more weeks than a year holds");
        for (const QDate day : {QDate(2026, 1, 1), QDate(2026, 12, 8), QDate(2025, 12, 29), QDate(2000, 2, 29)}) {
            const int n = weeks.weekNumber(day);
            fuzz::require(n >= 0 && n <= weeks.weeks().size(), "a week number out of range");
        }
        weeks.areOfYear(2026);
    });
}
