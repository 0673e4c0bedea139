#include "statistics/month_file.h"

#include "statistics/counts.h"

namespace clinora::stats {

std::vector<MonthLine> readMonthFile(const QString &path, int rows, int codeWidth)
{
    const QStringList lines = readFixedLines(path, rows, codeWidth + 48);
    std::vector<MonthLine> result;
    result.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        MonthLine parsed;
        parsed.codes = line.left(codeWidth);
        for (int m = 0; m < 12; ++m) {
            const QString count = line.mid(codeWidth + 4 * m, 4);
            if (!countValue(count))
                damaged(path, i + 1,
                        QStringLiteral("mês %1: \"%2\" não é uma contagem de quatro algarismos")
                            .arg(m + 1, 2, 10, QLatin1Char('0'))
                            .arg(count));
            parsed.counts[static_cast<std::size_t>(m)] = count;
        }
        result.push_back(std::move(parsed));
    }
    return result;
}

QString monthLine(const QString &codes, const MonthCounts &counts)
{
    QString line = codes;
    line.reserve(codes.size() + 48);
    for (const QString &count : counts)
        line += count;
    return line;
}

MonthCounts zeroCounts()
{
    MonthCounts counts;
    counts.fill(QStringLiteral("0000"));
    return counts;
}

} // namespace clinora::stats
