// The tables of the program a clinic used before (Paradox): the input is Medicos.db, a
// separator line, then its memo file Medicos.mb, found in a data folder at start and
// imported after the question (answered Yes). The memo reader also gets the two parts
// straight.
#include "support.h"

#include "app/context.h"
#include "app/old_tables.h"
#include "platform/clock.h"
#include "platform/null_printer.h"
#include "store/paradox_table.h"

#include <QDir>

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("antigo"));
    static FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    static fuzz::QuietDialogs dialogs;
    static NullPrinter printer;
    static AppContext context(Paths(dir, fuzz::folder(QStringLiteral("drives"))), clock, dialogs, printer);

    const QList<QByteArray> parts = fuzz::split(fuzz::bytes(data, size), 2);
    QString problem;
    const QByteArray memo = paradox::memoBytes(parts[0], parts[1], &problem);
    fuzz::require(memo.size() <= parts[0].size() + parts[1].size(), "a memo longer than its files");

    // Each input finds the folder as a clinic copied it: only the old table.
    QDir folder(dir);
    for (const QString &name : folder.entryList(QDir::Files))
        folder.remove(name);
    fuzz::writeFile(dir + QStringLiteral("/Medicos.db"), parts[0]);
    fuzz::writeFile(dir + QStringLiteral("/Medicos.mb"), parts[1]);
    fuzz::readsCleanly([&] { importOldTables(context); });
    return 0;
}
