// The closed dates' file ("Dias sem atendimentos"): ArqFolgas.Txt, one date dd/MM/yyyy
// per line, read and written, and the dates open for booking that follow from it.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace clinora {

class Paths;

namespace closeddates {

// Every line of ArqFolgas.Txt; a missing file is a FileError.
QStringList read(const Paths &paths);
// The closed dates: the lines that are dates, in file order.
QList<QDate> readDates(const Paths &paths);
// Rewrites ArqFolgas.Txt whole, however long, replacing the old file in one step.
void write(const Paths &paths, const QStringList &lines);

// The lines whose date is today or later, in their order. Blank lines go; a line that
// is not a date is kept, since it is nobody's to drop.
QStringList withoutPastDates(const QStringList &lines, QDate today);
// The lines in ascending date order, each date once and written dd/MM/yyyy; lines that
// are not dates follow, in their order.
QStringList sortedUnique(const QStringList &lines);

// The dates open for booking and searching: today and the next 31 days, up to the
// prepared limit (DataIniFim.Txt), less the closed ones, in ascending order. A missing
// DataIniFim.Txt or ArqFolgas.Txt is a FileError naming it.
QList<QDate> openDates(const Paths &paths, QDate today);

} // namespace closeddates

} // namespace clinora
