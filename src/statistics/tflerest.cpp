#include "statistics/tflerest.h"

#include "store/clinic.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "platform/user_action.h"
#include "statistics/external_sets.h"
#include "statistics/tfgravarest.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

namespace {

QChar driveOf(const QComboBox *drives)
{
    const QString text = drives->currentText();
    return text.isEmpty() ? QLatin1Char('C') : text.at(0).toUpper();
}

} // namespace

TFLerEst::TFLerEst(Clinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FLerEst"));
    setWindowTitle(QStringLiteral("Ler Estatísticas"));
    LLocal = new QLabel(QStringLiteral("Selecionar o drive"), this);
    LLocal->setObjectName(QStringLiteral("LLocal"));
    CBDrive = new QComboBox(this);
    CBDrive->setObjectName(QStringLiteral("CBDrive"));
    CBDrive->setMinimumWidth(80);
    LLocal->setBuddy(CBDrive);
    Panel1 = new ClickableLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setText(QStringLiteral("Clique aqui para selecionar o local"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setMinimumHeight(32);
    Panel1->setCursor(Qt::PointingHandCursor);
    LBDiretorio = new QListWidget(this);
    LBDiretorio->setObjectName(QStringLiteral("LBDiretorio"));
    LBDiretorio->setToolTip(QStringLiteral("Dê 2 clics para selecionar o local"));
    LBDiretorio->setMinimumSize(300, 220);
    Button2 = new QPushButton(QStringLiteral("Clicar para ler as Estatísticas"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("Sair"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    for (QPushButton *b : {Button1, Button2})
        b->setAutoDefault(false);

    connect(Panel1, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Panel1Click(); }));
    connect(LBDiretorio, &QListWidget::itemDoubleClicked, this,
            guarded(m_context.dialogs, [this] { LBDiretorioDblClick(); }));
    connect(Button2, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    // Another drive: its sets are listed when the panel is clicked again.
    connect(CBDrive, &QComboBox::currentIndexChanged, this, [this] {
        LBDiretorio->hide();
        Button2->hide();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->addWidget(LLocal);
    layout->addWidget(CBDrive, 0, Qt::AlignLeft);
    layout->addWidget(Panel1);
    layout->addWidget(LBDiretorio);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addStretch();
    buttons->addWidget(Button1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFLerEst::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_chosen.clear();
    m_listed.clear();
    fillDrives(CBDrive, m_context, driveOf(CBDrive));
    LBDiretorio->hide();
    Button2->hide();
}

void TFLerEst::Panel1Click()
{
    const QChar drive = driveOf(CBDrive);
    const QString folder = sets::setsFolder(m_context.paths, drive);
    m_chosen.clear();
    if (!QFileInfo(folder).isDir()) {
        LBDiretorio->hide();
        Button2->hide();
        m_context.dialogs.information(
            QStringLiteral("Não existe o Diretório Consultas\\Estatisticas no drive %1:").arg(drive));
        return;
    }
    m_listed = folder;
    LBDiretorio->clear();
    LBDiretorio->addItems(sets::setsOn(m_context.paths, drive));
    LBDiretorio->show();
    Button2->hide();
}

void TFLerEst::LBDiretorioDblClick()
{
    if (LBDiretorio->currentItem())
        Button2->show();
}

void TFLerEst::Button2Click()
{
    const QListWidgetItem *item = LBDiretorio->currentItem();
    if (!item)
        return;
    const QString folder = m_listed + QLatin1Char('/') + item->text();
    if (!sets::isSet(folder)) {
        m_chosen.clear();
        LBDiretorio->hide();
        Button2->hide();
        m_context.dialogs.information(
            QStringLiteral("Não há estatísticas no Diretório %1:\\Consultas\\Estatisticas\\%2")
                .arg(driveOf(CBDrive))
                .arg(item->text()));
        return;
    }
    m_chosen = folder;
    LBDiretorio->hide();
    accept();
}

} // namespace clinora
