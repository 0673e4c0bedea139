#include "statistics/month_file.h"

#include "platform/text_file.h"
#include "statistics/counts.h"

namespace clinora::stats {

std::vector<MonthLine> readMonthFile(const QString &path, int rows, int firstWidth, int secondWidth)
{
    const int codeWidth = firstWidth + secondWidth;
    const QByteArray bytes = textfile::readText(path);
    const QList<textfile::LineSpan> spans = fixedLineSpans(path, bytes, rows, codeWidth + 48);
    std::vector<MonthLine> result;
    result.reserve(static_cast<std::size_t>(rows));
    for (qsizetype i = 0; i < spans.size(); ++i) {
        const char *const line = bytes.constData() + spans[i].start;
        MonthLine parsed;
        parsed.codes[0] = textfile::decode(QByteArrayView(line, firstWidth));
        if (secondWidth > 0)
            parsed.codes[1] = textfile::decode(QByteArrayView(line + firstWidth, secondWidth));
        for (int m = 0; m < 12; ++m) {
            // Four digits, each a byte of its own: the cell's text is the value's.
            const char *const cell = line + codeWidth + 4 * m;
            int value = 0;
            for (int k = 0; k < 4 && value >= 0; ++k)
                value = cell[k] >= '0' && cell[k] <= '9' ? value * 10 + (cell[k] - '0') : -1;
            if (value < 0)
                damaged(path, static_cast<int>(i) + 1,
                        QStringLiteral("mês %1: \"%2\" não é uma contagem de quatro algarismos")
                            .arg(m + 1, 2, 10, QLatin1Char('0'))
                            .arg(textfile::decode(QByteArrayView(cell, 4))));
            parsed.counts[static_cast<std::size_t>(m)] = cellText(value);
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

void appendCode(QByteArray &bytes, QStringView code, int width)
{
    textfile::appendEncoded(bytes, code.first(std::min<qsizetype>(code.size(), width)));
    for (qsizetype i = code.size(); i < width; ++i)
        bytes.append(' ');
}

void appendCounts(QByteArray &bytes, const MonthCounts &counts)
{
    // The line's room made once, then every count written into it.
    qsizetype size = 2;
    for (const QString &count : counts)
        size += count.size();
    const qsizetype at = bytes.size();
    bytes.resize(at + size);
    char *out = bytes.data() + at;
    for (const QString &count : counts) {
        // A count is digits, written as they are; anything else as the file writes it.
        for (const QChar c : count)
            *out++ = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : textfile::encodeChar(c);
    }
    *out++ = '\r';
    *out = '\n';
}

MonthCounts zeroCounts()
{
    MonthCounts counts;
    counts.fill(QStringLiteral("0000"));
    return counts;
}

} // namespace clinora::stats
