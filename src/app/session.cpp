#include "app/session.h"

#include "agenda/purge.h"
#include "app/context.h"
#include "app/old_tables.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/private_files.h"
#include "platform/text_file.h"
#include "platform/user_action.h"
#include "protection/mirror.h"
#include "statistics/automatic_entry.h"
#include "statistics/scheduled_removal.h"
#include "statistics/weeks.h"
#include "store/paradox_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace clinora::session {

QStringList startUp(AppContext &context)
{
    // Before anything is read: a group of files whose commit a crash cut short is
    // finished, so that the automatic entry never counts a day twice.
    FileGroup::recover(context.paths.dataDir());
    QDir::setCurrent(context.paths.dataDir());
    const QStringList problems = context.doctors.load(context.paths.dataDir() + QLatin1Char('/'));
    context.days.build();
    return problems;
}

namespace {

// Mirroring off for this run, because the mirror cannot be used; the data folder is not
// touched.
void mirrorUnusable(AppContext &context, const QString &message, bool warn = false)
{
    if (warn)
        context.dialogs.warning(message);
    else
        context.dialogs.information(message);
    context.settings.setMirroring(QStringLiteral("Sem"));
}

void checkMirror(AppContext &context)
{
    Settings &s = context.settings;
    const QString mirror = mirrorDirectory(s, context.paths);
    const bool folder = !mirror.isEmpty() && QFileInfo(mirror).isDir();
    // As in the data folder, whether mirroring is on or off: a write into the mirror cut
    // short by a crash (a full write, a snapshot, a recovery's mark) is finished, and
    // what it left half-written is cleared, before anything reads the mirror.
    if (folder) {
        try {
            FileGroup::recover(mirror);
        } catch (const FileError &e) {
            if (s.mirroringOn())
                mirrorUnusable(context, QStringLiteral("A gravação interrompida no Espelho não pôde ser "
                                                       "concluída:\r\n%1\r\n\r\nO espelhamento foi "
                                                       "desativado; os dados do Sistema não foram "
                                                       "alterados.")
                                            .arg(e.message()),
                               true);
            return;
        }
    }
    if (!s.mirroringOn())
        return;
    // A drive that is there without the mirror folder is a new mirror: the first guarded
    // screen asks to synchronise, and its "Gravar" makes the folder.
    if (mirror.isEmpty() || !mirror::mediaPresent(context))
        mirrorUnusable(context, mirror::kMediaMissing);
}

void readStamps(AppContext &context)
{
    if (!context.settings.mirroringOn())
        return;
    const QString mirror = mirrorDirectory(context.settings, context.paths);
    const QString mirrorStamp = mirror + QLatin1Char('/') + files::kMirrorStamp;
    if (QFileInfo(mirror).isDir() && !QFileInfo::exists(mirrorStamp))
        textfile::writeOneLine(mirrorStamp, QStringLiteral("1155"));
}

bool isFirstRun(const Settings &s)
{
    return s.yearState() == QLatin1String("A2000");
}

void firstRun(AppContext &context)
{
    Settings &s = context.settings;
    if (!isFirstRun(s))
        return;
    const QDate today = context.clock.today();
    // The file gets the delivered defaults; the running program keeps what it read.
    Settings written = s;
    written.setLastProcessed(dates::format(today.addDays(-1)));
    written.setYearState(QLatin1Char('A') + QString::number(today.year()));
    written.setAutomaticEntry(QStringLiteral("Nao"));
    written.setMirroring(QStringLiteral("Sem"));
    written.setClinicName(kDefaultClinic);
    // The settings lose the first-run mark together with the week calendar's arrival:
    // a crash before leaves the mark, and the step runs again at the next start.
    FileGroup group(context.paths.dataDir());
    group.stageLines(context.file(files::kSettings), written.lines());
    group.stageLines(context.file(files::kWeeks), weeksOfYear(today.year()));
    group.commit();
    s.setLastProcessed(written.lastProcessed());
    s.setYearState(written.yearState());
}

// Where the program's own recovery is: it brings back the mirror's table copy and
// applies the changes made after it, which a copy made by hand would lose.
const QString kRecoveryPath = QStringLiteral(
    "Manutenção › Espelhamento › Recuperar Sistema com o Espelho (Sist <-- Esp) (se o item estiver "
    "desativado, ative antes o espelhamento em Manutenção › Espelhamento › Definir Local e Status)");

// A damaged table in a folder in use: kept aside under another name, never written,
// and the program opens on an empty table so that the recovery menu can be reached.
bool setAsideDamagedTable(AppContext &context, const QString &path, const QString &why)
{
    const QString aside = path + QStringLiteral(".danificado");
    if (!context.dialogs.questionDefaultNo(
            why
            + QStringLiteral("\r\n\r\nNão copie a tabela da pasta Espelho por cima dele: a cópia de lá não "
                             "tem as alterações feitas depois da última gravação do Espelho, e elas se "
                             "perderiam. Para recuperar tudo, responda Sim: o arquivo danificado fica "
                             "guardado como %1, o Clinora abre com uma tabela vazia, e então use o menu %2."
                             "\r\n\r\nResponda Não para sair sem alterar nada.")
                  .arg(QDir::toNativeSeparators(aside), kRecoveryPath)))
        return false;
    if (QFileInfo::exists(aside))
        throw FileError(QStringLiteral("O arquivo %1 já existe; nada foi alterado. Guarde-o em outro lugar e "
                                       "abra o Clinora de novo.")
                            .arg(QDir::toNativeSeparators(aside)));
    if (!QFile::rename(path, aside))
        throw FileError(QStringLiteral("Não foi possível renomear %1 para %2; nada foi alterado.")
                            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside)));
    QFile::rename(path + QStringLiteral("-journal"), aside + QStringLiteral("-journal"));
    return true;
}

// The appointment table, checked before anything else of the folder is written. Only
// the first run creates a missing table without asking.
void openTable(AppContext &context, bool firstRunPending)
{
    const QString path = context.file(files::kTable);
    if (!firstRunPending && !QFileInfo::exists(path)) {
        const bool create = context.dialogs.questionDefaultNo(
            QStringLiteral("O arquivo %1, a tabela das consultas marcadas, não foi encontrado, mas "
                           "esta pasta de dados já está em uso.\r\n\r\nSe ele foi movido por engano, "
                           "responda Não, devolva-o ao lugar e abra o Clinora de novo.\r\n\r\nSe ele se "
                           "perdeu, não copie a tabela da pasta Espelho à mão: a cópia de lá não tem as "
                           "alterações feitas depois da última gravação do Espelho. Responda Sim e use o "
                           "menu %2, que traz a cópia e aplica essas alterações.\r\n\r\nCriar uma tabela "
                           "de consultas vazia agora?")
                .arg(QDir::toNativeSeparators(path), kRecoveryPath));
        if (!create)
            throw FileError(QStringLiteral("Arquivo não encontrado: %1").arg(QDir::toNativeSeparators(path)));
    }
    try {
        context.DMMedicos.open();
    } catch (const StoreError &e) {
        if (firstRunPending || !QFileInfo::exists(path) || paradox::isParadoxTable(path)
            || !setAsideDamagedTable(context, path, e.message().section(QStringLiteral("\r\n"), 0, 0)))
            throw;
        context.DMMedicos.open();
    }
}

void markAutomaticEntry(AppContext &context)
{
    const Settings &s = context.settings;
    if (!s.automaticEntryOn())
        return;
    const std::optional<QDate> last = dates::parse(s.lastProcessed());
    if (!last) {
        context.dialogs.error(QStringLiteral("A linha 2 de %1 (\"%2\") não é uma data; a entrada "
                                             "automática não será feita nesta execução.")
                                  .arg(QString(files::kSettings), s.lastProcessed()));
        return;
    }
    if (context.clock.today() > *last)
        context.automaticEntryPending = true;
}

void emptyRunJournal(AppContext &context)
{
    // Usually it is empty already, and rewriting an empty file would only cost a sync.
    const QFileInfo runJournal(context.file(files::kRunJournal));
    if (!runJournal.exists() || runJournal.size() > 0)
        textfile::writeLines(runJournal.filePath(), {});
    if (!context.settings.mirroringOn())
        return;
    const QString journal =
        mirrorDirectory(context.settings, context.paths) + QLatin1Char('/') + files::kJournal;
    if (!QFileInfo::exists(journal))
        return;
    try {
        context.journalSize = textfile::lineCount(journal);
    } catch (const FileError &) {
        // The mirror's journal belongs to its table copy: without it the mirror cannot
        // bring the data back, but the data folder is as it was.
        context.mirrorNotCurrent = true;
        mirrorUnusable(context,
                       QStringLiteral("O arquivo %1, o diário das alterações do Espelho, está danificado "
                                      "ou não pode ser lido.\r\n\r\nO Espelho não pode ser usado e o "
                                      "espelhamento foi desativado. Os dados do Sistema não foram "
                                      "afetados.\r\nPara refazer o Espelho, ative o espelhamento em "
                                      "\"Manutenção › Espelhamento › Definir Local e Status\" e escolha "
                                      "\"Gravar Sistema sobre Espelho (Sist --> Esp)\".")
                           .arg(QDir::toNativeSeparators(journal)),
                       true);
        return;
    }
    if (context.journalSize > 300)
        context.dialogs.warning(QStringLiteral("Arquivo ArqMovA.Txt está muito Grande\r  Faça uma "
                                               "Cópia de segurança para esvaziá-lo"));
}

void yearEndNotice(AppContext &context)
{
    if (!context.settings.automaticEntryOn())
        return;
    const QDate today = context.clock.today();
    if (today > QDate(today.year(), 12, 15) && today <= QDate(today.year(), 12, 31))
        context.dialogs.information(
            QStringLiteral(" Como o Sistema está operando com a \"Entrada Automática das FA\", as\n"
                           "estatísticas de ")
            + QString::number(today.year())
            + QStringLiteral(" serão fechadas automaticamente no dia 31 dez.") + QStringLiteral("\n")
            + QStringLiteral("\n")
            + QStringLiteral(" Se porventura houver Fichas pendentes, grave-as antes desta data."));
}

} // namespace

void createMainWindow(AppContext &context)
{
    context.startDirectory = QDir::currentPath();
    context.purgeKeepDays = 0;
    const int lines = context.settings.load(context.file(files::kSettings));
    if (lines < Settings::kLines)
        context.dialogs.warning(QStringLiteral("O arquivo %1 tem %2 de suas 9 linhas; as que faltam "
                                               "foram consideradas vazias.")
                                    .arg(QString(files::kSettings))
                                    .arg(lines));
    // Once per start: a folder of patients' names that others can open.
    const QString exposed = privacy::exposure(context.paths.dataDir());
    if (!exposed.isEmpty())
        context.dialogs.warning(exposed);
    // The tables of the program the clinic used before become this program's first.
    importOldTables(context);
    openTable(context, isFirstRun(context.settings));
    checkMirror(context);
    readStamps(context);
    firstRun(context);
    markAutomaticEntry(context);
    emptyRunJournal(context);
    yearEndNotice(context);
}

void activateMainWindow(AppContext &context)
{
    // Both marks go first: a message box of either run activates the window again.
    if (context.automaticEntryPending) {
        context.automaticEntryPending = false;
        runUserAction(context.dialogs, [&] { runPendingAutomaticEntry(context); });
    }
    if (context.firstActivation) {
        context.firstActivation = false;
        runUserAction(context.dialogs, [&] { runScheduledRemoval(context); });
    }
}

QString shownClinicName(const AppContext &context)
{
    const QString name = context.settings.clinicName();
    return name.isEmpty() ? kDefaultClinic : name;
}

void changeClinicName(AppContext &context)
{
    // Cancel leaves the name as it is; only an empty answer given with OK is a name.
    const std::optional<QString> answer = context.dialogs.inputOrCancel(
        QStringLiteral("Entre com o nome da clínica/hospital"), QStringLiteral("Nome: "), QString());
    if (!answer)
        return;
    QString name = *answer;
    if (name.isEmpty())
        name = QStringLiteral("Sistema Marcação de Consultas");
    context.settings.setClinicName(name);
    context.saveSettings();
}

bool changeCoverPhoto(AppContext &context)
{
    const QString name = context.dialogs.input(QStringLiteral("Fotografia da Capa"),
                                               QStringLiteral("Digite o nome da nova fotografia:"),
                                               context.settings.coverPhoto());
    if (!QFileInfo(context.paths.local(name)).isFile()) {
        context.dialogs.information(QStringLiteral("Não existe fotografia neste local"));
        return false;
    }
    context.settings.setCoverPhoto(name);
    context.saveSettings();
    return true;
}

void endApplication(AppContext &context)
{
    context.endProgram();
}

void closeMainWindow(AppContext &context)
{
    context.purgeKeepDays = context.settings.automaticEntryOn() ? 0 : 10;
    bool mirrored = runUserAction(context.dialogs, [&] { purgePastAppointments(context, false); });
    context.purgeKeepDays = 0;
    // Mirroring stays on for the next run, so that the next day's changes reach the
    // mirror's journal too, when the mirror took everything this run gave it: the
    // purge's snapshot (a failed one has switched mirroring off) and the changes still
    // buffered. Otherwise it goes off, and the main window says so at the next start.
    if (context.settings.mirroringOn() && context.journal.pending() > 0)
        mirrored = runUserAction(context.dialogs, [&] { context.journal.flush(); }) && mirrored;
    if (!mirrored)
        context.settings.setMirroring(QStringLiteral("Sem"));
    runUserAction(context.dialogs, [&] { context.saveSettings(); });
    context.DMMedicos.closeAtEnd();
}

} // namespace clinora::session
