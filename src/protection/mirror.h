// The mirror ("Espelho"): a second directory, normally on another drive, that holds a
// copy of the data files, a copy of the appointment table (Medicos3.db) and the
// journal of the changes made after that copy (ArqMovA.Txt). Two stamps (CodSist.Txt,
// CodEsp.Txt) tell whether system and mirror are in step.
#pragma once

#include "protection/replay.h"

#include <QString>
#include <QStringList>

#include <utility>

namespace clinora {

class MirroredClinic;
class TDMMedicos;
class TableReplacement;

namespace mirror {

// The 21 data files of the full copy, in their order.
const QStringList &fullCopyFiles();

// The message of a mirror drive that is not there.
extern const QString kMediaMissing;

// Whether the mirror's drive is there (a mirror path without a drive letter, or on
// the data drive C:, counts as there when its parent directory exists).
bool mediaPresent(const MirroredClinic &context);

// A stamp: the local date and time, dd/mm/yyyy hh:nn:ss.
QString newStamp(const MirroredClinic &context);
// Writes a new stamp into CodSist.Txt.
void stampSystem(MirroredClinic &context);
// A stamp that was really taken ("1155", written for a mirror never written, is not).
bool isRealStamp(const QString &stamp);

enum class Check {
    Off,          // mirroring is off: nothing to check
    InStep,       // the stamps are equal
    OutOfStep,    // they differ (or one is missing): the user must synchronise
    MediaMissing, // the mirror was gone; mirroring has been switched off
};
// The consistency check's logic: reads the two stamps. A mirror drive found gone is told
// and switches mirroring off for the rest of the run, and the operation goes on; a drive
// that is there without the mirror folder is out of step (a new, empty mirror).
Check checkStamps(MirroredClinic &context);

// Mirroring off after the mirror failed: says so, saves "Sem", and marks the mirror as
// not current (IntA.Txt "Sim") for the status screen.
void switchOffAfterFailure(MirroredClinic &context, const QString &reason);

// The mirror copy of a data file: done only while mirroring is on. A copy that fails
// leaves the local file as written, says so and turns mirroring off.
void copy(MirroredClinic &context, const QString &source, const QString &destinationName);
void copy(MirroredClinic &context, const QString &fileName);
// The mirror copies of files that were committed together locally, as one group in the
// mirror: a failure or a crash leaves the mirror's previous files or all the new ones,
// never new closed dates under an old limit. Each pair is a data file and its name in
// the mirror.
void copyTogether(MirroredClinic &context, const QList<std::pair<QString, QString>> &files);
void copyTogether(MirroredClinic &context, const QStringList &fileNames);

// The full write "Sist --> Esp": the 21 files, the table copy, an emptied journal and
// the mirror stamp, committed as one group in the mirror, so that a failure or a crash
// leaves the previous mirror whole. Then the system stamp. Returns true when written.
bool writeSystem(MirroredClinic &context, bool ask);

// Stages a copy of the live table as the replacement's new table. SQLite's online
// backup copies page by page: memory stays flat.
void stageTableCopy(TDMMedicos &data, TableReplacement &replacement);
// Stages as the replacement's new table a table file with a journal replayed on it in
// one transaction. The source is only read.
ReplayResult stageReplayedTable(TableReplacement &replacement, const QString &source, const QStringList &journal,
                                const ReplayProgress &progress = {});

// What stops a recovery from this mirror, one text per problem (empty when none).
QStringList recoveryProblems(MirroredClinic &context);

// The full recovery "Sist <-- Esp": checks the mirror first, then replaces the data
// files and the table (the mirror table with the mirror journal replayed on it) as one
// group, and ends the program. Returns true when the program was ended.
bool recoverSystem(MirroredClinic &context, bool ask);

} // namespace mirror

// The mirror snapshot, for the screens that moved or deleted appointment rows: rebuilds
// the mirror's table and empties the journals (Medicos3.db and ArqMovA.Txt are
// replaced together), so that the mirror journal holds exactly the changes made after
// it. A failure turns mirroring off.
void takeMirrorSnapshot(MirroredClinic &context);

} // namespace clinora
