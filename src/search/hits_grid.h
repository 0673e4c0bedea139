// The grid of the name search's hits (DBGrid1 of both name searches): Data, Hora,
// Medico, Paciente and Telefone, one row selected at a time; and Enter on a result
// grid, which goes to the row as a double-click does.
#pragma once

#include <functional>

class QTableView;

namespace clinora {

class NameSearch;

void setUpHitsGrid(QTableView *grid, NameSearch &search);

// Enter or Return on the grid, with a row current, opens that row: the same action as a
// double-click on it.
void openOnEnter(QTableView *grid, std::function<void(int row)> open);

} // namespace clinora
