// The doctor register (CodMed.Txt) and the weekly timetable (DiaMedHora.Txt), read by
// one reader: the input is CodMed.Txt, then a separator line, then DiaMedHora.Txt.
// What was read whole is written and read back the same; a register with lines left
// out is never written. The two registers are made once per process (each holds the
// 8,400 entries of the timetable) and emptied again before each input ends: nothing an
// input read outlives it, which libFuzzer would take for a leak and run the input again
// to find.
#include "support.h"

#include "core/doctor_register.h"

#include <QDate>
#include <QScopeGuard>

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    static const QString copy = fuzz::folder(QStringLiteral("copia"));
    const QList<QByteArray> parts = fuzz::split(fuzz::bytes(data, size), 2);
    fuzz::writeFile(dir + QStringLiteral("/CodMed.Txt"), parts[0]);
    fuzz::writeFile(dir + QStringLiteral("/DiaMedHora.Txt"), parts[1]);

    static DoctorRegister doctors;
    static DoctorRegister again;
    const auto emptied = qScopeGuard([] { doctors.clear(); });
    QStringList problems;
    if (!fuzz::readsCleanly([&] { problems = doctors.load(dir + QLatin1Char('/')); }))
        return 0;
    // What the screens ask of the register.
    for (int code = 1; code <= DoctorRegister::kDoctors; ++code) {
        fuzz::readsCleanly([&] { doctors.onLeave(code, QDate(2026, 12, 8)); });
        for (int w = 1; w <= DoctorRegister::kWeekdays; ++w)
            for (int s = 1; s <= DoctorRegister::kSlots; ++s)
                doctors.hasSlot(w, code, s);
    }
    doctors.freeCodeList();
    const bool saved = fuzz::readsCleanly([&] { doctors.save(copy); });
    fuzz::require(saved == problems.isEmpty(), "a register with lines left out was written, or a whole one refused");
    if (saved) {
        const auto emptiedToo = qScopeGuard([] { again.clear(); });
        fuzz::require(again.load(copy + QLatin1Char('/')).isEmpty(), "the register written reads with problems");
        fuzz::require(again.codMedLines() == doctors.codMedLines(), "the doctors read back differ");
        // The timetable entry by entry, without a list of its 8,400 lines on each side.
        for (int w = 1; w <= DoctorRegister::kWeekdays; ++w)
            for (int code = 1; code <= DoctorRegister::kDoctors; ++code)
                for (int s = 1; s <= DoctorRegister::kSlots; ++s)
                    fuzz::require(again.time(w, code, s) == doctors.time(w, code, s),
                                  "the timetable read back differs");
    }
    return 0;
}
