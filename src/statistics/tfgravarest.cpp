#include "statistics/tfgravarest.h"

#include "platform/private_files.h"
#include "platform/user_action.h"
#include "protection/mirror_link.h"
#include "protection/synchronisation.h"
#include "statistics/external_sets.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

namespace {

QChar driveOf(const QComboBox *drives)
{
    const QString text = drives->currentText();
    return text.isEmpty() ? QLatin1Char('C') : text.at(0);
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QComboBox *driveList(const char *name, QWidget *parent)
{
    auto *drives = new QComboBox(parent);
    drives->setObjectName(QLatin1String(name));
    drives->setMinimumWidth(80);
    return drives;
}

} // namespace

void fillDrives(QComboBox *drives, const Services &services, QChar preferred)
{
    const QStringList found = mirror::drives(services.paths);
    const QSignalBlocker quiet(drives);
    drives->clear();
    drives->addItems(found);
    const int at = found.indexOf(QString(preferred.toUpper()) + QLatin1Char(':'));
    drives->setCurrentIndex(at >= 0 ? at : 0);
}

TFGravarEst::TFGravarEst(MirroredClinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FGravarEst"));
    setWindowTitle(QStringLiteral("Gravar Estatísticas"));
    LLocal = new QLabel(QStringLiteral("Selecione o Drive"), this);
    LLocal->setObjectName(QStringLiteral("LLocal"));
    CBDrive = driveList("CBDrive", this);
    LLocal->setBuddy(CBDrive);
    LNome = new QLabel(QStringLiteral("Nome do Diretório"), this);
    LNome->setObjectName(QStringLiteral("LNome"));
    ENome = new QLineEdit(this);
    ENome->setObjectName(QStringLiteral("ENome"));
    ENome->setMaxLength(60);
    LNome->setBuddy(ENome);
    Button1 = button("Button1", QStringLiteral("Gravar  Estatística"), this);
    Button2 = button("Button2", QStringLiteral("Sair"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->setSpacing(6);
    layout->addWidget(LLocal);
    layout->addWidget(CBDrive, 0, Qt::AlignLeft);
    layout->addSpacing(10);
    layout->addWidget(LNome);
    layout->addWidget(ENome);
    layout->addSpacing(14);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

void TFGravarEst::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A set is meant to leave the data folder: another drive first, when there is one.
    QChar preferred = driveOf(CBDrive);
    if (CBDrive->count() == 0) {
        for (const QString &drive : mirror::drives(m_context.paths)) {
            preferred = drive.at(0);
            if (preferred != QLatin1Char('C'))
                break;
        }
    }
    fillDrives(CBDrive, m_context, preferred);
    ENome->setFocus();
}

void TFGravarEst::Button1Click()
{
    if (sets::writeSet(m_context, driveOf(CBDrive), ENome->text()))
        accept();
}

TFCopiarEst::TFCopiarEst(MirroredClinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FCopiarEst"));
    setWindowTitle(QStringLiteral("Copiar Estatísticas"));
    Label1 = new QLabel(QStringLiteral("Copiar as Estatísticas "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    auto *from = new QGroupBox(QStringLiteral("De"), this);
    from->setObjectName(QStringLiteral("Panel1"));
    DriveIni = driveList("DriveIni", from);
    DiretorioIni = new QListWidget(from);
    DiretorioIni->setObjectName(QStringLiteral("DiretorioIni"));
    DiretorioIni->setToolTip(QStringLiteral("Clique no diretório da Estatística"));
    DiretorioIni->setMinimumSize(220, 200);
    auto *fromLayout = new QVBoxLayout(from);
    fromLayout->addWidget(DriveIni, 0, Qt::AlignLeft);
    fromLayout->addWidget(DiretorioIni);

    auto *to = new QGroupBox(QStringLiteral("Para"), this);
    to->setObjectName(QStringLiteral("Panel2"));
    DriveFim = driveList("DriveFim", to);
    auto *toLayout = new QVBoxLayout(to);
    toLayout->addWidget(DriveFim, 0, Qt::AlignLeft);
    toLayout->addStretch();

    Button1 = button("Button1", QStringLiteral("Copiar"), this);
    Button2 = button("Button2", QStringLiteral("Sair"), this);
    connect(Button1, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(DriveIni, &QComboBox::currentIndexChanged, this,
            guarded(m_context.dialogs, [this] { fillSets(); }));

    auto *panels = new QHBoxLayout;
    panels->addWidget(from, 1);
    panels->addWidget(to);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->addWidget(Label1);
    layout->addLayout(panels);
    layout->addLayout(buttons);
}

void TFCopiarEst::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The copy starts from the data folder's sets and archives.
    privacy::makeFolder(sets::setsFolder(m_context.paths, QLatin1Char('C')));
    fillDrives(DriveIni, m_context, QLatin1Char('C'));
    fillDrives(DriveFim, m_context, driveOf(DriveFim));
    fillSets();
}

void TFCopiarEst::fillSets()
{
    DiretorioIni->clear();
    DiretorioIni->addItems(sets::setsOn(m_context.paths, driveOf(DriveIni)));
}

void TFCopiarEst::Button1Click()
{
    const QListWidgetItem *chosen = DiretorioIni->currentItem();
    const QString name = chosen && chosen->isSelected() ? chosen->text() : QString();
    if (sets::copySet(m_context, driveOf(DriveIni), name, driveOf(DriveFim))) {
        fillSets();
        accept();
    }
}

} // namespace clinora
