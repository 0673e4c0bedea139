// The statistics reports, each next to a bare baseline run in pairs with it (A B A B),
// each figure the median of the per-pair ratios:
//  - opening the report screen on the doctors' table (80 rows, 83 x 14 with the
//    headings, the empty row and the total): the program (the six statistics files
//    read strictly, the tables built, the screen shown and painted) against reading the
//    seven files (the six and CodMed.Txt) and a bare dialog of plain Qt widgets - the
//    heading, the two panels with the 30 specialty names, the table choices and their
//    arrows, the orientation box, the two buttons, and a QTableWidget with the same
//    rows, texts and column widths - shown and painted; then switching to the
//    situations and back (the same widgets) against filling the bare table with the
//    same texts twice, the arrow moved to each choice;
//  - painting a chart of 80 bars (twenty repaints of the window) against a bare widget
//    of the same size whose paint fills the same rectangles with Qt's hatched brush, and
//    against one that draws the same marks (outlines, hatching lines, ticks, labels and
//    values, worked out beforehand);
//  - the weekly report of 50 doctors to PDF ("Imprimir"), against reading PrevReal.Txt
//    and a bare landscape QPrinter PDF of the same texts at the same places, page
//    breaks and repeated headings included.
#include "app/context.h"
#include "app/session.h"
#include "bench_data.h"
#include "core/data_files.h"
#include "core/registers.h"
#include "platform/clickable_label.h"
#include "platform/dates.h"
#include "platform/qt_printer.h"
#include "platform/radio_group.h"
#include "platform/text_file.h"
#include "statistics/chart_layout.h"
#include "statistics/tfgrafico.h"
#include "statistics/tflistaprevreal.h"
#include "statistics/tfrelatorios.h"
#include "statistics/weekly_counts.h"
#include "statistics/weekly_listing.h"
#include "statistics/weeks.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>

using namespace clinora;

namespace {

const QDate kToday(2026, 6, 10);

QString count(int value)
{
    return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
}

// Fifty doctors over thirty named specialties, every month counted, every week of the
// weekly table filled.
void fillStatistics(const QString &dir)
{
    bench::installFullRegister(dir);
    const auto path = [&](const QString &name) { return dir + QLatin1Char('/') + name; };
    QStringList names;
    for (int code = 51; code <= 80; ++code)
        names << QStringLiteral("Especialidade %1").arg(code);
    writeSpecialtyNames(path(files::kSpecialties), names);
    const auto months = [](int seed) {
        QString text;
        for (int m = 1; m <= 12; ++m)
            text += count(1 + (seed * 7 + m * 13) % 97);
        return text;
    };
    QStringList doctors;
    for (int row = 1; row <= 80; ++row) {
        const QString code = textfile::fixed(QString::number(row), 2);
        const QString specialty = row <= 50 ? QString::number(51 + row % 30) : QString::number(row);
        doctors << code + specialty + months(row);
    }
    textfile::writeLines(path(files::kDoctorMonths), doctors);
    QStringList specialties;
    for (int code = 51; code <= 80; ++code)
        specialties << QString::number(code) + months(code);
    textfile::writeLines(path(files::kSpecialtyMonths), specialties);
    QStringList situations;
    for (int s = 1; s <= 9; ++s) {
        for (int code = 51; code <= 80; ++code)
            situations << QString::number(s) + QString::number(code) + months(s * 30 + code);
    }
    situations = situations.mid(0, 270);
    while (situations.size() < 300)
        situations << QStringLiteral("900") + QString(48, QLatin1Char('0'));
    textfile::writeLines(path(files::kSituationMonths), situations);
    WeeklyCounts weekly;
    for (int w = 1; w <= WeeklyCounts::kWeeks; ++w) {
        for (int d = 1; d <= WeeklyCounts::kDoctors; ++d)
            weekly.add(w, d, 10 + (w + d) % 30, 8 + (w * d) % 20);
    }
    textfile::writeLines(path(files::kWeeklyCounts), weekly.lines());
    textfile::writeLines(path(files::kWeeks), weeksOfYear(kToday.year()));
    QStringList settings = textfile::readLines(path(files::kSettings));
    settings[2] = QStringLiteral("A%1").arg(kToday.year());
    textfile::writeLines(path(files::kSettings), settings);
}

// Shows a modal dialog, paints it whole once it is on the screen, closes it.
void showPaintAndClose(QDialog &dialog, const std::function<void()> &exec)
{
    QTimer::singleShot(0, &dialog, [&dialog] {
        while (!dialog.windowHandle() || !dialog.windowHandle()->isExposed())
            QCoreApplication::processEvents();
        dialog.repaint();
        dialog.reject();
    });
    exec();
}

void fillBare(QTableWidget &table, const reports::ReportTable &texts)
{
    table.clear();
    table.setRowCount(texts.rowCount() - 1);
    table.setColumnCount(texts.columnCount());
    table.setHorizontalHeaderLabels(texts.cells[0]);
    for (int r = 1; r < texts.rowCount(); ++r) {
        for (int c = 0; c < texts.columnCount(); ++c) {
            auto *item = new QTableWidgetItem(texts.cells[r][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table.setItem(r - 1, c, item);
        }
    }
}

// The report screen built with plain Qt widgets: the heading, the two raised panels
// with the 30 specialty names, the table choices and their red arrows, the chart's
// orientation box, the grid and the two buttons, with the program's texts, fonts,
// colours and places.
// Where the program put its grid for a table, and its columns' widths.
struct Shape
{
    QRect place;
    QList<int> widths;
};

Shape shapeOf(const QTableView &grid)
{
    Shape shape{grid.geometry(), {}};
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        shape.widths << grid.columnWidth(c);
    return shape;
}

struct BareScreen
{
    QDialog dialog;
    QTableWidget *table = nullptr;
    QLabel *tableArrow = nullptr;
    QList<QLabel *> tableChoices;

    explicit BareScreen(TFRelatorios &screen)
    {
        const auto place = [](QWidget *bare, const QWidget *program) { bare->setGeometry(program->geometry()); };
        dialog.setWindowTitle(screen.windowTitle());
        dialog.setFixedSize(screen.size());
        QPalette blue = dialog.palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            blue.setColor(group, QPalette::WindowText, Qt::blue);
            blue.setColor(group, QPalette::ButtonText, Qt::blue);
        }
        dialog.setPalette(blue);

        auto *heading = new QLabel(screen.Label1->text(), &dialog);
        QFont big = heading->font();
        big.setPointSize(13);
        big.setBold(true);
        heading->setFont(big);
        heading->setAlignment(Qt::AlignCenter);
        place(heading, screen.Label1);

        QFont bold = heading->font();
        bold.setPointSize(dialog.font().pointSize());
        const auto arrow = [&bold](QWidget *parent, const QWidget *program) {
            auto *label = new QLabel(QStringLiteral("=>"), parent);
            QPalette red = label->palette();
            red.setColor(QPalette::WindowText, Qt::red);
            label->setPalette(red);
            label->setFont(bold);
            label->setGeometry(program->geometry());
            return label;
        };
        const auto panel = [&](const QWidget *program) {
            auto *frame = new QFrame(&dialog);
            frame->setFrameShape(QFrame::Panel);
            frame->setFrameShadow(QFrame::Raised);
            frame->setGeometry(program->geometry());
            return frame;
        };
        const auto choice = [&](QWidget *parent, const QLabel *program, bool strong) {
            auto *label = new QLabel(program->text(), parent);
            if (strong)
                label->setFont(bold);
            label->setEnabled(program->isEnabled());
            label->setGeometry(program->geometry());
            return label;
        };

        QFrame *specialties = panel(screen.Label3->parentWidget());
        for (int code = 51; code <= 80; ++code)
            choice(specialties, screen.specialtyLabel(code), false);
        choice(specialties, screen.Label3, true);
        choice(specialties, screen.Label4, true);
        arrow(specialties, screen.Label44);

        QFrame *tables = panel(screen.Label2->parentWidget());
        for (const QLabel *program : {screen.Label2, screen.Label41, screen.Label42})
            tableChoices << choice(tables, program, true);
        tableArrow = arrow(tables, screen.Label43);

        auto *orientation = new QGroupBox(screen.RGGrafico->title(), &dialog);
        auto *grid = new QGridLayout(orientation);
        auto *vertical = new QRadioButton(QStringLiteral("Vertical"), orientation);
        grid->addWidget(vertical, 0, 0);
        grid->addWidget(new QRadioButton(QStringLiteral("Horizontal"), orientation), 0, 1);
        vertical->setChecked(true);
        place(orientation, screen.RGGrafico);

        table = new QTableWidget(&dialog);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->verticalHeader()->hide();
        table->verticalHeader()->setMinimumSectionSize(16);
        table->verticalHeader()->setDefaultSectionSize(20);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table->horizontalHeader()->setHighlightSections(false);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QFont small = table->font();
        small.setPointSize(8);
        table->setFont(small);
        table->horizontalHeader()->setFont(small);
        table->viewport()->setMouseTracking(true);
        place(table, screen.Grade);

        for (const QPushButton *program : {screen.BPercentagem, screen.Button2}) {
            auto *button = new QPushButton(program->text(), &dialog);
            button->setAutoDefault(false);
            place(button, program);
        }
    }

    // A table in the grid, the arrow at its choice, the grid placed and its columns as
    // wide as the program's.
    void show(const reports::ReportTable &texts, int choice, const Shape &shape)
    {
        table->setGeometry(shape.place);
        fillBare(*table, texts);
        for (int c = 0; c < shape.widths.size(); ++c)
            table->setColumnWidth(c, shape.widths[c]);
        QLabel *at = tableChoices[choice];
        tableArrow->move(at->x() - tableArrow->width() - 2, at->y());
    }
};


void reportScreen(AppContext &context, int pairs)
{
    TFRelatorios screen(context);
    // One opening to learn the texts, the places and the column widths the bare grid takes.
    showPaintAndClose(screen, [&] { screen.showDataFolder(); });
    reports::ReportTable doctors;
    reports::ReportTable situations;
    Shape doctorShape;
    Shape situationShape;
    std::unique_ptr<BareScreen> bareScreen;
    QTimer::singleShot(0, &screen, [&] {
        doctors = screen.table();
        doctorShape = shapeOf(*screen.Grade);
        bareScreen = std::make_unique<BareScreen>(screen);
        Q_EMIT screen.Label41->clicked();
        situations = screen.table();
        situationShape = shapeOf(*screen.Grade);
        screen.reject();
    });
    screen.showDataFolder();
    std::printf("  doctors' table %d x %d\n", doctors.rowCount(), doctors.columnCount());

    const QStringList seven = {files::kDoctorMonths, files::kSituationMonths, files::kSpecialtyMonths,
                               files::kHistory,      files::kSpecialties,     files::kSituations,
                               files::kDoctors};
    QDialog &bare = bareScreen->dialog;

    const bench::Paired open = bench::paired(
        pairs,
        [&] { return bench::timeMs([&] { showPaintAndClose(screen, [&] { screen.showDataFolder(); }); }); },
        [&] {
            return bench::timeMs([&] {
                for (const QString &name : seven)
                    textfile::readLines(context.file(name));
                bareScreen->show(doctors, 0, doctorShape);
                showPaintAndClose(bare, [&] { bare.exec(); });
            });
        });
    bench::report("open on the doctors' table", open);

    // Switching tables on the open screen: the situations and back, painted each time.
    double switched = 0;
    const auto program = [&] {
        QTimer::singleShot(0, &screen, [&] {
            while (!screen.windowHandle() || !screen.windowHandle()->isExposed())
                QCoreApplication::processEvents();
            switched = bench::timeMs([&] {
                Q_EMIT screen.Label41->clicked();
                screen.repaint();
                Q_EMIT screen.Label2->clicked();
                screen.repaint();
            });
            screen.reject();
        });
        screen.showDataFolder();
        return switched;
    };
    const auto bareSwitch = [&] {
        QTimer::singleShot(0, &bare, [&] {
            while (!bare.windowHandle() || !bare.windowHandle()->isExposed())
                QCoreApplication::processEvents();
            switched = bench::timeMs([&] {
                bareScreen->show(situations, 1, situationShape);
                bare.repaint();
                bareScreen->show(doctors, 0, doctorShape);
                bare.repaint();
            });
            bare.reject();
        });
        bare.exec();
        return switched;
    };
    bench::report("switch to situations and back", bench::paired(pairs, program, bareSwitch));
}

// The bare charts on a widget of the chart's size: the same rectangles filled with
// Qt's hatched brush; or the same marks as the program draws them (outlines, hatching
// lines, ticks, labels, values), worked out before the paint.
class BareChart final : public QWidget
{
public:
    BareChart(const reports::ChartLayout &layout, bool marks) : m_layout(layout), m_marks(marks)
    {
        for (const reports::ChartLayout::Bar &bar : layout.bars)
            m_hatching += reports::hatching(bar);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QFont small = font();
        small.setPointSize(8);
        painter.setFont(small);
        const int ascent = painter.fontMetrics().ascent();
        if (!m_marks) {
            painter.setPen(Qt::blue);
            painter.setBrush(QBrush(QColor(0, 255, 255), Qt::FDiagPattern));
            for (const reports::ChartLayout::Bar &bar : m_layout.bars)
                painter.drawRect(bar.x, bar.top, bar.width, bar.height());
            return;
        }
        painter.drawLine(m_layout.axis);
        painter.setPen(QColor(0, 255, 255));
        painter.drawLines(m_hatching);
        painter.setPen(Qt::blue);
        for (const reports::ChartLayout::Bar &bar : m_layout.bars)
            painter.drawRect(bar.x, bar.top, bar.width, bar.height());
        painter.setPen(Qt::black);
        for (const reports::ChartLayout::Bar &bar : m_layout.bars) {
            painter.drawLine(bar.tick);
            painter.drawText(bar.labelAt.x(), bar.labelAt.y() + ascent, bar.label);
            painter.drawText(bar.textAt.x(), bar.textAt.y() + ascent, bar.text);
        }
    }

private:
    const reports::ChartLayout &m_layout;
    bool m_marks;
    QList<QLine> m_hatching;
};

void chart(AppContext &context, int pairs)
{
    reports::ChartData data;
    for (int k = 1; k <= 80; ++k)
        data.bars << reports::ChartBar{QStringLiteral("Dr(a). Médico %1").arg(k), count(k * 37 % 100),
                                       static_cast<double>(k * 37 % 100)};
    data.subtitle = QStringLiteral("Mês de Março");
    data.total = QStringLiteral("4000");
    TFGrafico window(context);
    window.showChart(data);
    const reports::ChartLayout layout = reports::layoutChart(data);
    BareChart rectangles(layout, false);
    BareChart marks(layout, true);
    for (QWidget *w : {static_cast<QWidget *>(&rectangles), static_cast<QWidget *>(&marks)}) {
        w->resize(window.size());
        w->show();
    }
    for (QWidget *w : {static_cast<QWidget *>(&window), static_cast<QWidget *>(&rectangles),
                       static_cast<QWidget *>(&marks)}) {
        while (!w->windowHandle() || !w->windowHandle()->isExposed())
            QCoreApplication::processEvents();
    }
    const auto paint = [](QWidget &w) {
        return [&w] {
            return bench::timeMs([&w] {
                for (int i = 0; i < 20; ++i)
                    w.repaint();
            });
        };
    };
    bench::report("80 bars: bare fills the rectangles",
                  bench::paired(pairs, paint(window), paint(rectangles)));
    bench::report("80 bars: bare draws the same marks", bench::paired(pairs, paint(window), paint(marks)));
}

int pdfPages(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page ") + bytes.count("/Type /Page/"));
}

QString newestPdf(const QString &folder)
{
    const QStringList pdfs = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    return pdfs.isEmpty() ? QString() : folder + QLatin1Char('/') + pdfs.first();
}

// The same texts at the same places, with the same page breaks, in a bare PDF.
void barePdf(const QString &path, const DrawnList &list)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    const double f = printer.width() / 2400.0;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(40 * f));
    painter.setFont(font);
    const int ascent = painter.fontMetrics().ascent();
    const auto head = [&] {
        for (const DrawnList::Text &t : list.head)
            painter.drawText(static_cast<int>(t.x * f), static_cast<int>(t.y * f) + ascent, t.text);
    };
    head();
    int onPage = 0;
    for (const QStringList &row : list.rows) {
        int y = static_cast<int>((list.firstRowY + list.rowStep * onPage) * f);
        if (onPage > 0 && y + font.pixelSize() > printer.height()) {
            printer.newPage();
            head();
            onPage = 0;
            y = static_cast<int>(list.firstRowY * f);
        }
        for (int c = 0; c < row.size(); ++c)
            painter.drawText(static_cast<int>(list.columns[c] * f), y + ascent, row[c]);
        ++onPage;
    }
}

void weeklyPdf(const QString &dir, const QString &drives, int pairs)
{
    bench::SilentDialogs dialogs;
    FixedClock clock(QDateTime(kToday, QTime(10, 0)));
    Paths paths(dir, drives);
    QtPrinter pdf(paths, clock, dialogs);
    AppContext context(paths, clock, dialogs, pdf);
    session::startUp(context);
    TFListaPrevReal screen(context);
    screen.show();
    while (!screen.windowHandle() || !screen.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    if (screen.ListBox1->currentRow() < 0)
        std::abort();
    screen.Button1->click();
    const QString printed = newestPdf(pdf.printFolder());
    std::printf("  weekly report: %d pages (%s)\n", pdfPages(printed),
                qPrintable(QFileInfo(printed).fileName()));

    const int row = screen.ListBox1->currentRow();
    const Weeks::Week week = screen.weeks().weeks()[row];
    WeeklyCounts counts;
    counts.load(context.file(files::kWeeklyCounts));
    const DrawnList list = weekly::weeklyReport(counts, context.doctors, {row + 1, week.first, week.last});
    const QString bare = dir + QStringLiteral("/bare.pdf");
    barePdf(bare, list);
    std::printf("  bare report:   %d pages\n", pdfPages(bare));
    const bench::Paired runs = bench::paired(
        pairs, [&] { return bench::timeMs([&] { screen.Button1->click(); }); },
        [&] {
            return bench::timeMs([&] {
                textfile::readLines(context.file(files::kWeeklyCounts));
                barePdf(bare, list);
            });
        });
    bench::report("weekly report of 50 doctors to PDF", runs);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 15;
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    fillStatistics(dir);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), kToday);
    std::printf("report screen (statistics of 50 doctors, 30 specialties)\n");
    reportScreen(program.context, pairs);
    std::printf("chart\n");
    chart(program.context, pairs);
    std::printf("weekly report\n");
    weeklyPdf(dir, tmp.filePath(QStringLiteral("drives")), pairs);
    return 0;
}
