// Small routines many screens share: the time normaliser, the local date-and-time
// text and the mirror copy of a data file.
#pragma once

#include <QString>

namespace clinora {

class Clock;
class Dialogs;
class Paths;
class Settings;

// Turns a typed time into "hh:mm" (8:30 -> 08:30, 7:5 -> 07:50). A time is digits and one
// colon; anything else, or an hour or minute out of range, opens
// the "Correção de Hora" box and whatever is typed there is the result.
QString normaliseTime(const QString &typed, Dialogs &dialogs);

// The current local date and time: dd/mm/yyyy hh:nn:ss.
QString localDateTimeText(const Clock &clock);

// The local mirror directory, or an empty text when none is set.
QString mirrorDirectory(const Settings &settings, const Paths &paths);

// Copies a file of the data directory into the mirror directory under destinationName,
// only while mirroring is on and a mirror directory is set.
void mirrorCopy(const Settings &settings, const Paths &paths, const QString &source,
                const QString &destinationName);
// The same with the file's own name.
void mirrorCopy(const Settings &settings, const Paths &paths, const QString &fileName);

} // namespace clinora
