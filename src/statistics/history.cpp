#include "statistics/history.h"

#include "core/data_files.h"
#include "platform/text_file.h"
#include "statistics/counts.h"

namespace clinora {

History::History()
{
    m_rows[0] = {QStringLiteral("00"), {label(0), label(0), label(0)}};
    for (int line = 2; line <= kLines; ++line)
        row(line) = {QString::number(49 + line),
                     {stats::countText(0, 5), stats::countText(0, 5), stats::countText(0, 5)}};
}

QString History::label(int year)
{
    return textfile::fixed(QString(), 5 - QString::number(year).size()) + QString::number(year);
}

void History::load(const QString &path)
{
    const QStringList lines = textfile::readLines(path);
    if (lines.size() != kLines)
        throw DamagedFileError(
            QStringLiteral("O arquivo %1 está danificado: tem %2 linhas em vez de %3. Ele não foi alterado.")
                .arg(stats::shownName(path))
                .arg(lines.size())
                .arg(kLines));
    std::array<HistoryRow, kLines> rows;
    for (int i = 0; i < kLines; ++i) {
        const QString &line = lines[i];
        HistoryRow &r = rows[static_cast<std::size_t>(i)];
        if (i > 0 && line.left(2).trimmed().isEmpty()) {
            r = {};
            continue;
        }
        if (line.size() != kWidth)
            stats::damaged(path, i + 1,
                           QStringLiteral("%1 caracteres em vez de %2").arg(line.size()).arg(kWidth));
        r.code = line.left(2);
        for (int f = 0; f < 3; ++f)
            r.fields[static_cast<std::size_t>(f)] = line.mid(2 + 5 * f, 5);
        if (i == 0) {
            if (r.code != QLatin1String("00"))
                stats::damaged(path, 1,
                               QStringLiteral("o cabeçalho começa com \"%1\" em vez de \"00\"").arg(r.code));
            continue;
        }
        if (!stats::countValue(r.code))
            stats::damaged(path, i + 1,
                           QStringLiteral("\"%1\" não é um código de especialidade").arg(r.code));
        for (const QString &total : r.fields) {
            if (!stats::countValue(total))
                stats::damaged(path, i + 1,
                               QStringLiteral("\"%1\" não é um total de cinco algarismos").arg(total));
        }
    }
    m_rows = rows;
}

QStringList History::lines() const
{
    QStringList result;
    for (const HistoryRow &r : m_rows)
        result << (r.code.isEmpty() ? QString() : r.code + r.fields[0] + r.fields[1] + r.fields[2]);
    return result;
}

void History::shift(const QString &newLabel, const std::function<int(int code)> &totalOf)
{
    std::array<HistoryRow, kLines> rows = m_rows;
    for (int i = 0; i < kLines; ++i) {
        HistoryRow &r = rows[static_cast<std::size_t>(i)];
        if (r.code.isEmpty())
            continue;
        QString newest = newLabel;
        if (i > 0) {
            const int total = stats::checkedSum(
                totalOf(r.code.toInt()),
                QStringLiteral("%1, linha %2").arg(QString(files::kHistory)).arg(i + 1), stats::kMaxTotal);
            newest = stats::countText(total, 5);
        }
        r.fields = {r.fields[1], r.fields[2], newest};
    }
    m_rows = rows;
}

} // namespace clinora
