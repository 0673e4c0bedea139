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

class StatisticsFiles;
struct PostingResult;

// The statistics of a freed doctor code that a doctor given the code later must not
// inherit: the weekly records and the days counted of the code.
void forgetDoctorDays(StatisticsFiles &files, int code);

// Every doctor code freed at once (the restart of the doctors), in the files given:
// what is pending is posted first, each doctor row's monthly counts go to the row of
// the specialty they were posted under, as at a removal (they are cleared when the row
// has no specialty: no specialty counted them either), and the days of every code are
// forgotten.
PostingResult releaseAllDoctorCodes(StatisticsFiles &files);

} // namespace clinora
