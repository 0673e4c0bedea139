#include "search/name_search.h"

#include "store/clinic.h"
#include "platform/dialogs.h"

namespace clinora {

NameSearch::NameSearch(Clinic &context) : m_context(context)
{
}

bool NameSearch::search(const QString &typed)
{
    Dialogs &dialogs = m_context.dialogs;
    if (typed.trimmed().isEmpty()) {
        dialogs.information(QStringLiteral("Digite as letras do nome do paciente a pesquisar."));
        return false;
    }
    if (typed.size() > kMaxLength) {
        dialogs.information(QStringLiteral("O nome do paciente tem no máximo %1 letras: digite só uma parte "
                                           "dele (foram digitadas %2).")
                                .arg(kMaxLength)
                                .arg(typed.size()));
        return false;
    }
    m_hits.open(m_context.DMMedicos.table(), ListQuery::patientName(typed));
    if (m_hits.count() == 0)
        dialogs.information(QStringLiteral("Nenhum paciente com \"%1\" no nome.").arg(typed));
    return true;
}

std::optional<AppointmentKey> NameSearch::hit(int row) const
{
    if (row < 0 || row >= m_hits.count())
        return std::nullopt;
    const AppointmentKey key = m_hits.key(row);
    if (key.data.isEmpty() || key.hora.isEmpty() || key.medico.isEmpty())
        return std::nullopt;
    return key;
}

} // namespace clinora
