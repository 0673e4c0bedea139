// The start of the program, the main window's creation step and its closing sequence,
// as plain logic on the application context.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;

namespace session {

inline const QString kDefaultClinic = QStringLiteral("Clínica Modelo");

// Start-up before any screen: a commit of files cut short by a crash finished, the
// working directory, the doctor register and timetable, the day-of-week map. Returns
// the register lines that were left out.
QStringList startUp(AppContext &context);

// The creation step of the main window: settings, the data module, mirror state and
// stamps, the first run, the automatic-entry mark, the run journal and the year-end
// notice. A data folder others can open is reported; the tables of the program used
// before (Paradox) are imported first, after a question. The table is opened before anything is written: a damaged or foreign table
// ends the start; a missing one is created silently only by the first run, otherwise
// the user chooses (default No, which ends the start).
void createMainWindow(AppContext &context);

// Each activation of the main window: the automatic entry when it is pending, and on
// the first activation the scheduled removal of doctors. An error ends the one that
// raised it (it is shown) and the other still runs.
void activateMainWindow(AppContext &context);

// The name shown on the main window.
QString shownClinicName(const AppContext &context);

// A click on the clinic name: asks for the new name and saves it.
void changeClinicName(AppContext &context);
// A click on the cover: asks for the new picture's file; true when it changed.
bool changeCoverPhoto(AppContext &context);

// Ends the program without the close sequence (after a recovery or a change of the
// mirror's location): the store is closed, and the program told to end, which
// releases the data directory. What the operation saved stays as saved.
void endApplication(AppContext &context);

// Closing: the purge that keeps 10 days (none with automatic entry), the settings saved
// (mirroring stays on when the mirror took the close's copies, and goes off when one
// failed), the tables closed. Errors are shown and the sequence goes on.
void closeMainWindow(AppContext &context);

} // namespace session
} // namespace clinora
