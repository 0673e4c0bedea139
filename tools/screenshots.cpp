// Takes the screenshots of the manual (and of the README) from the demonstration
// clinic: the main window, the booking screen's month tab and a day sheet, the
// appointment dialog, the day list, the cancelled and waiting lists with the rebooking
// dialog, the doctor editor, the preparation of the agenda, closed dates and hours, the
// searches, the mirror, the attendance sheet and the statistics: the report screen,
// its two charts, the weekly report screen, the collective entry of attendances, the
// history editor and the reader of a statistics set. The two charts and the weekly report are
// printed too: with no printer installed they go to PDF files in the data folder's
// Impressao folder. A data folder that does not exist is made into the demonstration
// clinic first. Built with -DCLINORA_SCREENSHOTS=ON.
#include "agenda/demo_clinic.h"
#include "agenda/tffechaabredata.h"
#include "agenda/tfprepararfuturo.h"
#include "app/context.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "sheets/day_sheet.h"
#include "booking/grid_view.h"
#include "booking/list_tab_widget.h"
#include "booking/tfconsulta.h"
#include "booking/tfconsulta2.h"
#include "booking/tfconsultasdia.h"
#include "booking/tfvisaogeral.h"
#include "doctors/tfdadosmed.h"
#include "doctors/tfgradehoras.h"
#include "doctors/tfsemconsulta.h"
#include "platform/clickable_label.h"
#include "platform/clock.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_printer.h"
#include "platform/radio_group.h"
#include "protection/tfespelhamento.h"
#include "search/tfpesquisas.h"
#include "search/tfprocuranome.h"
#include "statistics/external_sets.h"
#include "statistics/tfeditarhistorico.h"
#include "statistics/tfentramov.h"
#include "statistics/tffichamed.h"
#include "statistics/tfgrafico.h"
#include "statistics/tflerest.h"
#include "statistics/tflistaprevreal.h"
#include "statistics/tfrelatorios.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace clinora;

namespace {

QString g_out;

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

void shot(QWidget &window, const char *name)
{
    QTest::qWait(250);
    window.grab().save(g_out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// A modal window: grabbed and closed once it shows.
void shotModal(QDialog &dialog, const char *name, const std::function<void()> &open)
{
    QTimer::singleShot(400, &dialog, [&dialog, name] {
        dialog.grab().save(g_out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
        dialog.reject();
    });
    open();
}

// The first day from today whose sheet is open and has bookings, and a booked cell on it.
struct BookedCell
{
    QDate date;
    int day = 0;
    int slot = 0;
    int code = 0;
};

BookedCell firstBooked(AppContext &context)
{
    const QDate today = context.clock.today();
    for (int i = 0; i < 31; ++i) {
        const int day = today.addDays(i).day();
        const DaySheet &sheet = context.sheets.sheet(day);
        if (!sheet.isEnabled())
            continue;
        for (int code = 1; code <= 50; ++code)
            for (int slot = 1; slot <= 24; ++slot)
                if (sheet.cell(slot, code) == QLatin1String("C"))
                    return {today.addDays(i), day, slot, code};
    }
    return {today, today.day(), 1, 1};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s PASTA_DE_DADOS PASTA_DAS_IMAGENS\n", argv[0]);
        return 2;
    }
    const QString data = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);
    QtDialogs dialogs;
    SystemClock clock;
    // The clinic's mirror drive E: is there, as on a desk where mirroring is set up.
    const QString drives = QFileInfo(data).path() + QStringLiteral("/drives");
    QDir().mkpath(drives + QStringLiteral("/E"));
    if (!QFileInfo::exists(data))
        createDemoClinic(data, drives, clock);
    Paths paths(data, drives);
    QuietDialogs printerDialogs;
    QtPrinter printer(paths, clock, printerDialogs);
    AppContext context(paths, clock, dialogs, printer);
    session::startUp(context);
    TFPrincipal main(context);
    main.FormCreate();
    main.showStatisticsMenu();
    main.show();
    shot(main, "principal");

    TFVisaoGeral &screen = main.visaoGeral();
    screen.prepareMonthTab();
    screen.show();
    QTest::qWait(100);
    screen.BAtualizar0->click();
    shot(screen, "marcacao-mes");

    const BookedCell booked = firstBooked(context);
    screen.goToSlot(booked.day, booked.slot, 1);
    shot(screen, "marcacao-dia");

    TFConsulta &dialog = screen.consulta();
    dialog.prepareFor({booked.day, booked.slot, booked.code});
    dialog.show();
    shot(dialog, "consulta");
    dialog.reject();

    screen.consultasDia().showList(booked.day, booked.code, false);
    shot(screen.consultasDia(), "consultas-dia");
    screen.consultasDia().hide();

    // The cancelled and waiting lists, and an entry of each in the rebooking dialog.
    const struct
    {
        ListTabWidget *tab;
        RebookingEditor::Origin origin;
        const char *list;
        const char *entry;
    } lists[] = {{&screen.desmarcadas(), RebookingEditor::Origin::Cancelled, "desmarcadas", "remarcar"},
                 {&screen.emEspera(), RebookingEditor::Origin::Waiting, "espera", "espera-consulta"}};
    for (const auto &l : lists) {
        screen.PageControl1->setCurrentWidget(l.tab);
        l.tab->refresh();
        shot(screen, l.list);
        if (l.tab->tab().entries().count() > 0) {
            TFConsulta2 &rebooking = screen.consulta2();
            rebooking.prepareEntry(l.tab->tab().entries().key(0), l.origin);
            rebooking.show();
            shot(rebooking, l.entry);
            rebooking.reject();
        }
    }

    // F4 on the booking screen: a patient found by part of the name.
    TFProcuraNome &names = screen.procuraNome();
    shotModal(names, "procurar-nome", [&] {
        QTimer::singleShot(100, &names, [&names] {
            names.Edit1->setText(QStringLiteral("Santos"));
            names.Button1->click();
        });
        names.exec();
    });

    // F3: the attendance sheet of the doctor on that day.
    TFFichaMed &sheet = screen.fichaMed();
    shotModal(sheet, "ficha", [&] { sheet.showView(booked.date, booked.code); });

    TFGradeHoras timetable(context, &main);
    shotModal(timetable, "horarios-medico", [&] { timetable.showTimetable(booked.code); });
    screen.hide();

    // The doctor on leave, in the doctor editor.
    TFDadosMed doctors(context, &main);
    doctors.FormShow();
    doctors.show();
    int onLeave = 1;
    for (int code = 1; code <= 50; ++code)
        if (!context.doctors.doctor(code).leaveStart.trimmed().isEmpty())
            onLeave = code;
    doctors.ECod->setText(QString::number(onLeave));
    shot(doctors, "medico");
    doctors.hide();

    TFPrepararFuturo preparation(context, &main);
    preparation.show();
    shot(preparation, "preparar");
    preparation.hide();

    TFFechaAbreData closed(context, &main);
    closed.show();
    closed.BConsulta->click();
    shot(closed, "fechar-data");
    closed.hide();

    TFSemConsulta hours(context, &main);
    hours.show();
    hours.Edit1->setText(QStringLiteral("08:00"));
    hours.Edit2->setText(QStringLiteral("10:00"));
    if (hours.ListBox1->count() > 0)
        hours.ListBox1->item(0)->setSelected(true);
    if (hours.ListBox2->count() > 1)
        hours.ListBox2->item(1)->setSelected(true);
    shot(hours, "fechar-horarios");
    hours.hide();

    // The searches: the free hours of the first doctor on the booked day.
    TFPesquisas searches(context, &main);
    searches.show();
    QTest::qWait(100);
    Q_EMIT searches.Label2->clicked();
    QTest::qWait(100);
    if (searches.ListBox1->count() > 0)
        searches.ListBox1->item(0)->setSelected(true);
    if (searches.ListBox2->count() > 0)
        searches.ListBox2->item(0)->setSelected(true);
    searches.BExecutarCons2->click();
    QTest::qWait(100);
    searches.BTodos->click();
    shot(searches, "pesquisas");
    searches.hide();

    // Hidden, not closed: closing the mirror window carries out its choice.
    TFEspelhamento mirror(context, &main);
    mirror.show();
    shot(mirror, "espelhamento");
    mirror.hide();

    // The collective entry with three totals confirmed, one of them a correction. The
    // form is hidden, not closed, so that nothing is posted into the clinic.
    TFEntraMov entry(context, &main);
    QTimer::singleShot(400, &entry, [&] {
        const QString month = QString::number(clock.today().month());
        const QString year = QString::number(clock.today().year());
        for (const QStringList &line : {QStringList{"1", "1", "12"}, QStringList{"2", "2", "5"},
                                        QStringList{"1", "1", "-2"}}) {
            for (auto [box, text] : {std::pair{entry.Edit1, line[0]}, std::pair{entry.Edit2, line[1]},
                                     std::pair{entry.Edit3, line[2]}, std::pair{entry.Edit4, month},
                                     std::pair{entry.Edit7, year}}) {
                box->clear();
                QTest::keyClicks(box, text);
            }
            entry.BConfirma->click();
        }
        QTest::qWait(200);
        entry.grab().save(g_out + QStringLiteral("/entrada-coletiva.png"));
        entry.hide();
    });
    entry.open(TFEntraMov::Layout::Collective);

    // The history editor once a click on the form has shown its table.
    TFEditarHistorico history(context, &main);
    QTimer::singleShot(400, &history, [&] {
        QTest::mouseClick(history.Memo1, Qt::LeftButton);
        QTest::qWait(200);
        history.grab().save(g_out + QStringLiteral("/historico.png"));
        history.reject();
    });
    history.exec();

    // A set of this year's statistics on drive E:, chosen in the reader.
    const QString set = sets::setsFolder(paths, QLatin1Char('E')) + QStringLiteral("/Ano corrente");
    QDir().mkpath(set);
    for (const QString &name : sets::setFiles())
        QFile::copy(paths.dataDir() + QLatin1Char('/') + name, set + QLatin1Char('/') + name);
    TFLerEst reader(context, &main);
    QTimer::singleShot(400, &reader, [&] {
        reader.CBDrive->setCurrentIndex(reader.CBDrive->findText(QStringLiteral("E:"), Qt::MatchStartsWith));
        QTest::mouseClick(reader.Panel1, Qt::LeftButton);
        reader.LBDiretorio->setCurrentRow(0);
        Q_EMIT reader.LBDiretorio->itemDoubleClicked(reader.LBDiretorio->currentItem());
        QTest::qWait(200);
        reader.grab().save(g_out + QStringLiteral("/ler-estatisticas.png"));
        reader.reject();
    });
    reader.exec();

    // The report screen with the doctors' table, the vertical chart of the current
    // month and the horizontal chart of the first doctor's year.
    TFRelatorios &reports = main.relatorios();
    QTimer::singleShot(300, &reports, [&] {
        reports.grab().save(g_out + QStringLiteral("/relatorios.png"));
        const int month = clock.today().month();
        const QModelIndex cell = reports.Grade->model()->index(0, month);
        Q_EMIT reports.Grade->doubleClicked(cell);
        QTest::qWait(300);
        reports.grafico().grab().save(g_out + QStringLiteral("/grafico.png"));
        reports.grafico().BImprimir->click();
        reports.RGGrafico->setItemIndex(1);
        Q_EMIT reports.Grade->doubleClicked(reports.Grade->model()->index(0, 0));
        QTest::qWait(300);
        reports.graficoHz().grab().save(g_out + QStringLiteral("/grafico-horizontal.png"));
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
        weekly.grab().save(g_out + QStringLiteral("/semanal.png"));
        weekly.Button1->click();
        weekly.reject();
    });
    weekly.exec();
    return 0;
}
