#include "statistics/statistics_set.h"

#include "store/clinic.h"
#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>

namespace clinora {

namespace {

// The tables of the folder; the registers are the caller's.
void readTables(StatisticsSet &set, const QString &prefix)
{
    set.doctorMonths.load(prefix + files::kDoctorMonths);
    set.situationMonths.load(prefix + files::kSituationMonths);
    set.specialtyMonths.load(prefix + files::kSpecialtyMonths);
    set.history.load(prefix + files::kHistory);
    set.specialties.load(prefix);
    set.situations.load(prefix);
}

QString prefixOf(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString StatisticsSet::specialtyName(int code) const
{
    return textfile::trimRight(specialties.name(code));
}

QString StatisticsSet::situationCaption(int code) const
{
    const RegisterEntry &e = situations.entry(code);
    const QString line = textfile::trimRight(e.code + e.separator + e.name);
    return line.isEmpty() ? QString::number(code) : line;
}

StatisticsSet readStatisticsSet(const QString &folder)
{
    const QString prefix = prefixOf(folder);
    if (!QFileInfo::exists(prefix + files::kSituations))
        throw FileError(
            QStringLiteral("Não há estatísticas no Diretório %1").arg(QDir::toNativeSeparators(folder)));
    StatisticsSet set;
    set.folder = folder;
    set.external = true;
    readTables(set, prefix);
    const QStringList problems = set.doctors.load(prefix);
    if (!problems.isEmpty())
        throw DamagedFileError(problems.join(QLatin1Char('\n')));
    return set;
}

StatisticsSet readDataFolderStatistics(const Clinic &context)
{
    StatisticsSet set;
    set.folder = context.paths.dataDir();
    readTables(set, prefixOf(set.folder));
    set.doctors = context.doctors;
    return set;
}

} // namespace clinora
