#include "app/manual.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

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

bool runOpener(const QString &page, const std::function<void()> &failed)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    // It lives until the opener ends (a browser it starts may keep it waiting); the
    // program may end first, and the browser stays open.
    auto *process = new QProcess;
    auto told = std::make_shared<bool>(false);
    const auto end = [process, told, failed](bool ok) {
        if (!*told && !ok)
            failed();
        *told = true;
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::finished, process, [end](int code, QProcess::ExitStatus status) {
        end(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [end](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            end(false);
    });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(opener, {page});
    return true;
}

} // namespace clinora::manual
