#include "search/tfprocuranome.h"

#include "store/clinic.h"
#include "platform/user_action.h"
#include "search/hits_grid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace clinora {

TFProcuraNome::TFProcuraNome(Clinic &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_search(context)
{
    setObjectName(QStringLiteral("FProcuraNome"));
    setWindowTitle(QStringLiteral("Pesquisar por Nome"));
    Dialogs &dialogs = m_context.dialogs;

    Label1 = new QLabel(QStringLiteral("Entre com o nome do Paciente"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(NameSearch::kMaxLength);
    Button1 = new QPushButton(QStringLiteral("Procurar"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Sair"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    setUpHitsGrid(DBGrid1, m_search);

    connect(Button1, &QPushButton::clicked, this, guarded(dialogs, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(DBGrid1, &QTableView::doubleClicked, this,
            guarded(dialogs, [this](const QModelIndex &index) { DBGrid1DblClick(index.row()); }));

    auto *top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(Edit1, 1);
    top->addWidget(Button1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
    resize(640, 440);
}

std::optional<AppointmentKey> TFProcuraNome::choose()
{
    m_chosen.reset();
    exec();
    return m_chosen;
}

void TFProcuraNome::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFProcuraNome::FormActivate()
{
    Edit1->clear();
    m_search.clear();
    Edit1->setFocus();
}

void TFProcuraNome::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4 || event->key() == Qt::Key_Escape) {
        event->accept();
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFProcuraNome::Button1Click()
{
    m_search.search(Edit1->text());
}

void TFProcuraNome::DBGrid1DblClick(int row)
{
    const std::optional<AppointmentKey> key = m_search.hit(row);
    if (!key)
        return;
    m_chosen = key;
    accept();
}

} // namespace clinora
