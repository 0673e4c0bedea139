// Medicos.Txt and Horarios.Txt, read by the day sheets for their doctor column and
// their slot headings: the input is Medicos.Txt, a separator line, then Horarios.Txt,
// in the demonstration clinic; a few sheets are filled from them, read once as a refresh
// of several days reads them. The clinic is made, and its prepared limit read, once per
// process: only the two files change per input.
#include "support.h"

#include "app/context.h"
#include "core/prepared_limit.h"

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
    for (int day : {1, 2, 7})
        fuzz::readsCleanly([&] { context.sheets.refreshWith(day, preparedLimit(), sources); });
    return 0;
}
