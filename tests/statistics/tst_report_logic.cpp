// The report tables, their percentages, the choice of what a double-click charts, the
// chart layout and the weekly report, as plain logic on statistics files written for
// each case.
#include "core/data_files.h"
#include "platform/errors.h"
#include "statistics/chart_layout.h"
#include "statistics/report_tables.h"
#include "statistics/statistics_set.h"
#include "statistics/weekly_counts.h"
#include "statistics/weekly_listing.h"
#include "support/fixture.h"

#include <QTest>
#include <map>

using namespace clinora;
using namespace clinora::reports;
using test::Fixture;

namespace {

using Months = std::map<int, int>; // month 1 to 12 -> count

QString countsText(const Months &months)
{
    QString text;
    for (int m = 1; m <= 12; ++m)
        text += QStringLiteral("%1").arg(months.count(m) ? months.at(m) : 0, 4, 10, QLatin1Char('0'));
    return text;
}

// Replaces the line of a monthly file that begins with the codes (in MedMeses.Txt, with
// the row's code).
void setLine(Fixture &f, const QString &file, const QString &codes, const Months &months)
{
    QStringList lines = f.read(file);
    const QString key = file == files::kDoctorMonths ? codes.left(2) : codes;
    for (QString &line : lines) {
        if (line.startsWith(key)) {
            line = codes + countsText(months);
            f.write(file, lines);
            return;
        }
    }
    QFAIL(qPrintable(codes + QStringLiteral(" is not in ") + file));
}

// Three doctors (the third removed, his counts gone to his specialty's row), counts in
// January, February and March, and a history of three years.
StatisticsSet smallClinic(Fixture &f)
{
    f.addDoctor(1, QStringLiteral("Dra. Ana Souza"), QStringLiteral("51 Clínica Geral"));
    f.addDoctor(2, QStringLiteral("Dr. Bruno Lima"), QStringLiteral("52 Cardiologia"));
    f.addDoctor(3, QStringLiteral("Dr. Caio Reis"), QStringLiteral("52 Cardiologia"));
    setLine(f, files::kDoctorMonths, QStringLiteral("1 51"), {{1, 12}, {3, 3}});
    setLine(f, files::kDoctorMonths, QStringLiteral("2 52"), {{3, 5}});
    setLine(f, files::kDoctorMonths, QStringLiteral("3 00"), {});
    setLine(f, files::kDoctorMonths, QStringLiteral("5252"), {{2, 7}});
    setLine(f, files::kSpecialtyMonths, QStringLiteral("51"), {{1, 12}, {3, 3}});
    setLine(f, files::kSpecialtyMonths, QStringLiteral("52"), {{2, 7}, {3, 5}});
    setLine(f, files::kSituationMonths, QStringLiteral("151"), {{1, 10}});
    setLine(f, files::kSituationMonths, QStringLiteral("152"), {{1, 2}});
    setLine(f, files::kSituationMonths, QStringLiteral("351"), {{3, 3}});
    setLine(f, files::kSituationMonths, QStringLiteral("952"), {{3, 5}});
    QStringList history = f.read(files::kHistory);
    history[0] = QStringLiteral("00 2023 2024 2025");
    history[1] = QStringLiteral("51000100002000030");
    history[2] = QStringLiteral("52000050000000008");
    f.write(files::kHistory, history);
    return readStatisticsSet(f.dir());
}

QStringList row(const ReportTable &table, int r)
{
    return table.cells.value(r);
}

QStringList names(const ReportTable &table)
{
    QStringList result;
    for (int r = 1; r <= table.dataRows; ++r)
        result << table.cell(r, 0).trimmed();
    return result;
}

// A monthly row: the name, twelve months and the year.
QStringList monthRow(const QString &name, const Months &months, const QString &year, bool stored = true)
{
    QStringList cells{name};
    for (int m = 1; m <= 12; ++m) {
        const int v = months.count(m) ? months.at(m) : 0;
        cells << (v == 0   ? QString()
                  : stored ? QStringLiteral("%1").arg(v, 4, 10, QLatin1Char('0'))
                           : QString::number(v));
    }
    return cells << year;
}

ChartData bars(const QList<double> &values, Orientation orientation = Orientation::Vertical)
{
    ChartData data;
    data.orientation = orientation;
    for (int i = 0; i < values.size(); ++i)
        data.bars << ChartBar{QStringLiteral("Linha %1").arg(i + 1),
                              values[i] == 0 ? QString() : QString::number(values[i]), values[i]};
    return data;
}

} // namespace

class TestReportLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doctorRows_data();
    void doctorRows();
    void situationRows_data();
    void situationRows();
    void specialtyAndHistoryTables();
    void historySkipsAnUnnamedSpecialty();
    void percentages_data();
    void percentages();
    void percentagesRefused_data();
    void percentagesRefused();
    void leadingZerosDropOnlyFromCounts();
    void whatADoubleClickCharts_data();
    void whatADoubleClickCharts();
    void namesTurnAndThinOutBelowTheAxis();
    void chartLayout_data();
    void chartLayout();
    void valueTextsStepAsideFromTheirNeighbour();
    void manyBarsDoNotOverlap();
    void hatchingStaysInItsBar();
    void setWithoutSituationsIsRefused();
    void damagedSetFileIsNamed();
    void weeklyRates_data();
    void weeklyRates();
    void weeksFromATypedDay_data();
    void weeksFromATypedDay();
    void weeklyReportLines();
};

void TestReportLogic::doctorRows_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("firstNames");
    QTest::addColumn<QStringList>("firstRow");
    QTest::addColumn<QStringList>("total");
    QTest::addColumn<int>("dataRows");
    const QStringList outros52{QStringLiteral("Outros - Cardiologia")};
    QTest::newRow("every specialty: the removed doctor counts under his specialty")
        << 0
        << QStringList{"Dra. Ana Souza", "Dr. Bruno Lima", "Outros - Clínica Geral", "Outros - Cardiologia"}
        << monthRow(QStringLiteral("Dra. Ana Souza"), {{1, 12}, {3, 3}}, QStringLiteral("15"))
        << QStringList{"TOTAL", "12", "7", "8", "", "", "", "", "", "", "", "", "", "27"} << 32;
    QTest::newRow("cardiology only") << 52 << QStringList{"Dr. Bruno Lima", "Outros - Cardiologia"}
                                     << monthRow(QStringLiteral("Dr. Bruno Lima"), {{3, 5}},
                                                 QStringLiteral("5"))
                                     << QStringList{"TOTAL", "", "7", "5", "", "", "",
                                                    "",      "", "",  "",  "", "", "12"}
                                     << 2;
}

void TestReportLogic::doctorRows()
{
    QFETCH(int, filter);
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, firstRow);
    QFETCH(QStringList, total);
    QFETCH(int, dataRows);
    Fixture f;
    const ReportTable table = doctorTable(smallClinic(f), filter);
    QCOMPARE(table.dataRows, dataRows);
    QCOMPARE(names(table).mid(0, firstNames.size()), firstNames);
    QVERIFY(!names(table).contains(QStringLiteral("Dr. Caio Reis")));
    QCOMPARE(row(table, 0).mid(1), (QStringList{"  Jan", "  Fev", "  Mar", "  Abr", "  Mai", "  Jun", "  Jul",
                                                "  Ago", "  Set", "  Out", "  Nov", "  Dez", " No Ano"}));
    QCOMPARE(row(table, 1).mid(1), firstRow.mid(1));
    QCOMPARE(row(table, dataRows + 1), QStringList(14, QString()));
    QCOMPARE(row(table, dataRows + 2), total);
    QCOMPARE(table.rowCount(), dataRows + 3);
    QCOMPARE(table.gridHeight, dataRows + 1 > 12 ? 290 : (dataRows + 1) * 20 + 58);
}

void TestReportLogic::situationRows_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("ninth");
    QTest::addColumn<QStringList>("total");
    QTest::newRow("every specialty") << 0
                                     << monthRow(QStringLiteral("1  Particular"), {{1, 12}},
                                                 QStringLiteral("12"), false)
                                     << monthRow(QStringLiteral("9"), {{3, 5}}, QStringLiteral("5"), false)
                                     << QStringList{"TOTAL", "12", "", "8", "", "", "",
                                                    "",      "",   "", "",  "", "", "20"};
    QTest::newRow("cardiology only") << 52
                                     << monthRow(QStringLiteral("1  Particular"), {{1, 2}},
                                                 QStringLiteral("2"), false)
                                     << monthRow(QStringLiteral("9"), {{3, 5}}, QStringLiteral("5"), false)
                                     << QStringList{"TOTAL", "2", "", "5", "", "", "",
                                                    "",      "",  "", "",  "", "", "7"};
}

void TestReportLogic::situationRows()
{
    QFETCH(int, filter);
    QFETCH(QStringList, first);
    QFETCH(QStringList, ninth);
    QFETCH(QStringList, total);
    Fixture f;
    const ReportTable table = situationTable(smallClinic(f), filter);
    // Nine situations, as Sit.Txt has nine lines.
    QCOMPARE(table.dataRows, 9);
    QCOMPARE(table.rowCount(), 12);
    QCOMPARE(table.gridHeight, 10 * 20 + 58);
    QCOMPARE(row(table, 1), first);
    QCOMPARE(row(table, 9), ninth);
    QCOMPARE(row(table, 11), total);
}

void TestReportLogic::specialtyAndHistoryTables()
{
    Fixture f;
    const StatisticsSet set = smallClinic(f);
    const ReportTable specialties = specialtyTable(set);
    QCOMPARE(specialties.dataRows, 25); // the named specialties of Esp.Txt
    QCOMPARE(row(specialties, 2),
             monthRow(QStringLiteral("Cardiologia"), {{2, 7}, {3, 5}}, QStringLiteral("12")));

    const ReportTable history = historyTable(set);
    QVERIFY(history.isHistory());
    QCOMPARE(row(history, 0), (QStringList{"", " 2023", " 2024", " 2025", "Atual"}));
    QCOMPARE(row(history, 1), (QStringList{"Clínica Geral", "00010", "00020", "00030", "15"}));
    QCOMPARE(row(history, 2), (QStringList{"Cardiologia", "00005", "00000", "00008", "12"}));
    // Every total is written, 0 included.
    QCOMPARE(row(history, history.rowCount() - 1), (QStringList{"TOTAL", "15", "20", "38", "27"}));
    QCOMPARE(history.gridHeight, 290);
}

void TestReportLogic::historySkipsAnUnnamedSpecialty()
{
    Fixture f;
    QStringList specialties = f.read(files::kSpecialties);
    specialties[1] = QStringLiteral("52 "); // Cardiologia given up
    f.write(files::kSpecialties, specialties);
    const ReportTable history = historyTable(smallClinic(f));
    // The named specialties after it keep their rows, each on its own history line.
    QCOMPARE(history.dataRows, 24);
    QCOMPARE(row(history, 1).first(), QStringLiteral("Clínica Geral"));
    QCOMPARE(row(history, 2).first(), QStringLiteral("Dermatologia"));
    QCOMPARE(row(history, history.rowCount() - 1), (QStringList{"TOTAL", "10", "20", "30", "15"}));
}

void TestReportLogic::percentages_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QStringList>("firstRow");
    QTest::addColumn<QStringList>("total");
    // January 12 of 12, March 3 of 8, the year 15 of 27; or 12 and 3 of her 15.
    QTest::newRow("vertical: each column of 100")
        << int(Orientation::Vertical)
        << QStringList{"Dra. Ana Souza", "100", "", "37,5", "", "", "", "", "", "", "", "", "", "55,6"}
        << QStringList{"TOTAL", "100", "100", "100", "", "", "", "", "", "", "", "", "", "100"};
    QTest::newRow("horizontal: each row of 100")
        << int(Orientation::Horizontal)
        << QStringList{"Dra. Ana Souza", "80", "", "20", "", "", "", "", "", "", "", "", "", "100"}
        << QStringList{"TOTAL", "44,4", "25,9", "29,6", "", "", "", "", "", "", "", "", "", "100"};
}

void TestReportLogic::percentages()
{
    QFETCH(int, orientation);
    QFETCH(QStringList, firstRow);
    QFETCH(QStringList, total);
    Fixture f;
    ReportTable table = doctorTable(smallClinic(f), 0);
    QCOMPARE(takePercentages(table, Orientation(orientation)), PercentOutcome::Done);
    QCOMPARE(row(table, 1), firstRow);
    QCOMPARE(row(table, table.rowCount() - 1), total);
    // Each row of a year adds up to 100 across, each column of a total down, give or
    // take the rounding.
    const bool across = Orientation(orientation) == Orientation::Horizontal;
    for (int line = 1; line <= (across ? table.dataRows : 13); ++line) {
        double sum = 0;
        for (int k = 1; k <= (across ? 12 : table.dataRows); ++k)
            sum += cellValue(across ? table.cell(line, k) : table.cell(k, line));
        const double whole = across ? cellValue(table.cell(line, 13)) : cellValue(total[line]);
        if (whole != 0)
            QVERIFY2(qAbs(sum - 100) < 0.5, qPrintable(QStringLiteral("%1: %2").arg(line).arg(sum)));
    }
}

void TestReportLogic::percentagesRefused_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<bool>("twice");
    QTest::addColumn<int>("outcome");
    QTest::newRow("twice") << false << true << int(PercentOutcome::AlreadyTaken);
    QTest::newRow("history across") << true << false << int(PercentOutcome::HistoryOnlyVertical);
}

void TestReportLogic::percentagesRefused()
{
    QFETCH(bool, history);
    QFETCH(bool, twice);
    QFETCH(int, outcome);
    Fixture f;
    const StatisticsSet set = smallClinic(f);
    ReportTable table = history ? historyTable(set) : doctorTable(set, 0);
    if (twice)
        QCOMPARE(takePercentages(table, Orientation::Horizontal), PercentOutcome::Done);
    const ReportTable before = table;
    QCOMPARE(int(takePercentages(table, Orientation::Horizontal)), outcome);
    QCOMPARE(table.cells, before.cells);

    // A year of exactly 100 attendances is a count, not a percentage.
    setLine(f, files::kDoctorMonths, QStringLiteral("1 51"), {{1, 60}, {2, 40}});
    setLine(f, files::kDoctorMonths, QStringLiteral("5252"), {});
    setLine(f, files::kDoctorMonths, QStringLiteral("2 52"), {});
    ReportTable hundred = doctorTable(readStatisticsSet(f.dir()), 0);
    QCOMPARE(hundred.cell(hundred.rowCount() - 1, 13), QStringLiteral("100"));
    QCOMPARE(takePercentages(hundred, Orientation::Horizontal), PercentOutcome::Done);
    QCOMPARE(hundred.cell(1, 1), QStringLiteral("60"));
}

void TestReportLogic::leadingZerosDropOnlyFromCounts()
{
    Fixture f;
    ReportTable table = doctorTable(smallClinic(f), 0);
    QVERIFY(dropLeadingZeros(table));
    QCOMPARE(row(table, 1),
             monthRow(QStringLiteral("Dra. Ana Souza"), {{1, 12}, {3, 3}}, QStringLiteral("15"), false));
    QVERIFY(!dropLeadingZeros(table));
    QCOMPARE(takePercentages(table, Orientation::Horizontal), PercentOutcome::Done);
    const ReportTable percent = table;
    // "33,3" is no count: it stays as it is.
    QVERIFY(!dropLeadingZeros(table));
    QCOMPARE(table.cells, percent.cells);
}

void TestReportLogic::whatADoubleClickCharts_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("subtitle"); // or the message of a refusal
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("bars");
    const int vertical = int(Orientation::Vertical);
    const int horizontal = int(Orientation::Horizontal);
    const int chart = int(ChartChoice::Kind::Chart);
    const int nothing = int(ChartChoice::Kind::Nothing);
    const int refused = int(ChartChoice::Kind::Refused);
    QTest::newRow("a month column") << false << vertical << 1 << 3 << chart << "Mês de Março"
                                    << "8" << 32;
    QTest::newRow("the year column from the total row")
        << false << vertical << 34 << 13 << chart << "    No Ano"
        << "27" << 32;
    QTest::newRow("a doctor's row") << false << horizontal << 1 << 0 << chart << "Dra. Ana Souza"
                                    << "15" << 13;
    QTest::newRow("the total row") << false << horizontal << 34 << 5 << chart << "TOTAL"
                                   << "27" << 13;
    QTest::newRow("the names column") << false << vertical << 1 << 0 << nothing << ""
                                      << "" << 0;
    QTest::newRow("the empty row before the total") << false << horizontal << 33 << 2 << nothing << ""
                                                    << "" << 0;
    QTest::newRow("an empty month")
        << false << vertical << 1 << 4 << refused
        << "O Gráfico não será desenhado porque\ntodas as células da coluna estão vazias"
        << "" << 0;
    QTest::newRow("an empty row")
        << false << horizontal << 5 << 1 << refused
        << "O Gráfico não será desenhado porque\ntodas as células da linha estão vazias"
        << "" << 0;
    QTest::newRow("a year of the history") << true << vertical << 1 << 2 << chart << "Ano:  2024"
                                           << "20" << 25;
    QTest::newRow("a specialty's years") << true << horizontal << 1 << 1 << chart << "Clínica Geral"
                                         << "75" << 4;
}

void TestReportLogic::whatADoubleClickCharts()
{
    QFETCH(bool, history);
    QFETCH(int, orientation);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, kind);
    QFETCH(QString, subtitle);
    QFETCH(QString, total);
    QFETCH(int, bars);
    Fixture f;
    const StatisticsSet set = smallClinic(f);
    const ReportTable table = history ? historyTable(set) : doctorTable(set, 0);
    const ChartChoice choice = chartAt(table, row, column, Orientation(orientation));
    QCOMPARE(int(choice.kind), kind);
    if (choice.kind == ChartChoice::Kind::Refused)
        QCOMPARE(choice.message, subtitle);
    if (choice.kind != ChartChoice::Kind::Chart)
        return;
    QCOMPARE(choice.data.subtitle, subtitle);
    QCOMPARE(choice.data.total, total);
    QCOMPARE(choice.data.bars.size(), bars);
    if (Orientation(orientation) == Orientation::Vertical) {
        QCOMPARE(choice.data.bars.first().label, table.cell(1, 0));
    } else {
        QCOMPARE(choice.data.bars.first().label, table.cell(0, 1));
        QCOMPARE(choice.data.bars.last().label, table.cell(0, table.columnCount() - 1));
    }
}

void TestReportLogic::chartLayout_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("windowHeight");
    QTest::addColumn<QList<int>>("heights");     // of the first bars
    QTest::addColumn<QList<int>>("labelDepths"); // 15-pixel steps below the axis, of the first bars
    const int vertical = int(Orientation::Vertical);
    QTest::newRow("one bar of a column")
        << QList<double>{0, 7, 0, 0} << vertical << 451 << QList<int>{0, 250, 0, 0} << QList<int>{1, 2, 3, 4};
    QTest::newRow("every bar 0: flat, no scale")
        << QList<double>{0, 0, 0} << vertical << 451 << QList<int>{0, 0, 0} << QList<int>{1, 2, 3};
    QTest::newRow("half and whole, as percentages")
        << QList<double>{33.3, 66.6} << vertical << 451 << QList<int>{125, 250} << QList<int>{1, 2};
    QList<double> twentyFive(25, 1.0);
    QTest::newRow("25 rows: a taller window, labels in steps of seven")
        << twentyFive << vertical << 523 << QList<int>(9, 250) << QList<int>{1, 2, 3, 4, 5, 6, 7, 1, 2};
    QList<double> months{3, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8};
    QTest::newRow("a doctor's months and year: the year sets the scale")
        << months << int(Orientation::Horizontal) << 451
        << QList<int>{94, 0, 156, 0, 0, 0, 0, 0, 0, 0, 0, 0, 250}
        << QList<int>{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1};
}

void TestReportLogic::chartLayout()
{
    QFETCH(QList<double>, values);
    QFETCH(int, orientation);
    QFETCH(int, windowHeight);
    QFETCH(QList<int>, heights);
    QFETCH(QList<int>, labelDepths);
    const ChartLayout layout = layoutChart(bars(values, Orientation(orientation)));
    QCOMPARE(layout.windowHeight, windowHeight);
    QCOMPARE(layout.axis, QLine(32, 328, 582, 328));
    QCOMPARE(layout.bars.size(), values.size());
    const double spacing = 550.0 / (values.size() + 1);
    for (int k = 0; k < heights.size(); ++k) {
        const ChartLayout::Bar &bar = layout.bars[k];
        QCOMPARE(bar.height(), heights[k]);
        QCOMPARE(bar.x, qRound((k + 1) * spacing + 32));
        QCOMPARE(bar.width, 10);
        QCOMPARE(bar.tick.p2().y(), 328 + 15 * labelDepths[k]);
        QCOMPARE(bar.labelAt, QPoint(bar.x + 5, 328 + 15 * labelDepths[k] - 5));
    }
}

void TestReportLogic::valueTextsStepAsideFromTheirNeighbour()
{
    const ChartLayout layout = layoutChart(bars({10, 10, 10, 4}));
    QVERIFY(!layout.bars[0].steppedAside);
    QCOMPARE(layout.bars[0].textAt, QPoint(layout.bars[0].x, layout.bars[0].top - 15));
    // Same height as the bar before: its value goes 10 pixels higher, with a line down.
    QVERIFY(layout.bars[1].steppedAside);
    QCOMPARE(layout.bars[1].textAt.y(), layout.bars[1].top - 25);
    QCOMPARE(layout.bars[1].connector,
             QLine(layout.bars[1].x + 5, layout.bars[1].top - 15, layout.bars[1].x + 5, layout.bars[1].top));
    // The third is clear of the second's stepped value: back in its place.
    QVERIFY(!layout.bars[2].steppedAside);
    QCOMPARE(layout.bars[2].textAt.y(), layout.bars[2].top - 15);
    QVERIFY(!layout.bars[3].steppedAside);
}

void TestReportLogic::manyBarsDoNotOverlap()
{
    const ChartLayout layout = layoutChart(bars(QList<double>(80, 3.0)));
    QCOMPARE(layout.windowHeight, 523);
    for (int k = 1; k < layout.bars.size(); ++k) {
        const ChartLayout::Bar &before = layout.bars[k - 1];
        QVERIFY2(before.x + before.width < layout.bars[k].x, qPrintable(QString::number(k)));
    }
    // Labels step down in ten places.
    QCOMPARE(layout.bars[8].tick.p2().y(), 328 + 15 * 9);
    QCOMPARE(layout.bars[9].tick.p2().y(), 328 + 15);
}

void TestReportLogic::namesTurnAndThinOutBelowTheAxis()
{
    // Five pixels a character, lines twelve pixels thick.
    const auto width = [](const QString &text) { return static_cast<int>(5 * text.size()); };
    // The twelve months and the year fit side by side.
    ChartData months = bars(QList<double>(13, 5.0), Orientation::Horizontal);
    for (int k = 0; k < 13; ++k)
        months.bars[k].label = k < 12 ? QStringLiteral("  Jan") : QStringLiteral(" No Ano");
    QVERIFY(!planLabels(layoutChart(months), width, 12).turned);

    for (const int count : {6, 36, 80}) {
        ChartData doctors = bars(QList<double>(count, 3.0));
        for (ChartBar &bar : doctors.bars)
            bar.label = QStringLiteral("Outros - Gastroenterolog");
        const ChartLayout layout = layoutChart(doctors);
        const LabelPlan plan = planLabels(layout, width, 12);
        QVERIFY2(plan.turned, qPrintable(QString::number(count)));
        // Turned, the names shown are a line's thickness apart at least, and end
        // above the window's bottom edge.
        int previous = -1;
        for (int k = 0; k < count; ++k) {
            if (!plan.shows(k))
                continue;
            if (previous >= 0)
                QVERIFY2(layout.bars[k].x - layout.bars[previous].x >= 12,
                         qPrintable(QString::number(count)));
            previous = k;
        }
        QVERIFY(plan.room > 0 && ChartLayout::kAxisY + 6 + plan.room <= layout.windowHeight);
        QCOMPARE(plan.every, count == 80 ? 2 : 1);
    }
}

void TestReportLogic::hatchingStaysInItsBar()
{
    const ChartLayout layout = layoutChart(bars({40, 0, 3}));
    for (const ChartLayout::Bar &bar : layout.bars) {
        const QList<QLine> lines = hatching(bar);
        // A bar of 0 is flat: nothing to hatch. A full one is hatched to its top.
        QCOMPARE(lines.isEmpty(), bar.height() == 0);
        for (const QLine &line : lines) {
            QVERIFY(line.x1() >= bar.x && line.x2() <= bar.x + bar.width);
            QVERIFY(line.y2() >= bar.top && line.y1() <= ChartLayout::kAxisY);
            // Up to the right, at 45 degrees.
            QCOMPARE(line.x2() - line.x1(), line.y1() - line.y2());
        }
    }
    QVERIFY(hatching(layout.bars[0]).size() >= 250 / 8);
}

void TestReportLogic::setWithoutSituationsIsRefused()
{
    Fixture f;
    QFile::remove(f.dir() + QLatin1Char('/') + files::kSituations);
    QVERIFY_THROWS_EXCEPTION(FileError, readStatisticsSet(f.dir()));
    try {
        readStatisticsSet(f.dir());
    } catch (const FileError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Não há estatísticas no Diretório ")),
                 qPrintable(e.message()));
    }
}

void TestReportLogic::damagedSetFileIsNamed()
{
    Fixture f;
    QStringList lines = f.read(files::kDoctorMonths);
    lines[6] = lines[6].left(8) + QStringLiteral("00x1") + lines[6].mid(12);
    f.write(files::kDoctorMonths, lines);
    try {
        readStatisticsSet(f.dir());
        QFAIL("a damaged file was read");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("MedMeses.Txt")) &&
                     e.message().contains(QStringLiteral("linha 7")) &&
                     e.message().contains(QStringLiteral("mês 02")),
                 qPrintable(e.message()));
    }
}

void TestReportLogic::weeklyRates_data()
{
    QTest::addColumn<int>("booked");
    QTest::addColumn<int>("attended");
    QTest::addColumn<QString>("shifts");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("perShift");
    QTest::newRow("12 booked, 10 attended, 2 shifts") << 12 << 10 << "2"
                                                      << "83,3"
                                                      << "6";
    QTest::newRow("two of three, cut not rounded") << 3 << 2 << "1"
                                                   << "66,6"
                                                   << "3";
    QTest::newRow("every one") << 5 << 5 << "3"
                               << "100"
                               << "1,66";
    QTest::newRow("nothing booked") << 0 << 0 << "2"
                                    << "0"
                                    << "0";
    QTest::newRow("nobody came") << 7 << 0 << "1"
                                 << "0"
                                 << "7";
    QTest::newRow("no shifts") << 8 << 4 << " "
                               << "50"
                               << "0";
    QTest::newRow("shifts 0") << 8 << 4 << "0"
                              << "50"
                              << "0";
    QTest::newRow("shifts not a digit") << 8 << 4 << "x"
                                        << "50"
                                        << "0";
}

void TestReportLogic::weeklyRates()
{
    QFETCH(int, booked);
    QFETCH(int, attended);
    QFETCH(QString, shifts);
    QFETCH(QString, rate);
    QFETCH(QString, perShift);
    QCOMPARE(weekly::attendanceRate(booked, attended), rate);
    QCOMPARE(weekly::bookingsPerShift(booked, shifts), perShift);
}

void TestReportLogic::weeksFromATypedDay_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("weeks");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("29/12/14, to the end of 2015") << "29/12/14"
                                                  << "29/12/201404/01/2015"
                                                  << "28/12/201503/01/2016" << 53 << "";
    QTest::newRow("05/01/15") << "05/01/15"
                              << "05/01/201511/01/2015"
                              << "28/12/201503/01/2016" << 52 << "";
    QTest::newRow("5/1/15, the same day") << "5/1/15"
                                          << "05/01/201511/01/2015"
                                          << "28/12/201503/01/2016" << 52 << "";
    QTest::newRow("05/01/2015, the same day") << "05/01/2015"
                                              << "05/01/201511/01/2015"
                                              << "28/12/201503/01/2016" << 52 << "";
    QTest::newRow("31/02/15 is no date") << "31/02/15"
                                         << ""
                                         << "" << 0 << "31/02/15 é uma data inválida";
    QTest::newRow("01/12/14: 54 weeks end before 31/12/2015")
        << "01/12/14"
        << ""
        << "" << 0
        << "A partir de 01/12/2014, as 54 semanas da lista não chegam a 31/12/2015. Escolha um primeiro dia "
           "mais perto "
           "do início do ano.";
}

void TestReportLogic::weeksFromATypedDay()
{
    QFETCH(QString, typed);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, weeks);
    QFETCH(QString, refusal);
    const weekly::WeeksFromDay made = weekly::weeksFrom(typed);
    QCOMPARE(made.refusal, refusal);
    QCOMPARE(made.lines.size(), weeks);
    if (weeks == 0)
        return;
    QCOMPARE(made.lines.first(), first);
    QCOMPARE(made.lines.last(), last);
}

void TestReportLogic::weeklyReportLines()
{
    DoctorRegister doctors;
    // The register's specialty field: the code, a blank and twelve characters of name.
    doctors.doctor(1) = {"1 ", "Dra. Ana Souza", "51 Clínica Gera", "101", "1", "51", "2", "", ""};
    doctors.doctor(2) = {"2 ", " ", "", "", "", "", "", "", ""};
    doctors.doctor(3) = {"3 ", "Dr. Bruno Lima", "52 Cardiologia", "102", "1", "52", "1", "", ""};
    WeeklyCounts counts;
    counts.add(3, 1, 12, 10);
    counts.add(4, 3, 9, 9);
    const DrawnList list = weekly::weeklyReport(counts, doctors, {3, QDate(2026, 1, 12), QDate(2026, 1, 18)});
    QVERIFY(list.landscape);
    QCOMPARE(list.head[2].text,
             QStringLiteral("Planilha de Atendimento - Periodo:  12/01/2026 a 18/01/2026"));
    // The free code prints no line; the week is the one chosen.
    QCOMPARE(list.rows,
             (QList<QStringList>{{"Dra. Ana Souza", "0012", "0010", "83,3", "Clínica Gera", "2", "6"},
                                 {"Dr. Bruno Lima", "0000", "0000", "0", "Cardiologia", "1", "0"}}));
}

QTEST_APPLESS_MAIN(TestReportLogic)
#include "tst_report_logic.moc"
