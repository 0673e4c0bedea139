#include "protection/replay.h"

#include "protection/mirror_link.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/sqlite.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"
#include "store/journal.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QScopeGuard>

namespace clinora {

namespace {

bool isNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return false;
    for (QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            return false;
    }
    return true;
}

// Why a journal line cannot be applied, or an empty text when it can.
QString fault(const QString &line, const journal::Record &record)
{
    if (record.op != QLatin1Char('I') && record.op != QLatin1Char('E'))
        return QStringLiteral("operação desconhecida \"%1\"").arg(record.op);
    if (line.size() < journal::kHeadWidth)
        return QStringLiteral("linha incompleta (gravação interrompida)");
    if (record.row.data.isEmpty())
        return QStringLiteral("sem a data");
    if (!isNumber(record.row.hora))
        return QStringLiteral("horário \"%1\" não é um número").arg(record.row.hora);
    if (!isNumber(record.row.medico))
        return QStringLiteral("médico \"%1\" não é um número").arg(record.row.medico);
    if (record.row.paciente.isEmpty())
        return QStringLiteral("sem o nome do paciente");
    return {};
}

// What pairs an insertion with a later deletion: the row's key and patient.
struct Image
{
    QString data, hora, medico, paciente;
    bool operator==(const Image &) const = default;
};

size_t qHash(const Image &image, size_t seed = 0)
{
    return qHashMulti(seed, image.data, image.hora, image.medico, image.paciente);
}

bool sameContents(const Appointment &a, const Appointment &b)
{
    return a.paciente == b.paciente && a.telefone == b.telefone && a.situacao == b.situacao
           && a.observacoes == b.observacoes;
}

// An "I" whose key is taken: the row goes to the cancelled list, unless an earlier
// replay put it there already. The doctor's rows on the list date, read once, tell both
// that and which Horas are taken.
void postOnList(AppointmentTable &table, const Appointment &row, int number, ReplayResult &result)
{
    Appointment moved = row;
    if (row.isDated())
        moved.data = row.data.left(5) + QStringLiteral("H/");
    moved.data = AppointmentTable::stored(Field::Data, moved.data);
    const int hora = row.hora.toInt();
    QSet<QString> taken;
    for (const Appointment &listed : table.onDateOf(moved.data, row.medico)) {
        if (sameContents(listed, row) && listed.hora.toInt() > hora) {
            ++result.alreadyApplied;
            return;
        }
        taken.insert(listed.hora);
    }
    int free = hora + 1;
    while (free <= 99 && taken.contains(QString::number(free)))
        ++free;
    if (free > 99) {
        result.skipped << QStringLiteral("linha %1: %2 (dia %3, horário %4, médico %5) não coube na "
                                         "guia Desmarcadas, que já tem 99 registros deste médico em %6")
                              .arg(number)
                              .arg(row.paciente, row.data, row.hora, row.medico, moved.data);
        return;
    }
    moved.hora = QString::number(free);
    table.insert(moved);
    ++result.toCancelled;
}

void applyInsert(AppointmentTable &table, const Appointment &row, int number, ReplayResult &result)
{
    if (table.insertUnlessTaken(row)) {
        ++result.inserted;
        return;
    }
    const std::optional<Appointment> held = table.find(row.key());
    if (held && *held == row) {
        ++result.alreadyApplied;
        return;
    }
    postOnList(table, row, number, result);
}

} // namespace

ReplayResult applyJournal(AppointmentTable &table, const QStringList &lines, const ReplayProgress &progress)
{
    ReplayResult result;
    struct Line
    {
        QChar op;
        Appointment row;
        bool passedOver = false;
    };
    std::vector<std::optional<Line>> checked;
    checked.reserve(static_cast<std::size_t>(lines.size()));
    // A row inserted and deleted again later in the journal (the before image of a
    // change, a booking moved or cancelled) never needs its slot: both lines are passed
    // over, so that a replay onto a table that already holds the later state does not
    // find the slot taken and send the old image to the cancelled list.
    QHash<Image, std::size_t> pendingInsert;
    int number = 0;
    for (const QString &line : lines) {
        ++number;
        checked.emplace_back();
        if (line.trimmed().isEmpty()) {
            result.skipped << QStringLiteral("linha %1: vazia").arg(number);
            continue;
        }
        std::optional<journal::Record> record = journal::parse(line);
        record->row.hora = record->row.hora.trimmed();
        record->row.medico = record->row.medico.trimmed();
        const QString why = fault(line, *record);
        if (!why.isEmpty()) {
            result.skipped << QStringLiteral("linha %1: %2").arg(number).arg(why);
            continue;
        }
        Line &entry = checked.back().emplace(Line{record->op, AppointmentTable::stored(record->row)});
        const Image image{entry.row.data, entry.row.hora, entry.row.medico, entry.row.paciente};
        const std::size_t index = checked.size() - 1;
        if (entry.op == QLatin1Char('I')) {
            pendingInsert.insert(image, index);
        } else if (const auto found = pendingInsert.constFind(image); found != pendingInsert.cend()) {
            checked[*found]->passedOver = true;
            entry.passedOver = true;
            pendingInsert.erase(found);
        }
    }

    sql::Transaction transaction(table.database());
    const int total = static_cast<int>(lines.size());
    number = 0;
    for (const std::optional<Line> &line : checked) {
        ++number;
        if (progress && number % kReplayProgressStep == 0)
            progress(number, total);
        if (!line || line->passedOver)
            continue;
        if (line->op == QLatin1Char('I'))
            applyInsert(table, line->row, number, result);
        else if (table.removeHolding(line->row.key(), line->row.paciente))
            ++result.deleted;
    }
    transaction.commit();
    if (progress)
        progress(total, total);
    return result;
}

ReplayProgress replayProgress(MirroredClinic &context, const QString &journalPath)
{
    if (!context.showProgress)
        return {};
    const QString name = QFileInfo(journalPath).fileName();
    return [&context, name](int applied, int total) {
        context.showProgress(QStringLiteral("Aguarde ... "),
                             QStringLiteral("Aplicando %1: linha %2 de %3").arg(name).arg(applied).arg(total));
    };
}

QString skippedLinesMessage(const QString &journalPath, const QStringList &skipped)
{
    return QStringLiteral("%1 linha(s) do arquivo %2 não foram aplicadas:\r\n\r\n%3")
        .arg(skipped.size())
        .arg(QDir::toNativeSeparators(QFileInfo(journalPath).absoluteFilePath()),
             skipped.join(QStringLiteral("\r\n")));
}

ReplayResult replayJournal(MirroredClinic &context, const QString &journalPath)
{
    // The journal is read before anything changes: a missing one changes nothing.
    const QStringList lines = textfile::readLines(journalPath);
    const QString limitCopy = context.file(files::kPreparedLimitCopy);
    textfile::readLines(limitCopy);
    context.DMMedicos.TMedicos.close();
    context.DMMedicos.QMedicos.close();
    context.DMMedicos.QMedicos2.close();
    // The texts are blanked however the replay ends.
    const auto blank = qScopeGuard([&context] {
        if (context.showProgress)
            context.showProgress(QString(), QString());
    });
    const ReplayResult result = applyJournal(context.DMMedicos.table(), lines, replayProgress(context, journalPath));
    textfile::copyFile(limitCopy, context.file(files::kPreparedLimit));
    if (!result.skipped.isEmpty())
        context.dialogs.warning(skippedLinesMessage(journalPath, result.skipped));
    return result;
}

} // namespace clinora
