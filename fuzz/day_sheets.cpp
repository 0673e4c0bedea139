// Medicos.Txt and Horarios.Txt, read by the day sheets for their doctor column and
// their slot headings: the input is Medicos.Txt, a separator line, then Horarios.Txt,
// in the demonstration clinic; a few sheets are filled from them, read once as a refresh
// of several days reads them. The clinic is made, and its prepared limit read, once per
// process: only the two files change per input.
#include "support.h"

#include "app/context.h"
#include "core/prepared_limit.h"

#include <QScopeGuard>

using namespace clinora;

namespace {

QDate preparedLimit()
{
    static const QDate limit = readPreparedLimit(fuzz::demoClinic().paths);
    return limit;
}

} // namespace

// The clinic is made and read before the first input, outside the time an input may take.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    preparedLimit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    AppContext &context = fuzz::demoClinic();
    const QList<QByteArray> parts = fuzz::split(fuzz::bytes(data, size), 2);
    fuzz::writeFile(context.file(QStringLiteral("Medicos.Txt")), parts[0]);
    fuzz::writeFile(context.file(QStringLiteral("Horarios.Txt")), parts[1]);
    DaySheets::Sources sources;
    if (!fuzz::readsCleanly([&] { sources = context.sheets.readSources(); }))
        return 0;
    fuzz::require(sources.doctorColumn.isEmpty() || sources.doctorColumn.size() == DaySheet::kRows,
                  "a doctor column of another size");
    constexpr int kDays[] = {1, 2, 7};
    // The cells an input fills from its files (the doctor column and the slot headings)
    // are emptied again before it ends: nothing it read outlives it, which libFuzzer would
    // take for a leak and run the input again to find.
    const auto emptied = qScopeGuard([&context, &kDays] {
        for (int day : kDays) {
            DaySheet &sheet = context.sheets.sheet(day);
            sheet.beginChanges();
            for (int row = 0; row < DaySheet::kRows; ++row)
                sheet.setCell(0, row, QString());
            for (int col = 1; col < DaySheet::kColumns; ++col)
                sheet.setCell(col, 0, QString());
            sheet.endChanges();
        }
    });
    for (int day : kDays)
        fuzz::readsCleanly([&] { context.sheets.refreshWith(day, preparedLimit(), sources); });
    return 0;
}
