#include "platform/file_group.h"

#include "platform/errors.h"
#include "platform/private_files.h"
#include "platform/text_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace clinora {

namespace {

const QString kSuffix = QStringLiteral(".novo~");

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void failed(const QString &path, const QString &reason)
{
    throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(shownPath(path), reason));
}

void writeSynced(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered, privacy::kFile))
        failed(path, file.errorString());
    const bool written = file.write(bytes) == bytes.size() && ::fsync(file.handle()) == 0;
    const QString reason =
        file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("disco cheio?");
    file.close();
    if (!written) {
        QFile::remove(path);
        failed(path, reason);
    }
}

void renameOver(const QString &from, const QString &to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        failed(to, QString::fromLocal8Bit(std::strerror(errno)));
}

// The renames of a directory reach the disk with the directory itself.
void syncDirectory(const QString &directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A target is listed relative to the directory when it lies inside it, so that a data
// folder copied elsewhere with a commit under way still finishes it.
QString listedPath(const QDir &directory, const QString &target)
{
    const QString absolute = QFileInfo(target).absoluteFilePath();
    const QString relative = directory.relativeFilePath(absolute);
    return relative.startsWith(QLatin1String("..")) ? absolute : relative;
}

} // namespace

FileGroup::FileGroup(QString directory) : m_directory(std::move(directory)) {}

void FileGroup::stageLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += textfile::encode(line);
        bytes += "\r\n";
    }
    stageBytes(path, bytes);
}

void FileGroup::stageBytes(const QString &path, const QByteArray &bytes)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (auto &[target, content] : m_files) {
        if (target == absolute) {
            content = bytes;
            return;
        }
    }
    m_files.emplace_back(absolute, bytes);
}

void FileGroup::stageCopy(const QString &source, const QString &destination)
{
    QFile file(source);
    if (!file.exists())
        throw FileError(QStringLiteral("Arquivo não encontrado: %1").arg(shownPath(source)));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Não foi possível ler o arquivo %1: %2")
                            .arg(shownPath(source), file.errorString()));
    stageBytes(destination, file.readAll());
}

void FileGroup::stageWritten(const QString &target)
{
    const QString absolute = QFileInfo(target).absoluteFilePath();
    if (!m_written.contains(absolute))
        m_written << absolute;
}

QString FileGroup::temporaryPath(const QString &target)
{
    return target + kSuffix;
}

QStringList FileGroup::targets() const
{
    QStringList names;
    for (const auto &file : m_files)
        names << file.first;
    return names + m_written;
}

QString FileGroup::listName()
{
    return QStringLiteral("Clinora.commit");
}

void FileGroup::commit()
{
    if (isEmpty())
        return;
    const QDir directory(m_directory);
    const QString list = directory.filePath(listName());
    const QStringList all = targets();
    QStringList written;
    for (const QString &target : m_written)
        written << target + kSuffix;
    // Folders the group brings, taken away again if it fails before it is decided.
    QStringList created;
    try {
        for (const QString &target : m_written) {
            if (!QFileInfo::exists(target + kSuffix))
                failed(target, QStringLiteral("a cópia preparada não existe"));
        }
        for (const auto &[target, bytes] : m_files) {
            // A group may bring its own folders (an installation's Foto).
            const QString parent = QFileInfo(target).absolutePath();
            if (!privacy::makeFolder(parent, &created))
                failed(target, QStringLiteral("não foi possível criar a pasta"));
            writeSynced(target + kSuffix, bytes);
            written << target + kSuffix;
        }
        QByteArray listed;
        for (const QString &target : all)
            listed += listedPath(directory, target).toUtf8() + '\n';
        writeSynced(list + kSuffix, listed);
        written << list + kSuffix;
        renameOver(list + kSuffix, list);
        m_decided = true;
    } catch (const FileError &) {
        for (const QString &temporary : std::as_const(written))
            QFile::remove(temporary);
        // Deepest first; a folder that is not empty stays.
        for (auto it = created.crbegin(); it != created.crend(); ++it)
            QDir().rmdir(*it);
        throw;
    }
    // From here on the group is decided: a failure is finished by the next start.
    QStringList directories;
    for (const QString &target : all) {
        renameOver(target + kSuffix, target);
        const QString parent = QFileInfo(target).absolutePath();
        if (!directories.contains(parent))
            directories << parent;
    }
    for (const QString &parent : std::as_const(directories))
        syncDirectory(parent);
    QFile::remove(list);
    syncDirectory(directory.absolutePath());
    m_files.clear();
    m_written.clear();
}

QStringList FileGroup::recover(const QString &directory)
{
    const QDir dir(directory);
    const QString list = dir.filePath(listName());
    QStringList completed;
    QFile listFile(list);
    if (listFile.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> entries = listFile.readAll().split('\n');
        listFile.close();
        for (const QByteArray &entry : entries) {
            if (entry.isEmpty())
                continue;
            const QString target = dir.absoluteFilePath(QString::fromUtf8(entry));
            if (QFileInfo::exists(target + kSuffix)) {
                renameOver(target + kSuffix, target);
                completed << target;
            }
        }
        syncDirectory(dir.absolutePath());
        QFile::remove(list);
    }
    // Whatever temporaries are left belong to writes that never took effect.
    // Their names are compared by hand: a name filter would compile a pattern at every start.
    QDirIterator it(dir.absolutePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(kSuffix, Qt::CaseInsensitive))
            QFile::remove(path);
    }
    return completed;
}

} // namespace clinora
