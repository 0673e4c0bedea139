#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace clinora {

Paths::Paths(QString dataDir, QString drivesRoot)
    : m_dataDir(QDir::cleanPath(QDir(dataDir).absolutePath())),
      m_drivesRoot(QDir::cleanPath(QDir(drivesRoot).absolutePath()))
{
}

QString Paths::file(const QString &name) const
{
    return m_dataDir + QLatin1Char('/') + name;
}

QString Paths::drive(QChar letter) const
{
    return m_drivesRoot + QLatin1Char('/') + letter.toUpper();
}

QString Paths::local(const QString &stored) const
{
    QString path = stored.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool hasDrive = path.size() >= 2 && path.at(1) == QLatin1Char(':')
                          && path.at(0).isLetter() && path.at(0).unicode() < 128;
    if (hasDrive) {
        const QChar letter = path.at(0).toUpper();
        QString rest = path.mid(2);
        while (rest.startsWith(QLatin1Char('/')))
            rest.remove(0, 1);
        const QString consultas = QStringLiteral("consultas");
        if (letter == QLatin1Char('C')
            && (rest.compare(consultas, Qt::CaseInsensitive) == 0
                || rest.section(QLatin1Char('/'), 0, 0).compare(consultas, Qt::CaseInsensitive) == 0)) {
            const QString inside = rest.section(QLatin1Char('/'), 1);
            return inside.isEmpty() ? m_dataDir : QDir::cleanPath(m_dataDir + QLatin1Char('/') + inside);
        }
        return QDir::cleanPath(drive(letter) + QLatin1Char('/') + rest);
    }
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return QDir::cleanPath(m_dataDir + QLatin1Char('/') + path);
}

QString Paths::defaultDataDir()
{
    return QDir::homePath() + QStringLiteral("/Consultas");
}

QString Paths::defaultDrivesRoot()
{
    return QDir::homePath() + QStringLiteral("/.local/share/Clinora/Drives");
}

} // namespace clinora
