#include "protection/local_backup.h"

#include "protection/mirror_link.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/sqlite.h"
#include "platform/table_replacement.h"
#include "platform/text_file.h"
#include "protection/file_checks.h"
#include "protection/mirror.h"
#include "protection/replay.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace clinora::backup {

QString copyName(const QString &name)
{
    return QStringLiteral("Copia") + name;
}

void writeLocalBackup(MirroredClinic &context)
{
    const QString workTable = context.file(files::kWorkTable);
    FileGroup group(context.paths.dataDir());
    // DataAnt.Txt takes the limit of this backup, and so does its copy: a restore, whose
    // replay puts DataAnt.Txt back over DataIniFim.Txt, then returns to this limit and
    // not to an older one.
    for (const QString &name : mirror::fullCopyFiles()) {
        const QString source = name == files::kPreparedLimitCopy ? files::kPreparedLimit : name;
        group.stageCopy(context.file(source), context.file(copyName(name)));
    }
    group.stageCopy(context.file(files::kPreparedLimit), context.file(files::kPreparedLimitCopy));
    group.stageBytes(context.file(files::kRunJournal), {});
    TableReplacement replacement(group, workTable);
    mirror::stageTableCopy(context.DMMedicos, replacement);
    replacement.commit([&context] { context.DMMedicos.closeWorkTable(); });
}

QStringList localBackupProblems(MirroredClinic &context)
{
    QStringList missing;
    for (const QString &name : mirror::fullCopyFiles()) {
        if (!QFileInfo(context.file(copyName(name))).isFile())
            missing << copyName(name);
    }
    QStringList problems;
    if (!missing.isEmpty())
        problems << QStringLiteral("faltam os arquivos %1").arg(missing.join(QStringLiteral(", ")));
    // Each copy is read as the program reads its file: a damaged one is never restored.
    QList<std::pair<QString, QString>> copies;
    for (const QString &name : mirror::fullCopyFiles()) {
        // DataIniFim.Txt comes back from the copy of DataAnt.Txt.
        if (!missing.contains(copyName(name)) && name != files::kPreparedLimit)
            copies.append({name, context.file(copyName(name))});
    }
    problems << protection::damagedCopies(copies);
    try {
        sql::Database db = sql::Database::openReadOnly(context.file(files::kWorkTable));
        sql::Statement check = db.prepare(QStringLiteral("PRAGMA quick_check"));
        if (!check.step() || check.text(0) != QLatin1String("ok"))
            throw StoreError(check.text(0));
        db.prepare(QStringLiteral("SELECT Data, Hora, Medico, Paciente FROM Medicos LIMIT 0")).step();
    } catch (const StoreError &e) {
        problems << QStringLiteral("a tabela %1 não pode ser lida (%2)").arg(QString(files::kWorkTable), e.message());
    }
    return problems;
}

bool restoreLocalBackup(MirroredClinic &context)
{
    const QStringList problems = localBackupProblems(context);
    if (!problems.isEmpty()) {
        context.dialogs.warning(QStringLiteral("A cópia de segurança do disco rígido não pode ser usada; "
                                               "nada foi alterado:\r\n\r\n- %1")
                                    .arg(problems.join(QStringLiteral("\r\n- "))));
        return false;
    }
    if (!context.dialogs.question(QStringLiteral("Os dados do Sistema serão substituídos pela cópia de "
                                                 "segurança do disco rígido.\n\n"
                                                 "                          Você está pronto?")))
        return false;
    // The journal is read before anything changes; it is the run journal as backed up.
    const QString journalPath = context.file(copyName(files::kRunJournal));
    const QStringList journal = textfile::readLines(journalPath);
    const QString table = context.file(files::kTable);
    context.DMMedicos.TMedicos.close();
    context.DMMedicos.QMedicos.close();
    context.DMMedicos.QMedicos2.close();
    context.DMMedicos.closeWorkTable();
    // The replay's progress is blanked however the restore ends.
    const auto blank = qScopeGuard([&context] {
        if (context.showProgress)
            context.showProgress(QString(), QString());
    });
    FileGroup group(context.paths.dataDir());
    TableReplacement replacement(group, table);
    const ReplayResult replayed = mirror::stageReplayedTable(replacement, context.file(files::kWorkTable), journal,
                                                             replayProgress(context, journalPath));
    try {
        for (const QString &name : mirror::fullCopyFiles()) {
            // The replay puts back the limit saved with the backup.
            const QString source = name == files::kPreparedLimit ? copyName(files::kPreparedLimitCopy) : copyName(name);
            group.stageCopy(context.file(source), context.file(name));
        }
    } catch (const Error &) {
        context.DMMedicos.open();
        throw;
    }
    replacement.commit([&context] { context.DMMedicos.close(); }, [&context] { context.DMMedicos.open(); });
    context.DMMedicos.open();
    // What the run holds in memory follows the restored files; mirroring stays as it is
    // for this run.
    const QString mirroring = context.settings.mirroring();
    context.settings.load(context.file(files::kSettings));
    context.settings.setMirroring(mirroring);
    const QString prefix = context.paths.dataDir() + QLatin1Char('/');
    context.doctors.load(prefix);
    context.specialties.load(prefix);
    context.situations.load(prefix);
    context.journal.discard();
    if (!replayed.skipped.isEmpty())
        context.dialogs.warning(skippedLinesMessage(journalPath, replayed.skipped));
    return true;
}

} // namespace clinora::backup
