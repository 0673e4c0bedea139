// Everything that lives for the run, owned in one place and handed down by reference:
// the data paths, the ports, the settings record, the doctor register and timetable,
// the day window, the data module and the journal buffer.
#pragma once

#include "booking/clipboard.h"
#include "booking/day_sheets.h"
#include "core/day_window.h"
#include "core/doctor_register.h"
#include "core/registers.h"
#include "core/settings.h"
#include "platform/paths.h"
#include "store/data_module.h"
#include "store/journal.h"

#include <functional>

namespace clinora {

class Clock;
class Dialogs;
class Printer;

class AppContext
{
public:
    AppContext(Paths paths, Clock &clock, Dialogs &dialogs, Printer &printer);
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    QString file(const QString &name) const { return paths.file(name); }
    // Rewrites Automatica.Txt from the settings record.
    void saveSettings() const;

    Paths paths;
    Clock &clock;
    Dialogs &dialogs;
    Printer &printer;

    Settings settings;
    DoctorRegister doctors;
    DayWindow days;
    TDMMedicos DMMedicos;
    JournalBuffer journal;
    SpecialtyTable specialties;
    SituationTable situations;
    // The booking screen's day sheets and the appointment clipboard.
    DaySheets sheets;
    AppointmentClipboard clipboard;

    // Run-time values of the main window, reset at each start.
    QString startDirectory;
    int purgeKeepDays = 0;
    bool automaticEntryPending = false;
    bool firstActivation = true;
    int journalSize = 0;
    // The status screen's flag: the mirror copy is not current.
    bool mirrorNotCurrent = false;

    // The two texts a long operation shows on the main window ("Aguarde ... ").
    std::function<void(const QString &, const QString &)> showProgress;
    // Ends the program without its close sequence (after a recovery or a new mirror
    // location); set by the program, absent in tests. See session::endApplication.
    std::function<void()> onEnd;
    bool ended = false;
    // The statistics tables hold every pending movement: set by posting, cleared at
    // start and when a sheet is recorded.
    bool statisticsUpToDate = false;
};

} // namespace clinora
