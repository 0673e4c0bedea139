// Reorganising the appointment table and restarting chosen groups of data files from
// their templates ("Reiniciar o Sistema").
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace clinora {

class AppContext;

// Rebuilds the table file with SQLite's own rebuild (one transaction: a crash leaves
// the old table), puts DataIniFim.Txt into DataAnt.Txt and empties ArqMov.Txt. The
// local backup's table copy is left alone.
void reorganiseTable(AppContext &context);

// The groups a restart resets ("Limpar").
struct RestartGroups
{
    bool doctors = false;
    bool specialties = false;
    bool situations = false;
    bool appointments = false;
    // The statistics of the open year, reset as the statistics menu resets them.
    bool statistics = false;
};

// The templates the chosen groups need that are missing.
QStringList missingTemplates(const AppContext &context, const RestartGroups &groups);

// Resets the chosen groups after the confirmation. Every template is checked (and the
// mirror, while mirroring is on) before anything changes. Doctors: the three register
// files from their templates and 50 free codes in memory; the doctors' monthly counts
// go to their specialties' rows and their weekly records and counted days are cleared. Appointments: an empty
// table (and mirror table), no closed dates, empty journals, the agenda prepared up to
// today, the day sheets refreshed. Statistics: the reset of the open year, after the
// other groups (its doctor rows follow the register as it then stands). progress shows the two texts on the dialog.
// Returns true when something was reset.
bool restartSystem(AppContext &context, const RestartGroups &groups,
                   const std::function<void(const QString &, const QString &)> &progress = {});

} // namespace clinora
