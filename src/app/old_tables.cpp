#include "app/old_tables.h"

#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "store/appointment_table.h"
#include "store/paradox_table.h"
#include "store/table_import.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace clinora {

namespace {

struct OldTable
{
    QString source; // the Paradox file
    QString target; // the table of this program it becomes
    QString place;  // how the message names it
    bool required;  // the data folder's own table: the program cannot run without it
    int records = 0;
};

// The Paradox table a folder holds under the table's name, in any letter case (a folder
// copied from Windows may say MEDICOS.DB); this program's own table wins over it.
QString paradoxTable(const QString &dir, const QString &name)
{
    const QString exact = QDir(dir).filePath(name);
    if (QFileInfo::exists(exact))
        return paradox::isParadoxTable(exact) ? exact : QString();
    // Compared by hand: a name filter would compile a pattern at every start.
    const QStringList found = QDir(dir).entryList(QDir::Files);
    for (const QString &other : found) {
        const QString path = QDir(dir).filePath(other);
        if (other.compare(name, Qt::CaseInsensitive) == 0 && paradox::isParadoxTable(path))
            return path;
    }
    return {};
}

std::vector<OldTable> oldTables(AppContext &context)
{
    std::vector<OldTable> tables;
    const QString data = context.paths.dataDir();
    const auto add = [&](const QString &dir, const QString &name, const QString &place, bool required) {
        const QString source = paradoxTable(dir, name);
        if (!source.isEmpty())
            tables.push_back({source, QDir(dir).filePath(name), place, required});
    };
    add(data, files::kTable, QString(), true);
    add(data, files::kWorkTable, QString(), false);
    const QString mirror = mirrorDirectory(context.settings, context.paths);
    if (!mirror.isEmpty() && QFileInfo(mirror).isDir())
        add(mirror, files::kMirrorTable,
            QStringLiteral("no Espelho (%1)").arg(QDir::toNativeSeparators(mirror)), false);
    return tables;
}

QString named(const OldTable &t)
{
    const QString name = QFileInfo(t.source).fileName();
    return t.place.isEmpty() ? name : name + QLatin1Char(' ') + t.place;
}

QString keptText(const TableImport &done)
{
    QStringList names;
    for (const QString &k : done.kept)
        names << QFileInfo(k).fileName();
    return names.join(QStringLiteral(", "));
}

// Renames the files of an old table that cannot be read (Medicos.db, Medicos.mb ->
// MedicosDanificado.db, MedicosDanificado.mb, numbered when those are taken), untouched,
// so that no start stumbles on them again. Returns the table's new name.
QString putAside(const OldTable &t, const QString &why)
{
    const QFileInfo table(t.source);
    const QStringList files = paradox::tableFiles(t.source);
    for (int n = 1;; ++n) {
        const QString base = table.completeBaseName() + QStringLiteral("Danificado") +
                             (n == 1 ? QString() : QString::number(n));
        QStringList targets;
        bool free = true;
        for (const QString &f : files) {
            targets << table.dir().filePath(base + QLatin1Char('.') + QFileInfo(f).suffix());
            free = free && !QFileInfo::exists(targets.last());
        }
        if (!free)
            continue;
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (!QFile::rename(files[i], targets[i]))
                throw FileError(
                    QStringLiteral("%1\r\n\r\nO arquivo %2 não pôde ser renomeado para %3; "
                                   "renomeie-o ou apague-o e abra o Clinora de novo.")
                        .arg(why, QDir::toNativeSeparators(files[i]), QDir::toNativeSeparators(targets[i])));
        }
        return targets.first();
    }
}

// A copy (the work table, the mirror's) that cannot be read is set aside once; the
// program rebuilds such copies itself. The message says where it went.
void setAside(AppContext &context, const OldTable &t, const QString &why)
{
    const QString kept = putAside(t, why);
    context.dialogs.information(
        QStringLiteral("%1\r\n\r\nA tabela %2 é só uma cópia, que o Clinora refaz quando precisa: ela "
                       "foi guardada, sem alteração, como %3, e o Clinora segue sem ela.")
            .arg(why, named(t), QDir::toNativeSeparators(kept)));
}

// The data folder's own table cannot be read: the user chooses between starting with an
// empty table (the old one set aside, untouched) and ending the start to fetch a copy.
void startWithoutIt(AppContext &context, const OldTable &t, const QString &why)
{
    const bool yes = context.dialogs.questionDefaultNo(
        QStringLiteral("%1\r\n\r\nO Clinora pode guardá-la de lado, sem alteração (com o nome "
                       "MedicosDanificado.db), e começar com uma tabela de consultas vazia.\r\n\r\n"
                       "Se houver uma cópia dela em bom estado (cópia de segurança do programa "
                       "anterior), responda Não, coloque a cópia nesta pasta de dados no lugar dela e "
                       "abra o Clinora de novo.\r\n\r\nComeçar com a tabela vazia?")
            .arg(why));
    if (!yes)
        throw FileError(QStringLiteral("%1\r\n\r\nNada foi alterado. Coloque nesta pasta de dados uma "
                                       "cópia da tabela em bom estado e abra o Clinora de novo, ou abra-o e "
                                       "escolha começar com a tabela vazia.")
                            .arg(why));
    const QString kept = putAside(t, why);
    AppointmentTable::createFile(t.target);
    context.dialogs.information(QStringLiteral("A tabela antiga foi guardada como %1; o Clinora começa com "
                                               "a tabela de consultas vazia.")
                                    .arg(QDir::toNativeSeparators(kept)));
}

// An old table that cannot be read: the data folder's own is offered to be set aside,
// a copy is set aside at once.
void unreadable(AppContext &context, const OldTable &t, const QString &why)
{
    if (t.required)
        startWithoutIt(context, t, why);
    else
        setAside(context, t, why);
}

} // namespace

void importOldTables(AppContext &context)
{
    // Only the tables that can be read are offered; the one of the data folder must be.
    std::vector<OldTable> tables;
    QStringList listed;
    for (OldTable &t : oldTables(context)) {
        try {
            t.records = paradox::recordCount(t.source);
        } catch (const StoreError &e) {
            unreadable(context, t, e.message());
            continue;
        }
        listed << QStringLiteral("    %1: %2 registros").arg(named(t)).arg(t.records);
        tables.push_back(t);
    }
    if (tables.empty())
        return;
    const bool yes = context.dialogs.question(
        QStringLiteral(
            "Há nesta pasta de dados tabelas de consultas do programa anterior (Paradox):\r\n\r\n%1"
            "\r\n\r\nO Clinora vai copiar os seus registros para as suas próprias tabelas. Os "
            "arquivos originais ficam guardados, sem alteração, com outro nome (por exemplo "
            "MedicosAntigo.db), e os registros que não couberem serão listados num relatório "
            "ao lado deles.\r\n\r\nImportar agora?")
            .arg(listed.join(QStringLiteral("\r\n"))));
    if (!yes) {
        for (const OldTable &t : tables) {
            if (t.required)
                throw FileError(QStringLiteral("A tabela de consultas %1 é do programa anterior e não foi "
                                               "importada; o Clinora não abre esta pasta de dados sem "
                                               "ela. Nada foi alterado.")
                                    .arg(QDir::toNativeSeparators(t.source)));
        }
        return;
    }
    QStringList done;
    for (const OldTable &t : tables) {
        TableImport imported;
        try {
            imported = importParadoxTable(t.source, t.target, localDateTimeText(context.clock));
        } catch (const StoreError &e) {
            // The old table could not be read; nothing was written.
            unreadable(context, t, e.message());
            continue;
        } catch (const Error &e) {
            // The new one could not be written: everything stays as it was.
            if (t.required)
                throw;
            context.dialogs.error(e.message());
            continue;
        }
        QString line = QStringLiteral("%1: %2 de %3 registros importados.")
                           .arg(named(t))
                           .arg(imported.imported)
                           .arg(imported.read);
        if (imported.rejected > 0)
            line += QStringLiteral(" %1 não couberam na tabela do Clinora").arg(imported.rejected);
        if (imported.incompleteRemarks > 0)
            line += QStringLiteral("%1 %2 tiveram as observações lidas só em parte")
                        .arg(imported.rejected > 0 ? QStringLiteral(" e") : QStringLiteral(""))
                        .arg(imported.incompleteRemarks);
        if (imported.rejected > 0 || imported.incompleteRemarks > 0)
            line += QStringLiteral(": veja o relatório %1.").arg(QDir::toNativeSeparators(imported.report));
        if (imported.damaged)
            line += QStringLiteral(" A tabela antiga está danificada: só os seus blocos legíveis foram "
                                   "importados, e %1 registros que ela conta não puderam ser lidos; lance-os "
                                   "de novo (veja o relatório %2).")
                        .arg(imported.unread)
                        .arg(QDir::toNativeSeparators(imported.report));
        line += QStringLiteral("\r\n    Originais guardados como %1.").arg(keptText(imported));
        done << line;
    }
    if (!done.isEmpty())
        context.dialogs.information(QStringLiteral("Importação concluída.\r\n\r\n") +
                                    done.join(QStringLiteral("\r\n\r\n")));
}

} // namespace clinora
