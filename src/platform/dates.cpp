#include "platform/dates.h"

#include "platform/errors.h"

#include <QStringList>

namespace clinora::dates {

namespace {

constexpr int kCentury = 2000;

std::optional<int> number(const QString &part, int minDigits, int maxDigits)
{
    const QString t = part.trimmed();
    if (t.size() < minDigits || t.size() > maxDigits)
        return std::nullopt;
    for (QChar c : t) {
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    }
    return t.toInt();
}

} // namespace

std::optional<QDate> parse(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    const auto day = number(parts[0], 1, 2);
    const auto month = number(parts[1], 1, 2);
    const QString yearText = parts[2].trimmed();
    if (!day || !month || (yearText.size() != 2 && yearText.size() != 4 && yearText.size() != 1))
        return std::nullopt;
    auto year = number(yearText, 1, 4);
    if (!year)
        return std::nullopt;
    if (yearText.size() <= 2)
        *year += kCentury;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QDate parseOrThrow(const QString &text)
{
    if (const auto date = parse(text))
        return *date;
    throw ConversionError(QStringLiteral("'%1' não é uma data válida").arg(text));
}

QString format(QDate date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString formatShort(QDate date)
{
    return date.toString(QStringLiteral("dd/MM/yy"));
}

int weekday(QDate date)
{
    return date.dayOfWeek() % 7 + 1;
}

QDate addMonth(QDate date)
{
    return date.addMonths(1);
}

QString dateTimeText(const QDateTime &moment)
{
    return format(moment.date()) + QLatin1Char(' ')
           + moment.time().toString(QStringLiteral("hh:mm:ss"));
}

} // namespace clinora::dates
