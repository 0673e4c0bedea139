// What the mirror's dialogs do: the synchronisation choices, the status and location
// of the mirror, and the status of the copies.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace clinora {

class MirroredClinic;
class Paths;

namespace mirror {

// The items of the synchronisation dialog, in their order.
enum class SyncChoice { SwitchOff = 0, WriteSystem = 1, RecoverSystem = 2 };

// What each side holds, for the synchronisation dialog: its appointments and when its
// table (or, in the mirror, its journal) last changed.
struct SideSummary
{
    int appointments = -1; // -1: the table cannot be read (or the mirror has none yet)
    QDateTime changed;
    bool doctors = false; // a doctor is registered
};
// A data folder that holds fewer appointments than the mirror, or that was just
// installed while the mirror holds a clinic, is most likely the one that was lost:
// writing it over the mirror would overwrite the only good copy.
struct SyncOffer
{
    SideSummary system;
    SideSummary mirror;
    bool systemJustInstalled = false; // no doctor and no appointment
    bool mirrorHoldsMore = false;
};
SyncOffer syncOffer(MirroredClinic &context);
// The dialog's warning, with both counts and both dates; empty when the mirror does
// not hold more than the system.
QString offerWarning(const SyncOffer &offer);
// Asked a second time before the system is written over a mirror that holds more,
// naming what will be lost (default No). True to go on; nothing asked otherwise.
bool confirmOverwrite(MirroredClinic &context);

// Acts on the chosen item.
void synchronise(MirroredClinic &context, SyncChoice choice);
// Whenever the synchronisation dialog closes: unless system and mirror are in step
// now (a full write just made them so) or the program was ended, the system is
// stamped anew and mirroring switched off.
void closeSynchronisation(MirroredClinic &context);

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
LocationResult applyLocation(MirroredClinic &context, const LocationChoice &choice);

// The status screen: the journal count (lines of the mirror's ArqMovA.Txt) and whether
// the mirror copy is not current, after the warnings about large files.
struct CopiesStatus
{
    int journalCount = 0;
    bool journalCounted = false; // the mirror is on and its journal was counted
    bool notCurrent = false;
};
CopiesStatus copiesStatus(MirroredClinic &context);

} // namespace mirror
} // namespace clinora
