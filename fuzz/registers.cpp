// Esp.Txt and Sit.Txt: the specialty and situation registers, as the tables every
// screen consults and as the register windows read them. The input is Esp.Txt, a
// separator line, then Sit.Txt.
#include "support.h"

#include "core/registers.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString dir = fuzz::folder(QStringLiteral("dados"));
    const QList<QByteArray> parts = fuzz::split(fuzz::bytes(data, size), 2);
    const QString esp = dir + QStringLiteral("/Esp.Txt");
    const QString sit = dir + QStringLiteral("/Sit.Txt");
    fuzz::writeFile(esp, parts[0]);
    fuzz::writeFile(sit, parts[1]);

    SpecialtyTable specialties;
    if (fuzz::readsCleanly([&] { specialties.load(dir + QLatin1Char('/')); })) {
        for (int code = 0; code <= 100; ++code)
            specialties.name(code);
    }
    SituationTable situations;
    if (fuzz::readsCleanly([&] { situations.load(dir + QLatin1Char('/')); })) {
        for (int code = -1; code <= 10; ++code)
            situations.entry(code);
    }
    QStringList specialtyNames(30);
    fuzz::readsCleanly([&] { readSpecialtyNames(esp, specialtyNames); });
    fuzz::require(specialtyNames.size() == 30, "the specialty names changed their count");
    QStringList situationNames(9);
    fuzz::readsCleanly([&] { readSituationNames(sit, situationNames); });
    fuzz::require(situationNames.size() == 9, "the situation names changed their count");
    return 0;
}
