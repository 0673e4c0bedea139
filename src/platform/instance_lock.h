// Refuses a second running program on the same data directory, so that two programs
// never overwrite each other's files.
#pragma once

#include <QString>

namespace clinora {

class InstanceLock
{
public:
    // A relative directory is taken from the working directory of this moment.
    explicit InstanceLock(const QString &dataDir);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;
    // True when this program now owns the data directory.
    bool acquire();
    // Gives the data directory up before the program ends.
    void release();
    // Why acquire() failed, for the user.
    QString refusal() const { return m_refusal; }
    // The lock file inside the data directory.
    QString lockFile() const;

private:
    QString m_dataDir;
    int m_fd = -1;
    QString m_refusal;
};

} // namespace clinora
