#include "protection/mirror.h"

#include "protection/mirror_link.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/private_files.h"
#include "platform/sqlite.h"
#include "platform/table_replacement.h"
#include "platform/text_file.h"
#include "protection/file_checks.h"
#include "protection/replay.h"
#include "protection/synchronisation.h"
#include "store/journal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace clinora {

namespace mirror {

const QString kMediaMissing =
    QStringLiteral("A mídia Espelho não está instalada. O espelhamento foi desativado");

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString directory(const MirroredClinic &context)
{
    return mirrorDirectory(context.settings, context.paths);
}

QString inMirror(const MirroredClinic &context, const QString &name)
{
    return directory(context) + QLatin1Char('/') + name;
}

void progress(MirroredClinic &context, const QString &first, const QString &second)
{
    if (context.showProgress)
        context.showProgress(first, second);
}

// Blanks the two texts however the operation ends.
struct ProgressShown
{
    ProgressShown(MirroredClinic &c, const QString &first, const QString &second) : context(c)
    {
        progress(context, first, second);
    }
    ~ProgressShown() { progress(context, QString(), QString()); }
    MirroredClinic &context;
};

// The line of the recovery question about the changes made after the table copy: how
// many, and when the last one was written, so that the receptionist knows how recent
// the recovered data will be.
QString journalSummary(const QStringList &lines)
{
    int changes = 0;
    QString last;
    for (const QString &line : lines) {
        const std::optional<journal::Record> record = journal::parse(line);
        if (!record || (record->op != QLatin1Char('I') && record->op != QLatin1Char('E')))
            continue;
        ++changes;
        if (QDateTime::fromString(record->stamp, QStringLiteral("dd/MM/yyyy HH:mm")).isValid())
            last = record->stamp;
    }
    if (changes == 0)
        return QStringLiteral("  Diário:  nenhuma alteração depois da cópia");
    QString text = QStringLiteral("  Diário:  %1 linha(s) de alterações depois da cópia").arg(changes);
    if (!last.isEmpty())
        text += QStringLiteral(", a última em %1 às %2").arg(last.left(10), last.mid(11, 5));
    return text;
}

} // namespace

void stageTableCopy(TDMMedicos &data, TableReplacement &replacement)
{
    AppointmentTable &table = data.table();
    if (!table.isOpen())
        data.open();
    replacement.stage([&](const QString &path) {
        try {
            table.database().backupTo(path);
        } catch (const Error &e) {
            throw FileError(
                QStringLiteral("Não foi possível gravar %1:\r\n%2").arg(shown(replacement.target()), e.message()));
        }
    });
}

ReplayResult stageReplayedTable(TableReplacement &replacement, const QString &source, const QStringList &journal,
                                const ReplayProgress &progress)
{
    ReplayResult result;
    replacement.stage([&](const QString &path) {
        sql::Database::openReadOnly(source).backupTo(path);
        AppointmentTable rebuilt;
        rebuilt.open(path, false);
        result = applyJournal(rebuilt, journal, progress);
    });
    return result;
}

const QStringList &fullCopyFiles()
{
    static const QStringList names = {
        files::kWeeklyCounts,  files::kClosedDates,       files::kDoctors,          files::kDoctorNames,
        files::kPreparedLimitCopy, files::kPreparedLimit, files::kHeadings,         files::kSpecialties,
        files::kPendingMovements,  files::kHistory,       files::kSpecialtyMonths,  files::kDoctorMonths,
        files::kSituationMonths,   files::kRunJournal,    files::kJournal,          files::kCurrencyMark,
        files::kSituations,        files::kWeeks,         files::kYearMark,         files::kSettings,
        files::kTimetable};
    return names;
}

bool mediaPresent(const MirroredClinic &context)
{
    const QString stored = context.settings.mirrorDir().trimmed();
    if (stored.isEmpty())
        return false;
    const bool hasDrive = stored.size() >= 2 && stored.at(1) == QLatin1Char(':') && stored.at(0).isLetter();
    if (hasDrive && stored.at(0).toUpper() != QLatin1Char('C'))
        return QFileInfo(context.paths.drive(stored.at(0))).isDir();
    return QFileInfo(QFileInfo(directory(context)).absolutePath()).isDir();
}

QString newStamp(const MirroredClinic &context)
{
    return localDateTimeText(context.clock);
}

void stampSystem(MirroredClinic &context)
{
    textfile::writeOneLine(context.file(files::kSystemStamp), newStamp(context));
}

bool isRealStamp(const QString &stamp)
{
    return QDateTime::fromString(stamp, QStringLiteral("dd/MM/yyyy HH:mm:ss")).isValid();
}

Check checkStamps(MirroredClinic &context)
{
    if (!context.settings.mirroringOn())
        return Check::Off;
    const QString mirrorStamp = inMirror(context, files::kMirrorStamp);
    if (!mediaPresent(context)) {
        context.settings.setMirroring(QStringLiteral("Sem"));
        context.dialogs.information(kMediaMissing);
        return Check::MediaMissing;
    }
    // A drive that is there without the mirror folder is a new mirror: the
    // synchronisation's "Gravar" makes the folder and fills it.
    if (!QFileInfo(directory(context)).isDir())
        return Check::OutOfStep;
    // A stamp file that is missing or unreadable never equals the other one.
    QString system;
    QString mirror;
    try {
        system = textfile::readFirstLine(context.file(files::kSystemStamp));
        mirror = textfile::readFirstLine(mirrorStamp);
    } catch (const FileError &) {
        return Check::OutOfStep;
    }
    return system == mirror ? Check::InStep : Check::OutOfStep;
}

void switchOffAfterFailure(MirroredClinic &context, const QString &reason)
{
    context.settings.setMirroring(QStringLiteral("Sem"));
    context.mirrorNotCurrent = true;
    context.dialogs.warning(QStringLiteral("A cópia no Espelho falhou:\r\n%1\r\n\r\nO Sistema foi gravado "
                                           "normalmente; o espelhamento foi desativado e o Espelho "
                                           "não está atualizado.")
                                .arg(reason));
    context.saveSettings();
    textfile::writeOneLine(context.file(files::kCurrencyMark), QStringLiteral("Sim"));
}

void copy(MirroredClinic &context, const QString &source, const QString &destinationName)
{
    copyTogether(context, QList<std::pair<QString, QString>>{{source, destinationName}});
}

void copy(MirroredClinic &context, const QString &fileName)
{
    copy(context, fileName, fileName);
}

void copyTogether(MirroredClinic &context, const QList<std::pair<QString, QString>> &files)
{
    if (files.isEmpty() || context.settings.mirrorDir().trimmed().isEmpty()
        || context.settings.mirroring() == QLatin1String("Sem"))
        return;
    try {
        if (!mediaPresent(context) || !QFileInfo(directory(context)).isDir())
            throw FileError(QStringLiteral("O diretório Espelho %1 não existe.").arg(shown(directory(context))));
        if (files.size() == 1) {
            mirrorCopy(context.settings, context.paths, files.first().first, files.first().second);
            return;
        }
        FileGroup group(directory(context));
        for (const auto &[source, destinationName] : files)
            group.stageCopy(context.file(source), inMirror(context, destinationName));
        group.commit();
    } catch (const FileError &e) {
        switchOffAfterFailure(context, e.message());
    }
}

void copyTogether(MirroredClinic &context, const QStringList &fileNames)
{
    QList<std::pair<QString, QString>> files;
    for (const QString &name : fileNames)
        files.append({name, name});
    copyTogether(context, files);
}

bool writeSystem(MirroredClinic &context, bool ask)
{
    const QString mirror = directory(context);
    if (!mediaPresent(context)) {
        context.dialogs.information(QStringLiteral("Operação não executada porque a mídia Espelho não "
                                                   "está instalada."));
        return false;
    }
    if (!privacy::makeFolder(mirror))
        throw FileError(QStringLiteral("Não foi possível criar o diretório Espelho %1.").arg(shown(mirror)));
    if (ask
        && !context.dialogs.question(
            QStringLiteral("        A cópia será realizada sobre    ") + context.settings.mirrorDir()
            + QStringLiteral("\n") + QStringLiteral("Para usar outro local, utilize a opção abaixo:")
            + QStringLiteral("\n")
            + QStringLiteral("\"Espelhamento + Definir o local e Status do Espelhamento\".")
            + QStringLiteral("\n\n") + QStringLiteral("                          Você está pronto?")))
        return false;
    // A data folder just lost and installed anew must not overwrite the only good copy
    // without a second, explicit yes.
    if (ask && !confirmOverwrite(context))
        return false;
    if (!context.settings.mirroringOn())
        return false;

    const ProgressShown shownProgress(context, QStringLiteral("Aguarde ... "),
                                      QStringLiteral("Gravando a cópia do Banco de Dados"));
    const QString stamp = newStamp(context);
    const QString table = mirror + QLatin1Char('/') + files::kMirrorTable;
    try {
        // Everything is staged first; the group's commit list then marks the mirror as
        // being written until every file is in place, and a start after a crash
        // finishes the renames. Before the list the previous mirror is untouched.
        FileGroup group(mirror);
        for (const QString &name : fullCopyFiles()) {
            const QString target = mirror + QLatin1Char('/') + name;
            if (name == files::kJournal)
                group.stageBytes(target, {});
            else if (name == files::kCurrencyMark)
                group.stageLines(target, {QStringLiteral("Nao")});
            else
                group.stageCopy(context.file(name), target);
        }
        group.stageLines(mirror + QLatin1Char('/') + files::kMirrorStamp, {stamp});
        TableReplacement replacement(group, table);
        stageTableCopy(context.DMMedicos, replacement);
        replacement.commit();
    } catch (const FileError &e) {
        throw FileError(QStringLiteral("A gravação do Espelho não foi concluída; o Espelho anterior "
                                       "continua como estava.\r\n%1")
                            .arg(e.message()));
    }
    // The system's side: its stamp last, so that a failure here only asks for another
    // synchronisation.
    // (Files already as they should be are not rewritten: each write costs a sync.)
    if (QFileInfo(context.file(files::kJournal)).size() > 0)
        textfile::writeLines(context.file(files::kJournal), {});
    const QString mark = context.file(files::kCurrencyMark);
    if (!QFileInfo::exists(mark) || textfile::readLines(mark) != QStringList{QStringLiteral("Nao")})
        textfile::writeOneLine(mark, QStringLiteral("Nao"));
    textfile::writeOneLine(context.file(files::kSystemStamp), stamp);
    context.mirrorNotCurrent = false;
    // The buffered lines are changes the new table copy holds already.
    context.journal.discard();
    return true;
}

QStringList recoveryProblems(MirroredClinic &context)
{
    const QString mirror = directory(context);
    FileGroup::recover(mirror);
    QStringList problems;
    if (QFileInfo::exists(mirror + QLatin1Char('/') + FileGroup::listName()))
        problems << QStringLiteral("a última gravação do Espelho não foi concluída");
    QStringList missing;
    for (const QString &name : fullCopyFiles()) {
        if (!QFileInfo(mirror + QLatin1Char('/') + name).isFile())
            missing << name;
    }
    if (!missing.isEmpty())
        problems << QStringLiteral("faltam os arquivos %1").arg(missing.join(QStringLiteral(", ")));
    // Every copy the recovery brings back is read first, as the program reads it: a
    // damaged one would replace a sound file, and the next start would fail on it.
    QList<std::pair<QString, QString>> copies;
    for (const QString &name : fullCopyFiles()) {
        // The run journal comes back empty and the limit from DataAnt.Txt: neither copy is used.
        if (missing.contains(name) || name == files::kRunJournal || name == files::kPreparedLimit)
            continue;
        copies.append({name, mirror + QLatin1Char('/') + name});
    }
    problems << protection::damagedCopies(copies);
    const QString stampFile = mirror + QLatin1Char('/') + files::kMirrorStamp;
    if (!QFileInfo(stampFile).isFile()) {
        problems << QStringLiteral("falta o arquivo %1").arg(QString(files::kMirrorStamp));
    } else {
        const QString stamp = textfile::readFirstLine(stampFile);
        if (!isRealStamp(stamp))
            problems << QStringLiteral("o Espelho nunca foi gravado (%1 contém \"%2\")")
                            .arg(QString(files::kMirrorStamp), stamp);
    }
    const QString table = mirror + QLatin1Char('/') + files::kMirrorTable;
    try {
        sql::Database db = sql::Database::openReadOnly(table);
        sql::Statement check = db.prepare(QStringLiteral("PRAGMA quick_check"));
        if (!check.step() || check.text(0) != QLatin1String("ok"))
            throw StoreError(check.text(0));
        db.prepare(QStringLiteral("SELECT Data, Hora, Medico, Paciente, Telefone, Situacao, "
                                  "Observacoes FROM Medicos LIMIT 0"))
            .step();
    } catch (const StoreError &e) {
        problems << QStringLiteral("a tabela %1 não pode ser lida (%2)").arg(QString(files::kMirrorTable), e.message());
    }
    return problems;
}

bool recoverSystem(MirroredClinic &context, bool ask)
{
    const QString mirror = directory(context);
    if (mirror.isEmpty() || !QFileInfo(mirror).isDir()) {
        context.dialogs.information(QStringLiteral("Impossível recuperar dados.\nO diretório ")
                                    + context.settings.mirrorDir() + QStringLiteral("não existe"));
        return false;
    }
    const QStringList problems = recoveryProblems(context);
    if (!problems.isEmpty()) {
        context.dialogs.warning(QStringLiteral("O Espelho em %1 não pode ser usado para recuperar o "
                                               "Sistema; nada foi alterado:\r\n\r\n- %2")
                                    .arg(shown(mirror), problems.join(QStringLiteral("\r\n- "))));
        return false;
    }
    const QString stamp = textfile::readFirstLine(mirror + QLatin1Char('/') + files::kMirrorStamp);
    // The journal belongs to the mirror table, whatever the restored settings say.
    const QString journalPath = mirror + QLatin1Char('/') + files::kJournal;
    const QStringList journalLines = textfile::readLines(journalPath);
    if (ask
        && !context.dialogs.question(
            QStringLiteral("A cópia existente no espelho foi realizada nas seguintes condições:\n\n  Dia:     ")
            + stamp.mid(0, 10) + QStringLiteral("\n") + QStringLiteral("  Hora:    ") + stamp.mid(11, 5)
            + QStringLiteral(" horas ") + QStringLiteral("\n") + QStringLiteral("  Local:   ")
            + context.settings.mirrorDir() + QStringLiteral("\n") + journalSummary(journalLines)
            + QStringLiteral("\n\n")
            + QStringLiteral("Ao final do processo, o programa será desligado. Reinicie logo após")
            + QStringLiteral("\n\n") + QStringLiteral("                          Você está pronto?")))
        return false;

    const ProgressShown shownProgress(context, QStringLiteral("Aguarde ... "),
                                      QStringLiteral("Recuperando a cópia do Banco de Dados"));
    const QString table = context.file(files::kTable);
    ReplayResult replayed;
    try {
        // The new table is built beside the old one: the mirror table, then the journal
        // replayed on it in one transaction.
        FileGroup group(context.paths.dataDir());
        TableReplacement replacement(group, table);
        replayed = stageReplayedTable(replacement, mirror + QLatin1Char('/') + files::kMirrorTable, journalLines,
                                      replayProgress(context, journalPath));

        for (const QString &name : fullCopyFiles()) {
            const QString source = mirror + QLatin1Char('/') + name;
            if (name == files::kSettings) {
                // The program ends after the recovery with mirroring off, as every end does.
                QStringList lines = textfile::readLines(source);
                while (lines.size() < Settings::kLines)
                    lines << QString();
                lines[3] = QStringLiteral("Sem");
                group.stageLines(context.file(name), lines);
            } else if (name == files::kJournal) {
                // Its lines are in the rebuilt table now.
                group.stageBytes(context.file(name), {});
            } else if (name == files::kPreparedLimit) {
                // The replay puts back the limit saved with the table copy.
                group.stageCopy(mirror + QLatin1Char('/') + files::kPreparedLimitCopy, context.file(name));
            } else {
                group.stageCopy(source, context.file(name));
            }
        }
        group.stageLines(context.file(files::kSystemStamp), {stamp});
        replacement.commit([&context] { context.DMMedicos.close(); });
    } catch (const Error &e) {
        if (!context.DMMedicos.table().isOpen())
            context.DMMedicos.open();
        throw FileError(QStringLiteral("A recuperação não foi feita; os dados do Sistema continuam como "
                                       "estavam.\r\n%1")
                            .arg(e.message()));
    }
    textfile::writeOneLine(inMirror(context, files::kCurrencyMark), QStringLiteral("Nao"));
    context.settings.setMirroring(QStringLiteral("Sem"));
    context.journal.discard();
    if (!replayed.skipped.isEmpty())
        context.dialogs.warning(skippedLinesMessage(journalPath, replayed.skipped));
    context.dialogs.information(QStringLiteral("A Aplicação será encerrada para recuperar os dados.\r"
                                               "               Se desejar, reinicie em seguida"));
    if (context.endRun)
        context.endRun();
    return true;
}

} // namespace mirror

void takeMirrorSnapshot(MirroredClinic &context)
{
    context.dialogs.information(
        QStringLiteral("       Aguarde alguns instantes; o Sistema está realizando \na cópia do "
                       "Banco de Dados.\n\n       Para prosseguir, clicar em [ OK ]"));
    const QString dir = mirrorDirectory(context.settings, context.paths);
    const QString table = dir + QLatin1Char('/') + files::kMirrorTable;
    try {
        if (!mirror::mediaPresent(context) || !QFileInfo(dir).isDir())
            throw FileError(QStringLiteral("O diretório Espelho %1 não existe.").arg(QDir::toNativeSeparators(dir)));
        // The table copy and the emptied journal are replaced together: the mirror
        // journal always holds exactly the changes made after its table copy.
        FileGroup group(dir);
        group.stageBytes(dir + QLatin1Char('/') + files::kJournal, {});
        TableReplacement replacement(group, table);
        mirror::stageTableCopy(context.DMMedicos, replacement);
        replacement.commit();
        textfile::writeLines(context.file(files::kRunJournal), {});
    } catch (const FileError &e) {
        mirror::switchOffAfterFailure(context, e.message());
        return;
    }
    context.journal.discard();
}

} // namespace clinora
