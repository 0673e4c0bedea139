// What the mirror's dialogs do: the synchronisation choices, the status and location
// of the mirror, and the status of the copies.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;
class Paths;

namespace mirror {

// The items of the synchronisation dialog, in their order.
enum class SyncChoice { SwitchOff = 0, WriteSystem = 1, RecoverSystem = 2 };

// Acts on the chosen item.
void synchronise(AppContext &context, SyncChoice choice);
// Whenever the synchronisation dialog closes: unless system and mirror are in step
// now (a full write just made them so) or the program was ended, the system is
// stamped anew and mirroring switched off.
void closeSynchronisation(AppContext &context);

// Whether a drive ("E:") is there. C: is the data directory's own drive.
bool driveExists(const Paths &paths, const QString &drive);
// The drive letters that are there, for the drive list.
QStringList drives(const Paths &paths);
// The mirror directory on a drive: "E:\Consultas\Espelho".
QString locationOn(QChar drive);

// The choice made in the status and location dialog.
struct LocationChoice
{
    bool wasOn = false;     // the status when the dialog opened
    bool on = false;        // "Ativado" selected
    QString shownDrive;     // EDrive: the current mirror drive, "E:"
    QString chosenLocation; // the chosen mirror directory (its first letter is the drive)
};
enum class LocationResult {
    MediaMissing, // nothing changed
    Applied,      // the status changed, or nothing needed to
    Ended,        // a new location was set and the program ended to take it up
};
// Applies the dialog's choice when it closes.
LocationResult applyLocation(AppContext &context, const LocationChoice &choice);

// The status screen: the journal count (lines of the mirror's ArqMovA.Txt) and whether
// the mirror copy is not current, after the warnings about large files.
struct CopiesStatus
{
    int journalCount = 0;
    bool notCurrent = false;
};
CopiesStatus copiesStatus(AppContext &context);

} // namespace mirror
} // namespace clinora
