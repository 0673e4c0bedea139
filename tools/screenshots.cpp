// Takes the screenshots of the README from a data directory: the main window, the
// booking screen's month tab after a complete refresh, a day sheet, the appointment
// dialog, the day list, the cancelled and waiting lists and the rebooking dialog, and
// the statistics: the report screen, its two charts and the weekly report screen. The
// two charts and the weekly report are printed too: with no printer installed they go
// to PDF files in the data directory's Impressao folder.
// Built with -DCLINORA_SCREENSHOTS=ON.
#include "agenda/tffechaabredata.h"
#include "agenda/tfprepararfuturo.h"
#include "app/context.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/grid_view.h"
#include "booking/list_tab_widget.h"
#include "booking/tfconsulta.h"
#include "booking/tfconsulta2.h"
#include "booking/tfconsultasdia.h"
#include "booking/tfvisaogeral.h"
#include "doctors/tfdadosmed.h"
#include "platform/clock.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_printer.h"
#include "platform/radio_group.h"
#include "statistics/tfgrafico.h"
#include "statistics/tflistaprevreal.h"
#include "statistics/tfrelatorios.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace clinora;

namespace {

// The printer tells where each PDF went; the tool runs unattended.
class QuietDialogs final : public Dialogs
{
public:
    void information(const QString &text) override { say(text); }
    void warning(const QString &text) override { say(text); }
    void error(const QString &text) override { say(text); }
    bool question(const QString &text) override
    {
        say(text);
        return false;
    }
    QString input(const QString &, const QString &, const QString &defaultText) override
    {
        return defaultText;
    }

private:
    static void say(const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s PASTA_DE_DADOS PASTA_DAS_IMAGENS [DIA]\n", argv[0]);
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    QtDialogs dialogs;
    SystemClock clock;
    Paths paths(data, data + QStringLiteral("/../drives"));
    QuietDialogs printerDialogs;
    QtPrinter printer(paths, clock, printerDialogs);
    AppContext context(paths, clock, dialogs, printer);
    session::startUp(context);
    TFPrincipal main(context);
    main.FormCreate();
    main.show();
    QTest::qWait(200);
    main.grab().save(out + QStringLiteral("/principal.png"));

    TFVisaoGeral &screen = main.visaoGeral();
    screen.prepareMonthTab();
    screen.show();
    QTest::qWait(100);
    screen.BAtualizar0->click();
    QTest::qWait(200);
    screen.grab().save(out + QStringLiteral("/mes.png"));

    const int day = argc > 3 ? std::atoi(argv[3]) : clock.today().day();
    screen.PageControl1->setCurrentWidget(screen.dayTab(day).page);
    QTest::qWait(200);
    screen.grab().save(out + QStringLiteral("/dia.png"));

    TFConsulta &dialog = screen.consulta();
    dialog.prepareFor({day, 2, 1});
    dialog.show();
    QTest::qWait(200);
    dialog.grab().save(out + QStringLiteral("/consulta.png"));
    dialog.reject();

    screen.consultasDia().showList(day, 1, false);
    QTest::qWait(200);
    screen.consultasDia().grab().save(out + QStringLiteral("/consultasdia.png"));
    screen.consultasDia().hide();

    // The cancelled and waiting lists, and an entry of each in the rebooking dialog.
    const struct
    {
        ListTabWidget *tab;
        RebookingEditor::Origin origin;
        const char *list;
        const char *entry;
    } lists[] = {
        {&screen.desmarcadas(), RebookingEditor::Origin::Cancelled, "/desmarcadas.png", "/remarcar.png"},
        {&screen.emEspera(), RebookingEditor::Origin::Waiting, "/espera.png", "/espera-consulta.png"}};
    for (const auto &l : lists) {
        screen.PageControl1->setCurrentWidget(l.tab);
        l.tab->refresh();
        QTest::qWait(200);
        screen.grab().save(out + QLatin1String(l.list));
        if (l.tab->tab().entries().count() > 0) {
            TFConsulta2 &rebooking = screen.consulta2();
            rebooking.prepareEntry(l.tab->tab().entries().key(0), l.origin);
            rebooking.show();
            QTest::qWait(200);
            rebooking.grab().save(out + QLatin1String(l.entry));
            rebooking.reject();
        }
    }
    screen.hide();

    TFDadosMed doctors(context, &main);
    doctors.FormShow();
    doctors.show();
    doctors.ECod->setText(QStringLiteral("1"));
    QTest::qWait(200);
    doctors.grab().save(out + QStringLiteral("/medico.png"));
    doctors.hide();

    TFPrepararFuturo preparation(context, &main);
    preparation.show();
    QTest::qWait(200);
    preparation.grab().save(out + QStringLiteral("/preparar.png"));
    preparation.hide();

    TFFechaAbreData closed(context, &main);
    closed.show();
    closed.BConsulta->click();
    QTest::qWait(200);
    closed.grab().save(out + QStringLiteral("/fechar.png"));
    closed.hide();

    // The report screen with the doctors' table, the vertical chart of the current
    // month and the horizontal chart of the first doctor's year.
    TFRelatorios &reports = main.relatorios();
    QTimer::singleShot(300, &reports, [&] {
        reports.grab().save(out + QStringLiteral("/relatorios.png"));
        const int month = clock.today().month();
        const QModelIndex cell = reports.Grade->model()->index(0, month);
        Q_EMIT reports.Grade->doubleClicked(cell);
        QTest::qWait(300);
        reports.grafico().grab().save(out + QStringLiteral("/grafico.png"));
        reports.grafico().BImprimir->click();
        reports.RGGrafico->setItemIndex(1);
        Q_EMIT reports.Grade->doubleClicked(reports.Grade->model()->index(0, 0));
        QTest::qWait(300);
        reports.graficoHz().grab().save(out + QStringLiteral("/grafico-horizontal.png"));
        reports.graficoHz().BImprimir->click();
        reports.reject();
    });
    reports.showDataFolder();

    // The weekly report of last week, whose attendances are counted.
    TFListaPrevReal &weekly = main.listaPrevReal();
    QTimer::singleShot(300, &weekly, [&] {
        const int lastWeek = weekly.weeks().weekNumber(clock.today().addDays(-7));
        if (lastWeek > 0)
            weekly.ListBox1->setCurrentRow(lastWeek - 1);
        weekly.grab().save(out + QStringLiteral("/semanal.png"));
        weekly.Button1->click();
        weekly.reject();
    });
    weekly.exec();
    return 0;
}
