#include "statistics/history_editor.h"

#include "protection/mirror_link.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "statistics/counts.h"
#include "statistics/statistics_files.h"

namespace clinora {

namespace {

bool isYear(const QString &text)
{
    return text.size() == 4 && stats::countValue(text).has_value();
}

} // namespace

QString plainNumber(const QString &cell)
{
    const std::optional<int> value = stats::countValue(cell.trimmed());
    return value ? QString::number(*value) : cell;
}

HistoryTable loadHistoryTable(MirroredClinic &context, QString *warning)
{
    StatisticsFiles files(context);
    const History &history = files.history();
    context.specialties.load(context.paths.dataDir() + QLatin1Char('/'));
    HistoryTable table;
    const QDate today = context.clock.today();
    for (int i = 0; i < 3; ++i) {
        const QString label = history.row(1).fields[static_cast<std::size_t>(i)].trimmed();
        QString &heading = table.headings[static_cast<std::size_t>(i)];
        if (label == QStringLiteral("Ano%1").arg(i + 1))
            heading = QString::number(today.addMonths(-12 * (3 - i)).year());
        else
            heading = label;
        if (!isYear(heading) && warning && warning->isEmpty())
            *warning = QStringLiteral("O cabeçalho da coluna %1 de %2 não é um ano: \"%3\". Corrija-o em "
                                      "\"Alterar\" e grave o quadro.")
                           .arg(i + 1)
                           .arg(QString(files::kHistory), label);
    }
    for (int code = SpecialtyTable::kFirst; code <= SpecialtyTable::kLast; ++code) {
        const QString name = context.specialties.name(code).trimmed();
        if (name.isEmpty())
            continue;
        // Line 2 belongs to the first specialty, 51, and so on down.
        const HistoryRow &stored = history.row(code - SpecialtyTable::kFirst + 2);
        table.rows.append({code, name, stored.fields});
    }
    return table;
}

QString saveHistoryTable(MirroredClinic &context, const HistoryTable &table)
{
    const QString nothing = QStringLiteral(" Nada foi gravado.");
    for (int i = 0; i < 3; ++i) {
        const QString heading = table.headings[static_cast<std::size_t>(i)].trimmed();
        if (!isYear(heading))
            return QStringLiteral(
                       "O cabeçalho da coluna %1 deve ser um ano de quatro algarismos, e não \"%2\".")
                       .arg(i + 1)
                       .arg(heading) +
                   nothing;
    }
    StatisticsFiles files(context);
    History &history = files.history();
    HistoryRow &heading = history.row(1);
    heading.code = QStringLiteral("00");
    for (int i = 0; i < 3; ++i)
        heading.fields[static_cast<std::size_t>(i)] =
            QLatin1Char(' ') + table.headings[static_cast<std::size_t>(i)].trimmed();
    for (const HistoryTable::Row &row : table.rows) {
        HistoryRow &line = history.row(row.code - SpecialtyTable::kFirst + 2);
        line.code = QString::number(row.code);
        for (int i = 0; i < 3; ++i) {
            const QString cell = row.totals[static_cast<std::size_t>(i)].trimmed();
            const std::optional<int> total = cell.isEmpty() ? 0 : stats::countValue(cell);
            if (!total || *total > stats::kMaxTotal)
                return QStringLiteral("%1, %2: \"%3\" não é um total de 0 a 99999.")
                           .arg(row.name, table.headings[static_cast<std::size_t>(i)].trimmed(), cell) +
                       nothing;
            line.fields[static_cast<std::size_t>(i)] = stats::countText(*total, 5);
        }
    }
    files.commit();
    return {};
}

} // namespace clinora
