// An external statistics set: the eight files of a year in a folder of their own, read
// back for the report tables. The first byte of the input chooses which of the eight
// files the rest replaces; the other seven are the demonstration clinic's.
#include "support.h"

#include "app/context.h"
#include "statistics/external_sets.h"
#include "statistics/report_tables.h"
#include "statistics/statistics_set.h"

#include <QFile>

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString set = [] {
        const AppContext &clinic = fuzz::demoClinic();
        const QString dir = fuzz::folder(QStringLiteral("conjunto"));
        for (const QString &name : sets::setFiles())
            fuzz::writeFile(dir + QLatin1Char('/') + name, fuzz::readFile(clinic.file(name)));
        return dir;
    }();
    if (size == 0)
        return 0;
    const QStringList &names = sets::setFiles();
    const QString name = names.at(data[0] % names.size());
    const QString path = set + QLatin1Char('/') + name;
    fuzz::writeFile(path, data + 1, size - 1);

    fuzz::readsCleanly([&] {
        const StatisticsSet read = readStatisticsSet(set);
        for (int filter : {0, 51, 57}) {
            reports::doctorTable(read, filter);
            reports::situationTable(read, filter);
        }
        for (reports::ReportTable table : {reports::specialtyTable(read), reports::historyTable(read)}) {
            for (auto orientation : {reports::Orientation::Vertical, reports::Orientation::Horizontal}) {
                reports::ReportTable copy = table;
                reports::takePercentages(copy, orientation);
            }
        }
    });
    fuzz::writeFile(path, fuzz::readFile(fuzz::demoClinic().file(name)));
    return 0;
}
