#include "platform/table_replacement.h"

#include "platform/errors.h"
#include "platform/file_group.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace clinora {

namespace {

const QString kRollbackJournal = QStringLiteral("-journal");

void clear(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + kRollbackJournal);
}

// The first bytes of every database file the engine writes.
bool isDatabaseFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

} // namespace

TableReplacement::TableReplacement(FileGroup &group, QString target)
    : m_group(group), m_target(std::move(target)), m_staged(FileGroup::temporaryPath(m_target))
{
}

TableReplacement::~TableReplacement()
{
    if (!m_committed)
        clear(m_staged);
}

void TableReplacement::stage(const std::function<void(const QString &path)> &write)
{
    clear(m_staged);
    try {
        write(m_staged);
    } catch (...) {
        clear(m_staged);
        throw;
    }
    const auto refused = [this](const char *reason) {
        clear(m_staged);
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                            .arg(QDir::toNativeSeparators(QFileInfo(m_target).absoluteFilePath()),
                                 QString::fromUtf8(reason)));
    };
    if (!QFileInfo(m_staged).isFile())
        refused("a cópia preparada não existe");
    if (!isDatabaseFile(m_staged))
        refused("a cópia preparada não é uma tabela");
    m_group.stageWritten(m_target);
}

void TableReplacement::commit(const std::function<void()> &release, const std::function<void()> &reopen)
{
    bool released = false;
    try {
        if (release) {
            released = true;
            release();
        }
        QFile::remove(m_target + kRollbackJournal);
        m_group.commit();
    } catch (...) {
        // Once the group is decided the next start renames the staged copy into place;
        // before that the destructor takes it away.
        if (m_group.isDecided())
            m_committed = true;
        if (released && reopen)
            reopen();
        throw;
    }
    m_committed = true;
}

} // namespace clinora
