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
    for (const QString &data : table.datedDaysBefore(cutoff)) {
        const std::optional<QDate> date = dates::parse(data);
        if (date && *date < cutoff)
            result.deleted += table.removeDay(data);
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
