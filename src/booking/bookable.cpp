#include "booking/bookable.h"

#include "agenda/closed_dates.h"
#include "core/prepared_limit.h"
#include "platform/dates.h"

namespace clinora {

QString bookingRefusal(const Paths &paths, const QString &date)
{
    const std::optional<QDate> when = dates::parse(date);
    if (!when)
        return QStringLiteral("Não é possível marcar consulta em %1: o mês não tem este dia.").arg(date);
    const QString shown = dates::format(*when);
    if (closeddates::readDates(paths).contains(*when))
        return QStringLiteral("Não é possível marcar consulta em %1: a data está fechada.\n"
                              "Para atender neste dia, abra-o antes em \"Fechar / Abrir uma Data\".")
            .arg(shown);
    const QDate limit = readPreparedLimit(paths);
    if (*when > limit)
        return QStringLiteral("Não é possível marcar consulta em %1: o sistema está preparado até %2.\n"
                              "Alongue antes a data de preparação em \"Alongar a Data de Preparação do "
                              "Sistema\".")
            .arg(shown, dates::format(limit));
    return {};
}

} // namespace clinora
