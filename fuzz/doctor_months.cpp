// MedMeses.Txt: the monthly attendance per doctor, and the moves a removal makes in it.
#include "table_roundtrip.h"

#include "statistics/doctor_months.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzz::readTable<DoctorMonths>("MedMeses.Txt", data, size, [](DoctorMonths &table) {
        for (int doctor = 1; doctor <= DoctorMonths::kDoctorRows; ++doctor) {
            const int specialty = table.postingSpecialty(doctor);
            fuzz::require(specialty == 0 || (specialty >= 51 && specialty <= 80), "a posting specialty out of range");
        }
        const QStringList before = table.lines();
        if (!fuzz::readsCleanly([&] { table.moveRemovedCounts(7, 51); }))
            fuzz::require(table.lines() == before, "a refused move changed the table");
    });
}
