#include "agenda/purge.h"

#include "app/context.h"
#include "core/prepared_limit.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/sqlite.h"
#include "protection/mirror.h"

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
    const QDate cutoff = context.clock.today().addDays(-context.purgeKeepDays);
    sql::Transaction transaction(table.database());
    std::vector<AppointmentKey> past;
    table.forEachKey([&](const AppointmentKey &key) {
        QDate date = limit;
        if (key.isDated()) {
            // A dated row whose Data is not a real date is kept, never guessed at.
            const std::optional<QDate> parsed = dates::parse(key.data);
            if (!parsed)
                return;
            date = *parsed;
        }
        if (date > limit)
            result.beyondLimit = true;
        if (date < cutoff)
            past.push_back(key);
    });
    for (const AppointmentKey &key : past)
        result.deleted += table.remove(key) ? 1 : 0;
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
