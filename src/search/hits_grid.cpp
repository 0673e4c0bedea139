#include "search/hits_grid.h"

#include "booking/form_parts.h"
#include "search/name_search.h"

#include <QTableView>

namespace clinora {

void setUpHitsGrid(QTableView *grid, NameSearch &search)
{
    form::listGrid(grid, &search.hits(), QAbstractItemView::SingleSelection, {80, 50, 60, 230, 120});
    grid->setColumnHidden(ListEntries::Situacao, true);
}

} // namespace clinora
