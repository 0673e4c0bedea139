#include "statistics/counts.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>

namespace clinora::stats {

QString countText(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
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

QStringList readFixedLines(const QString &path, int rows, int width)
{
    const QStringList lines = textfile::readLines(path);
    if (lines.size() != rows)
        throw DamagedFileError(
            QStringLiteral("O arquivo %1 está danificado: tem %2 linhas em vez de %3. Ele não foi "
                           "alterado.")
                .arg(shownName(path))
                .arg(lines.size())
                .arg(rows));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].size() != width)
            damaged(path, i + 1,
                    QStringLiteral("%1 caracteres em vez de %2").arg(lines[i].size()).arg(width));
    }
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
