#include "protection/synchronisation.h"

#include "app/context.h"
#include "app/session.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/private_files.h"
#include "platform/text_file.h"
#include "protection/mirror.h"

#include <QDir>
#include <QFileInfo>

namespace clinora::mirror {

namespace {

bool stampsAgree(const AppContext &context)
{
    const QString mirrorStamp = mirrorDirectory(context.settings, context.paths) + QLatin1Char('/')
                                + files::kMirrorStamp;
    try {
        return textfile::readFirstLine(context.file(files::kSystemStamp)) == textfile::readFirstLine(mirrorStamp);
    } catch (const FileError &) {
        return false;
    }
}

void switchOff(AppContext &context)
{
    stampSystem(context);
    context.settings.setMirroring(QStringLiteral("Sem"));
    context.saveSettings();
}

// Sets the new mirror directory and ends the program, which takes it up at the next
// start; the settings keep the status just saved.
LocationResult applyNewLocation(AppContext &context, const QString &location)
{
    const QString local = context.paths.local(location);
    if (!privacy::makeFolder(local))
        throw FileError(QStringLiteral("Não foi possível criar o diretório Espelho %1.")
                            .arg(QDir::toNativeSeparators(local)));
    context.settings.setMirrorDir(location);
    context.saveSettings();
    context.dialogs.information(
        QStringLiteral("     A Aplicação será encerrada para que o Programa \nreconheça o novo local do "
                       "\"espelhamento\".\n\n     --  Reinicie a Aplicação logo em seguida  --"));
    session::endApplication(context);
    return LocationResult::Ended;
}

} // namespace

void synchronise(AppContext &context, SyncChoice choice)
{
    switch (choice) {
    case SyncChoice::SwitchOff: switchOff(context); break;
    case SyncChoice::WriteSystem: writeSystem(context, true); break;
    case SyncChoice::RecoverSystem: recoverSystem(context, true); break;
    }
}

void closeSynchronisation(AppContext &context)
{
    if (context.ended || (context.settings.mirroringOn() && stampsAgree(context)))
        return;
    switchOff(context);
}

bool driveExists(const Paths &paths, const QString &drive)
{
    const QString d = drive.trimmed();
    if (d.isEmpty() || !d.at(0).isLetter() || d.at(0).unicode() > 127)
        return false;
    if (d.at(0).toUpper() == QLatin1Char('C'))
        return true;
    return QFileInfo(paths.drive(d.at(0))).isDir();
}

QStringList drives(const Paths &paths)
{
    QStringList found;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString drive = QString(QLatin1Char(letter)) + QLatin1Char(':');
        if (letter == 'C' || driveExists(paths, drive))
            found << drive;
    }
    return found;
}

QString locationOn(QChar drive)
{
    return QString(drive.toUpper()) + QStringLiteral(":\\Consultas\\Espelho");
}

LocationResult applyLocation(AppContext &context, const LocationChoice &choice)
{
    Settings &settings = context.settings;
    const bool driveChanged =
        choice.chosenLocation.left(1).compare(choice.shownDrive.left(1), Qt::CaseInsensitive) != 0;
    const QString checked = driveChanged ? choice.chosenLocation.left(2) : choice.shownDrive;
    if (!driveExists(context.paths, checked)) {
        context.dialogs.information(
            QStringLiteral("Operação não executada porque a mídia Espelho não está instalada."));
        settings.setMirroring(choice.wasOn ? QStringLiteral("Com") : QStringLiteral("Sem"));
        return LocationResult::MediaMissing;
    }
    if (choice.wasOn && !choice.on) {
        switchOff(context);
    } else if (choice.wasOn && choice.on && driveChanged) {
        stampSystem(context);
        return applyNewLocation(context, choice.chosenLocation);
    } else if (!choice.wasOn && choice.on) {
        settings.setMirroring(QStringLiteral("Com"));
        stampSystem(context);
        context.saveSettings();
        if (driveChanged)
            return applyNewLocation(context, choice.chosenLocation);
        context.dialogs.information(QStringLiteral("As áreas Espelho e Sistema estão defasadas.\n    É "
                                                   "importante mantê-las sincronizadas. "));
    }
    return LocationResult::Applied;
}

CopiesStatus copiesStatus(AppContext &context)
{
    CopiesStatus status;
    const QString movements = context.file(files::kPendingMovements);
    if (QFileInfo::exists(movements) && textfile::lineCount(movements) > 300)
        context.dialogs.warning(QStringLiteral("Arquivo MovMes.Txt está muito Grande\r   Faça uma Cópia de "
                                               "segurança para esvaziá-lo"));
    if (context.settings.mirroringOn()) {
        const QString journal =
            mirrorDirectory(context.settings, context.paths) + QLatin1Char('/') + files::kJournal;
        status.journalCount = QFileInfo::exists(journal) ? textfile::lineCount(journal) : 0;
        context.journalSize = status.journalCount;
        if (status.journalCount > 300)
            context.dialogs.warning(QStringLiteral("Arquivo ArqMovA.Txt está muito Grande\r   Faça uma Cópia "
                                                   "de segurança para esvaziá-lo"));
    }
    const QString mark = context.file(files::kCurrencyMark);
    if (QFileInfo::exists(mark) && textfile::readFirstLine(mark) == QLatin1String("Sim")) {
        context.mirrorNotCurrent = true;
        context.dialogs.warning(QStringLiteral("                   Aviso! \rA cópia Espelho não está "
                                               "atualizada\rÉ recomendável fazê-la urgentemente."));
    }
    status.notCurrent = context.mirrorNotCurrent;
    return status;
}

} // namespace clinora::mirror
