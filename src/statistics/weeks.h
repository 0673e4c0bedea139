// The weeks of the statistics year (Semanas.Txt): one line per week, the first day
// dd/mm/yyyy immediately followed by the last, Monday to Sunday.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace clinora {

// The weeks the system creates for a year: the first starts on the Monday on or
// before 1 January (2 January when that is a Sunday); 52 or 53 lines.
QStringList weeksOfYear(int year);
// Rewrites Semanas.Txt with the weeks of the year.
void createWeeks(const QString &path, int year);

} // namespace clinora
