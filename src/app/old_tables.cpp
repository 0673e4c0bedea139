#include "app/old_tables.h"

#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "store/paradox_table.h"
#include "store/table_import.h"

#include <QDir>
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
    const QStringList found = QDir(dir).entryList({name}, QDir::Files);
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
            if (t.required)
                throw;
            context.dialogs.error(e.message());
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
        } catch (const Error &e) {
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
        line += QStringLiteral("\r\n    Originais guardados como %1.").arg(keptText(imported));
        done << line;
    }
    if (!done.isEmpty())
        context.dialogs.information(QStringLiteral("Importação concluída.\r\n\r\n") +
                                    done.join(QStringLiteral("\r\n\r\n")));
}

} // namespace clinora
