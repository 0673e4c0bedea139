#include "agenda/purge.h"

#include "app/context.h"
#include "core/prepared_limit.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/sqlite.h"
#include "protection/mirror.h"

#include <algorithm>

namespace clinora {

namespace {
// A preparation reaches at most a month past its day.
constexpr int kMonthAfterLimit = 31;
} // namespace

PurgeResult purgePastAppointments(AppContext &context, bool ask)
{
    PurgeResult result;
    const QDate limit = readPreparedLimit(context.paths);
    if (ask
        && !context.dialogs.question(
            QStringLiteral("Este procedimento irá excluir as consultas anteriores à data de "
                           "hoje.\n\n                                 Prosseguir?"))) {
        result.cancelled = true;
        return result;
    }

    AppointmentTable &table = context.DMMedicos.table();
    QDate cutoff = context.clock.today().addDays(-context.purgeKeepDays);
    // With the automatic entry on, the days it has not counted yet (a run past
    // midnight) stay for it to count.
    if (context.settings.automaticEntryOn()) {
        if (const std::optional<QDate> counted = dates::parse(context.settings.lastProcessed()))
            cutoff = std::min(cutoff, counted->addDays(1));
    }
    // Only dated rows whose real date lies before the cut-off go; the cancelled and
    // waiting lists carry no date and are never purged. Both reads range over the
    // dated rows' day index, so a purge with nothing past reads next to nothing.
    const auto realDate = [](const AppointmentKey &key) { return dates::parse(key.data); };
    sql::Transaction transaction(table.database());
    QDate newestDeleted;
    for (const QString &data : table.datedDaysBefore(cutoff)) {
        const std::optional<QDate> date = dates::parse(data);
        if (date && *date < cutoff) {
            const int removed = table.removeDay(data);
            result.deleted += removed;
            if (removed > 0 && (!newestDeleted.isValid() || *date > newestDeleted))
                newestDeleted = *date;
        }
    }
    // The computer's date alone is no reason to delete: a clock that jumped ahead would
    // take the whole agenda. The prepared limit is the sound mark of when the program
    // was last in use: only a preparation moves it, never the clock, and a preparation
    // reaches at most a month ahead. A date more than a month past it, with the bookings
    // of its last prepared month going, is asked about first, the deletions still undone.
    const QDate today = context.clock.today();
    const bool one = result.deleted == 1;
    const bool lastMonthGoes = newestDeleted <= limit && newestDeleted >= limit.addDays(-kMonthAfterLimit);
    if (result.deleted > 0 && today > limit.addDays(kMonthAfterLimit) && lastMonthGoes &&
        !context.dialogs.questionDefaultNo(
            QStringLiteral("A data deste computador é %1, e a agenda foi preparada até %2.\r\n\r\n"
                           "A exclusão das consultas anteriores a %3 apagaria %4, até %5. Se o "
                           "relógio do computador estiver adiantado, responda Não, corrija a data e "
                           "abra o Clinora de novo: nenhuma consulta será excluída.\r\n\r\n%6")
                .arg(dates::format(today), dates::format(limit), dates::format(cutoff),
                     one ? QStringLiteral("1 consulta marcada")
                         : QStringLiteral("%1 consultas marcadas").arg(result.deleted),
                     dates::format(newestDeleted),
                     one ? QStringLiteral("Excluir esta consulta?")
                         : QStringLiteral("Excluir estas %1 consultas?").arg(result.deleted)))) {
        result.deleted = 0;
        result.cancelled = true;
        return result; // the transaction rolls back: nothing was deleted
    }
    result.beyondLimit = table
                             .firstDatedAfter(limit,
                                              [&](const AppointmentKey &key) {
                                                  const std::optional<QDate> date = realDate(key);
                                                  return date && *date > limit;
                                              })
                             .has_value();
    transaction.commit();
    context.DMMedicos.TMedicos.close();

    if (context.settings.mirroringOn() && result.deleted > 0)
        takeMirrorSnapshot(context);
    if (result.beyondLimit)
        context.dialogs.information(QStringLiteral("                          CUIDADO\n  Existe "
                                                   "Registro além da Data Limite de Preparação"));
    return result;
}

} // namespace clinora
