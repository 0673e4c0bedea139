// PrevReal.Txt: the patients booked and attended per week and doctor.
#include "table_roundtrip.h"

#include "statistics/weekly_counts.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzz::readTable<WeeklyCounts>("PrevReal.Txt", data, size, [](WeeklyCounts &table) {
        for (int week = 1; week <= WeeklyCounts::kWeeks; week += 13)
            for (int doctor = 1; doctor <= WeeklyCounts::kDoctors; doctor += 7) {
                fuzz::require(table.booked(week, doctor) >= 0 && table.attended(week, doctor) >= 0,
                              "a negative weekly count");
                fuzz::readsCleanly([&] { table.add(week, doctor, 5000, 5000); });
            }
    });
}
