// Everything that lives for the run, owned in one place and handed down by reference:
// the clinic's data with the services (store/clinic.h) and the mirror link
// (protection/mirror_link.h), the booking screen's day sheets and clipboard, and the
// run's own flags and callbacks.
#pragma once

#include "sheets/clipboard.h"
#include "sheets/day_sheets.h"
#include "protection/mirror_link.h"

#include <functional>

namespace clinora {

class AppContext : public MirroredClinic
{
public:
    AppContext(Paths paths, Clock &clock, Dialogs &dialogs, Printer &printer);

    // Ends the program without the close sequence (after a recovery or a change of the
    // mirror's location): the store is closed, and the program told to end, which
    // releases the data directory. What the operation saved stays as saved.
    void endProgram();

    // The booking screen's day sheets and the appointment clipboard.
    DaySheets sheets;
    AppointmentClipboard clipboard;

    // Run-time values of the main window, reset at each start.
    QString startDirectory;
    int purgeKeepDays = 0;
    bool automaticEntryPending = false;
    bool firstActivation = true;
    int journalSize = 0;

    // Ends the program without its close sequence (after a recovery or a new mirror
    // location); set by the program, absent in tests. See endProgram.
    std::function<void()> onEnd;
    // The statistics tables hold every pending movement: set by posting, cleared at
    // start and when a sheet is recorded.
    bool statisticsUpToDate = false;
};

} // namespace clinora
