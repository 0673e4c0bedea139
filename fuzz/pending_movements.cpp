// MovMes.Txt: the movements waiting to be posted, line by line.
#include "support.h"

#include "statistics/pending_movements.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    const QString path = dir + QStringLiteral("/MovMes.Txt");
    fuzz::writeFile(path, data, size);
    PendingMovements pending;
    if (!fuzz::readsCleanly([&] { pending.load(path); }))
        return 0;
    for (const QString &line : pending.lines()) {
        QString why;
        const std::optional<Movement> m = PendingMovements::parse(line, &why);
        if (!m) {
            fuzz::require(!why.isEmpty(), "a line refused without a reason", line);
            continue;
        }
        fuzz::require(m->doctor >= 1 && m->doctor <= 50 && m->month >= 1 && m->month <= 12 && m->situation >= 1
                          && m->situation <= 9 && m->quantity >= -999 && m->quantity <= 9999,
                      "a movement out of range", line);
        const std::optional<Movement> again =
            PendingMovements::parse(PendingMovements::line(m->doctor, m->month, m->situation, m->quantity));
        fuzz::require(again && again->doctor == m->doctor && again->month == m->month
                          && again->situation == m->situation && again->quantity == m->quantity,
                      "a movement does not read back the same", line);
    }
    return 0;
}
