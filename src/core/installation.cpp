#include "core/installation.h"

#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/private_files.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace clinora {

namespace {

const QString kRoot = QStringLiteral(":/install");

QByteArray installationBytes(const QString &name)
{
    QFile source(kRoot + QLatin1Char('/') + name);
    if (!source.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Arquivo de instalação ausente: %1").arg(name));
    return source.readAll();
}

// Whether the file of the directory still holds what the installation put there.
bool asInstalled(const QDir &target, const QString &name)
{
    QFile file(target.filePath(name));
    return file.open(QIODevice::ReadOnly) && file.readAll() == installationBytes(name);
}

// The files without which the program does not start.
QStringList essentialFiles()
{
    return {files::kSettings, files::kDoctors, files::kTimetable, files::kPreparedLimit};
}

} // namespace

QStringList installationFiles()
{
    QStringList names;
    QDirIterator it(kRoot, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next().mid(kRoot.size() + 1);
    names.sort();
    return names;
}

QStringList installDataDirectory(const QString &dir)
{
    const QString shown = QDir::toNativeSeparators(QDir(dir).absolutePath());
    QDir target(dir);
    if (!privacy::makeFolder(dir))
        throw FileError(QStringLiteral("Não foi possível criar a pasta de dados %1.").arg(shown));
    const QFileInfo info(target.absolutePath());
    if (!info.isReadable() || !info.isExecutable())
        throw FileError(QStringLiteral("Não é possível ler a pasta de dados %1.").arg(shown));

    // What an interrupted write left is finished or cleared before anything is read.
    FileGroup::recover(target.absolutePath());

    QStringList missing;
    for (const QString &name : installationFiles()) {
        if (!target.exists(name))
            missing << name;
    }
    if (missing.isEmpty())
        return {};

    // A folder in use (its table exists, or a file differs from what the installation
    // put there) is never installed anew: a lost file is reported, not replaced.
    bool inUse = target.exists(files::kTable);
    for (const QString &name : installationFiles()) {
        if (inUse)
            break;
        inUse = !missing.contains(name) && !asInstalled(target, name);
    }
    if (inUse) {
        QStringList lost;
        for (const QString &name : essentialFiles()) {
            if (missing.contains(name))
                lost << name;
        }
        if (lost.isEmpty())
            return {};
        throw FileError(QStringLiteral("A pasta de dados %1 já está em uso, mas faltam nela os arquivos "
                                       "%2.\r\nO Clinora não pode funcionar sem eles e não os recria, "
                                       "para não apagar a clínica. Recupere-os da pasta Espelho ou de "
                                       "uma cópia de segurança. Nada foi alterado na pasta.")
                            .arg(shown, lost.join(QStringLiteral(", "))));
    }

    // A new folder, or an installation that never finished: the files it lacks are
    // written as one group, so that a crash leaves all of them or none.
    FileGroup group(target.absolutePath());
    for (const QString &name : std::as_const(missing))
        group.stageBytes(target.filePath(name), installationBytes(name));
    group.stageBytes(target.filePath(files::kTable), AppointmentTable::emptyTableBytes());
    group.commit();
    return missing;
}

} // namespace clinora
