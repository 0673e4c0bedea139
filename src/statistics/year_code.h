// The statistics year code of line 3 of Automatica.Txt: "A" and the year while that
// year is open, "F" and the year after the manual close ("A2000" before the first run).
#pragma once

#include <QString>

namespace clinora {

class Settings;

struct StatisticsYear
{
    bool open = false;
    int year = 0;
};

// The code read; ConversionError naming the file and line when it is not "A" or "F"
// followed by a four-digit year.
StatisticsYear statisticsYear(const Settings &settings);
// "A2026".
QString openYearCode(int year);

} // namespace clinora
