#include "statistics/report_tables.h"

#include "statistics/counts.h"
#include "statistics/statistics_set.h"

namespace clinora::reports {

namespace {

constexpr int kMonthColumns = 14;  // names, twelve months, the year

const QStringList &monthHeadings()
{
    static const QStringList headings = {QString(),
                                         QStringLiteral("  Jan"),
                                         QStringLiteral("  Fev"),
                                         QStringLiteral("  Mar"),
                                         QStringLiteral("  Abr"),
                                         QStringLiteral("  Mai"),
                                         QStringLiteral("  Jun"),
                                         QStringLiteral("  Jul"),
                                         QStringLiteral("  Ago"),
                                         QStringLiteral("  Set"),
                                         QStringLiteral("  Out"),
                                         QStringLiteral("  Nov"),
                                         QStringLiteral("  Dez"),
                                         QStringLiteral(" No Ano")};
    return headings;
}

const QStringList &monthNames()
{
    static const QStringList names = {
        QString(),
        QStringLiteral("Mês de Janeiro"),
        QStringLiteral("Mês de Fevereiro"),
        QStringLiteral("Mês de Março"),
        QStringLiteral("Mês de Abril"),
        QStringLiteral("Mês de Maio"),
        QStringLiteral("Mês de Junho"),
        QStringLiteral("Mês de Julho"),
        QStringLiteral("Mês de Agosto"),
        QStringLiteral("Mês de Setembro"),
        QStringLiteral("Mês de Outubro"),
        QStringLiteral("Mês de Novembro"),
        QStringLiteral("Mês de Dezembro"),
        QStringLiteral("    No Ano"),
    };
    return names;
}

// A number as the tables write it: whole numbers plainly, others with a comma.
QString numberText(double value)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

// A row of the monthly tables: the stored months ("0000" stays empty) and the year.
QStringList monthRow(const QString &name, const stats::MonthCounts &counts)
{
    QStringList row;
    row.reserve(kMonthColumns);
    row << name;
    int sum = 0;
    for (const QString &count : counts) {
        const int value = stats::countValue(count).value_or(0);
        sum += value;
        row << (value == 0 ? QString() : count);
    }
    row << QString::number(sum);
    return row;
}

// The headings, the data rows, the empty row and the "TOTAL" row; totalAlways writes
// the totals of 0 as well.
ReportTable finish(Table kind, const QStringList &headings, QList<QStringList> rows, bool totalAlways)
{
    ReportTable table;
    table.table = kind;
    table.dataRows = static_cast<int>(rows.size());
    const int columns = static_cast<int>(headings.size());
    QStringList total;
    total << QStringLiteral("TOTAL");
    for (int c = 1; c < columns; ++c) {
        double sum = 0;
        for (const QStringList &row : std::as_const(rows))
            sum += cellValue(row[c]);
        total << (sum != 0 || totalAlways ? numberText(sum) : QString());
    }
    table.cells.reserve(rows.size() + 3);
    table.cells << headings;
    table.cells << std::move(rows);
    table.cells << QStringList(columns, QString());
    table.cells << total;
    return table;
}

// The monthly tables show up to twelve rows whole and scroll past that.
int monthGridHeight(int dataRows)
{
    return dataRows + 1 > 12 ? 290 : (dataRows + 1) * 20 + 58;
}

bool isCount(const QString &text)
{
    return stats::countValue(text).has_value();
}

} // namespace

double cellValue(const QString &text)
{
    if (text.isEmpty())
        return 0;
    if (const std::optional<int> count = stats::countValue(text))
        return *count;
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble();
}

ReportTable emptyTable()
{
    ReportTable table;
    table.cells = QList<QStringList>(5, QStringList(kMonthColumns, QString()));
    return table;
}

ReportTable doctorTable(const StatisticsSet &set, int filter)
{
    QList<QStringList> rows;
    for (int n = 1; n <= DoctorMonths::kRows; ++n) {
        const DoctorMonthsRow &r = set.doctorMonths.row(n);
        const std::optional<int> specialty = stats::countValue(r.specialtyCode);
        if (filter != 0 && specialty != filter)
            continue;
        // A removed doctor: his counts are in the row of his specialty.
        if (r.specialtyCode == QLatin1String("00"))
            continue;
        QString name;
        if (n > DoctorMonths::kDoctorRows) {
            name = (QStringLiteral("Outros - ") + set.specialtyName(n)).left(24);
        } else {
            const Doctor &doctor = set.doctors.doctor(n);
            if (doctor.isFree() || doctor.name.trimmed().isEmpty())
                continue;
            name = doctor.name.trimmed();
        }
        rows << monthRow(name, r.counts);
    }
    ReportTable table = finish(Table::Doctors, monthHeadings(), std::move(rows), false);
    table.gridHeight = monthGridHeight(table.dataRows);
    return table;
}

ReportTable situationTable(const StatisticsSet &set, int filter)
{
    constexpr int kSituations = 9;
    std::array<std::array<int, 12>, kSituations> sums{};
    std::array<std::array<bool, 12>, kSituations> touched{};
    for (int n = 1; n <= SituationMonths::kRows; ++n) {
        const SituationMonthsRow &r = set.situationMonths.row(n);
        const std::optional<int> situation = stats::countValue(r.situation);
        if (!situation || *situation < 1 || *situation > kSituations)
            continue;
        if (filter != 0 && stats::countValue(r.specialty) != filter)
            continue;
        const auto s = static_cast<std::size_t>(*situation - 1);
        for (std::size_t m = 0; m < 12; ++m) {
            const int value = stats::countValue(r.counts[m]).value_or(0);
            if (value == 0)
                continue;
            sums[s][m] += value;
            touched[s][m] = true;
        }
    }
    QList<QStringList> rows;
    for (int i = 1; i <= kSituations; ++i) {
        const auto s = static_cast<std::size_t>(i - 1);
        QStringList row;
        row << set.situationCaption(i);
        int year = 0;
        for (std::size_t m = 0; m < 12; ++m) {
            row << (touched[s][m] ? QString::number(sums[s][m]) : QString());
            year += sums[s][m];
        }
        row << QString::number(year);
        rows << row;
    }
    ReportTable table = finish(Table::Situations, monthHeadings(), std::move(rows), false);
    table.gridHeight = monthGridHeight(table.dataRows);
    return table;
}

ReportTable specialtyTable(const StatisticsSet &set)
{
    QList<QStringList> rows;
    for (int code = SpecialtyMonths::kFirst; code <= SpecialtyMonths::kLast; ++code) {
        const QString name = set.specialtyName(code);
        if (name.trimmed().isEmpty())
            continue;
        rows << monthRow(name, set.specialtyMonths.row(code).counts);
    }
    ReportTable table = finish(Table::Specialties, monthHeadings(), std::move(rows), false);
    table.gridHeight = monthGridHeight(table.dataRows);
    return table;
}

ReportTable historyTable(const StatisticsSet &set)
{
    const HistoryRow &heading = set.history.row(1);
    const QStringList headings = {QString(), heading.fields[0], heading.fields[1], heading.fields[2],
                                  QStringLiteral("Atual")};
    QList<QStringList> rows;
    for (int k = 1; k <= SpecialtyMonths::kRows; ++k) {
        const int code = SpecialtyMonths::kFirst + k - 1;
        const QString name = set.specialtyName(code);
        // A specialty without a name has no row; the named ones after it still do.
        if (name.trimmed().isEmpty())
            continue;
        const HistoryRow &line = set.history.row(k + 1);
        rows << QStringList{name, line.fields[0], line.fields[1], line.fields[2],
                            QString::number(set.specialtyMonths.yearTotal(code))};
    }
    ReportTable table = finish(Table::History, headings, std::move(rows), true);
    table.gridHeight = table.dataRows > 12 ? 290 : table.dataRows * 20 + 78;
    return table;
}

PercentOutcome takePercentages(ReportTable &table, Orientation orientation)
{
    if (table.percentages)
        return PercentOutcome::AlreadyTaken;
    if (table.isHistory() && orientation == Orientation::Horizontal)
        return PercentOutcome::HistoryOnlyVertical;
    const int rows = table.rowCount();
    const int columns = table.columnCount();
    const auto percent = [](double value, double of) {
        QString text = QString::number(value * 100 / of, 'g', 3);
        text.replace(QLatin1Char('.'), QLatin1Char(','));
        return text;
    };
    if (orientation == Orientation::Vertical) {
        for (int c = 1; c < columns; ++c) {
            const double total = cellValue(table.cells[rows - 1][c]);
            if (total == 0)
                continue;
            for (int r = 1; r < rows; ++r) {
                QString &cell = table.cells[r][c];
                if (!cell.isEmpty())
                    cell = percent(cellValue(cell), total);
            }
        }
    } else {
        const int year = columns - 1;
        for (int r = 1; r < rows; ++r) {
            const double total = cellValue(table.cells[r][year]);
            if (total == 0)
                continue;
            for (int c = 1; c <= year; ++c) {
                QString &cell = table.cells[r][c];
                if (!cell.isEmpty())
                    cell = percent(cellValue(cell), total);
            }
        }
    }
    table.percentages = true;
    return PercentOutcome::Done;
}

bool dropLeadingZeros(ReportTable &table)
{
    bool changed = false;
    for (int r = 1; r < table.rowCount(); ++r) {
        for (int c = 1; c < table.columnCount(); ++c) {
            QString &cell = table.cells[r][c];
            if (cell.size() > 1 && cell.startsWith(QLatin1Char('0')) && isCount(cell)) {
                cell = QString::number(*stats::countValue(cell));
                changed = true;
            }
        }
    }
    return changed;
}

int ChartData::nonEmpty() const
{
    int count = 0;
    for (const ChartBar &bar : bars)
        count += bar.text.isEmpty() ? 0 : 1;
    return count;
}

ChartChoice chartAt(const ReportTable &table, int row, int column, Orientation orientation)
{
    ChartChoice choice;
    const int rows = table.rowCount();
    const int columns = table.columnCount();
    if (row < 1 || row >= rows || column < 0 || column >= columns)
        return choice;
    ChartData &data = choice.data;
    data.orientation = orientation;
    if (orientation == Orientation::Vertical) {
        // The names column holds no numbers to chart.
        if (column == 0)
            return choice;
        bool empty = true;
        for (int r = 1; r <= rows - 2 && empty; ++r)
            empty = table.cell(r, column).isEmpty();
        if (empty) {
            choice.kind = ChartChoice::Kind::Refused;
            choice.message = kEmptyColumn;
            return choice;
        }
        for (int r = 1; r <= rows - 3; ++r)
            data.bars << ChartBar{table.cell(r, 0), table.cell(r, column), cellValue(table.cell(r, column))};
        data.subtitle =
            table.isHistory() ? QStringLiteral("Ano: ") + table.cell(0, column) : monthNames().value(column);
        data.total = table.cell(rows - 1, column);
    } else {
        // The empty row before the total has nothing to chart.
        if (table.isSpacer(row))
            return choice;
        bool empty = true;
        for (int c = 1; c <= columns - 2 && empty; ++c)
            empty = table.cell(row, c).isEmpty();
        if (empty) {
            choice.kind = ChartChoice::Kind::Refused;
            choice.message = kEmptyRow;
            return choice;
        }
        double sum = 0;
        for (int c = 1; c <= columns - 1; ++c) {
            data.bars << ChartBar{table.cell(0, c), table.cell(row, c), cellValue(table.cell(row, c))};
            sum += data.bars.last().value;
        }
        data.subtitle = table.cell(row, 0);
        data.total = table.isHistory() ? numberText(sum) : table.cell(row, columns - 1);
    }
    choice.kind = ChartChoice::Kind::Chart;
    return choice;
}

} // namespace clinora::reports
