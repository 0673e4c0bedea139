#include "agenda/tfreiniciararquivos.h"

#include "agenda/restart.h"
#include "app/context.h"
#include "platform/radio_group.h"
#include "platform/user_action.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

namespace {

RadioGroup *group(const char *name, const QString &caption, QWidget *parent)
{
    return new RadioGroup(QLatin1String(name), caption, {QStringLiteral("Limpar"), QStringLiteral("Manter")}, 2,
                          parent);
}

} // namespace

TFReiniciarArquivos::TFReiniciarArquivos(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FReiniciarArquivos"));
    setWindowTitle(QStringLiteral("Reiniciar Arquivos"));
    Label5 = new QLabel(QStringLiteral("Escolher entre \"Limpar\" ou \"Manter\" os arquivos abaixo: "), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    RGMed = group("RGMed", QStringLiteral("Médicos"), this);
    RGEsp = group("RGEsp", QStringLiteral("Especialidades"), this);
    RGSit = group("RGSit", QStringLiteral("Situações"), this);
    RGConsultas = group("RGConsultas", QStringLiteral("Consultas Marcadas e Datas"), this);
    RGEstatisticas = group("RGEstatisticas", QStringLiteral("Estatísticas"), this);
    RGEstatisticas->hide();
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Button1 = new QPushButton(QStringLiteral("Executar"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Sair"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, guarded(context.dialogs, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label5);
    for (QWidget *w : std::initializer_list<QWidget *>{RGMed, RGEsp, RGSit, RGConsultas, RGEstatisticas})
        layout->addWidget(w);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
}

void TFReiniciarArquivos::showStatisticsGroup(bool shown)
{
    RGEstatisticas->setVisible(shown);
}

void TFReiniciarArquivos::showEvent(QShowEvent *event)
{
    for (RadioGroup *g : {RGMed, RGEsp, RGSit, RGConsultas, RGEstatisticas})
        g->setItemIndex(1);
    QDialog::showEvent(event);
}

void TFReiniciarArquivos::Button1Click()
{
    RestartGroups groups;
    groups.doctors = RGMed->itemIndex() == 0;
    groups.specialties = RGEsp->itemIndex() == 0;
    groups.situations = RGSit->itemIndex() == 0;
    groups.appointments = RGConsultas->itemIndex() == 0;
    groups.statistics = RGEstatisticas->itemIndex() == 0;
    const bool done = restartSystem(m_context, groups, [this](const QString &first, const QString &second) {
        Label1->setText(first);
        Label2->setText(second);
        Label1->repaint();
        Label2->repaint();
    });
    if (done)
        accept();
}

} // namespace clinora
