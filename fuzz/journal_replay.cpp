// The journal replay: the journal file read and applied onto a small appointment table
// (a few booked, reserved, cancelled and waiting rows), as the recovery does. The table
// is opened once per process and set back to those rows before each input, in one
// transaction; it lives in the process's own folder in memory, so its commits need not
// wait for a disk (nor keep a journal file there), nor take and free its lock each time.
#include "support.h"

#include "platform/sqlite.h"
#include "platform/text_file.h"
#include "protection/replay.h"
#include "store/appointment_table.h"

using namespace clinora;

namespace {

const std::vector<Appointment> kRows = {
    {QStringLiteral("08/12/26"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Maria da Silva"),
     QStringLiteral("3222-1111"), QStringLiteral("1"), QStringLiteral("primeira vez")},
    {QStringLiteral("08/12/26"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("R"), {}, {}, {}},
    {QStringLiteral("09/12/26"), QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("José Souza"),
     {}, QStringLiteral("3"), {}},
    {QStringLiteral("08/12H/"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("Ana Lima"), {},
     QStringLiteral("2"), {}},
    {QStringLiteral("4"), QStringLiteral("01"), QStringLiteral("51"), QStringLiteral("Pedro Alves"),
     QStringLiteral("9999-0000"), QStringLiteral("1"), {}},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    static AppointmentTable table;
    if (!table.isOpen()) {
        table.open(dir + QStringLiteral("/Medicos.db"), true);
        table.database().exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
        table.database().exec(QStringLiteral("PRAGMA synchronous = OFF"));
        // This process alone uses the table: it keeps the file's lock from its first
        // transaction on, and no transaction looks for another's journal again.
        table.database().exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    }
    {
        sql::Transaction reset(table.database());
        table.clear();
        for (const Appointment &row : kRows)
            table.insert(row);
        reset.commit();
    }
    const QString journalPath = dir + QStringLiteral("/ArqMovA.Txt");
    fuzz::writeFile(journalPath, data, size);

    QStringList lines;
    if (!fuzz::readsCleanly([&] { lines = textfile::readLines(journalPath); }))
        return 0;
    ReplayResult result;
    if (!fuzz::readsCleanly([&] { result = applyJournal(table, lines); }))
        return 0;
    fuzz::require(result.inserted + result.toCancelled + result.deleted + result.alreadyApplied
                          + static_cast<int>(result.skipped.size())
                      <= static_cast<int>(lines.size()),
                  "the replay counted more changes than lines");
    // Every row the replay left is one the table can hold and find again.
    for (const Appointment &row : table.all()) {
        fuzz::require(!row.data.isEmpty() && !row.hora.isEmpty() && !row.medico.isEmpty() && !row.paciente.isEmpty(),
                      "the replay left a row without its key or patient", row.data);
        fuzz::require(table.find(row.key()).has_value(), "a row the replay left cannot be found", row.data);
    }
    return 0;
}
