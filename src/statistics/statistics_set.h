// The statistics a report shows, read into objects of their own: the three monthly
// tables, the history, the specialties and situations registers and the doctor
// register of one folder (the data folder, or a set written elsewhere). Reading a set
// never touches the run's register, timetable or tables.
#pragma once

#include "core/doctor_register.h"
#include "core/registers.h"
#include "statistics/doctor_months.h"
#include "statistics/esp_meses.h"
#include "statistics/history.h"
#include "statistics/situation_months.h"

#include <QString>

namespace clinora {

class Clinic;

struct StatisticsSet
{
    QString folder; // where it was read from
    bool external = false;
    DoctorMonths doctorMonths;
    SituationMonths situationMonths;
    SpecialtyMonths specialtyMonths;
    History history;
    SpecialtyTable specialties;
    SituationTable situations;
    DoctorRegister doctors;

    // The name of a specialty code 51 to 80, without trailing blanks.
    QString specialtyName(int code) const;
    // Situation 1 to 9 as its line of Sit.Txt reads ("3  SUS"); the code alone when the
    // file has no such line.
    QString situationCaption(int code) const;
};

// A set written elsewhere: MedMeses.Txt, SitMeses.Txt, EspMeses.Txt, Historico.Txt,
// Esp.Txt, Sit.Txt, CodMed.Txt and DiaMedHora.Txt of the folder. A folder without
// Sit.Txt holds no statistics (FileError saying so); a missing or damaged file throws
// FileError naming it, with the line where it is damaged.
StatisticsSet readStatisticsSet(const QString &folder);

// The open year's statistics from the data folder, with the doctors as the run holds
// them.
StatisticsSet readDataFolderStatistics(const Clinic &context);

} // namespace clinora
