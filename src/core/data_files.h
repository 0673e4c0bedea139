// The names of the files in the data directory.
#pragma once

#include <QLatin1String>

namespace clinora::files {

inline constexpr QLatin1String kSettings("Automatica.Txt");
inline constexpr QLatin1String kPreparedLimit("DataIniFim.Txt");
inline constexpr QLatin1String kPreparedLimitCopy("DataAnt.Txt");
inline constexpr QLatin1String kDoctors("CodMed.Txt");
inline constexpr QLatin1String kDoctorNames("Medicos.Txt");
inline constexpr QLatin1String kTimetable("DiaMedHora.Txt");
inline constexpr QLatin1String kHeadings("Horarios.Txt");
inline constexpr QLatin1String kSpecialties("Esp.Txt");
inline constexpr QLatin1String kSituations("Sit.Txt");
inline constexpr QLatin1String kClosedDates("ArqFolgas.Txt");
inline constexpr QLatin1String kEmpty("ArqVazio.Txt");
inline constexpr QLatin1String kSystemStamp("CodSist.Txt");
inline constexpr QLatin1String kMirrorStamp("CodEsp.Txt");
inline constexpr QLatin1String kCurrencyMark("IntA.Txt");
inline constexpr QLatin1String kRunJournal("ArqMov.Txt");
inline constexpr QLatin1String kJournal("ArqMovA.Txt");
inline constexpr QLatin1String kWeeks("Semanas.Txt");
inline constexpr QLatin1String kDoctorMonths("MedMeses.Txt");
inline constexpr QLatin1String kSpecialtyMonths("EspMeses.Txt");
inline constexpr QLatin1String kSituationMonths("SitMeses.Txt");
inline constexpr QLatin1String kPendingMovements("MovMes.Txt");
inline constexpr QLatin1String kHistory("Historico.Txt");
inline constexpr QLatin1String kWeeklyCounts("PrevReal.Txt");
inline constexpr QLatin1String kYearMark("AnoFindoNovo.Txt");
// Lines of MovMes.Txt that could not be posted, kept as they were.
inline constexpr QLatin1String kSetAsideMovements("MovMesSeparadas.Txt");
// The statistics folder; the year close archives each year into Ano + year below it.
inline constexpr QLatin1String kStatisticsDir("Estatisticas");
inline constexpr QLatin1String kTable("Medicos.db");
inline constexpr QLatin1String kWorkTable("medicos2.db");
inline constexpr QLatin1String kMirrorTable("Medicos3.db");

} // namespace clinora::files
