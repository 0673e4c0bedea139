#include "protection/tfespelhamento.h"

#include "platform/radio_group.h"
#include "platform/user_action.h"
#include "protection/mirror_link.h"
#include "protection/synchronisation.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

TFEspelhamento::TFEspelhamento(MirroredClinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FEspelhamento"));
    setWindowTitle(QStringLiteral("Espelhamento"));
    RGEspelho = new RadioGroup(QStringLiteral("RGEspelho"), QStringLiteral("Espelhamento"),
                               {QStringLiteral("Ativado"), QStringLiteral("Desativado")}, 2, this);
    GBEspelho = new QGroupBox(QStringLiteral("Local do Espelho"), this);
    GBEspelho->setObjectName(QStringLiteral("GBEspelho"));
    Label1 = new QLabel(QStringLiteral("Local Atual:"), GBEspelho);
    Label1->setObjectName(QStringLiteral("Label1"));
    EDrive = new QLineEdit(GBEspelho);
    EDrive->setObjectName(QStringLiteral("EDrive"));
    EDrive->setEnabled(false);
    EDrive->setMaximumWidth(60);
    BAlterar = new QPushButton(QStringLiteral("Alterar"), GBEspelho);
    BAlterar->setObjectName(QStringLiteral("BAlterar"));
    CBDrive = new QComboBox(GBEspelho);
    CBDrive->setObjectName(QStringLiteral("CBDrive"));
    CBDrive->hide();
    auto *group = new QGridLayout(GBEspelho);
    group->addWidget(Label1, 0, 0);
    group->addWidget(EDrive, 0, 1);
    group->addWidget(BAlterar, 0, 2);
    group->addWidget(CBDrive, 1, 0, 1, 3);
    BSair = new QPushButton(QStringLiteral("Executar e Sair"), this);
    BSair->setObjectName(QStringLiteral("BSair"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RGEspelho);
    layout->addWidget(GBEspelho);
    layout->addWidget(BSair, 0, Qt::AlignRight);

    connect(RGEspelho, &RadioGroup::clicked, this, [this](int item) { RGEspelhoClick(item); });
    connect(BAlterar, &QPushButton::clicked, this, [this] { BAlterarClick(); });
    connect(BSair, &QPushButton::clicked, this, &QDialog::accept);
    // Leaving the location group while the drive list is shown takes the drive chosen.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && GBEspelho->isAncestorOf(old) && !(now && GBEspelho->isAncestorOf(now)))
            GBEspelhoExit();
    });
}

TFEspelhamento::~TFEspelhamento()
{
    // Focus moves while the dialog takes its children down: the location group it
    // would look at is no longer there.
    disconnect(qApp, nullptr, this, nullptr);
}

void TFEspelhamento::showEvent(QShowEvent *event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TFEspelhamento::FormActivate()
{
    m_wasOn = m_context.settings.mirroringOn();
    RGEspelho->setItemIndex(m_wasOn ? 0 : 1);
    GBEspelho->setVisible(m_wasOn);
    CBDrive->hide();
    const QString location = m_context.settings.mirrorDir().trimmed();
    EDrive->setText(location.left(2));
    m_chosenLocation = location.left(1);
}

void TFEspelhamento::RGEspelhoClick(int item)
{
    if (item == 1) {
        GBEspelho->hide();
        accept();
        return;
    }
    GBEspelho->show();
}

void TFEspelhamento::BAlterarClick()
{
    CBDrive->clear();
    CBDrive->addItems(mirror::drives(m_context.paths));
    const int current = CBDrive->findText(EDrive->text(), Qt::MatchFixedString);
    CBDrive->setCurrentIndex(current);
    CBDrive->show();
    CBDrive->setFocus();
}

void TFEspelhamento::GBEspelhoExit()
{
    if (CBDrive->isHidden())
        return;
    CBDrive->hide();
    if (CBDrive->currentIndex() >= 0)
        m_chosenLocation = mirror::locationOn(CBDrive->currentText().at(0));
}

void TFEspelhamento::FormClose()
{
    GBEspelhoExit();
    mirror::LocationChoice choice;
    choice.wasOn = m_wasOn;
    choice.on = RGEspelho->itemIndex() == 0;
    choice.shownDrive = EDrive->text();
    choice.chosenLocation = m_chosenLocation;
    mirror::applyLocation(m_context, choice);
}

void TFEspelhamento::done(int result)
{
    runUserAction(m_context.dialogs, [this] { FormClose(); });
    QDialog::done(result);
}

} // namespace clinora
