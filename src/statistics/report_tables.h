// The report tables of the statistics screen as plain data: per doctor, situation and
// specialty month by month with the year, and the three-year history per specialty;
// their percentages, and the column or row a double-click charts.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace clinora {

struct StatisticsSet;

namespace reports {

enum class Table { None, Doctors, Situations, Specialties, History };
enum class Orientation { Vertical, Horizontal };

// The grid as the screen shows it: row 0 the headings, then the data rows, one empty
// row and the "TOTAL" row; column 0 the names.
struct ReportTable
{
    Table table = Table::None;
    QList<QStringList> cells; // cells[row][column]
    int dataRows = 0;         // rows 1 to dataRows hold the data
    int gridHeight = 110;     // pixels
    bool percentages = false; // the cells are percentages already

    int rowCount() const { return static_cast<int>(cells.size()); }
    int columnCount() const { return cells.isEmpty() ? 0 : static_cast<int>(cells[0].size()); }
    const QString &cell(int row, int column) const { return cells[row][column]; }
    bool isHistory() const { return table == Table::History; }
    // The empty row between the data and the "TOTAL" row.
    bool isSpacer(int row) const { return table != Table::None && row == dataRows + 1; }
};

// Five empty rows of fourteen columns: the grid before a table is chosen.
ReportTable emptyTable();

// One row per doctor with a name (filter: only those of the specialty 51 to 80; 0 for
// every specialty), then the "Outros - " row of each specialty that collects the
// counts of removed doctors.
ReportTable doctorTable(const StatisticsSet &set, int filter);
// One row per situation 1 to 9, each the sum of its rows of every specialty (or of the
// filter's specialty).
ReportTable situationTable(const StatisticsSet &set, int filter);
// One row per named specialty.
ReportTable specialtyTable(const StatisticsSet &set);
// The three stored years and the year so far of each named specialty.
ReportTable historyTable(const StatisticsSet &set);

enum class PercentOutcome {
    Done,
    AlreadyTaken,        // the cells are percentages: the table must be built again
    HistoryOnlyVertical, // the history takes its percentages by column only
};
// Each cell as a percentage of its column's total (vertical) or its row's year
// (horizontal), written with three significant digits ("33,3", "100").
PercentOutcome takePercentages(ReportTable &table, Orientation orientation);
inline const QString kPercentAgain =
    QStringLiteral("Para obter nova percentagem, é necessário refazer a pesquisa");
inline const QString kPercentHistory = QStringLiteral("Em Histórico, a percentagem será apenas na vertical");

// Rewrites each cell of four digits as the plain number ("0012" -> "12"); percentages
// and names stay. Returns whether a cell changed.
bool dropLeadingZeros(ReportTable &table);

// The value of a cell: a count ("0012"), a percentage ("33,3"), or 0 when empty.
double cellValue(const QString &text);

// What a chart draws: one bar per cell, its label and the text it shows.
struct ChartBar
{
    QString label;
    QString text;
    double value = 0;
};
struct ChartData
{
    Orientation orientation = Orientation::Vertical;
    QString subtitle;
    QString total;
    QList<ChartBar> bars;
    // The bars whose cell is not empty.
    int nonEmpty() const;
};

struct ChartChoice
{
    enum class Kind { Nothing, Refused, Chart } kind = Kind::Nothing;
    QString message; // why it was refused
    ChartData data;
};
// A double-click on a cell: the vertical chart of its column, or the horizontal one
// of its row. The names column and the empty row before the total chart nothing.
ChartChoice chartAt(const ReportTable &table, int row, int column, Orientation orientation);
inline const QString kEmptyColumn =
    QStringLiteral("O Gráfico não será desenhado porque\ntodas as células da coluna estão vazias");
inline const QString kEmptyRow =
    QStringLiteral("O Gráfico não será desenhado porque\ntodas as células da linha estão vazias");

} // namespace reports
} // namespace clinora
