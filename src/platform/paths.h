// Where the data lives: the data directory and the mapping of the drive letters
// that stored paths use (E:\Consultas\Espelho) to local directories.
#pragma once

#include <QString>

namespace clinora {

class Paths
{
public:
    // drivesRoot holds one directory per drive letter ("E" for E:).
    Paths(QString dataDir, QString drivesRoot);

    const QString &dataDir() const { return m_dataDir; }
    const QString &drivesRoot() const { return m_drivesRoot; }

    // A file of the data directory.
    QString file(const QString &name) const;

    // The local path of a stored path. C:\Consultas is the data directory, another
    // drive letter X: is drivesRoot/X, a relative path is relative to the data
    // directory, and a local absolute path stays as it is.
    QString local(const QString &stored) const;

    // The local directory of a drive letter.
    QString drive(QChar letter) const;

    static QString defaultDataDir();
    static QString defaultDrivesRoot();

private:
    QString m_dataDir;
    QString m_drivesRoot;
};

} // namespace clinora
