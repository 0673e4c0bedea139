// Automatica.Txt: the settings reader, the statistics year of line 3 and the mirror
// directory of line 8. A file that could not be read is never written back.
#include "support.h"

#include "core/common.h"
#include "core/settings.h"
#include "platform/paths.h"
#include "statistics/year_code.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    static const Paths paths(dir, fuzz::folder(QStringLiteral("drives")));
    const QString path = dir + QStringLiteral("/Automatica.Txt");
    fuzz::writeFile(path, data, size);

    Settings settings;
    if (!fuzz::readsCleanly([&] { settings.load(path); })) {
        // The damaged file stays as it is.
        const bool refused = !fuzz::readsCleanly([&] { settings.save(path); });
        fuzz::require(refused && fuzz::readFile(path) == fuzz::bytes(data, size),
                      "a settings file that could not be read was written back");
        return 0;
    }
    fuzz::readsCleanly([&] { statisticsYear(settings); });
    fuzz::readsCleanly([&] { mirrorDirectory(settings, paths); });
    // What was read is written back as it was read, and reads the same again.
    settings.save(path);
    Settings again;
    again.load(path);
    fuzz::require(again.lines() == settings.lines(), "the settings read back differ");
    return 0;
}
