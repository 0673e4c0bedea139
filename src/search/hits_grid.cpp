#include "search/hits_grid.h"

#include "booking/form_parts.h"
#include "search/name_search.h"

#include <QKeyEvent>
#include <QTableView>

namespace clinora {

namespace {

// Watches a grid's keys for Enter: the grid itself would only pass the key on to the
// window, where it runs the default button instead of opening the row.
class EnterOpens : public QObject
{
public:
    EnterOpens(QTableView *grid, std::function<void(int)> open)
        : QObject(grid), m_grid(grid), m_open(std::move(open))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_grid && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                m_grid->currentIndex().isValid()) {
                m_open(m_grid->currentIndex().row());
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView *m_grid;
    std::function<void(int)> m_open;
};

} // namespace

void setUpHitsGrid(QTableView *grid, NameSearch &search)
{
    form::listGrid(grid, &search.hits(), QAbstractItemView::SingleSelection, {80, 50, 60, 230, 120});
    grid->setColumnHidden(ListEntries::Situacao, true);
}

void openOnEnter(QTableView *grid, std::function<void(int row)> open)
{
    grid->installEventFilter(new EnterOpens(grid, std::move(open)));
}

} // namespace clinora
