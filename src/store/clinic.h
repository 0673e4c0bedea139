// The clinic's data for a run, owned in one place and read and written through the
// run's services: the settings record, the doctor register and timetable, the day
// window, the data module with the appointment table, the journal buffer and the
// specialty and situation tables.
#pragma once

#include "core/day_window.h"
#include "core/doctor_register.h"
#include "core/registers.h"
#include "core/settings.h"
#include "platform/services.h"
#include "store/data_module.h"
#include "store/journal.h"

namespace clinora {

class Clinic : public Services
{
public:
    Clinic(Paths paths, Clock &clock, Dialogs &dialogs, Printer &printer);

    // Rewrites Automatica.Txt from the settings record.
    void saveSettings() const;

    Settings settings;
    DoctorRegister doctors;
    DayWindow days;
    TDMMedicos DMMedicos;
    JournalBuffer journal;
    SpecialtyTable specialties;
    SituationTable situations;
};

} // namespace clinora
