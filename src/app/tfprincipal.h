// The main window "Sistema Médico": the clinic's name, the cover photograph and the
// main menu from which every screen opens.
#pragma once

#include "statistics/tfentramov.h"

#include <QMainWindow>

#include <QImage>

#include <functional>
#include <future>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace clinora {

class AppContext;
class ClickableLabel;
class TFDadosEsp;
class TFDadosMed;
class TFDadosSit;
class TFCopiarEst;
class TFEditarHistorico;
class TFGravarEst;
class TFLerEst;
class TFFechaAbreData;
class TFPesquisas;
class TFListaPrevReal;
class TFPrepararFuturo;
class TFReiniciarArquivos;
class TFRelatorios;
class TFSemConsulta;
class TFVisaoGeral;

// A cover photograph as read: the picture, or why it could not be read.
struct CoverPicture
{
    QImage image;
    QString error;
};

class TFPrincipal : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFPrincipal)

public:
    explicit TFPrincipal(AppContext &context, QWidget *parent = nullptr);
    ~TFPrincipal() override;

    // The creation step: settings, mirror state, first run, journal, then the menu
    // states, the clinic name and the cover. Throws when the store cannot be opened.
    void FormCreate();

    // The statistics menu, hidden and disabled as delivered, shown and enabled (the
    // command-line option --estatisticas).
    void showStatisticsMenu();

    // Every action of the menu, found by its name.
    QAction *menuItem(const QString &name) const;

    // The screens the menu opens, created on first use and kept for the run.
    TFVisaoGeral &visaoGeral();
    // The searches window, open beside the others once "Pesquisas" opened it.
    TFPesquisas *pesquisas() const { return FPesquisas; }
    // The report screen of the statistics, created on first use and kept for the run.
    TFRelatorios &relatorios();
    // The weekly report screen, the same way.
    TFListaPrevReal &listaPrevReal();
    // Opens the booking screen as its menu item does (the mirror check first, the
    // month prepared), then runs the action on it once it is up.
    void openBookingScreen(const std::function<void(TFVisaoGeral &)> &then);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenu();
    // Connects a menu item: errors are shown, and the mirror items' states follow.
    void connectItem(QAction *item, std::function<void()> action);
    // The same for a screen the mirror consistency check guards.
    void connectChecked(QAction *item, std::function<void()> action);
    // FazeraCpia1 and Recuperarosdados1 are enabled exactly while mirroring is on, and
    // the window shows whether it is.
    void refreshMirrorItems();
    void showProgress(const QString &first, const QString &second);
    void buildBody();
    void FormActivate();
    void Label1Click();
    void Image1Click();
    void MarcaodeConsultas1Click(const std::function<void(TFVisaoGeral &)> &then = {});
    void MovementEntryClick(TFEntraMov::Layout layout);
    void FechamentodoAno1Click();
    void AbrirAno1Click();
    void LerEstatsticas1Click();
    TFGravarEst &gravarEst();
    void BloquearLiberarHorrios1Click();
    void Pesquisa1Click();
    void ExcluirPassado1Click();
    void PrepararFuturo1Click();
    void FecharAbrirumaData1Click();
    void EscolherLocalizao1Click();
    void Situao1Click();
    void NoDiscoRgido1Click();
    void NoDisquete1Click();
    void DoDiscoRgido1Click();
    void DoDisquete1Click();
    void DoHD1Click();
    void DoDisquete2Click();
    void Manual1Click();
    // Shows "Atualizar Quadros e Gráficos", which the unposted-movement warnings name.
    void showPostingItem();
    void Relatrios1Click();
    void Relatrios2Click();
    void showClinicName();
    void loadCover();
    // The cover is decoded on a thread of its own while the window lays itself out, and
    // put in place when the window is shown, before its first paint.
    void startCover();
    void finishCover();
    std::future<CoverPicture> m_cover;
    QString m_coverName;

    AppContext &m_context;
    bool m_closed = false;

    ClickableLabel *Label1 = nullptr;
    ClickableLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *MirroringState = nullptr;
    QPushButton *BitBtn1 = nullptr;

    TFVisaoGeral *FVisaoGeral = nullptr;
    TFDadosEsp *FDadosEsp = nullptr;
    TFDadosMed *FDadosMed = nullptr;
    TFDadosSit *FDadosSit = nullptr;
    // The agenda dialogs live as long as the window and keep what was typed into them.
    TFPrepararFuturo *FPrepararFuturo = nullptr;
    TFFechaAbreData *FFechaAbreData = nullptr;
    TFReiniciarArquivos *FReiniciarArquivos = nullptr;
    TFSemConsulta *FSemConsulta = nullptr;
    TFPesquisas *FPesquisas = nullptr;
    TFEntraMov *FEntraMov = nullptr;
    TFEditarHistorico *FEditarHistorico = nullptr;
    TFRelatorios *FRelatorios = nullptr;
    TFListaPrevReal *FListaPrevReal = nullptr;
    TFGravarEst *FGravarEst = nullptr;
    TFCopiarEst *FCopiarEst = nullptr;
    TFLerEst *FLerEst = nullptr;
    // The statistics wing is shown (--estatisticas).
    bool m_statisticsShown = false;
};

} // namespace clinora
