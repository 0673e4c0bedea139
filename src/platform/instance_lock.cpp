#include "platform/instance_lock.h"

#include <QDir>

namespace clinora {

InstanceLock::InstanceLock(const QString &dataDir) : m_dataDir(dataDir) {}

bool InstanceLock::acquire()
{
    m_lock = std::make_unique<QLockFile>(m_dataDir + QStringLiteral("/Clinora.lock"));
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone
    if (m_lock->tryLock(0))
        return true;
    const QString folder = QDir::toNativeSeparators(m_dataDir);
    if (m_lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, app;
        m_lock->getLockInfo(&pid, &host, &app);
        m_refusal = QStringLiteral("O Clinora já está aberto com a pasta de dados %1 "
                                   "(processo %2).\r\nUse o programa que já está aberto; "
                                   "este será encerrado sem alterar nada.")
                        .arg(folder)
                        .arg(pid);
    } else {
        m_refusal = QStringLiteral("Não foi possível reservar a pasta de dados %1 "
                                   "(sem permissão de gravação?).\r\nO programa será encerrado.")
                        .arg(folder);
    }
    return false;
}

} // namespace clinora
