// The year close and the reset of the statistics. The close archives the year's
// files into Estatisticas/Ano + year, posts what is pending, shifts the history, and
// resets; the reset takes the tables, the weekly table and MovMes.Txt from their
// templates, makes the weeks of the year it opens, re-links the doctor rows and sets
// the last counted day and the year code. Each commits all its files or none.
#pragma once

#include "statistics/posting.h"

#include <QDate>

namespace clinora {

class AppContext;
class Dialogs;
class DoctorRegister;
class Settings;
class StatisticsFiles;

// The reset, in the files and the settings given (committed by the caller).
void stageReset(StatisticsFiles &files, const DoctorRegister &doctors, Settings &settings, QDate lastCounted,
                int year);

// The close of closedYear opening newYear, in the files and settings given
// (committed by the caller); the last counted day becomes 31 December of the year
// before newYear. Lines that would take a month past 9,999 are named to the user, who
// may close without them (they go, as they are, to MovMesSeparadas.Txt, among the
// lines set aside in the result) or not (an Error, nothing staged).
PostingResult stageYearClose(StatisticsFiles &files, const DoctorRegister &doctors, Settings &settings,
                             int closedYear, int newYear, Dialogs &dialogs);

// The history shifted one year: the newest column takes each specialty's total of the
// year in the specialty table, headed by the year.
void shiftHistory(StatisticsFiles &files, int year);

// The reset of the open year, as the statistics menu and the restart call it: the
// current year, counted up to yesterday. The files as they were are kept first in a
// folder of their own below Estatisticas, named after the moment (Reinicio_2026-12-08_
// 10-00-00), in the same commit; returns that folder, below the data directory.
QString resetStatistics(AppContext &context);

// Closes the year of the year code and opens the current one (or the next one, when
// the year code names the current year). A year closed by hand has posted its own
// lines already: what is pending then belongs to the new year and stays pending.
void closeStatisticsYear(AppContext &context);

// The archive folder of a year below the data directory: Estatisticas/Ano2026.
QString archiveFolder(int year);

} // namespace clinora
