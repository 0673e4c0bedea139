// The search of patients by part of the name, shared by the panel of "Pesquisas
// Diversas" and the dialog "Pesquisar por Nome": its own rows (Data, Hora, Medico,
// Paciente, Telefone), read with the typed text bound as a parameter, so that quotes,
// "%", "_" and "\" are only letters.
#pragma once

#include "booking/list_entries.h"

#include <QString>
#include <optional>

namespace clinora {

class Clinic;

class NameSearch
{
public:
    // The longest name a patient can have: a longer text can never be found.
    static constexpr int kMaxLength = 25;

    explicit NameSearch(Clinic &context);

    // The hits, in key order; the grids show every column but Situacao.
    ListEntries &hits() { return m_hits; }

    // "Procurar": runs the search. An empty text, or one longer than a name, is told and
    // the grid is left as it was; a search that finds nothing says so.
    bool search(const QString &typed);
    // Empties the grid.
    void clear() { m_hits.close(); }
    // The key of a hit, or nothing for a row that is not one.
    std::optional<AppointmentKey> hit(int row) const;

private:
    Clinic &m_context;
    ListEntries m_hits;
};

} // namespace clinora
