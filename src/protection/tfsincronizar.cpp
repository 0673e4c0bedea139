#include "protection/tfsincronizar.h"

#include "platform/radio_group.h"
#include "platform/user_action.h"
#include "protection/mirror.h"
#include "protection/mirror_link.h"
#include "protection/synchronisation.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

TFSincronizar::TFSincronizar(MirroredClinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FSincronizar"));
    setWindowTitle(QStringLiteral("Sincronização dos Bancos de Dados"));
    Label1 = new QLabel(QStringLiteral("Para continuar, escolha uma das  opções"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    RGSincronizar = new RadioGroup(QStringLiteral("RGSincronizar"), QString(),
                                   {QStringLiteral("Desativar Espelhamento"),
                                    QStringLiteral("Gravar Sistema sobre Espelho (Sist --> Esp)"),
                                    QStringLiteral("Recuperar Sistema com o Espelho (Sist <-- Esp)")},
                                   1, this);
    Button1 = new QPushButton(QStringLiteral("Sair"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    // What each side holds, when the data folder looks like the one that was lost.
    Comparison = new QLabel(this);
    Comparison->setObjectName(QStringLiteral("Comparison"));
    Comparison->setWordWrap(true);
    Comparison->setStyleSheet(QStringLiteral("color: #b00020;"));
    // (Each check makes its own dialog: what it shows is taken as it opens.)
    QString warning;
    runUserAction(m_context.dialogs, [&] { warning = mirror::offerWarning(mirror::syncOffer(m_context)); });
    Comparison->setText(warning);
    Comparison->setVisible(!warning.isEmpty());
    connect(RGSincronizar, &RadioGroup::clicked, this, [this](int item) { RGSincronizarClick(item); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Comparison);
    layout->addWidget(RGSincronizar);
    layout->addWidget(Button1, 0, Qt::AlignRight);
}

void TFSincronizar::showEvent(QShowEvent *event)
{
    RGSincronizar->setItemIndex(-1);
    QDialog::showEvent(event);
}

void TFSincronizar::RGSincronizarClick(int item)
{
    runUserAction(m_context.dialogs,
                  [&] { mirror::synchronise(m_context, static_cast<mirror::SyncChoice>(item)); });
    accept();
}

void TFSincronizar::done(int result)
{
    runUserAction(m_context.dialogs, [this] { mirror::closeSynchronisation(m_context); });
    QDialog::done(result);
}

bool mirrorConsistencyCheck(MirroredClinic &context, QWidget *parent)
{
    if (mirror::checkStamps(context) == mirror::Check::OutOfStep) {
        TFSincronizar FSincronizar(context, parent);
        FSincronizar.exec();
    }
    return !context.ended;
}

} // namespace clinora
