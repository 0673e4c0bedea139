#include "app/tfprincipal.h"

#include "agenda/purge.h"
#include "agenda/restart.h"
#include "agenda/tffechaabredata.h"
#include "agenda/tfprepararfuturo.h"
#include "agenda/tfreiniciararquivos.h"
#include "app/context.h"
#include "app/manual.h"
#include "app/session.h"
#include "booking/list_tab_widget.h"
#include "booking/tfvisaogeral.h"
#include "core/common.h"
#include "core/data_files.h"
#include "doctors/tfdadosmed.h"
#include "doctors/tfdadosregistro.h"
#include "doctors/tfhorarios.h"
#include "doctors/tfsemconsulta.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "platform/user_action.h"
#include "protection/local_backup.h"
#include "protection/mirror.h"
#include "protection/replay.h"
#include "protection/tfespelhamento.h"
#include "protection/tfmostracopias.h"
#include "protection/tfsincronizar.h"
#include "search/tfpesquisas.h"
#include "statistics/automatic_entry.h"
#include "statistics/external_sets.h"
#include "statistics/movement_entry.h"
#include "statistics/tfeditarhistorico.h"
#include "statistics/tfentramov.h"
#include "statistics/posting.h"
#include "statistics/tflistaprevreal.h"
#include "statistics/tfrelatorios.h"
#include "statistics/tfgravarest.h"
#include "statistics/tflerest.h"
#include "statistics/year_commands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace clinora {

namespace {

QMenu *addSubmenu(QWidget *parent, const char *name, const QString &caption, bool visible = true,
                  bool enabled = true)
{
    QMenu *menu = nullptr;
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        menu = bar->addMenu(caption);
    else
        menu = qobject_cast<QMenu *>(parent)->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    menu->menuAction()->setVisible(visible);
    menu->menuAction()->setEnabled(enabled);
    return menu;
}

QAction *addItem(QWidget *parent, const char *name, const QString &caption, bool visible = true)
{
    QAction *action = new QAction(caption, parent);
    action->setObjectName(QLatin1String(name));
    action->setVisible(visible);
    parent->addAction(action);
    return action;
}

} // namespace

TFPrincipal::TFPrincipal(AppContext &context, QWidget *parent)
    : QMainWindow(parent), m_context(context)
{
    setObjectName(QStringLiteral("FPrincipal"));
    setWindowTitle(QStringLiteral("Sistema Médico"));
    buildMenu();
    buildBody();
}

TFPrincipal::~TFPrincipal() = default;

void TFPrincipal::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QAction *booking = addItem(bar, "MarcaodeConsultas1", QStringLiteral("Marcar Consultas    "));
    connectChecked(booking, [this] { MarcaodeConsultas1Click(); });

    QMenu *manutencao = addSubmenu(bar, "Manuteno1", QStringLiteral("Manutenção    "));
    QMenu *cadastros = addSubmenu(manutencao, "Mdicos1", QStringLiteral("Cadastros Diversos"));
    QAction *specialties = addItem(cadastros, "Especialidades1", QStringLiteral("Especialidades"));
    connectChecked(specialties, [this] {
        if (!FDadosEsp)
            FDadosEsp = new TFDadosEsp(m_context, this);
        FDadosEsp->open();
    });
    QAction *doctors = addItem(cadastros, "Mdicos2", QStringLiteral("Médicos"));
    connectChecked(doctors, [this] {
        if (!FDadosMed)
            FDadosMed = new TFDadosMed(m_context, this);
        FDadosMed->execute();
    });
    QAction *situations = addItem(cadastros, "Situaes1", QStringLiteral("Situações"));
    connectChecked(situations, [this] {
        if (!FDadosSit)
            FDadosSit = new TFDadosSit(m_context, this);
        FDadosSit->open();
    });
    QAction *purge = addItem(manutencao, "ExcluirPassado1",
                             QStringLiteral("Eliminar Consultas anteriores à data de hoje"));
    connect(purge, &QAction::triggered, this, guarded(m_context.dialogs, [this] { ExcluirPassado1Click(); }));
    QAction *closedDates =
        addItem(manutencao, "FecharAbrirumaData1", QStringLiteral("Fechar / Abrir uma Data"));
    connectChecked(closedDates, [this] { FecharAbrirumaData1Click(); });
    connectChecked(addItem(manutencao, "BloquearLiberarHorrios1", QStringLiteral("Fechar / Abrir Horários")),
                   [this] { BloquearLiberarHorrios1Click(); });
    QAction *prepare =
        addItem(manutencao, "PrepararFuturo1", QStringLiteral("Alongar a Data de Preparação do Sistema"));
    connectChecked(prepare, [this] { PrepararFuturo1Click(); });
    connectItem(addItem(manutencao, "AtualizarBD1", QStringLiteral("Reorganizar o Banco de Dados"), false),
                [this] { reorganiseTable(m_context); });
    QMenu *copia = addSubmenu(manutencao, "CpiadeSegurana1",
                              QStringLiteral("Copiar o Banco de Dados para o disquete"), false);
    connectItem(addItem(copia, "NoDiscoRgido1", QStringLiteral("Disco Rígido"), false),
                [this] { NoDiscoRgido1Click(); });
    connectItem(addItem(copia, "NoDisquete1", QStringLiteral("Executar")), [this] { NoDisquete1Click(); });
    QMenu *restaura = addSubmenu(manutencao, "RestaurarCpia1",
                                 QStringLiteral("Recuperar o Banco de Dados do disquete"), false);
    connectItem(addItem(restaura, "DoDiscoRgido1", QStringLiteral("Disco Rígido"), false),
                [this] { DoDiscoRgido1Click(); });
    connectItem(addItem(restaura, "DoDisquete1", QStringLiteral("Executar")), [this] { DoDisquete1Click(); });
    QMenu *replay = addSubmenu(manutencao, "RecuperarBDcomArqMov1",
                               QStringLiteral("Recuperar o Banco de Dados"), false);
    connectItem(addItem(replay, "DoHD1", QStringLiteral("Do HD")), [this] { DoHD1Click(); });
    connectItem(addItem(replay, "DoDisquete2", QStringLiteral("Do Disquete")), [this] { DoDisquete2Click(); });
    connectChecked(addItem(manutencao, "ReiniciaroSistema1", QStringLiteral("Reiniciar o Sistema")), [this] {
        if (!FReiniciarArquivos)
            FReiniciarArquivos = new TFReiniciarArquivos(m_context, this);
        FReiniciarArquivos->showStatisticsGroup(m_statisticsShown);
        FReiniciarArquivos->exec();
    });
    QMenu *espelho = addSubmenu(manutencao, "SituaodasCpiasdeSegurana1", QStringLiteral("Espelhamento"));
    connectItem(addItem(espelho, "Situao1", QStringLiteral("Situação"), false), [this] { Situao1Click(); });
    connectItem(addItem(espelho, "EscolherLocalizao1",
                        QStringLiteral("Definir Local e Status (Ativado ou Desativado)")),
                [this] { EscolherLocalizao1Click(); });
    connectItem(addItem(espelho, "FazeraCpia1", QStringLiteral("Gravar Sistema sobre o Espelho (Sist --> Esp)")),
                [this] { mirror::writeSystem(m_context, true); });
    connectItem(addItem(espelho, "Recuperarosdados1",
                        QStringLiteral("Recuperar Sistema com o Espelho (Sist <-- Esp)")),
                [this] { mirror::recoverSystem(m_context, true); });

    connectChecked(addItem(bar, "Pesquisa1", QStringLiteral("Pesquisas    ")), [this] { Pesquisa1Click(); });

    // The statistics wing is delivered hidden and disabled; the automatic entry and
    // the year handling reach the statistics without it.
    QMenu *estatisticas = addSubmenu(bar, "Estatsticas1", QStringLiteral("Estatísticas"), false, false);
    QMenu *entrada = addSubmenu(estatisticas, "EntradadeDados1", QStringLiteral("Gravar Atendimentos "));
    QAction *automatica = addItem(entrada, "EntradaAutomticadasFichasMdicas1",
                                  QStringLiteral("Entrada automática das Fichas de Atendimentos"));
    automatica->setCheckable(true);
    connect(automatica, &QAction::triggered, this, [this, automatica] {
        runUserAction(m_context.dialogs, [this] {
            switchAutomaticEntryOn(m_context, [this] { return mirrorConsistencyCheck(m_context, this); });
        });
        refreshMirrorItems();
        // Ticked while the entry is on, whatever the click did to the tick.
        automatica->setChecked(m_context.settings.automaticEntryOn());
    });
    connectChecked(addItem(entrada, "UsandoasFichasMdicas1",
                           QStringLiteral("Entrada individual das Fichas de Atendimentos")),
                   [this] { MovementEntryClick(TFEntraMov::Layout::Individual); });
    connectChecked(addItem(entrada, "EntradacoletivadeFichasMdicas1",
                           QStringLiteral("Entrada coletiva das Fichas de Atendimentos")),
                   [this] { MovementEntryClick(TFEntraMov::Layout::Collective); });
    connectChecked(addItem(estatisticas, "Relatrios2", QStringLiteral("Relatório Semanal ")),
                   [this] { Relatrios2Click(); });
    // Carried hidden: the entries of the attendances post through it.
    connectItem(addItem(estatisticas, "AtualizarQuadroseGrficos1", QStringLiteral("Atualizar Quadros e Gráficos"),
                        false),
                [this] { postPendingMovements(m_context); });
    connectItem(addItem(estatisticas, "Relatrios1", QStringLiteral("Ver Quadros e Gráficos")),
                [this] { Relatrios1Click(); });
    // The manual close and open are delivered hidden and disabled; they show as the
    // year goes through them.
    QAction *closeYear =
        addItem(estatisticas, "FechamentodoAno1", QStringLiteral("Fechar Estatísticas do ano que termina"), false);
    closeYear->setEnabled(false);
    connectChecked(closeYear, [this] { FechamentodoAno1Click(); });
    QAction *openYear =
        addItem(estatisticas, "AbrirAno1", QStringLiteral("Abrir Estatísticas do ano que inicia"), false);
    openYear->setEnabled(false);
    connectChecked(openYear, [this] { AbrirAno1Click(); });
    connectItem(addItem(estatisticas, "SalvarEstatsticasnoDisquete1", QStringLiteral("Copiar Estatísticas no Disquete"),
                        false),
                [this] { sets::copyStatisticsToMirror(m_context); });
    connectItem(addItem(estatisticas, "RecuperarEstatsticasdoDisquete1",
                        QStringLiteral("Recuperar Estatísticas do Disquete"), false),
                [this] { sets::copyStatisticsFromMirror(m_context); });
    connectChecked(addItem(estatisticas, "EditaroarquivoHistrico1", QStringLiteral("Editar o arquivo Histórico")),
                   [this] {
                       if (!FEditarHistorico)
                           FEditarHistorico = new TFEditarHistorico(m_context, this);
                       FEditarHistorico->exec();
                   });
    QMenu *externas = addSubmenu(estatisticas, "ConsultarEstatsticasdoDisquete1",
                                 QStringLiteral("Estatísticas Externas"));
    connectChecked(addItem(externas, "GravarEstatsticas1", QStringLiteral("Gravar Estatísticas")),
                   [this] { gravarEst().exec(); });
    connectChecked(addItem(externas, "LerEstatsticas1", QStringLiteral("Ler Estatísticas")),
                   [this] { LerEstatsticas1Click(); });
    connectItem(addItem(externas, "CopiarEstatsticas1", QStringLiteral("Copiar Estatísticas")), [this] {
        if (!FCopiarEst)
            FCopiarEst = new TFCopiarEst(m_context, this);
        FCopiarEst->exec();
    });
    connectChecked(addItem(estatisticas, "ReinicializarEstatsticas1",
                           QStringLiteral("Abrir, Limpar (reiniciar) as Estatísticas"), false),
                   [this] { reopenOrResetStatistics(m_context); });

    QMenu *ajuda = addSubmenu(bar, "Ajuda1", QStringLiteral("Ajuda"));
    QAction *manual = addItem(ajuda, "Manual1", QStringLiteral("Manual"));
    connect(manual, &QAction::triggered, this, guarded(m_context.dialogs, [this] { Manual1Click(); }));
}

void TFPrincipal::buildBody()
{
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("Body"));
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(14);

    Label1 = new ClickableLabel(body);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    QFont nameFont = Label1->font();
    nameFont.setPointSize(22);
    nameFont.setBold(true);
    Label1->setFont(nameFont);
    Label1->setToolTip(QStringLiteral("Para alterar o nome do hospital, clique aqui"));
    connect(Label1, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Label1Click(); }));

    Image1 = new ClickableLabel(body);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(480, 300);
    Image1->setToolTip(
        QStringLiteral("Para alterar esta imagem, substitua a fotografia que está em C:\\Consultas\\Foto"));
    connect(Image1, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Image1Click(); }));

    // The two texts a long operation shows ("Aguarde ... ").
    Label2 = new QLabel(body);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label3 = new QLabel(body);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    m_context.showProgress = [this](const QString &first, const QString &second) { showProgress(first, second); };

    Label4 = new QLabel(QStringLiteral("Clinora 1.1"), body);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAlignment(Qt::AlignCenter);

    BitBtn1 = new QPushButton(QStringLiteral("Sair"), body);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setMinimumWidth(110);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);

    // Whether the mirror follows the changes, always in sight: a day without it leaves
    // no journal to recover from.
    MirroringState = new QLabel(body);
    MirroringState->setObjectName(QStringLiteral("MirroringState"));
    QFont stateFont = MirroringState->font();
    stateFont.setBold(true);
    MirroringState->setFont(stateFont);

    layout->addWidget(Label1);
    layout->addWidget(Image1, 1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(MirroringState, 1);
    bottom->addWidget(BitBtn1);
    layout->addLayout(bottom);
    setCentralWidget(body);
    resize(720, 560);
}

void TFPrincipal::connectItem(QAction *item, std::function<void()> action)
{
    connect(item, &QAction::triggered, this, [this, action = std::move(action)] {
        runUserAction(m_context.dialogs, action);
        refreshMirrorItems();
    });
}

void TFPrincipal::connectChecked(QAction *item, std::function<void()> action)
{
    connectItem(item, [this, action = std::move(action)] {
        if (mirrorConsistencyCheck(m_context, this))
            action();
    });
}

void TFPrincipal::refreshMirrorItems()
{
    if (m_context.ended)
        return;
    const bool on = m_context.settings.mirroringOn();
    menuItem(QStringLiteral("FazeraCpia1"))->setEnabled(on);
    menuItem(QStringLiteral("Recuperarosdados1"))->setEnabled(on);
    MirroringState->setText(on ? QStringLiteral("Espelhamento ativado") : QStringLiteral("Espelhamento desativado"));
    MirroringState->setStyleSheet(on ? QStringLiteral("color: #2e6b30;") : QStringLiteral("color: #b00020;"));
}

void TFPrincipal::showProgress(const QString &first, const QString &second)
{
    Label2->setText(first);
    Label3->setText(second);
    Label2->repaint();
    Label3->repaint();
}

QAction *TFPrincipal::menuItem(const QString &name) const
{
    return findChild<QAction *>(name);
}

void TFPrincipal::FormCreate()
{
    session::createMainWindow(m_context);
    if (m_context.settings.automaticEntryOn())
        menuItem(QStringLiteral("EntradaAutomticadasFichasMdicas1"))->setChecked(true);
    menuItem(QStringLiteral("ReinicializarEstatsticas1"))->setVisible(true);
    showClinicName();
    startCover();
    refreshMirrorItems();
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFPrincipal::showStatisticsMenu()
{
    QAction *statistics = menuItem(QStringLiteral("Estatsticas1"));
    statistics->setVisible(true);
    statistics->setEnabled(true);
    m_statisticsShown = true;
}

void TFPrincipal::showClinicName()
{
    Label1->setText(session::shownClinicName(m_context));
}

namespace {

// Reads the picture, a large photograph decoded straight to the size it is shown at.
// Touches no widget: it runs on a thread of its own.
CoverPicture decodeCover(const QString &path, QSize box)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (reader.size().isValid() && (reader.size().width() > box.width() || reader.size().height() > box.height()))
        reader.setScaledSize(reader.size().scaled(box, Qt::KeepAspectRatio));
    CoverPicture cover;
    cover.image = reader.read();
    if (cover.image.isNull())
        cover.error = reader.errorString();
    return cover;
}

} // namespace

void TFPrincipal::startCover()
{
    finishCover(); // a picture still being read is put aside first
    const QString stored = m_context.settings.coverPhoto();
    if (stored.trimmed().isEmpty()) {
        Image1->clear();
        return;
    }
    m_coverName = stored;
    m_cover = std::async(std::launch::async, decodeCover, m_context.paths.local(stored), Image1->minimumSize());
}

void TFPrincipal::finishCover()
{
    if (!m_cover.valid())
        return;
    CoverPicture cover = m_cover.get();
    if (cover.image.isNull()) {
        Image1->clear();
        m_context.dialogs.error(
            QStringLiteral("Não foi possível carregar a fotografia %1: %2").arg(m_coverName, cover.error));
        return;
    }
    // Moved, not copied: one picture in memory.
    Image1->setPixmap(QPixmap::fromImage(std::move(cover.image)));
}

void TFPrincipal::loadCover()
{
    startCover();
    finishCover();
}

void TFPrincipal::showEvent(QShowEvent *event)
{
    // The window has laid itself out (its fonts loaded, the texts measured) while the
    // picture was decoded; it is in place before the first paint.
    finishCover();
    QMainWindow::showEvent(event);
}

void TFPrincipal::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        runUserAction(m_context.dialogs, [this] { FormActivate(); });
}

void TFPrincipal::FormActivate()
{
    session::activateMainWindow(m_context);
    refreshMirrorItems();
}

void TFPrincipal::Label1Click()
{
    session::changeClinicName(m_context);
    showClinicName();
}

void TFPrincipal::Image1Click()
{
    if (session::changeCoverPhoto(m_context))
        loadCover();
}

TFVisaoGeral &TFPrincipal::visaoGeral()
{
    if (!FVisaoGeral)
        FVisaoGeral = new TFVisaoGeral(m_context, this);
    return *FVisaoGeral;
}

void TFPrincipal::MarcaodeConsultas1Click(const std::function<void(TFVisaoGeral &)> &then)
{
    TFVisaoGeral &screen = visaoGeral();
    screen.prepareMonthTab();
    screen.showScreen(then ? std::function<void()>([&screen, then] { then(screen); })
                           : std::function<void()>());
    // A name that begins with "." asks to be changed.
    if (m_context.settings.clinicName().startsWith(QLatin1Char('.')))
        Label1->setText(QStringLiteral("clicar nesta linha ou na fotografia para alterá-las"));
}

void TFPrincipal::openBookingScreen(const std::function<void(TFVisaoGeral &)> &then)
{
    TFVisaoGeral &screen = visaoGeral();
    if (screen.isVisible()) {
        then(screen);
        return;
    }
    if (mirrorConsistencyCheck(m_context, this))
        MarcaodeConsultas1Click(then);
    refreshMirrorItems();
}

TFGravarEst &TFPrincipal::gravarEst()
{
    if (!FGravarEst)
        FGravarEst = new TFGravarEst(m_context, this);
    return *FGravarEst;
}

void TFPrincipal::LerEstatsticas1Click()
{
    if (!FLerEst)
        FLerEst = new TFLerEst(m_context, this);
    FLerEst->exec();
    // The set is read into objects of its own: the open year stays as it is.
    if (!FLerEst->chosenSet().isEmpty())
        relatorios().showSet(FLerEst->chosenSet());
}

void TFPrincipal::FechamentodoAno1Click()
{
    if (!closeYearByHand(m_context))
        return;
    menuItem(QStringLiteral("ReinicializarEstatsticas1"))->setVisible(false);
    menuItem(QStringLiteral("AbrirAno1"))->setVisible(true);
    gravarEst().exec();
    m_context.dialogs.information(QStringLiteral("Após a gravação completa, retire o  disquete com a "
                                                 "\"Estatística Anual\"\ne recoloque o disquete de Operação. "
                                                 "Você está pronto?"));
}

void TFPrincipal::AbrirAno1Click()
{
    if (!openYearByHand(m_context))
        return;
    menuItem(QStringLiteral("FechamentodoAno1"))->setVisible(false);
    menuItem(QStringLiteral("AbrirAno1"))->setVisible(false);
    menuItem(QStringLiteral("ReinicializarEstatsticas1"))->setVisible(true);
}

void TFPrincipal::MovementEntryClick(TFEntraMov::Layout layout)
{
    const bool individual = layout == TFEntraMov::Layout::Individual;
    const bool switchedOff = switchAutomaticEntryOff(
        m_context, QStringLiteral("A partir de %1 as entradas das Fichas de Atendimentos não serão mais "
                                  "automáticas. Você terá que entrá-las manualmente.  ")
                       .arg(individual ? QStringLiteral("agora,") : QStringLiteral("hoje")));
    menuItem(QStringLiteral("EntradaAutomticadasFichasMdicas1"))->setChecked(m_context.settings.automaticEntryOn());
    if (!switchedOff)
        return;
    if (!FEntraMov) {
        FEntraMov = new TFEntraMov(m_context, this);
        // The list of the doctors opens over the entry screen, made once.
        connect(FEntraMov, &TFEntraMov::doctorListRequested, this, [this] {
            auto *list = FEntraMov->findChild<TFHorarios *>(QString(), Qt::FindDirectChildrenOnly);
            if (!list)
                list = new TFHorarios(m_context, FEntraMov);
            list->showDoctorList();
        });
    }
    FEntraMov->open(layout);
}

void TFPrincipal::BloquearLiberarHorrios1Click()
{
    if (!FSemConsulta) {
        FSemConsulta = new TFSemConsulta(m_context, this);
        // The lists of the booking screen show the appointments the reservation moved.
        FSemConsulta->listsChanged = [this] {
            if (FVisaoGeral) {
                FVisaoGeral->desmarcadas().refresh();
                FVisaoGeral->emEspera().refresh();
            }
        };
    }
    FSemConsulta->exec();
    m_context.DMMedicos.TMedicos.close();
}

void TFPrincipal::Pesquisa1Click()
{
    if (!FPesquisas) {
        FPesquisas = new TFPesquisas(m_context, this);
        FPesquisas->openBookingScreen = [this](const std::function<void(TFVisaoGeral &)> &then) {
            openBookingScreen(then);
        };
    }
    FPesquisas->show();
    FPesquisas->raise();
    FPesquisas->activateWindow();
}

void TFPrincipal::ExcluirPassado1Click()
{
    purgePastAppointments(m_context, true);
}

void TFPrincipal::PrepararFuturo1Click()
{
    if (!FPrepararFuturo)
        FPrepararFuturo = new TFPrepararFuturo(m_context, this);
    FPrepararFuturo->exec();
    m_context.DMMedicos.TMedicos.close();
}

void TFPrincipal::FecharAbrirumaData1Click()
{
    if (!FFechaAbreData)
        FFechaAbreData = new TFFechaAbreData(m_context, this);
    FFechaAbreData->exec();
    m_context.DMMedicos.TMedicos.close();
}

void TFPrincipal::EscolherLocalizao1Click()
{
    TFEspelhamento FEspelhamento(m_context, this);
    FEspelhamento.exec();
}

void TFPrincipal::Situao1Click()
{
    TFMostraCopias FMostraCopias(m_context, this);
    const mirror::CopiesStatus status = FMostraCopias.execute();
    if (status.journalCounted)
        m_context.journalSize = status.journalCount;
}

void TFPrincipal::NoDiscoRgido1Click()
{
    backup::writeLocalBackup(m_context);
}

void TFPrincipal::NoDisquete1Click()
{
    mirror::writeSystem(m_context, false);
}

void TFPrincipal::DoDiscoRgido1Click()
{
    backup::restoreLocalBackup(m_context);
}

void TFPrincipal::DoDisquete1Click()
{
    mirror::recoverSystem(m_context, false);
}

void TFPrincipal::DoHD1Click()
{
    replayJournal(m_context, m_context.file(files::kRunJournal));
}

void TFPrincipal::DoDisquete2Click()
{
    if (!m_context.settings.mirroringOn())
        return;
    replayJournal(m_context, mirrorDirectory(m_context.settings, m_context.paths) + QLatin1Char('/') + files::kJournal);
}

void TFPrincipal::Manual1Click()
{
    const QString page = manual::find(QCoreApplication::applicationDirPath());
    if (page.isEmpty()) {
        m_context.dialogs.information(QStringLiteral("O Manual do Clinora não foi encontrado nesta instalação. "
                                                     "Ele acompanha o pacote do programa; peça ao responsável "
                                                     "pela instalação que o instale de novo."));
        return;
    }
    const auto notOpened = [this, page] {
        m_context.dialogs.information(QStringLiteral("Nenhum programa deste computador abriu o Manual do Clinora. "
                                                     "Ele está no arquivo:\r\n\r\n%1\r\n\r\nAbra-o com o "
                                                     "navegador de internet.")
                                          .arg(QDir::toNativeSeparators(page)));
    };
    // The desktop's own viewer (the web browser, for the HTML manual). Its opener is run
    // here, not left to start on its own, so that its failure is seen and told.
    if (!manual::runOpener(page, notOpened) && !QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        notOpened();
}

TFRelatorios &TFPrincipal::relatorios()
{
    if (!FRelatorios)
        FRelatorios = new TFRelatorios(m_context, this);
    return *FRelatorios;
}

TFListaPrevReal &TFPrincipal::listaPrevReal()
{
    if (!FListaPrevReal)
        FListaPrevReal = new TFListaPrevReal(m_context, this);
    return *FListaPrevReal;
}

void TFPrincipal::showPostingItem()
{
    // The warnings below send the user to this item: it is in the menu when they do.
    menuItem(QStringLiteral("AtualizarQuadroseGrficos1"))->setVisible(true);
}

void TFPrincipal::Relatrios1Click()
{
    if (unpostedMovements(m_context)) {
        showPostingItem();
        m_context.dialogs.warning(QStringLiteral("Estatísticas não atualizadas: há movimentos que ainda não foram "
                                                 "processados\nuse \" Estatísticas + Atualizar Quadros e "
                                                 "Gráficos\" "));
    }
    relatorios().showDataFolder();
}

void TFPrincipal::Relatrios2Click()
{
    if (unpostedMovements(m_context)) {
        showPostingItem();
        m_context.dialogs.warning(
            QStringLiteral("Há movimentos  que ainda não foram  processados.\nSe eles estiverem dentro da semana "
                           "selecionada \no Relatório estará  inconsistente. Nesse caso,\nuse a opção: "
                           "\"Estatísticas + Atualizar Quadros e Gráficos\" "));
    }
    listaPrevReal().exec();
}

void TFPrincipal::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        session::closeMainWindow(m_context);
    }
    event->accept();
}

} // namespace clinora
