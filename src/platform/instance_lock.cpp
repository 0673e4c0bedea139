#include "platform/instance_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>

namespace clinora {

namespace {
// Below this the disk is full for the program: a table's page, a text file's rewrite.
constexpr qint64 kRoomNeeded = 64 * 1024;
} // namespace

InstanceLock::InstanceLock(const QString &dataDir)
    // Resolved once: the program changes its working directory after taking the lock,
    // and the lock must still be found to be released.
    : m_dataDir(QDir::cleanPath(QFileInfo(dataDir).absoluteFilePath()))
{
}

QString InstanceLock::lockFile() const
{
    return m_dataDir + QStringLiteral("/Clinora.lock");
}

bool InstanceLock::acquire()
{
    m_lock = std::make_unique<QLockFile>(lockFile());
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone
    if (m_lock->tryLock(0))
        return true;
    const QString folder = QDir::toNativeSeparators(m_dataDir);
    if (m_lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, app;
        m_lock->getLockInfo(&pid, &host, &app);
        if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
            // Whether a program on another workstation is still running cannot be
            // told from here: the user decides, knowing which file to remove.
            m_refusal = QStringLiteral("O Clinora está aberto com a pasta de dados %1 na estação "
                                       "\"%2\" (processo %3).\r\nUse o programa daquela estação; este "
                                       "será encerrado sem alterar nada.\r\nSe o Clinora não está mais "
                                       "aberto lá, apague o arquivo %4 e abra o Clinora de novo.")
                            .arg(folder, host)
                            .arg(pid)
                            .arg(QDir::toNativeSeparators(lockFile()));
        } else {
            m_refusal = QStringLiteral("O Clinora já está aberto com a pasta de dados %1 "
                                       "(processo %2).\r\nUse o programa que já está aberto; "
                                       "este será encerrado sem alterar nada.")
                            .arg(folder)
                            .arg(pid);
        }
    } else if (m_lock->error() == QLockFile::PermissionError) {
        m_refusal = QStringLiteral("Não foi possível reservar a pasta de dados %1: "
                                   "sem permissão de gravação nela.\r\nO programa será encerrado.")
                        .arg(folder);
    } else {
        // The lock's few bytes could not be written: a full disk, most of the time.
        const QStorageInfo disk(m_dataDir);
        const bool full = disk.isValid() && disk.bytesAvailable() < kRoomNeeded;
        m_refusal = full ? QStringLiteral("Não foi possível reservar a pasta de dados %1: o disco %2 está "
                                          "cheio.\r\nLibere espaço nele e abra o Clinora de novo. O programa "
                                          "será encerrado.")
                               .arg(folder, QDir::toNativeSeparators(disk.rootPath()))
                         : QStringLiteral("Não foi possível reservar a pasta de dados %1: não foi possível "
                                          "gravar nela.\r\nO programa será encerrado.")
                               .arg(folder);
    }
    return false;
}

void InstanceLock::release()
{
    if (m_lock)
        m_lock->unlock();
}

} // namespace clinora
