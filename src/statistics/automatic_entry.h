// The automatic entry of the attendance sheets: every day not yet counted, up to
// yesterday, counted straight from the appointment table (every booked patient as
// attended), added to the weekly table and the pending movements and posted, in one
// commit; after 31 December the year is closed in the same commit. Also the menu
// command that switches it on.
#pragma once

#include "statistics/posting.h"

#include <QDate>
#include <functional>

namespace clinora {

class AppContext;

struct AutomaticEntryResult
{
    int daysCounted = 0;
    QDate lastCounted;    // the last day counted, invalid when none
    bool stopped = false; // a day outside every week: nothing was written
    bool yearClosed = false;
    PostingResult posting;
};

// Counts the days from first to last in turn, stopping after 31 December of the open
// year, whose close follows. Days of a year before the open one are passed over (said
// once). Line 2 of Automatica.Txt becomes last, or 31 December after a close.
AutomaticEntryResult runAutomaticEntry(AppContext &context, QDate first, QDate last);

// The run of the main window's first activation: from the day after line 2 up to
// yesterday.
AutomaticEntryResult runPendingAutomaticEntry(AppContext &context);

// "Entrada automática das Fichas de Atendimentos": switches the entry on, counting
// from today, after the user's Yes; true when it is on afterwards. The mirror's
// consistency check, when given, runs once the year is found open; false from it
// ends the command.
bool switchAutomaticEntryOn(AppContext &context, const std::function<bool()> &consistencyCheck = {});

} // namespace clinora
