// The date parser and formatter of the system: dates show as dd/MM/yyyy, and the
// parser takes what a receptionist types (1/5/13, 01/05/2013, 01/05/13).
#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace clinora::dates {

// Parses d/m/yy, dd/mm/yy, d/m/yyyy and dd/mm/yyyy; two-digit years fall in the
// current century. Blanks around the text and around the parts are accepted.
std::optional<QDate> parse(const QString &text);
// As parse, but a text that is not a date throws ConversionError.
QDate parseOrThrow(const QString &text);

QString format(QDate date);      // dd/MM/yyyy
QString formatShort(QDate date); // dd/MM/yy

// Weekday numbering of the system: 1 = Sunday ... 7 = Saturday.
int weekday(QDate date);

// One calendar month later, the day clamped to the last day of a shorter month.
QDate addMonth(QDate date);

// The local date and time text: dd/MM/yyyy hh:mm:ss.
QString dateTimeText(const QDateTime &moment);

} // namespace clinora::dates
