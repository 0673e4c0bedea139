// The grid of the name search's hits (DBGrid1 of both name searches): Data, Hora,
// Medico, Paciente and Telefone, one row selected at a time.
#pragma once

class QTableView;

namespace clinora {

class NameSearch;

void setUpHitsGrid(QTableView *grid, NameSearch &search);

} // namespace clinora
