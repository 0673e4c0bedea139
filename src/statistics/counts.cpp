#include "statistics/counts.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace clinora::stats {

void appendCount(QString &line, int value, int width)
{
    // Digits from the right, then the zeros, then the sign: what "%1".arg(value, width,
    // 10, '0') writes.
    char buffer[32];
    char *const end = buffer + sizeof buffer;
    char *p = end;
    const bool negative = value < 0;
    auto magnitude = negative ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const int written = static_cast<int>(end - p) + (negative ? 1 : 0);
    const int fill = std::min(width, static_cast<int>(sizeof buffer) - 1) - written;
    for (int i = 0; i < fill; ++i)
        *--p = '0';
    if (negative)
        *--p = '-';
    line.append(QLatin1StringView(p, end - p));
}

const QString &cellText(int value)
{
    // Made the first time a value is asked for, on each thread that asks.
    thread_local std::vector<QString> texts(static_cast<std::size_t>(kMaxCount) + 1);
    QString &text = texts.at(static_cast<std::size_t>(value));
    if (text.isNull()) {
        text.reserve(4);
        appendCount(text, value, 4);
    }
    return text;
}

QString countText(int value, int width)
{
    if (width == 4 && value >= 0 && value <= kMaxCount)
        return cellText(value);
    QString text;
    appendCount(text, value, width);
    return text;
}

void appendDate(QString &line, QDate date)
{
    // As QDate::toString writes it: nothing for a date that is none.
    if (!date.isValid())
        return;
    appendCount(line, date.day(), 2);
    line.append(QLatin1Char('/'));
    appendCount(line, date.month(), 2);
    line.append(QLatin1Char('/'));
    appendCount(line, date.year(), 4);
}

std::optional<int> countValue(QStringView text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar q : text) {
        const char16_t c = q.unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QString shownName(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

void damaged(const QString &path, int line, const QString &what)
{
    throw DamagedFileError(QStringLiteral("O arquivo %1 está danificado: linha %2, %3. Ele não foi alterado.")
                               .arg(shownName(path))
                               .arg(line)
                               .arg(what));
}

QList<textfile::LineSpan> fixedLineSpans(const QString &path, const QByteArray &bytes, int rows, int width)
{
    const QList<textfile::LineSpan> spans = textfile::lineSpans(bytes);
    if (spans.size() != rows)
        throw DamagedFileError(
            QStringLiteral("O arquivo %1 está danificado: tem %2 linhas em vez de %3. Ele não foi "
                           "alterado.")
                .arg(shownName(path))
                .arg(spans.size())
                .arg(rows));
    for (qsizetype i = 0; i < spans.size(); ++i) {
        if (spans[i].size != width)
            damaged(path, static_cast<int>(i) + 1,
                    QStringLiteral("%1 caracteres em vez de %2").arg(spans[i].size).arg(width));
    }
    return spans;
}

QStringList readFixedLines(const QString &path, int rows, int width)
{
    const QByteArray bytes = textfile::readText(path);
    QStringList lines;
    lines.reserve(rows);
    for (const textfile::LineSpan &span : fixedLineSpans(path, bytes, rows, width))
        lines << textfile::decode(QByteArrayView(bytes.constData() + span.start, span.size));
    return lines;
}

int checkedSum(int sum, const QString &cell, int maximum)
{
    if (sum > maximum)
        throw CountOverflow(QStringLiteral("%1: a contagem chegaria a %2, mais do que os %3 que cabem no "
                                           "arquivo")
                                .arg(cell)
                                .arg(sum)
                                .arg(maximum));
    if (sum < 0)
        throw CountOverflow(QStringLiteral("%1: a contagem ficaria negativa (%2)").arg(cell).arg(sum));
    return sum;
}

QString monthCell(const QString &file, int line, int month)
{
    return QStringLiteral("%1, linha %2, mês %3").arg(file).arg(line).arg(month, 2, 10, QLatin1Char('0'));
}

} // namespace clinora::stats
