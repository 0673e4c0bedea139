#include "protection/synchronisation.h"

#include "core/common.h"
#include "core/data_files.h"
#include "core/doctor_register.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/private_files.h"
#include "platform/sqlite.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "protection/mirror_link.h"

#include <QDir>
#include <QFileInfo>

namespace clinora::mirror {

namespace {

bool stampsAgree(const MirroredClinic &context)
{
    const QString mirrorStamp = mirrorDirectory(context.settings, context.paths) + QLatin1Char('/')
                                + files::kMirrorStamp;
    try {
        return textfile::readFirstLine(context.file(files::kSystemStamp)) == textfile::readFirstLine(mirrorStamp);
    } catch (const FileError &) {
        return false;
    }
}

void switchOff(MirroredClinic &context)
{
    stampSystem(context);
    context.settings.setMirroring(QStringLiteral("Sem"));
    context.saveSettings();
}

// Sets the new mirror directory and ends the program, which takes it up at the next
// start; the settings keep the status just saved.
LocationResult applyNewLocation(MirroredClinic &context, const QString &location)
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
    if (context.endRun)
        context.endRun();
    return LocationResult::Ended;
}

int tableRows(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return -1;
    try {
        sql::Database db = sql::Database::openReadOnly(path);
        sql::Statement count = db.prepare(QStringLiteral("SELECT COUNT(*) FROM Medicos"));
        return count.step() ? static_cast<int>(count.integer(0)) : -1;
    } catch (const StoreError &) {
        return -1;
    }
}

QDateTime lastChange(const QStringList &paths)
{
    QDateTime latest;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isFile() && (!latest.isValid() || info.lastModified() > latest))
            latest = info.lastModified();
    }
    return latest;
}

bool registersADoctor(const QString &doctorsFile)
{
    try {
        for (const QString &line : textfile::readLines(doctorsFile)) {
            if (!textfile::field(line, 2, 25).trimmed().isEmpty())
                return true;
        }
    } catch (const FileError &) {
    }
    return false;
}

QString appointments(int count)
{
    return count == 1 ? QStringLiteral("1 consulta") : QStringLiteral("%1 consultas").arg(count);
}

QString when(const QDateTime &moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("dd/MM/yyyy hh:mm")) : QStringLiteral("desconhecida");
}

QString describe(const SideSummary &side)
{
    return QStringLiteral("%1, última alteração em %2").arg(appointments(side.appointments), when(side.changed));
}

} // namespace

SyncOffer syncOffer(MirroredClinic &context)
{
    SyncOffer offer;
    const QString table = context.file(files::kTable);
    offer.system.appointments = qMax(0, tableRows(table));
    offer.system.changed = lastChange({table});
    for (int code = 1; code <= DoctorRegister::kDoctors && !offer.system.doctors; ++code)
        offer.system.doctors = !context.doctors.doctor(code).name.trimmed().isEmpty();
    offer.systemJustInstalled = offer.system.appointments == 0 && !offer.system.doctors;

    const QString mirror = mirrorDirectory(context.settings, context.paths);
    if (mirror.isEmpty() || !QFileInfo(mirror).isDir())
        return offer;
    const QString mirrorTable = mirror + QLatin1Char('/') + files::kMirrorTable;
    const QString journal = mirror + QLatin1Char('/') + files::kJournal;
    offer.mirror.appointments = tableRows(mirrorTable);
    if (offer.mirror.appointments < 0)
        return offer;
    // The journal's changes are the mirror's too: each insertion adds a row (a clash
    // sends it to the cancelled list), each deletion takes one away.
    try {
        int net = 0;
        for (const QString &line : textfile::readLines(journal)) {
            if (line.startsWith(QLatin1Char('I')))
                ++net;
            else if (line.startsWith(QLatin1Char('E')))
                --net;
        }
        offer.mirror.appointments = qMax(0, offer.mirror.appointments + net);
    } catch (const FileError &) {
    }
    offer.mirror.changed = lastChange({mirrorTable, journal});
    offer.mirror.doctors = registersADoctor(mirror + QLatin1Char('/') + files::kDoctors);
    offer.mirrorHoldsMore = offer.mirror.appointments > offer.system.appointments
                            || (offer.systemJustInstalled && offer.mirror.doctors);
    return offer;
}

QString offerWarning(const SyncOffer &offer)
{
    if (!offer.mirrorHoldsMore)
        return {};
    const QString why = offer.systemJustInstalled
                            ? QStringLiteral("Atenção: o Sistema acaba de ser instalado (nenhum médico e nenhuma "
                                             "consulta), e o Espelho guarda os dados de uma clínica.")
                            : QStringLiteral("Atenção: o Sistema tem menos consultas que o Espelho.");
    return why + QStringLiteral("\n    Sistema: ") + describe(offer.system) + QStringLiteral("\n    Espelho: ")
           + describe(offer.mirror)
           + QStringLiteral("\nSe os dados do Sistema foram perdidos, escolha \"Recuperar Sistema com o Espelho "
                            "(Sist <-- Esp)\"; \"Gravar Sistema sobre Espelho\" apagaria o que só o Espelho tem.");
}

bool confirmOverwrite(MirroredClinic &context)
{
    const SyncOffer offer = syncOffer(context);
    if (!offer.mirrorHoldsMore)
        return true;
    const bool doctors = offer.systemJustInstalled && offer.mirror.doctors;
    const QString lost = appointments(offer.mirror.appointments)
                         + (doctors ? QStringLiteral(" e o cadastro de médicos") : QString());
    return context.dialogs.questionDefaultNo(
        QStringLiteral("ATENÇÃO: o Espelho em %1 tem %2 (última alteração em %3); o Sistema tem %4 "
                       "(última alteração em %5).\n\nGravar o Sistema sobre o Espelho apaga do Espelho %6; "
                       "isso não poderá ser desfeito.\n\nSe os dados do Sistema foram perdidos, "
                       "responda Não e escolha \"Recuperar Sistema com o Espelho (Sist <-- Esp)\".\n\n"
                       "Gravar o Sistema sobre o Espelho e perder %6?")
            .arg(context.settings.mirrorDir(), appointments(offer.mirror.appointments), when(offer.mirror.changed),
                 appointments(offer.system.appointments), when(offer.system.changed), lost));
}

void synchronise(MirroredClinic &context, SyncChoice choice)
{
    switch (choice) {
    case SyncChoice::SwitchOff: switchOff(context); break;
    case SyncChoice::WriteSystem: writeSystem(context, true); break;
    case SyncChoice::RecoverSystem: recoverSystem(context, true); break;
    }
}

void closeSynchronisation(MirroredClinic &context)
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

LocationResult applyLocation(MirroredClinic &context, const LocationChoice &choice)
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

CopiesStatus copiesStatus(MirroredClinic &context)
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
        status.journalCounted = true;
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
