#include "booking/list_tab_widget.h"

#include "protection/mirror_link.h"
#include "booking/form_parts.h"
#include "booking/tfconsulta2.h"
#include "platform/clickable_label.h"
#include "platform/user_action.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace clinora {

const QString ListTabWidget::kConventions = QStringLiteral(
    "                    Convenções para inclusão de paciente em espera:\n\nCampos Data e Hora:\n - serão "
    "preenchidos automaticamente pelo programa;\n\nCampo Médico\n - se o paciente preferir determinado "
    "médico, preencher com o código do médico;\n - se não houver preferência por nenhum médico, preencher "
    "com "
    "o código da especialidade. ");

using form::named;

namespace {

// Draws a cell's text straight on the grid: a list shows plain texts, and a receptionist
// opening a long list waits on its painting as much as on its query.
class ListCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text = option.rect.adjusted(4, 0, -4, 0);
        painter->drawText(
            text, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    }
};

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

ListTabWidget::ListTabWidget(MirroredClinic &context, ListTab::Kind kind, TFConsulta2 &dialog, QWidget *parent)
    : QWidget(parent), m_context(context), m_tab(context, kind), m_dialog(dialog)
{
    const bool cancelled = kind == ListTab::Kind::Cancelled;
    setObjectName(cancelled ? QStringLiteral("TabSheet32") : QStringLiteral("TabSheet34"));
    grid = named(new QTableView(this), cancelled ? "DBGrid1" : "DBGrid2");
    atualizar = button(QStringLiteral("Atualizar"), cancelled ? "BAtualizarEspera" : "Button2", this);
    excluir = button(QStringLiteral("Excluir"), cancelled ? "BExcluir" : "Button8", this);
    imprimir = button(QStringLiteral("Imprimir"), cancelled ? "BImprimir" : "Button4", this);
    candidatos = button(QStringLiteral("Candidatos"), cancelled ? "Button12" : "Button14", this);
    codigo = named(new QLineEdit(this), cancelled ? "Edit1" : "Edit2");
    codMed = named(new ClickableLabel(this), cancelled ? "Label37" : "Label40");
    countWarning = named(new QLabel(this), cancelled ? "Label41" : "Label43");
    adviceWarning = named(new QLabel(this), cancelled ? "Label42" : "Label44");
    if (cancelled) {
        avisar = button(QStringLiteral("Avisar"), "Button16", this);
    } else {
        incluir = button(QStringLiteral("Incluir"), "Button6", this);
        incluir->setToolTip(QStringLiteral("Dia de 400 em diante"));
    }
    build(cancelled ? QStringLiteral("CONSULTAS DESMARCADAS   - REMARCAR")
                    : QStringLiteral("LISTA DE ESPERA"),
          cancelled ? QStringLiteral("Marcar consulta com Dr(a) .....")
                    : QStringLiteral("Marcar consulta com  Dr(a) ....."));

    Dialogs &dialogs = context.dialogs;
    connect(atualizar, &QPushButton::clicked, this, guarded(dialogs, [this] { refresh(); }));
    if (avisar)
        connect(avisar, &QPushButton::clicked, this, guarded(dialogs, [this] { m_tab.openNotNotified(); }));
    if (incluir)
        connect(incluir, &QPushButton::clicked, this, guarded(dialogs, [this] { incluirClick(); }));
    connect(excluir, &QPushButton::clicked, this,
            guarded(dialogs, [this] { m_tab.deleteSelected(selectedRows()); }));
    connect(imprimir, &QPushButton::clicked, this, guarded(dialogs, [this] { m_tab.print(selectedRows()); }));
    connect(candidatos, &QPushButton::clicked, this,
            guarded(dialogs, [this] { m_tab.openCandidates(codigo->text()); }));
    connect(codMed, &ClickableLabel::clicked, this, guarded(dialogs, [this] {
                if (showDoctorsAndSpecialties)
                    showDoctorsAndSpecialties();
            }));
    connect(grid, &QTableView::doubleClicked, this,
            guarded(dialogs, [this](const QModelIndex &index) { openRow(index.row()); }));
}

void ListTabWidget::build(const QString &title, const QString &panel)
{
    auto *heading = new QLabel(title, this);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    heading->setFont(big);

    form::listGrid(grid, &m_tab.entries(), QAbstractItemView::ExtendedSelection, {80, 50, 60, 230, 120, 70});
    grid->setItemDelegate(new ListCellDelegate(grid));
    grid->installEventFilter(this);
    if (m_tab.kind() == ListTab::Kind::Waiting) {
        grid->setColumnHidden(ListEntries::Data, true);
        grid->setColumnHidden(ListEntries::Hora, true);
    }

    codigo->setFixedWidth(50);
    codigo->setMaxLength(2);
    codMed->setText(QStringLiteral("Cod. Med."));
    codMed->setToolTip(QStringLiteral("Médicos e Especialidades"));
    QFont link = codMed->font();
    link.setUnderline(true);
    codMed->setFont(link);
    for (QLabel *l : {countWarning, adviceWarning})
        l->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));

    auto *candidates = new QGroupBox(panel, this);
    auto *candidatesLayout = new QHBoxLayout(candidates);
    candidatesLayout->addWidget(codMed);
    candidatesLayout->addWidget(codigo);
    candidatesLayout->addWidget(candidatos);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(atualizar);
    if (avisar)
        buttons->addWidget(avisar);
    if (incluir)
        buttons->addWidget(incluir);
    buttons->addWidget(excluir);
    buttons->addWidget(imprimir);
    buttons->addSpacing(16);
    buttons->addWidget(candidates);
    buttons->addStretch();
    auto *warnings = new QVBoxLayout;
    warnings->addWidget(countWarning);
    warnings->addWidget(adviceWarning);
    buttons->addLayout(warnings);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(heading);
    layout->addLayout(buttons);
    layout->addWidget(grid, 1);
}

void ListTabWidget::showWarning()
{
    countWarning->setText(m_tab.countWarning());
    adviceWarning->setText(m_tab.adviceWarning());
}

void ListTabWidget::refresh()
{
    m_tab.openAll();
    showWarning();
}

std::vector<int> ListTabWidget::selectedRows() const
{
    // Read from the ranges: asking the selection row by row takes time that grows with
    // the square of a long selection.
    std::vector<int> rows;
    for (const QItemSelectionRange &range : grid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool ListTabWidget::showEntry(const AppointmentKey &key)
{
    int row = m_tab.entries().rowOf(key);
    if (row < 0) {
        refresh();
        row = m_tab.entries().rowOf(key);
    }
    if (row < 0)
        return false;
    const QModelIndex index = m_tab.entries().index(row, ListEntries::Medico);
    grid->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid->scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

void ListTabWidget::openRow(int row)
{
    // What the receptionist sees comes back as it was when the dialog closes: the same
    // list (a doctor's candidates stay filtered), the same rows selected, scrolled to
    // the same place, so that the next double-click lands on the row it aims at.
    std::vector<AppointmentKey> selected;
    for (const int r : selectedRows())
        selected.push_back(m_tab.entries().key(r));
    const AppointmentKey current = m_tab.entries().key(row);
    const int scrolled = grid->verticalScrollBar()->value();
    const auto restore = [&] {
        showWarning();
        QItemSelection selection;
        for (const AppointmentKey &key : selected) {
            const int r = m_tab.entries().rowOf(key);
            if (r >= 0)
                selection.select(m_tab.entries().index(r, 0),
                                 m_tab.entries().index(r, ListEntries::kColumns - 1));
        }
        QItemSelectionModel *model = grid->selectionModel();
        const int currentRow = m_tab.entries().rowOf(current);
        if (currentRow >= 0)
            model->setCurrentIndex(m_tab.entries().index(currentRow, ListEntries::Paciente),
                                   QItemSelectionModel::NoUpdate);
        model->select(selection, QItemSelectionModel::ClearAndSelect);
        grid->verticalScrollBar()->setValue(scrolled);
    };

    const std::optional<AppointmentKey> key = m_tab.entryToOpen(row);
    if (!key) {
        restore();
        return;
    }
    const auto origin = m_tab.kind() == ListTab::Kind::Cancelled ? RebookingEditor::Origin::Cancelled
                                                                 : RebookingEditor::Origin::Waiting;
    if (!m_dialog.openEntry(*key, origin))
        m_context.dialogs.information(ListTab::kGone);
    // Whatever the dialog did, the list shows the table as it now stands.
    m_tab.reopen();
    restore();
}

void ListTabWidget::incluirClick()
{
    m_dialog.prepareNewWaiting();
    if (!m_conventionsShown) {
        m_conventionsShown = true;
        m_context.dialogs.information(kConventions);
    }
    if (m_dialog.exec() == QDialog::Accepted)
        refresh();
}

bool ListTabWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && grid->currentIndex().isValid()) {
            const int row = grid->currentIndex().row();
            runUserAction(m_context.dialogs, [this, row] { openRow(row); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ListTabWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_tab.enter();
    showWarning();
}

void ListTabWidget::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Another tab, or the screen closing: deletions reach the mirror either way.
    if (!event->spontaneous())
        runUserAction(m_context.dialogs, [this] { m_tab.leave(); });
}

} // namespace clinora
