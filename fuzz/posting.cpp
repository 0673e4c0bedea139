// The posting of MovMes.Txt into the monthly tables of the demonstration clinic. Every
// line is posted, set aside or kept; the tables it leaves are ones the strict readers
// take again.
#include "support.h"

#include "app/context.h"
#include "platform/text_file.h"
#include "statistics/posting.h"
#include "statistics/statistics_files.h"

using namespace clinora;

namespace {

template <typename Table> void readsBack(const Table &table, const QString &path)
{
    textfile::writeLines(path, table.lines());
    Table again;
    again.load(path);
    fuzz::require(again.lines() == table.lines(), "a posted table does not read back the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    AppContext &context = fuzz::demoClinic();
    static const QString copy = fuzz::folder(QStringLiteral("copia")) + QStringLiteral("/tabela.Txt");
    fuzz::writeFile(context.file(QStringLiteral("MovMes.Txt")), data, size);

    StatisticsFiles files(context);
    PostingResult result;
    if (!fuzz::readsCleanly([&] { result = postPending(files); }))
        return 0;
    const int lines = static_cast<int>(files.pending().lines().size());
    fuzz::require(result.posted + result.setAside.size() + result.kept.size() >= lines,
                  "a pending line was neither posted, set aside nor kept");
    readsBack(files.doctorMonths(), copy);
    readsBack(files.specialtyMonths(), copy);
    readsBack(files.situationMonths(), copy);
    return 0;
}
