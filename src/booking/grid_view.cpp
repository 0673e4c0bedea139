#include "booking/grid_view.h"

#include "sheets/day_sheet.h"
#include "sheets/text_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace clinora {

namespace {

class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(GridView *view, GridView::Style style) : QStyledItemDelegate(view), m_view(view), m_style(style) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QColor background = backgroundOf(index);
        if (background.isValid() && !(option.state & QStyle::State_Selected))
            painter->fillRect(option.rect, background);
        QStyleOptionViewItem opt = option;
        if (m_style == GridView::Style::DaySheet) {
            const auto kind = static_cast<DaySheet::Kind>(index.data(DaySheet::KindRole).toInt());
            if (kind == DaySheet::Kind::NoSlot || kind == DaySheet::Kind::Marked)
                opt.palette.setColor(QPalette::Text, QColor(0x9a, 0x9a, 0x9a));
            else if (kind == DaySheet::Kind::Booked || kind == DaySheet::Kind::Reserved)
                opt.font.setBold(true);
        }
        QStyledItemDelegate::paint(painter, opt, index);
    }

private:
    QColor backgroundOf(const QModelIndex &index) const
    {
        if (m_style == GridView::Style::DaySheet) {
            switch (static_cast<DaySheet::Kind>(index.data(DaySheet::KindRole).toInt())) {
            case DaySheet::Kind::Free: return QColor(Qt::white);
            case DaySheet::Kind::Booked: return QColor(0xcf, 0xe3, 0xff);
            case DaySheet::Kind::Reserved: return QColor(0xff, 0xe2, 0xb3);
            case DaySheet::Kind::NoSlot:
            case DaySheet::Kind::Marked: return QColor(0xee, 0xee, 0xee);
            case DaySheet::Kind::Other: return {};
            }
            return {};
        }
        switch (m_view->columnMark(index.column() + 1)) {
        case GridView::ColumnMark::Closed: return QColor(0xc0, 0xdc, 0xc0);
        case GridView::ColumnMark::Unavailable: return m_view->palette().color(QPalette::Midlight);
        case GridView::ColumnMark::None: break;
        }
        return m_style == GridView::Style::Filtered ? QColor(0xcc, 0xff, 0xff)
                                                    : m_view->palette().color(QPalette::ToolTipBase);
    }

    GridView *m_view;
    GridView::Style m_style;
};

} // namespace

GridView::GridView(Style style, QWidget *parent) : QTableView(parent), m_style(style), m_marks(32, ColumnMark::None)
{
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() - 1);
    setFont(small);
    setItemDelegate(new CellDelegate(this, style));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setMinimumSectionSize(18);
    horizontalHeader()->setDefaultSectionSize(style == Style::DaySheet ? 36 : 24);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(19);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setFixedWidth(style == Style::DaySheet ? 190 : 180);
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { Q_EMIT cellDoubleClicked(index.column() + 1, index.row() + 1); });
}

void GridView::setGrid(TextGrid *grid)
{
    m_grid = grid;
    setModel(grid);
}

void GridView::setColumnMarks(const std::vector<ColumnMark> &marks)
{
    if (marks == m_marks)
        return;
    m_marks = marks;
    viewport()->update();
}

GridView::ColumnMark GridView::columnMark(int column) const
{
    return column >= 0 && column < static_cast<int>(m_marks.size()) ? m_marks[static_cast<std::size_t>(column)]
                                                                    : ColumnMark::None;
}

int GridView::currentColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() + 1 : 0;
}

int GridView::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() + 1 : 0;
}

void GridView::goToCell(int col, int row)
{
    if (!model())
        return;
    const QModelIndex index = model()->index(row - 1, col - 1);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

void GridView::setTopRow(int row)
{
    if (!model() || model()->rowCount() == 0)
        return;
    const int target = std::clamp(row, 1, model()->rowCount()) - 1;
    scrollTo(model()->index(target, std::max(0, columnAt(0))), QAbstractItemView::PositionAtTop);
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        event->accept();
        Q_EMIT cellDoubleClicked(currentIndex().column() + 1, currentIndex().row() + 1);
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    Q_EMIT focusEntered();
}

} // namespace clinora
