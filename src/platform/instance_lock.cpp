#include "platform/instance_lock.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace clinora {

namespace {
// Below this the disk is full for the program: a table's page, a text file's rewrite.
constexpr qint64 kRoomNeeded = 64 * 1024;

// Who holds the folder, as the lock file names it: the process, the program, the
// workstation, one per line.
struct Holder
{
    qint64 pid = 0;
    QString host;
};

Holder readHolder(int fd)
{
    char bytes[512];
    const ssize_t got = pread(fd, bytes, sizeof bytes, 0);
    Holder holder;
    if (got <= 0)
        return holder;
    const QList<QByteArray> lines = QByteArray(bytes, int(got)).split('\n');
    holder.pid = lines.value(0).trimmed().toLongLong();
    holder.host = QString::fromUtf8(lines.value(2).trimmed());
    return holder;
}

bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened
    {
    }, named{};
    return fstat(fd, &opened) == 0 && stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}
} // namespace

InstanceLock::InstanceLock(const QString &dataDir)
    // Resolved once: the program changes its working directory after taking the lock,
    // and the lock must still be found to be released.
    : m_dataDir(QDir::cleanPath(QFileInfo(dataDir).absoluteFilePath()))
{
}

InstanceLock::~InstanceLock()
{
    release();
}

QString InstanceLock::lockFile() const
{
    return m_dataDir + QStringLiteral("/Clinora.lock");
}

bool InstanceLock::acquire()
{
    release();
    const QString folder = QDir::toNativeSeparators(m_dataDir);
    const QByteArray path = QFile::encodeName(lockFile());
    const QString thisHost = QSysInfo::machineHostName();
    const auto alreadyOpen = [&](const Holder &holder) {
        if (!holder.host.isEmpty() && holder.host != thisHost) {
            // Whether a program on another workstation is still running cannot be
            // told from here: the user decides, knowing which file to remove.
            return QStringLiteral("O Clinora está aberto com a pasta de dados %1 na estação "
                                  "\"%2\" (processo %3).\r\nUse o programa daquela estação; este "
                                  "será encerrado sem alterar nada.\r\nSe o Clinora não está mais "
                                  "aberto lá, apague o arquivo %4 e abra o Clinora de novo.")
                .arg(folder, holder.host)
                .arg(holder.pid)
                .arg(QDir::toNativeSeparators(lockFile()));
        }
        return QStringLiteral("O Clinora já está aberto com a pasta de dados %1 "
                              "(processo %2).\r\nUse o programa que já está aberto; "
                              "este será encerrado sem alterar nada.")
            .arg(folder)
            .arg(holder.pid);
    };
    const auto notWritable = [&](int error) {
        if (error == EACCES || error == EPERM || error == EROFS)
            return QStringLiteral("Não foi possível reservar a pasta de dados %1: "
                                  "sem permissão de gravação nela.\r\nO programa será encerrado.")
                .arg(folder);
        // The lock's few bytes could not be written: a full disk, most of the time.
        const QStorageInfo disk(m_dataDir);
        const bool full = disk.isValid() && disk.bytesAvailable() < kRoomNeeded;
        return full ? QStringLiteral("Não foi possível reservar a pasta de dados %1: o disco %2 está "
                                     "cheio.\r\nLibere espaço nele e abra o Clinora de novo. O programa "
                                     "será encerrado.")
                          .arg(folder, QDir::toNativeSeparators(disk.rootPath()))
                    : QStringLiteral("Não foi possível reservar a pasta de dados %1: não foi possível "
                                     "gravar nela.\r\nO programa será encerrado.")
                          .arg(folder);
    };

    // The kernel's lock on the file says whether a program on this workstation holds
    // the folder: it goes with the program however the program ends, so a file left
    // behind by an ended program is simply taken over. The file's text names the
    // holder, for the message and for programs on other workstations of a shared folder.
    int fd = -1;
    bool created = false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        created = false;
        fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            created = fd >= 0;
            if (fd < 0 && errno == EEXIST)
                continue;
        }
        if (fd < 0)
            break;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            m_refusal = alreadyOpen(readHolder(fd));
            ::close(fd);
            return false;
        }
        // A program giving the folder up removed the file after this one opened it: the
        // lock is on a name no longer in the folder, so start again.
        if (sameFile(fd, path))
            break;
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) {
        m_refusal = notWritable(errno);
        return false;
    }
    const Holder holder = readHolder(fd);
    if (!holder.host.isEmpty() && holder.host != thisHost) {
        ::close(fd);
        m_refusal = alreadyOpen(holder);
        return false;
    }
    // Not synced to the disk: the text only names the holder, and the start does not
    // wait for it. A crash that loses it leaves a file the next start takes over.
    const QByteArray text = QByteArray::number(qint64(getpid())) + "\nclinora\n" + thisHost.toUtf8() + '\n';
    if (ftruncate(fd, 0) != 0 || pwrite(fd, text.constData(), size_t(text.size()), 0) != text.size()) {
        const int error = errno;
        if (created)
            ::unlink(path.constData());
        ::close(fd);
        m_refusal = notWritable(error);
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::release()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so that no other program takes over a file on its way out.
    ::unlink(QFile::encodeName(lockFile()).constData());
    ::close(m_fd);
    m_fd = -1;
}

} // namespace clinora
