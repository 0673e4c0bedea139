// The posting of MovMes.Txt into the monthly tables of the demonstration clinic. Every
// line is posted, set aside or kept; the tables it leaves are ones the strict readers
// take again. The clinic's tables are read once per process and each input posts into
// a copy of them, so that no input sees what another posted.
#include "support.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/text_file.h"
#include "statistics/posting.h"
#include "statistics/statistics_files.h"

using namespace clinora;

namespace {

const QString &copyPath()
{
    static const QString copy = fuzz::folder(QStringLiteral("copia")) + QStringLiteral("/tabela.Txt");
    return copy;
}

// The lines of a table, written and read again by the strict reader of its kind.
template <typename Table> void readsBack(const QStringList &lines)
{
    textfile::writeLines(copyPath(), lines);
    Table again;
    again.load(copyPath());
    fuzz::require(again.lines() == lines, "a posted table does not read back the same");
}

bool sameRow(const DoctorMonthsRow &a, const DoctorMonthsRow &b)
{
    return a.code == b.code && a.specialtyCode == b.specialtyCode && a.counts == b.counts;
}
bool sameRow(const SpecialtyMonthsRow &a, const SpecialtyMonthsRow &b)
{
    return a.code == b.code && a.counts == b.counts;
}
bool sameRow(const SituationMonthsRow &a, const SituationMonthsRow &b)
{
    return a.situation == b.situation && a.specialty == b.specialty && a.counts == b.counts;
}

// A table the posting left as it was reads back the same when the one read does (checked
// once, for the clinic's tables); a table it changed is read back. The rows are compared
// as they are (the cells it left share their text with the table read), which is cheaper
// than writing the lines of both.
template <typename Table>
void readsBackIfChanged(const Table &table, const Table &read, int first, int last, const QStringList &readLines)
{
    for (int n = first; n <= last; ++n) {
        if (!sameRow(table.row(n), read.row(n))) {
            const QStringList lines = table.lines();
            if (lines != readLines)
                readsBack<Table>(lines);
            return;
        }
    }
}

// The clinic's monthly tables as read, and the lines they read as. A table the posting
// left as it was reads back the same when the one read does: that is checked once here.
struct Tables
{
    DoctorMonths doctors;
    SpecialtyMonths specialties;
    SituationMonths situations;
    QStringList doctorLines, specialtyLines, situationLines;
};

const Tables &clinicTables()
{
    static const Tables tables = [](AppContext &context) {
        Tables t;
        t.doctors.load(context.file(files::kDoctorMonths));
        t.specialties.load(context.file(files::kSpecialtyMonths));
        t.situations.load(context.file(files::kSituationMonths));
        t.doctorLines = t.doctors.lines();
        t.specialtyLines = t.specialties.lines();
        t.situationLines = t.situations.lines();
        readsBack<DoctorMonths>(t.doctorLines);
        readsBack<SpecialtyMonths>(t.specialtyLines);
        readsBack<SituationMonths>(t.situationLines);
        return t;
    }(fuzz::demoClinic());
    return tables;
}

} // namespace

// The clinic is made and read before the first input, outside the time an input may take.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    clinicTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    AppContext &context = fuzz::demoClinic();
    const Tables &tables = clinicTables();
    fuzz::writeFile(context.file(QStringLiteral("MovMes.Txt")), data, size);

    StatisticsFiles files(context);
    files.take(tables.doctors);
    files.take(tables.specialties);
    files.take(tables.situations);
    PostingResult result;
    if (!fuzz::readsCleanly([&] { result = postPending(files); }))
        return 0;
    const int lines = static_cast<int>(files.pending().lines().size());
    fuzz::require(result.posted + result.setAside.size() + result.kept.size() >= lines,
                  "a pending line was neither posted, set aside nor kept");
    readsBackIfChanged(files.doctorMonths(), tables.doctors, 1, DoctorMonths::kRows, tables.doctorLines);
    readsBackIfChanged(files.specialtyMonths(), tables.specialties, SpecialtyMonths::kFirst, SpecialtyMonths::kLast,
                       tables.specialtyLines);
    readsBackIfChanged(files.situationMonths(), tables.situations, 1, SituationMonths::kRows, tables.situationLines);
    return 0;
}
