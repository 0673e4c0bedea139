#include "store/table_import.h"

#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/table_replacement.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace clinora {

namespace {

const char *const kFieldNames[] = {"Data",     "Hora",     "Medico",     "Paciente",
                                   "Telefone", "Situacao", "Observacoes"};

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Why a record does not fit the table, or nothing.
QString misfit(const Appointment &row)
{
    for (int i = 0; i < 6; ++i) {
        const auto f = static_cast<Field>(i);
        const int length = static_cast<int>(textfile::trimRight(row.value(f)).size());
        if (length > fieldWidth(f))
            return QStringLiteral("o campo %1 tem %2 caracteres, e nele cabem %3")
                .arg(QLatin1String(kFieldNames[i]))
                .arg(length)
                .arg(fieldWidth(f));
    }
    for (int i = 0; i < 4; ++i) {
        if (textfile::trimRight(row.value(static_cast<Field>(i))).isEmpty())
            return i < 3 ? QStringLiteral("chave incompleta: o campo %1 está vazio")
                               .arg(QLatin1String(kFieldNames[i]))
                         : QStringLiteral("o campo Paciente está vazio");
    }
    return {};
}

// The names the files of a table are kept by: Medicos.db, Medicos.mb -> MedicosAntigo.db,
// MedicosAntigo.mb (MedicosAntigo2 ... when an earlier import holds those), and the
// report's name with the same number.
struct KeptNames
{
    QStringList files;
    QString report;
};

KeptNames keptNames(const QStringList &sources, const QString &target)
{
    const QFileInfo table(target);
    const QDir dir = table.dir();
    for (int n = 1;; ++n) {
        const QString number = n == 1 ? QString() : QString::number(n);
        const QString base = table.completeBaseName() + QStringLiteral("Antigo") + number;
        KeptNames names;
        bool free = true;
        for (const QString &source : sources) {
            const QString kept = dir.filePath(base + QLatin1Char('.') + QFileInfo(source).suffix());
            free = free && !QFileInfo::exists(kept);
            names.files << kept;
        }
        names.report = dir.filePath(table.completeBaseName() + QStringLiteral("Importacao") + number +
                                    QStringLiteral(".Txt"));
        if (free && !QFileInfo::exists(names.report))
            return names;
    }
}

// The original file under its kept name, staged for the commit: a second name for the
// same file where the disk allows it, otherwise a copy with the same modification time.
void stageKept(const QString &source, const QString &kept)
{
    const QString staged = FileGroup::temporaryPath(kept);
    QFile::remove(staged);
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(staged).constData()) == 0)
        return;
    if (!QFile::copy(source, staged))
        throw FileError(
            QStringLiteral("Não foi possível guardar o arquivo %1 como %2.").arg(shown(source), shown(kept)));
    QFile copy(staged);
    if (copy.open(QIODevice::ReadWrite))
        copy.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
}

QStringList rowLines(const Appointment &row)
{
    QStringList lines;
    for (int i = 0; i < 7; ++i) {
        // Each line of a text on a line of its own, whatever its line ends (CR LF, CR, LF).
        QString text = row.value(static_cast<Field>(i));
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QStringList parts = text.split(QLatin1Char('\n'));
        lines << QStringLiteral("    %1: %2").arg(QLatin1String(kFieldNames[i]), parts.first());
        for (qsizetype p = 1; p < parts.size(); ++p)
            lines << QStringLiteral("        ") + parts[p];
    }
    return lines;
}

QStringList reportLines(const QString &source, const QStringList &kept, const QString &when,
                        const paradox::Table &old, const CheckedRows &checked)
{
    QStringList keptNames;
    for (const QString &k : kept)
        keptNames << QFileInfo(k).fileName();
    QStringList lines{
        QStringLiteral("Importação da tabela de consultas do programa anterior"),
        QStringLiteral("Tabela: %1 (Paradox), guardada sem alteração como %2")
            .arg(QFileInfo(source).fileName(), keptNames.join(QStringLiteral(", "))),
        QStringLiteral("Em: %1").arg(when),
        QStringLiteral("Registros lidos: %1").arg(old.records.size()),
        QStringLiteral("Importados: %1").arg(checked.accepted.size()),
        QStringLiteral("Não importados: %1").arg(checked.rejected.size()),
    };
    if (!old.blockDamage.isEmpty())
        lines << QStringLiteral("Atenção: a tabela está danificada (%1). Foram importados os registros dos "
                                "blocos de dados que puderam ser lidos; %2 registros que o seu cabeçalho "
                                "conta estavam nos blocos danificados e não puderam ser lidos: lance-os "
                                "de novo a partir de uma cópia da tabela ou das fichas em papel.")
                     .arg(old.blockDamage)
                     .arg(old.unreadRecords);
    if (!old.codePageProblem.isEmpty())
        lines << QStringLiteral("Atenção: ") + old.codePageProblem;
    if (!old.otherFields.isEmpty())
        lines << QStringLiteral("Campos que a tabela do Clinora não tem, deixados de fora: ") +
                     old.otherFields.join(QStringLiteral(", "));
    if (!checked.rejected.empty()) {
        lines << QString()
              << QStringLiteral("Registros não importados (com todos os seus campos, para "
                                "serem lançados de novo):");
        for (const RejectedRow &r : checked.rejected) {
            lines << QString() << QStringLiteral("Registro %1: %2").arg(r.number).arg(r.reason);
            lines << rowLines(r.row);
        }
    }
    bool heading = false;
    for (const paradox::Record &r : old.records) {
        if (r.memoProblem.isEmpty())
            continue;
        if (!heading)
            lines << QString()
                  << QStringLiteral("Registros cujas observações não puderam ser lidas inteiras "
                                    "(importado o começo que a tabela guarda):");
        heading = true;
        lines
            << QStringLiteral("Registro %1 (%2): %3").arg(r.number).arg(r.row.key().text(), r.memoProblem);
    }
    return lines;
}

} // namespace

CheckedRows checkRecords(const std::vector<paradox::Record> &records)
{
    CheckedRows result;
    result.accepted.reserve(records.size());
    // Each key taken, with the record that took it.
    QHash<QString, int> taken;
    taken.reserve(static_cast<qsizetype>(records.size()));
    for (const paradox::Record &record : records) {
        QString why = misfit(record.row);
        Appointment row = AppointmentTable::stored(record.row);
        if (why.isEmpty()) {
            const QString key = row.data + QChar(0) + row.hora + QChar(0) + row.medico;
            const auto it = taken.constFind(key);
            if (it != taken.cend())
                why = QStringLiteral("chave repetida: %1 já veio do registro %2")
                          .arg(row.key().text())
                          .arg(*it);
            else
                taken.insert(key, record.number);
        }
        if (why.isEmpty())
            result.accepted.push_back(std::move(row));
        else
            result.rejected.push_back({record.number, record.row, why});
    }
    return result;
}

TableImport importParadoxTable(const QString &source, const QString &target, const QString &when)
{
    const paradox::Table old = paradox::read(source);
    const CheckedRows checked = checkRecords(old.records);

    const QStringList sources = paradox::tableFiles(source);
    const KeptNames kept = keptNames(sources, target);
    const auto clear = [&] {
        for (const QString &k : kept.files)
            QFile::remove(FileGroup::temporaryPath(k));
    };
    clear();
    try {
        FileGroup group(QFileInfo(target).absolutePath());
        TableReplacement replacement(group, target);
        replacement.stage([&](const QString &path) {
            AppointmentTable table;
            table.open(path, true);
            table.insertAll(checked.accepted);
        });
        for (qsizetype i = 0; i < sources.size(); ++i) {
            stageKept(sources[i], kept.files[i]);
            group.stageWritten(kept.files[i]);
        }
        group.stageLines(kept.report, reportLines(source, kept.files, when, old, checked));
        replacement.commit();
    } catch (const Error &e) {
        clear();
        throw FileError(QStringLiteral("A tabela %1 não foi importada; ela continua como estava.\r\n%2")
                            .arg(shown(source), e.message()));
    }
    // The old names of the other files: each is kept under its new name now.
    const QString targetPath = QFileInfo(target).absoluteFilePath();
    for (const QString &s : sources) {
        if (QFileInfo(s).absoluteFilePath() != targetPath)
            QFile::remove(s);
    }

    TableImport result;
    result.table = target;
    result.kept = kept.files;
    result.report = kept.report;
    result.read = static_cast<int>(old.records.size());
    result.imported = static_cast<int>(checked.accepted.size());
    result.rejected = static_cast<int>(checked.rejected.size());
    result.unread = old.unreadRecords;
    result.damaged = !old.blockDamage.isEmpty();
    for (const paradox::Record &r : old.records)
        result.incompleteRemarks += r.memoProblem.isEmpty() ? 0 : 1;
    return result;
}

} // namespace clinora
