// The scheduled removal of doctors, once per run at the main window's first
// activation: a warning in the week before a definitive leave starts, the dates of a
// temporary leave cleared once it is over, and on the day a definitive leave starts
// the doctor removed (his code freed, his counts moved to his specialty, his
// timetable emptied). The register files and MedMeses.Txt are committed together.
#pragma once

#include <QList>

namespace clinora {

class AppContext;

struct RemovalResult
{
    QList<int> warned;        // codes warned of a removal to come
    QList<int> leavesCleared; // codes whose temporary leave was over
    QList<int> removed;       // codes removed
};

RemovalResult runScheduledRemoval(AppContext &context);

} // namespace clinora
