#include "statistics/external_sets.h"

#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "statistics/doctor_months.h"
#include "statistics/esp_meses.h"
#include "statistics/history.h"
#include "statistics/pending_movements.h"
#include "statistics/situation_months.h"
#include "statistics/weekly_counts.h"
#include "statistics/weeks.h"

#include <QDir>
#include <QFileInfo>

namespace clinora::sets {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The stored form of a set's folder, as the user knows it: E:\Consultas\Estatisticas\2012.
QString storedName(QChar drive, const QString &name)
{
    return QString(drive.toUpper()) + QStringLiteral(":\\Consultas\\Estatisticas\\") + name;
}

// The files of a list missing from a folder.
QStringList missingFrom(const QString &folder, const QStringList &names)
{
    QStringList missing;
    for (const QString &name : names) {
        if (!QFileInfo(folder + QLatin1Char('/') + name).isFile())
            missing << name;
    }
    return missing;
}

// Copies the files of a list from one folder into another as one group: all of them or
// none. A target folder made for the copy goes again when the copy fails.
void copyTogether(MirroredClinic &context, const QString &source, const QString &target, const QStringList &names)
{
    const bool existed = QFileInfo(target).isDir();
    FileGroup group(context.paths.dataDir());
    for (const QString &name : names)
        group.stageCopy(source + QLatin1Char('/') + name, target + QLatin1Char('/') + name);
    try {
        group.commit();
    } catch (const FileError &) {
        if (!existed)
            QDir().rmdir(target);
        throw;
    }
}

// Puts a set into a folder of a drive: the name checked, the overwrite asked, the
// source's files checked, then all copied together.
bool putSet(MirroredClinic &context, const QString &source, QChar drive, const QString &name)
{
    Dialogs &dialogs = context.dialogs;
    const QString refusal = nameRefusal(name);
    if (!refusal.isEmpty()) {
        dialogs.information(refusal);
        return false;
    }
    const QStringList missing = missingFrom(source, setFiles());
    if (!missing.isEmpty()) {
        dialogs.information(QStringLiteral("Faltam arquivos das estatísticas em %1: %2. Nada foi gravado.")
                                .arg(shown(source), missing.join(QStringLiteral(", "))));
        return false;
    }
    const QString target = setsFolder(context.paths, drive) + QLatin1Char('/') + name.trimmed();
    if (QFileInfo::exists(target) &&
        !dialogs.question(QStringLiteral("Este Diretório já existe, deseja gravar sobre ele?")))
        return false;
    copyTogether(context, source, target, setFiles());
    dialogs.information(
        QStringLiteral("As estatísticas foram gravadas em %1.").arg(storedName(drive, name.trimmed())));
    return true;
}

// The nine statistics files that go to the mirror and come back.
const QStringList &mirroredFiles()
{
    static const QStringList names = {
        files::kDoctorMonths,     files::kSpecialtyMonths, files::kSituationMonths,
        files::kPendingMovements, files::kYearMark,        files::kWeeks,
        files::kHistory,          files::kWeeklyCounts,    files::kSettings};
    return names;
}

// Reads each file as strictly as its owner does: what comes back is whole.
void checkReadable(const QString &folder)
{
    const auto path = [&folder](QLatin1String name) { return folder + QLatin1Char('/') + name; };
    DoctorMonths().load(path(files::kDoctorMonths));
    SpecialtyMonths().load(path(files::kSpecialtyMonths));
    SituationMonths().load(path(files::kSituationMonths));
    WeeklyCounts().load(path(files::kWeeklyCounts));
    History().load(path(files::kHistory));
    Weeks().load(path(files::kWeeks));
    PendingMovements().load(path(files::kPendingMovements));
    Settings().load(path(files::kSettings));
    textfile::readLines(path(files::kYearMark));
}

bool mirroringReady(MirroredClinic &context, const QString &question)
{
    if (!context.dialogs.question(question))
        return false;
    if (!context.settings.mirroringOn()) {
        context.dialogs.information(QStringLiteral("O espelhamento está desativado: nada foi copiado."));
        return false;
    }
    if (!mirror::mediaPresent(context) ||
        !QFileInfo(mirrorDirectory(context.settings, context.paths)).isDir()) {
        context.dialogs.information(mirror::kMediaMissing);
        return false;
    }
    return true;
}

} // namespace

const QStringList &setFiles()
{
    static const QStringList names = {files::kTimetable,       files::kDoctors,         files::kDoctorMonths,
                                      files::kSituationMonths, files::kSpecialtyMonths, files::kSpecialties,
                                      files::kSituations,      files::kHistory};
    return names;
}

QString setsFolder(const Paths &paths, QChar drive)
{
    return paths.local(QString(drive.toUpper()) + QStringLiteral(":\\Consultas\\Estatisticas"));
}

QStringList setsOn(const Paths &paths, QChar drive)
{
    return QDir(setsFolder(paths, drive))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

bool isSet(const QString &folder)
{
    return QFileInfo(folder + QLatin1Char('/') + files::kSituations).isFile();
}

QString nameRefusal(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("Digite o nome do diretório das estatísticas.");
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    bool plain = trimmed != QLatin1String(".") && trimmed != QLatin1String("..");
    for (const QChar c : trimmed)
        plain = plain && !forbidden.contains(c) && c.isPrint();
    if (!plain)
        return QStringLiteral(
                   "\"%1\" não serve de nome de diretório: use um nome só, sem \\ / : * ? \" < > |, "
                   "nem \".\" ou \"..\".")
            .arg(trimmed);
    return {};
}

bool writeSet(MirroredClinic &context, QChar drive, const QString &name)
{
    return putSet(context, context.paths.dataDir(), drive, name);
}

bool copySet(MirroredClinic &context, QChar from, const QString &name, QChar to)
{
    if (name.trimmed().isEmpty()) {
        context.dialogs.information(QStringLiteral("Selecione o diretório da Estatística"));
        return false;
    }
    const QString source = setsFolder(context.paths, from) + QLatin1Char('/') + name;
    if (!QFileInfo(source).isDir()) {
        context.dialogs.information(QStringLiteral("O diretório %1 não existe.").arg(storedName(from, name)));
        return false;
    }
    // Two letters may lead to one folder: the copy would be onto itself.
    const QString fromRoot = QFileInfo(setsFolder(context.paths, from)).canonicalFilePath();
    const QString toRoot = QFileInfo(setsFolder(context.paths, to)).canonicalFilePath();
    if (fromRoot == toRoot) {
        context.dialogs.information(
            QStringLiteral("A origem e o destino são o mesmo diretório (%1): escolha outro drive de destino.")
                .arg(storedName(to, name)));
        return false;
    }
    return putSet(context, source, to, name);
}

bool copyStatisticsToMirror(MirroredClinic &context)
{
    if (!mirroringReady(context,
                        QStringLiteral("Se estiver usando o disquete, instale-o agora... Você está pronto?")))
        return false;
    const QStringList missing = missingFrom(context.paths.dataDir(), mirroredFiles());
    if (!missing.isEmpty()) {
        context.dialogs.information(QStringLiteral("Faltam arquivos das estatísticas: %1. Nada foi copiado.")
                                        .arg(missing.join(QStringLiteral(", "))));
        return false;
    }
    mirror::copyTogether(context, mirroredFiles());
    // A failed copy has said so and switched mirroring off.
    if (!context.settings.mirroringOn())
        return false;
    context.dialogs.information(QStringLiteral("As estatísticas foram copiadas para o Espelho (%1).")
                                    .arg(context.settings.mirrorDir()));
    return true;
}

bool copyStatisticsFromMirror(AppContext &context)
{
    if (!mirroringReady(context,
                        QStringLiteral("Se estiver usando o disquete, instale-o agora....Você está pronto?")))
        return false;
    const QString folder = mirrorDirectory(context.settings, context.paths);
    const QStringList missing = missingFrom(folder, mirroredFiles());
    if (!missing.isEmpty()) {
        context.dialogs.information(
            QStringLiteral("Faltam arquivos das estatísticas no Espelho (%1): %2. Nada foi copiado.")
                .arg(context.settings.mirrorDir(), missing.join(QStringLiteral(", "))));
        return false;
    }
    checkReadable(folder);
    copyTogether(context, folder, context.paths.dataDir(), mirroredFiles());
    context.settings.load(context.file(files::kSettings));
    context.statisticsUpToDate = false;
    context.dialogs.information(QStringLiteral("As estatísticas foram recuperadas do Espelho (%1).")
                                    .arg(context.settings.mirrorDir()));
    return true;
}

} // namespace clinora::sets
