#include "statistics/tfeditarhistorico.h"

#include "protection/mirror_link.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/user_action.h"
#include "protection/mirror.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace clinora {

namespace {

const QString kNotice = QStringLiteral("   Sob este painel ,  encontra-se  um quadro com o histórico\n"
                                       "dos atendimentos dos últimos três anos. O operador  poderá\n"
                                       "mantê-lo, alterá-lo ou apagá-lo, clicando  nos botões:\n"
                                       "\n"
                                       " < Recuperar Dados > - volta com os dados iniciais;\n"
                                       "\n"
                                       " < Alterar > - permite a digitação nas células do quadro; \n"
                                       "\n"
                                       " < Limpar > - grava zeros em  todas as células do quadro; e\n"
                                       "\n"
                                       " < Gravar > - grava os dados do quadro no arquivo histórico.\n"
                                       "\n"
                                       "\n"
                                       " = Para ver o quadro, clicar em qualquer parte do formulário =");

QPushButton *button(const char *name, const QString &caption, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFEditarHistorico::TFEditarHistorico(MirroredClinic &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FEditarHistorico"));
    setWindowTitle(QStringLiteral("Preenchimento do Quadro Histórico"));

    auto *heading = new QLabel(QStringLiteral("Inicialização manual do Quadro Histórico"), this);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);

    Panel1 = new QLabel(QStringLiteral("Quadro Histórico:"), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setMargin(4);

    Memo1 = new QLabel(kNotice, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTextFormat(Qt::PlainText);
    Memo1->setAutoFillBackground(true);
    Memo1->setFrameShape(QFrame::Box);
    Memo1->setMargin(12);
    QPalette notice = Memo1->palette();
    notice.setColor(QPalette::Window, notice.color(QPalette::ToolTipBase));
    notice.setColor(QPalette::WindowText, QColor(0, 128, 128));
    Memo1->setPalette(notice);
    Memo1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Grade = new QTableWidget(this);
    Grade->setObjectName(QStringLiteral("Grade"));
    Grade->horizontalHeader()->hide();
    Grade->verticalHeader()->hide();
    Grade->setColumnCount(4);
    Grade->setColumnWidth(0, 170);
    for (int c = 1; c <= 3; ++c)
        Grade->setColumnWidth(c, 80);
    Grade->setSelectionMode(QAbstractItemView::SingleSelection);
    Grade->setFixedHeight(290);
    Grade->setFixedWidth(170 + 3 * 80 + 2 * Grade->frameWidth() + 20);
    Grade->viewport()->setMouseTracking(true);
    Grade->viewport()->installEventFilter(this);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(Memo1);
    m_stack->addWidget(Grade);
    m_stack->setFixedHeight(290);

    BMostrar =
        button("BMostrar", QStringLiteral("Recuperar Dados Iniciais"),
               QStringLiteral("Permite voltar com os dados iniciais (antes de se clicar em  Gravar)"), this);
    BLimpar = button("BLimpar", QStringLiteral("Limpar"),
                     QStringLiteral("Clique para \"zerar\" os atendimentos anuais "), this);
    BIncluir = button("BIncluir", QStringLiteral("Alterar"),
                      QStringLiteral("Clique para permitir a alteração dos dados do quadro"), this);
    BGravar = button("BGravar", QStringLiteral("Gravar"),
                     QStringLiteral("Clique para gravar o quadro como ele se apresenta no momento"), this);
    Button1 = button("Button1", QStringLiteral("Sair"), QString(), this);
    connect(BMostrar, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BMostrarClick(); }));
    connect(BLimpar, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BLimparClick(); }));
    connect(BIncluir, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BIncluirClick(); }));
    connect(BGravar, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BGravarClick(); }));
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(10);
    for (QPushButton *b : {BMostrar, BIncluir, BLimpar, BGravar})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto *body = new QHBoxLayout;
    body->setSpacing(14);
    auto *left = new QVBoxLayout;
    left->addWidget(Panel1);
    left->addWidget(m_stack);
    body->addLayout(left);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(heading);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TFEditarHistorico::gridShown() const
{
    return m_stack->currentWidget() == Grade;
}

void TFEditarHistorico::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFEditarHistorico::FormActivate()
{
    BMostrar->setEnabled(false);
    BGravar->setEnabled(false);
    m_stack->setCurrentWidget(Memo1);
    loadGrid();
}

void TFEditarHistorico::loadGrid()
{
    Grade->clearContents();
    Grade->setRowCount(0);
    setEditable(false);
    // A history that cannot be read is never written back: nothing to change then.
    BLimpar->setEnabled(false);
    BIncluir->setEnabled(false);
    QString warning;
    if (!runUserAction(m_context.dialogs, [&] { m_table = loadHistoryTable(m_context, &warning); }))
        return;
    Grade->setRowCount(1 + static_cast<int>(m_table.rows.size()));
    const auto cell = [this](int row, int column, const QString &text) {
        auto *item = new QTableWidgetItem(text);
        if (column > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Grade->setItem(row, column, item);
        return item;
    };
    QFont bold = Grade->font();
    bold.setBold(true);
    for (int c = 0; c < 4; ++c) {
        QTableWidgetItem *item =
            cell(0, c, c == 0 ? QString() : m_table.headings[static_cast<std::size_t>(c - 1)]);
        item->setFont(bold);
        item->setBackground(palette().color(QPalette::Button));
    }
    for (int r = 0; r < m_table.rows.size(); ++r) {
        const HistoryTable::Row &row = m_table.rows[r];
        cell(r + 1, 0, row.name);
        for (int c = 1; c <= 3; ++c)
            cell(r + 1, c, row.totals[static_cast<std::size_t>(c - 1)]);
    }
    BLimpar->setEnabled(true);
    BIncluir->setEnabled(true);
    if (!warning.isEmpty())
        m_context.dialogs.warning(warning);
}

void TFEditarHistorico::setEditable(bool editable)
{
    Grade->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < Grade->rowCount(); ++r) {
        for (int c = 0; c < Grade->columnCount(); ++c) {
            if (QTableWidgetItem *item = Grade->item(r, c)) {
                // The names are the register's: only the years and the totals are typed.
                const bool typed = editable && c > 0;
                item->setFlags(typed ? item->flags() | Qt::ItemIsEditable
                                     : item->flags() & ~Qt::ItemIsEditable);
            }
        }
    }
}

void TFEditarHistorico::mousePressEvent(QMouseEvent *event)
{
    m_stack->setCurrentWidget(Grade);
    QDialog::mousePressEvent(event);
}

bool TFEditarHistorico::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grade->viewport() && event->type() == QEvent::MouseMove)
        GradeMouseMove();
    return QDialog::eventFilter(watched, event);
}

void TFEditarHistorico::GradeMouseMove()
{
    for (int r = 1; r < Grade->rowCount(); ++r) {
        for (int c = 1; c < Grade->columnCount(); ++c) {
            QTableWidgetItem *item = Grade->item(r, c);
            if (item && !item->text().isEmpty() && plainNumber(item->text()) != item->text())
                item->setText(plainNumber(item->text()));
        }
    }
}

void TFEditarHistorico::BMostrarClick()
{
    loadGrid();
}

void TFEditarHistorico::BIncluirClick()
{
    BMostrar->setEnabled(true);
    BGravar->setEnabled(true);
    m_stack->setCurrentWidget(Grade);
    setEditable(true);
    m_context.dialogs.information(
        QStringLiteral("1. Faça as alterações necessárias no quadro e depois clique em \"Gravar\" \n2. Para "
                       "voltar à posição inicial, clicar em \"Recuperar Dados Iniciais\" "));
}

void TFEditarHistorico::BLimparClick()
{
    m_context.dialogs.information(QStringLiteral(
        "1. Para confirmar a limpeza, clicar em \"Gravar\" \n2. Para voltar à posição inicial, "
        "clicar em \"Recuperar Dados Iniciais\" "));
    BMostrar->setEnabled(true);
    BGravar->setEnabled(true);
    m_stack->setCurrentWidget(Grade);
    for (int r = 1; r < Grade->rowCount(); ++r) {
        for (int c = 1; c < Grade->columnCount(); ++c)
            Grade->item(r, c)->setText(QString());
    }
}

void TFEditarHistorico::BGravarClick()
{
    HistoryTable table = m_table;
    for (int c = 1; c <= 3; ++c)
        table.headings[static_cast<std::size_t>(c - 1)] = Grade->item(0, c)->text();
    for (int r = 0; r < table.rows.size(); ++r) {
        for (int c = 1; c <= 3; ++c)
            table.rows[r].totals[static_cast<std::size_t>(c - 1)] = Grade->item(r + 1, c)->text();
    }
    const QString refusal = saveHistoryTable(m_context, table);
    if (!refusal.isEmpty()) {
        m_context.dialogs.information(refusal);
        return;
    }
    BMostrar->setEnabled(false);
    m_table = table;
}

void TFEditarHistorico::done(int result)
{
    runUserAction(m_context.dialogs, [this] { mirror::copy(m_context, files::kHistory); });
    QDialog::done(result);
}

} // namespace clinora
