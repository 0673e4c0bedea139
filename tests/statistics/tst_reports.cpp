// The statistics reports driven through their widgets: "Ver Quadros e Gráficos" on the
// demonstration clinic (tables, filter, percentages, the two charts and their
// printing), a set read from another folder, and the weekly report with its weeks and
// its landscape printout.
#include "agenda/demo_clinic.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "core/data_files.h"
#include "platform/clickable_label.h"
#include "platform/errors.h"
#include "platform/qt_printer.h"
#include "platform/radio_group.h"
#include "platform/text_file.h"
#include "statistics/tfgrafico.h"
#include "statistics/tflistaprevreal.h"
#include "statistics/tfrelatorios.h"
#include "statistics/weekly_counts.h"
#include "statistics/weeks.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace clinora;
using test::onModal;
using Kind = test::ScriptedDialogs::Kind;

namespace {

const QDate kToday(2026, 12, 9);

// The demonstration clinic as of 9 December 2026 (its three counted weeks fall in
// November and December), made once and copied for each test.
struct Pristine
{
    QTemporaryDir tmp;
    QString dir;
    DemoClinic clinic;
};
Pristine &pristine()
{
    static Pristine p = [] {
        Pristine made;
        made.dir = made.tmp.filePath(QStringLiteral("Demo"));
        const FixedClock clock(QDateTime(kToday, QTime(9, 0)));
        made.clinic = createDemoClinic(made.dir, made.tmp.filePath(QStringLiteral("drives")), clock);
        return made;
    }();
    return p;
}

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    // As private as the clinic it copies.
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QDir source(from);
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            copyTree(entry.filePath(), to + QLatin1Char('/') + entry.fileName());
        else if (entry.fileName() != QLatin1String("Clinora.lock"))
            QFile::copy(entry.filePath(), to + QLatin1Char('/') + entry.fileName());
    }
}

// The program started on a copy of the clinic, with the statistics menu shown.
struct Demo
{
    Demo() : clock(QDateTime(kToday, QTime(9, 0)))
    {
        dir = tmp.filePath(QStringLiteral("Demo"));
        drives = tmp.filePath(QStringLiteral("drives"));
        copyTree(pristine().dir, dir);
        clinic = pristine().clinic;
        context = std::make_unique<AppContext>(Paths(dir, drives), clock, dialogs, printer);
        session::startUp(*context);
        main = std::make_unique<TFPrincipal>(*context);
        main->FormCreate();
        main->showStatisticsMenu();
    }
    QAction *item(const char *name) const { return main->menuItem(QLatin1String(name)); }
    QString file(const QString &name) const { return dir + QLatin1Char('/') + name; }

    QTemporaryDir tmp;
    QString dir;
    QString drives;
    FixedClock clock;
    test::ScriptedDialogs dialogs;
    test::RecordingPrinter printer;
    DemoClinic clinic;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<TFPrincipal> main;
};

// What the grid shows: row 0 the headings, then the rows.
QString shown(const TFRelatorios *s, int row, int column)
{
    const QAbstractItemModel *model = s->Grade->model();
    return row == 0 ? model->headerData(column, Qt::Horizontal).toString()
                    : model->index(row - 1, column).data().toString();
}
int rows(const TFRelatorios *s)
{
    return s->Grade->model()->rowCount() + 1;
}
QModelIndex cellAt(const TFRelatorios *s, int row, int column)
{
    return s->Grade->model()->index(row - 1, column);
}
void doubleClickCell(TFRelatorios *s, int row, int column)
{
    test::doubleClickOn(s->Grade, cellAt(s, row, column));
}
void click(QWidget *w)
{
    test::click(w, qobject_cast<QRadioButton *>(w) ? QPoint(8, w->height() / 2) : w->rect().center());
}
void chooseOrientation(TFRelatorios *s, int item)
{
    click(s->RGGrafico->findChild<QRadioButton *>(QStringLiteral("RGGrafico_%1").arg(item)));
}
// The data row of a name, 0 when there is none.
int rowOf(const TFRelatorios *s, const QString &name)
{
    for (int r = 1; r < rows(s); ++r) {
        if (shown(s, r, 0) == name)
            return r;
    }
    return 0;
}

// Runs a menu item that opens the screen T modally, runs the checks on it and leaves
// it with the button given.
template <typename T>
void onScreen(QAction *item, const std::function<void(T *)> &checks, QPushButton *T::*leave)
{
    bool ran = false;
    onModal<T>([&](T *s) {
        ran = true;
        checks(s);
        if (s->isVisible())
            click(s->*leave);
    });
    item->trigger();
    QVERIFY(ran);
}

// "Ver Quadros e Gráficos", left with "Sair".
void onReports(Demo &d, const std::function<void(TFRelatorios *)> &checks)
{
    onScreen<TFRelatorios>(d.item("Relatrios1"), checks, &TFRelatorios::Button2);
}

QStringList doctorNames(const Demo &d)
{
    QStringList names;
    for (int code = 1; code <= d.clinic.doctors; ++code)
        names << d.context->doctors.doctor(code).name.trimmed();
    return names;
}

// A drawing's pixel as a colour name.
QString colourAt(const QImage &image, int x, int y)
{
    return QColor(image.pixel(x, y)).name();
}

// The pages of a PDF written by the program, and whether they lie across.
struct PdfPages
{
    int count = 0;
    bool landscape = false;
};
PdfPages pdfPages(const QString &folder)
{
    const QStringList pdfs = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    if (pdfs.isEmpty())
        return {};
    QFile file(folder + QLatin1Char('/') + pdfs.first());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    PdfPages pages;
    pages.count =
        static_cast<int>(bytes.count("/Type /Page\n")) + static_cast<int>(bytes.count("/Type /Page\r")) +
        static_cast<int>(bytes.count("/Type /Page ")) + static_cast<int>(bytes.count("/Type /Page/"));
    const int box = static_cast<int>(bytes.indexOf("/MediaBox ["));
    if (box >= 0) {
        const QList<QByteArray> numbers = bytes.mid(box + 11, 40).split(']').first().simplified().split(' ');
        pages.landscape = numbers.size() == 4 && numbers[2].toDouble() > numbers[3].toDouble();
    }
    return pages;
}

// A clinic of 50 doctors, each with two shifts, and the weeks of 2026.
void fiftyDoctors(test::Fixture &f)
{
    DoctorRegister doctors;
    doctors.load(f.dir() + QLatin1Char('/'));
    for (int code = 1; code <= 50; ++code) {
        Doctor &d = doctors.doctor(code);
        d.name = QStringLiteral("Médico Número %1").arg(code);
        d.specialty = QStringLiteral("52 Cardiologia");
        d.specialtyCode = QStringLiteral("52");
        d.room = QStringLiteral("10");
        d.floor = QStringLiteral("1");
        d.shift = QStringLiteral("2");
    }
    doctors.save(f.dir());
    f.write(files::kWeeks, weeksOfYear(2026));
    WeeklyCounts counts;
    counts.load(f.dir() + QLatin1Char('/') + files::kWeeklyCounts);
    counts.add(2, 1, 12, 10);
    counts.add(3, 1, 20, 20);
    f.write(files::kWeeklyCounts, counts.lines());
}

// "Relatório Semanal", left with "Sair".
void onWeekly(TFPrincipal &main, const std::function<void(TFListaPrevReal *)> &checks)
{
    onScreen<TFListaPrevReal>(main.menuItem(QStringLiteral("Relatrios2")), checks, &TFListaPrevReal::BSair);
}

void clickWeek(TFListaPrevReal *s, int row)
{
    QListWidgetItem *item = s->ListBox1->item(row);
    s->ListBox1->scrollToItem(item);
    test::click(s->ListBox1->viewport(), s->ListBox1->visualItemRect(item).center());
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void demoShowsEachDoctorsCounts();
    void percentagesAddUpTo100_data();
    void percentagesAddUpTo100();
    void doubleClicksChartAndPrint();
    void doubleClicksThatChartNothing_data();
    void doubleClicksThatChartNothing();
    void movingOverTheGridDropsLeadingZeros();
    void specialtyFilterAndHistory();
    void setFromAnotherFolderLeavesTheRunAlone();
    void badSetsAreRefused_data();
    void badSetsAreRefused();
    void pendingMovementsWarn_data();
    void pendingMovementsWarn();
    void damagedFilesAreNamed_data();
    void damagedFilesAreNamed();
    void chartPrintsToPdf();
    void chartNamesStayWithinTheChart();
    void weeklyPrintoutOfFiftyDoctors();
    void weeklyPrintoutNeedsAWeek();
    void weeklyReportOpensOnTheLastWeekWithCounts();
    void creatingTheWeeks_data();
    void creatingTheWeeks();
};

void TestReports::demoShowsEachDoctorsCounts()
{
    Demo d;
    onReports(d, [&](TFRelatorios *s) {
        QCOMPARE(s->windowTitle(), QStringLiteral("Relatórios de Atendimentos"));
        QCOMPARE(s->Label1->text(), QStringLiteral("ESTATÍSTICAS  DE ATENDIMENTOS"));
        QCOMPARE(s->specialtyLabel(52)->text(), QStringLiteral("Cardiologia"));
        // Every name shows whole, the longest ("Gastroenterolog") included.
        for (int code = 51; code <= 80; ++code) {
            const ClickableLabel *label = s->specialtyLabel(code);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(label->text()));
        }
        QCOMPARE(shown(s, 0, 11), QStringLiteral("  Nov"));
        QCOMPARE(shown(s, 0, 13), QStringLiteral(" No Ano"));
        int sum = 0;
        for (const QString &name : doctorNames(d)) {
            const int r = rowOf(s, name);
            QVERIFY2(r > 0, qPrintable(name));
            const int year = shown(s, r, 13).toInt();
            QVERIFY2(year > 0, qPrintable(name));
            QCOMPARE(shown(s, r, 11).toInt() + shown(s, r, 12).toInt(), year);
            sum += year;
        }
        // Every attendance marked present is in the table, once.
        const int total = rows(s) - 1;
        QCOMPARE(shown(s, total, 0), QStringLiteral("TOTAL"));
        QCOMPARE(shown(s, total, 13).toInt(), sum);
        QCOMPARE(sum, d.clinic.attended);
        QVERIFY(shown(s, total, 1).isEmpty());
    });
    QVERIFY2(d.dialogs.shown().isEmpty(), qPrintable(d.dialogs.texts().join(QLatin1Char('\n'))));
}

void TestReports::percentagesAddUpTo100_data()
{
    QTest::addColumn<int>("orientation");
    QTest::newRow("vertical") << 0;
    QTest::newRow("horizontal") << 1;
}

void TestReports::percentagesAddUpTo100()
{
    QFETCH(int, orientation);
    Demo d;
    onReports(d, [&](TFRelatorios *s) {
        chooseOrientation(s, orientation);
        click(s->BPercentagem);
        const int total = rows(s) - 1;
        const auto value = [&](int r, int c) {
            return shown(s, r, c).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        };
        if (orientation == 1) {
            for (const QString &name : doctorNames(d)) {
                const int r = rowOf(s, name);
                QCOMPARE(shown(s, r, 13), QStringLiteral("100"));
                double sum = 0;
                for (int c = 1; c <= 12; ++c)
                    sum += value(r, c);
                QVERIFY2(qAbs(sum - 100) < 0.5, qPrintable(QStringLiteral("%1: %2").arg(name).arg(sum)));
            }
        } else {
            for (int c : {11, 12, 13}) {
                QCOMPARE(shown(s, total, c), QStringLiteral("100"));
                double sum = 0;
                for (int r = 1; r < total; ++r)
                    sum += value(r, c);
                QVERIFY2(qAbs(sum - 100) < 0.5, qPrintable(QStringLiteral("column %1: %2").arg(c).arg(sum)));
            }
        }
        // Twice asks for the table again, and empties the grid.
        click(s->BPercentagem);
        QCOMPARE(d.dialogs.texts(Kind::Information),
                 QStringList{QStringLiteral("Para obter nova percentagem, é necessário refazer a pesquisa")});
        QCOMPARE(rows(s), 5);
        for (int r = 1; r < 5; ++r)
            QVERIFY(shown(s, r, 0).isEmpty() && shown(s, r, 13).isEmpty());
    });
}

void TestReports::doubleClicksChartAndPrint()
{
    Demo d;
    onReports(d, [&](TFRelatorios *s) {
        const int total = rows(s) - 1;
        // A month column: one bar per row, the vertical chart.
        doubleClickCell(s, 1, 12);
        TFGrafico &vertical = s->grafico();
        QVERIFY(QTest::qWaitForWindowExposed(&vertical));
        QCOMPARE(vertical.windowTitle(), QStringLiteral("Gráfico de Consultas"));
        QCOMPARE(vertical.Label1->text(), QStringLiteral("Mês de Dezembro"));
        QCOMPARE(vertical.Label3->text(), shown(s, total, 12));
        QCOMPARE(vertical.layout().bars.size(), total - 2);
        // More than 20 rows: the taller window.
        QCOMPARE(vertical.height(), 523);
        QCOMPARE(vertical.layout().bars.first().label, doctorNames(d).first());

        test::click(vertical.BImprimir);
        QCOMPARE(d.printer.documents().size(), 1);
        const auto &printed = d.printer.documents().last();
        QCOMPARE(printed.title, QStringLiteral("Gráfico de Consultas"));
        QCOMPARE(printed.image, vertical.size());
        // On white paper, without the buttons, with the bars drawn.
        const QImage &page = printed.drawing;
        QCOMPARE(colourAt(page, 5, 5), QStringLiteral("#ffffff"));
        QCOMPARE(colourAt(page, vertical.BImprimir->geometry().center().x(),
                          vertical.BImprimir->geometry().center().y()),
                 QStringLiteral("#ffffff"));
        const reports::ChartLayout::Bar &tallest = vertical.layout().bars.first();
        QCOMPARE(colourAt(page, tallest.x, tallest.top + tallest.height() / 2), QStringLiteral("#0000ff"));
        QVERIFY(!vertical.isVisible());
        QVERIFY(!vertical.BImprimir->isHidden() && !vertical.BSair->isHidden());
        // Open again, and Esc closes it.
        doubleClickCell(s, 1, 12);
        QVERIFY(QTest::qWaitForWindowActive(&vertical));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!vertical.isVisible());

        // A doctor's row across: his twelve months and his year.
        chooseOrientation(s, 1);
        doubleClickCell(s, 1, 0);
        TFGraficoHz &across = s->graficoHz();
        QVERIFY(QTest::qWaitForWindowExposed(&across));
        QCOMPARE(across.windowTitle(), QStringLiteral("Gráfico na Horizontal"));
        QCOMPARE(across.Label1->text(), doctorNames(d).first());
        QCOMPARE(across.Label2->text(), QStringLiteral("Total"));
        QCOMPARE(across.Label3->text(), shown(s, 1, 13));
        QCOMPARE(across.layout().bars.size(), 13);
        QCOMPARE(across.height(), 451);
        // The year is the tallest bar.
        QCOMPARE(across.layout().bars.last().height(), 250);
        test::click(across.BImprimir);
        QCOMPARE(d.printer.documents().size(), 2);
        QCOMPARE(d.printer.documents().last().title, QStringLiteral("Gráfico na Horizontal"));
        QCOMPARE(colourAt(d.printer.documents().last().drawing, 5, 5), QStringLiteral("#ffffff"));
        QVERIFY(!across.isVisible());
    });
    QVERIFY2(d.dialogs.shown().isEmpty(), qPrintable(d.dialogs.texts().join(QLatin1Char('\n'))));
}

void TestReports::doubleClicksThatChartNothing_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("rowName"); // "" for the empty row before the total
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");
    QTest::newRow("the names column") << 0 << "Dr. Ricardo Mendes" << 0 << "";
    QTest::newRow("the empty row before the total") << 1 << "" << 5 << "";
    QTest::newRow("January, empty")
        << 0 << "Dr. Ricardo Mendes" << 1
        << "O Gráfico não será desenhado porque\ntodas as células da coluna estão vazias";
    QTest::newRow("a row without counts")
        << 1 << "Outros - Pediatria" << 3
        << "O Gráfico não será desenhado porque\ntodas as células da linha estão vazias";
}

void TestReports::doubleClicksThatChartNothing()
{
    QFETCH(int, orientation);
    QFETCH(QString, rowName);
    QFETCH(int, column);
    QFETCH(QString, message);
    Demo d;
    onReports(d, [&](TFRelatorios *s) {
        chooseOrientation(s, orientation);
        const int row = rowName.isEmpty() ? rows(s) - 2 : rowOf(s, rowName);
        QVERIFY(row > 0);
        doubleClickCell(s, row, column);
        QTest::qWait(20);
        QVERIFY(!s->grafico().isVisible() && !s->graficoHz().isVisible());
    });
    QCOMPARE(d.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
}

void TestReports::movingOverTheGridDropsLeadingZeros()
{
    Demo d;
    onReports(d, [&](TFRelatorios *s) {
        const int r = rowOf(s, doctorNames(d).first());
        const QString stored = shown(s, r, 11);
        QCOMPARE(stored.size(), 4);
        QVERIFY(stored.startsWith(QLatin1Char('0')));
        const QRect cell = s->Grade->visualRect(cellAt(s, r, 11));
        test::hoverOn(s->Grade->viewport(), cell.center());
        QCOMPARE(shown(s, r, 11), QString::number(stored.toInt()));
        // Percentages are no counts: moving leaves them as they are.
        chooseOrientation(s, 1);
        click(s->BPercentagem);
        const QString percent = shown(s, r, 11);
        QVERIFY2(percent.contains(QLatin1Char(',')), qPrintable(percent));
        test::hoverOn(s->Grade->viewport(), cell.center() + QPoint(3, 0));
        test::hoverOn(s->Grade->viewport(), cell.center());
        QCOMPARE(shown(s, r, 11), percent);
    });
    QVERIFY2(d.dialogs.shown().isEmpty(), qPrintable(d.dialogs.texts().join(QLatin1Char('\n'))));
}

void TestReports::specialtyFilterAndHistory()
{
    Demo d;
    onReports(d, [&](TFRelatorios *s) {
        const QString cardiologist = d.context->doctors.doctor(2).name.trimmed();
        QCOMPARE(d.context->doctors.doctor(1).specialtyCode, QStringLiteral("51"));
        const QString generalYear = shown(s, rowOf(s, doctorNames(d).first()), 13);
        QCOMPARE(d.context->doctors.doctor(2).specialtyCode, QStringLiteral("52"));
        click(s->specialtyLabel(52));
        QCOMPARE(rows(s), 5);
        QVERIFY(!s->Label42->isEnabled());
        QCOMPARE(s->Label44->geometry().right() < s->specialtyLabel(52)->x(), true);
        click(s->Label2);
        QCOMPARE(rows(s), 5);
        QCOMPARE(shown(s, 1, 0), cardiologist);
        QCOMPARE(shown(s, 2, 0), QStringLiteral("Outros - Cardiologia"));
        const QString year = shown(s, 1, 13);
        click(s->Label41);
        QCOMPARE(shown(s, 1, 0), QStringLiteral("1  Particular"));
        QCOMPARE(rows(s), 12);
        QCOMPARE(shown(s, 11, 13), year);

        click(s->Label4);
        QVERIFY(!s->Label2->isEnabled() && !s->Label41->isEnabled() && s->Label42->isEnabled());
        QCOMPARE(shown(s, 0, 4), QStringLiteral("Atual"));
        QCOMPARE(shown(s, 1, 0), QStringLiteral("Clínica Geral"));
        QCOMPARE(s->Grade->width(), 332);
        // Percentages of the history go down the columns only.
        chooseOrientation(s, 1);
        click(s->BPercentagem);
        QCOMPARE(d.dialogs.texts(Kind::Information),
                 QStringList{QStringLiteral("Em Histórico, a percentagem será apenas na vertical")});
        QCOMPARE(s->RGGrafico->itemIndex(), 0);
        // The year so far of general practice: its one doctor's year.
        QCOMPARE(shown(s, 1, 4), generalYear);

        click(s->Label3);
        QVERIFY(s->Label2->isEnabled() && s->Label41->isEnabled() && s->Label42->isEnabled());
        click(s->Label2);
        QVERIFY(rowOf(s, doctorNames(d).first()) > 0);
    });
}

void TestReports::setFromAnotherFolderLeavesTheRunAlone()
{
    Demo d;
    // A set written elsewhere: the clinic's eight files, with another first doctor.
    const QString set = d.tmp.filePath(QStringLiteral("drives/A/Consultas/Estatisticas/2025"));
    QDir().mkpath(set);
    for (const QLatin1String name :
         {files::kTimetable, files::kDoctors, files::kDoctorMonths, files::kSituationMonths,
          files::kSpecialtyMonths, files::kSpecialties, files::kSituations, files::kHistory})
        QFile::copy(d.file(name), set + QLatin1Char('/') + name);
    DoctorRegister other;
    other.load(set + QLatin1Char('/'));
    other.doctor(1).name = QStringLiteral("Dr. Antigo do Arquivo");
    textfile::writeLines(set + QLatin1Char('/') + files::kDoctors, other.codMedLines());
    const QByteArray register_ = bytesOf(d.file(files::kDoctors));
    const QString first = d.context->doctors.doctor(1).name;

    bool ran = false;
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        ran = true;
        QVERIFY(rowOf(s, QStringLiteral("Dr. Antigo do Arquivo")) > 0);
        QCOMPARE(rowOf(s, first.trimmed()), 0);
        QCOMPARE(d.context->doctors.doctor(1).name, first);
        click(s->Button2);
    });
    d.main->relatorios().showSet(set);
    QVERIFY(ran);
    QCOMPARE(d.context->doctors.doctor(1).name, first);
    QCOMPARE(bytesOf(d.file(files::kDoctors)), register_);
    QVERIFY(d.dialogs.shown().isEmpty());

    // With the mirror on the floppy too, closing asks for the system's disk back.
    d.context->settings.setMirrorDir(QStringLiteral("A:\\Consultas\\Espelho\\"));
    onModal<TFRelatorios>([&](TFRelatorios *s) { click(s->Button2); });
    d.main->relatorios().showSet(set);
    QCOMPARE(d.dialogs.texts(Kind::Information),
             QStringList{QStringLiteral("Recolocar o disquete de Operação do Sistema")});

    // The data folder again, from the menu: its own doctors, and no disk to change.
    d.dialogs.clear();
    onReports(d, [&](TFRelatorios *s) { QVERIFY(rowOf(s, first.trimmed()) > 0); });
    QVERIFY(d.dialogs.shown().isEmpty());
}

void TestReports::badSetsAreRefused_data()
{
    QTest::addColumn<QString>("remove");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("no Sit.Txt") << "Sit.Txt"
                                << ""
                                << "Não há estatísticas no Diretório";
    QTest::newRow("no history") << "Historico.Txt"
                                << ""
                                << "Historico.Txt";
    QTest::newRow("a damaged count") << ""
                                     << "EspMeses.Txt"
                                     << "EspMeses.Txt está danificado: linha 3";
}

void TestReports::badSetsAreRefused()
{
    QFETCH(QString, remove);
    QFETCH(QString, damage);
    QFETCH(QString, message);
    Demo d;
    const QString set = d.tmp.filePath(QStringLiteral("set"));
    QDir().mkpath(set);
    for (const QLatin1String name :
         {files::kTimetable, files::kDoctors, files::kDoctorMonths, files::kSituationMonths,
          files::kSpecialtyMonths, files::kSpecialties, files::kSituations, files::kHistory})
        QFile::copy(d.file(name), set + QLatin1Char('/') + name);
    if (!remove.isEmpty())
        QFile::remove(set + QLatin1Char('/') + remove);
    if (!damage.isEmpty()) {
        QStringList lines = textfile::readLines(set + QLatin1Char('/') + damage);
        lines[2] = lines[2].left(10) + QStringLiteral("x");
        textfile::writeLines(set + QLatin1Char('/') + damage, lines);
    }
    TFRelatorios &screen = d.main->relatorios();
    try {
        screen.showSet(set);
        QFAIL("a bad set was shown");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QVERIFY(!screen.isVisible());
}

void TestReports::pendingMovementsWarn_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("warning");
    QTest::newRow("Ver Quadros e Gráficos") << "Relatrios1"
                                            << "Estatísticas não atualizadas: há movimentos que ainda não "
                                               "foram processados\nuse \" Estatísticas + "
                                               "Atualizar Quadros e Gráficos\" ";
    QTest::newRow("Relatório Semanal")
        << "Relatrios2"
        << "Há movimentos  que ainda não foram  processados.\nSe eles estiverem dentro "
           "da semana selecionada \no Relatório estará  inconsistente. Nesse "
           "caso,\nuse a opção: \"Estatísticas + Atualizar Quadros e Gráficos\" ";
}

void TestReports::pendingMovementsWarn()
{
    QFETCH(QString, item);
    QFETCH(QString, warning);
    Demo d;
    textfile::writeLines(d.file(files::kPendingMovements), {QStringLiteral("1 1210002")});
    d.context->statisticsUpToDate = false;
    const auto open = [&] {
        bool shownScreen = false;
        onModal<QDialog>([&](QDialog *s) {
            shownScreen = true;
            s->reject();
        });
        d.main->menuItem(item)->trigger();
        QVERIFY(shownScreen);
    };
    open();
    QCOMPARE(d.dialogs.texts(Kind::Warning), QStringList{warning});

    // The warning names "Atualizar Quadros e Gráficos": the user finds it in the menu
    // and posts with it. Posted, the tables count the lines, and the screens open
    // without a word.
    d.dialogs.clear();
    QMenuBar *bar = d.main->menuBar();
    QAction *statistics = d.item("Estatsticas1");
    test::click(bar, bar->actionGeometry(statistics).center());
    QMenu *menu = statistics->menu();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction *post = d.item("AtualizarQuadroseGrficos1");
    QVERIFY(menu->actions().contains(post));
    QVERIFY(post->isVisible());
    test::click(menu, menu->actionGeometry(post).center());
    QVERIFY(textfile::readLines(d.file(files::kPendingMovements)).isEmpty());
    QVERIFY(d.context->statisticsUpToDate);
    open();
    QVERIFY2(d.dialogs.shown().isEmpty(), qPrintable(d.dialogs.texts().join(QLatin1Char('\n'))));
    // The report screen forgets it on closing: the next lines warn again.
    QCOMPARE(d.context->statisticsUpToDate, item == QLatin1String("Relatrios2"));
}

void TestReports::damagedFilesAreNamed_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("screen"); // the screen still opens
    QTest::newRow("the doctors' months") << "Relatrios1"
                                         << "MedMeses.Txt" << 4 << false;
    QTest::newRow("the situations' months") << "Relatrios1"
                                            << "SitMeses.Txt" << 12 << false;
    QTest::newRow("the history") << "Relatrios1"
                                 << "Historico.Txt" << 5 << false;
    QTest::newRow("the weeks") << "Relatrios2"
                               << "Semanas.Txt" << 3 << true;
    QTest::newRow("the weekly counts, when printing") << "Relatrios2"
                                                      << "PrevReal.Txt" << 40 << true;
}

void TestReports::damagedFilesAreNamed()
{
    QFETCH(QString, item);
    QFETCH(QString, file);
    QFETCH(int, line);
    QFETCH(bool, screen);
    Demo d;
    QStringList lines = textfile::readLines(d.file(file));
    lines[line - 1] = lines[line - 1].left(5) + QStringLiteral("?") + lines[line - 1].mid(6);
    textfile::writeLines(d.file(file), lines);
    const QByteArray damaged = bytesOf(d.file(file));
    bool opened = false;
    if (screen) {
        onModal<TFListaPrevReal>([&](TFListaPrevReal *s) {
            opened = true;
            if (s->ListBox1->currentRow() >= 0)
                click(s->Button1);
            s->reject();
        });
    }
    d.main->menuItem(item)->trigger();
    QCOMPARE(opened, screen);
    QVERIFY(!d.main->relatorios().isVisible());
    const QStringList errors = d.dialogs.texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(file) && errors.first().contains(QStringLiteral("linha %1").arg(line)),
             qPrintable(errors.first()));
    QVERIFY(d.printer.documents().isEmpty());
    QCOMPARE(bytesOf(d.file(file)), damaged);
}

void TestReports::chartPrintsToPdf()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed: this checks the PDF written without one");
    Demo d;
    QtPrinter pdf(d.context->paths, d.clock, d.dialogs);
    AppContext context(d.context->paths, d.clock, d.dialogs, pdf);
    session::startUp(context);
    TFRelatorios screen(context);
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        doubleClickCell(s, 1, 12);
        QVERIFY(QTest::qWaitForWindowExposed(&s->grafico()));
        test::click(s->grafico().BImprimir);
        click(s->Button2);
    });
    screen.showDataFolder();
    const PdfPages pages = pdfPages(pdf.printFolder());
    QCOMPARE(pages.count, 1);
    QVERIFY(!pages.landscape);
    QVERIFY(d.dialogs.texts(Kind::Information).first().contains(QStringLiteral("O documento foi gravado no arquivo")));
}

void TestReports::chartNamesStayWithinTheChart()
{
    // The year of every doctor and specialty row: 36 long names under the axis.
    Demo d;
    QImage chart;
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        doubleClickCell(s, 1, 13);
        QVERIFY(QTest::qWaitForWindowExposed(&s->grafico()));
        chart = s->grafico().grab().toImage();
        test::click(s->grafico().BSair);
        test::click(s->Button2);
    });
    d.item("Relatrios1")->trigger();
    QCOMPARE(chart.height(), 523);
    // Nothing is written right of the axis's end, below the buttons.
    int written = 0;
    for (int y = 335; y < chart.height(); ++y)
        for (int x = 600; x < chart.width(); ++x)
            written += chart.pixelColor(x, y).value() < 100 ? 1 : 0;
    QCOMPARE(written, 0);
}

void TestReports::weeklyPrintoutOfFiftyDoctors()
{
    test::Fixture f;
    fiftyDoctors(f);
    AppContext &c = f.start();
    TFPrincipal main(c);
    main.FormCreate();
    main.showStatisticsMenu();
    onWeekly(main, [&](TFListaPrevReal *s) {
        QCOMPARE(s->windowTitle(), QStringLiteral("Listagem Previsão / Realização de Consultas"));
        QCOMPARE(s->ListBox1->count(), 53);
        // The last week with counts is chosen as the screen opens.
        QCOMPARE(s->ListBox1->currentItem()->text(), QStringLiteral("12/01/2026  18/01/2026"));
        clickWeek(s, 1);
        QCOMPARE(s->ListBox1->currentItem()->text(), QStringLiteral("05/01/2026  11/01/2026"));
        click(s->Button1);
    });
    QCOMPARE(f.printer.documents().size(), 1);
    const auto &doc = f.printer.documents().first();
    QVERIFY(doc.landscape);
    QVERIFY(!f.printer.landscape());
    QVERIFY2(doc.pages >= 2, qPrintable(QString::number(doc.pages)));
    const QString period = QStringLiteral("Planilha de Atendimento - Periodo:  05/01/2026 a 11/01/2026");
    for (int page = 1; page <= doc.pages; ++page) {
        const QStringList texts = doc.page(page);
        QVERIFY(texts.contains(QStringLiteral("Sistema de Marcação de Consultas")));
        QVERIFY(texts.contains(period));
        QVERIFY(texts.contains(QStringLiteral("Marc/Turno")));
    }
    const QStringList all = doc.lines();
    for (int code = 1; code <= 50; ++code)
        QVERIFY(all.contains(QStringLiteral("Médico Número %1").arg(code)));
    const int first = static_cast<int>(all.indexOf(QStringLiteral("Médico Número 1")));
    QCOMPARE(all.mid(first, 7),
             (QStringList{"Médico Número 1", "0012", "0010", "83,3", "Cardiologia", "2", "6"}));
    // Every line within the page across: as high as the upright page is wide.
    const int landscapeHeight = 2400;
    for (const auto &t : doc.texts)
        QVERIFY2(t.y + t.font.pixelHeight <= landscapeHeight, qPrintable(t.text));
}

void TestReports::weeklyPrintoutNeedsAWeek()
{
    test::Fixture f;
    fiftyDoctors(f);
    AppContext &c = f.start();
    // Last year's weeks and nothing counted: no week is chosen.
    f.write(files::kWeeks, weeksOfYear(2025));
    f.write(files::kWeeklyCounts, f.read(QStringLiteral("BasePrevReal.Txt")));
    TFPrincipal main(c);
    main.FormCreate();
    onWeekly(main, [&](TFListaPrevReal *s) {
        QVERIFY(s->ListBox1->selectedItems().isEmpty());
        click(s->Button1);
    });
    QCOMPARE(f.dialogs.texts(Kind::Information),
             QStringList{QStringLiteral("Você deve selecionar a semana")});
    QVERIFY(f.printer.documents().isEmpty());
}

void TestReports::weeklyReportOpensOnTheLastWeekWithCounts()
{
    // On 04/04/2026 the last week counted is the one of 23/03; printing without
    // choosing prints it, not a week still to come.
    test::Fixture f(QDate(2026, 4, 4));
    fiftyDoctors(f);
    f.addDoctor(2, QStringLiteral("Médico Número 2"), QStringLiteral("51 Clínica Geral"));
    WeeklyCounts counts;
    counts.load(f.dir() + QLatin1Char('/') + files::kWeeklyCounts);
    counts.add(13, 2, 7, 5);
    f.write(files::kWeeklyCounts, counts.lines());
    AppContext &c = f.start();
    TFPrincipal main(c);
    main.FormCreate();
    main.showStatisticsMenu();
    onWeekly(main, [&](TFListaPrevReal *s) { test::click(s->Button1); });
    QCOMPARE(f.printer.documents().size(), 1);
    const QStringList texts = f.printer.documents().first().lines();
    QVERIFY2(texts.contains(QStringLiteral("Planilha de Atendimento - Periodo:  23/03/2026 a 29/03/2026")),
             qPrintable(texts.join(QLatin1Char('|'))));
    const int second = static_cast<int>(texts.indexOf(QStringLiteral("Médico Número 2")));
    // The specialty has the room of its column: none of its name is cut.
    QCOMPARE(texts.mid(second, 5), (QStringList{"Médico Número 2", "0007", "0005", "71,4", "Clínica Geral"}));
}

void TestReports::creatingTheWeeks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("first"); // empty: the weeks as they were
    QTest::addColumn<int>("weeks");
    QTest::addColumn<QString>("warning");
    QTest::newRow("29/12/14") << true << "29/12/14"
                              << "29/12/2014  04/01/2015" << 53 << "";
    QTest::newRow("5/1/15") << true << "5/1/15"
                            << "05/01/2015  11/01/2015" << 52 << "";
    QTest::newRow("31/02/15 is no date") << true << "31/02/15"
                                         << "" << 0 << "31/02/15 é uma data inválida";
    QTest::newRow("too early in December") << true << "01/12/14"
                                           << "" << 0
                                           << "A partir de 01/12/2014, as 54 semanas da lista não chegam a "
                                              "31/12/2015. Escolha um primeiro dia mais perto "
                                              "do início do ano.";
    QTest::newRow("No") << false << ""
                        << "" << 0 << "";
}

void TestReports::creatingTheWeeks()
{
    QFETCH(bool, yes);
    QFETCH(QString, typed);
    QFETCH(QString, first);
    QFETCH(int, weeks);
    QFETCH(QString, warning);
    test::Fixture f;
    f.write(files::kWeeks, weeksOfYear(2026));
    f.mirror();
    AppContext &c = f.start();
    c.settings.setMirroring(QStringLiteral("Com"));
    const QByteArray before = bytesOf(f.dir() + QLatin1Char('/') + files::kWeeks);
    f.dialogs.answerQuestion(yes);
    if (yes)
        f.dialogs.answerInput(typed);
    QStringList listed;
    TFListaPrevReal screen(c);
    onModal<TFListaPrevReal>([&](TFListaPrevReal *s) {
        click(s->BCriarSemanas);
        for (int i = 0; i < s->ListBox1->count(); ++i)
            listed << s->ListBox1->item(i)->text();
        click(s->BSair);
    });
    screen.exec();
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
    QCOMPARE(f.dialogs.texts(Kind::Warning), warning.isEmpty() ? QStringList() : QStringList{warning});
    const QStringList lines = f.read(files::kWeeks);
    if (first.isEmpty()) {
        QCOMPARE(bytesOf(f.dir() + QLatin1Char('/') + files::kWeeks), before);
        QCOMPARE(listed.size(), 53);
        return;
    }
    QCOMPARE(lines.size(), weeks);
    QCOMPARE(listed.size(), weeks);
    QCOMPARE(listed.first(), first);
    QVERIFY(lines.last().mid(10) >= QStringLiteral("31/12/2015") ||
            lines.last().endsWith(QStringLiteral("2016")));
    // The mirror has the new weeks too.
    QVERIFY(QFileInfo::exists(f.mirror() + QLatin1Char('/') + files::kWeeks));
    QCOMPARE(textfile::readLines(f.mirror() + QLatin1Char('/') + files::kWeeks), lines);
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
