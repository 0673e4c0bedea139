// The journal replay: brings an older copy of the appointment table up to date with
// the journal of the changes made after it (ArqMov.Txt, or the mirror's ArqMovA.Txt).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace clinora {

class MirroredClinic;
class AppointmentTable;

struct ReplayResult
{
    int inserted = 0;       // rows posted at their own key
    int toCancelled = 0;    // rows whose slot was taken, posted on the cancelled list
    int deleted = 0;
    int alreadyApplied = 0; // lines the table held already
    QStringList skipped;    // "linha 12: ..." for each line left out
};

// Applies the journal's lines in order, all in one transaction. "I" posts the row; when
// another row holds its key, a dated row goes to the cancelled list as cancelled by the
// hospital (dd/mmH/) and Hora is raised to the next free number. "E" deletes the row at
// its key when it is the line's patient. A line the table already reflects is passed
// over, so replaying a journal twice or onto the live table changes nothing. Lines that
// cannot be applied (torn, empty, unknown operation, fields that are not numbers) are
// left out and listed; they never stop the replay.
// progress, when given, hears how many lines were applied of how many, every
// kReplayProgressStep lines and at the end: a long journal takes a while.
inline constexpr int kReplayProgressStep = 2000;
using ReplayProgress = std::function<void(int applied, int total)>;
ReplayResult applyJournal(AppointmentTable &table, const QStringList &lines, const ReplayProgress &progress = {});

// The replay's progress shown on the main window's two texts, naming the journal.
ReplayProgress replayProgress(MirroredClinic &context, const QString &journalPath);

// The replay of a journal file onto the appointment table: the journal is read first,
// then applied, and the prepared limit saved with the last backup is put back
// (DataAnt.Txt over DataIniFim.Txt). Lines left out are reported naming the file.
ReplayResult replayJournal(MirroredClinic &context, const QString &journalPath);

// The message that lists the lines of a journal that were left out.
QString skippedLinesMessage(const QString &journalPath, const QStringList &skipped);

} // namespace clinora
