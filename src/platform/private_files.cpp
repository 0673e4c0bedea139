#include "platform/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace clinora::privacy {

void restrictNewFiles()
{
    ::umask(077);
}

bool makeFolder(const QString &path, QStringList *created)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return true;
    // The missing folders from the top down, each made for its owner alone.
    QStringList missing;
    for (QString p = absolute; !p.isEmpty() && !QFileInfo::exists(p); p = QFileInfo(p).path()) {
        missing.prepend(p);
        if (QFileInfo(p).path() == p)
            break;
    }
    for (const QString &p : std::as_const(missing)) {
        if (QDir().mkdir(p, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
            if (created)
                *created << p;
        } else if (!QFileInfo(p).isDir()) {
            return false;
        }
    }
    return QFileInfo(absolute).isDir();
}

QString exposure(const QString &dataDir)
{
    const QFileInfo folder(dataDir);
    if (!folder.isDir())
        return {};
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    if (!(folder.permissions() & others))
        return {};
    const QString shown = QDir::toNativeSeparators(folder.absoluteFilePath());
    return QStringLiteral(
               "A pasta de dados %1 pode ser aberta por outros usuários deste computador, e nela "
               "estão os nomes e os telefones dos pacientes.\r\n\r\nPara que só o seu usuário a "
               "abra, feche o Clinora e execute num terminal:\r\n\r\n    chmod -R go= \"%1\"\r\n\r\n"
               "Depois abra o Clinora de novo.")
        .arg(shown);
}

} // namespace clinora::privacy
