#include "core/installation.h"

#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace clinora {

namespace {

const QString kRoot = QStringLiteral(":/install");

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
    if (!target.exists() && !QDir().mkpath(dir))
        throw FileError(QStringLiteral("Não foi possível criar a pasta de dados %1.").arg(shown));
    const QFileInfo info(target.absolutePath());
    if (!info.isReadable() || !info.isExecutable())
        throw FileError(QStringLiteral("Não é possível ler a pasta de dados %1.").arg(shown));

    // An installation is recognised by its settings and register; an existing one is
    // never topped up, so that a lost file is reported instead of silently replaced.
    if (target.exists(files::kSettings) || target.exists(files::kDoctors))
        return {};

    QStringList written;
    for (const QString &name : installationFiles()) {
        const QString destination = target.filePath(name);
        if (QFileInfo::exists(destination))
            continue;
        QDir().mkpath(QFileInfo(destination).absolutePath());
        QFile source(kRoot + QLatin1Char('/') + name);
        if (!source.open(QIODevice::ReadOnly))
            throw FileError(QStringLiteral("Arquivo de instalação ausente: %1").arg(name));
        textfile::writeBytes(destination, source.readAll());
        written << name;
    }
    return written;
}

} // namespace clinora
