#include "app/manual.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace clinora::manual {

QStringList candidates(const QString &programDir)
{
    const QString page = QStringLiteral("clinora/manual/index.html");
    QStringList places{QDir::cleanPath(programDir + QStringLiteral("/../share/") + page)};
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        places << QDir::cleanPath(data + QLatin1Char('/') + page);
    places << QStringLiteral(CLINORA_BUILD_MANUAL) << QStringLiteral(CLINORA_SOURCE_MANUAL);
    places.removeDuplicates();
    return places;
}

QString find(const QString &programDir)
{
    for (const QString &place : candidates(programDir)) {
        if (QFileInfo(place).isFile())
            return place;
    }
    return {};
}

} // namespace clinora::manual
