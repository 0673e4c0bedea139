// The services a run works through: where its files are, today's date, the questions to
// the user and the printer. main owns the clock, the dialogs and the printer; the rest
// of the program reaches them through this, handed down by reference.
#pragma once

#include "platform/paths.h"

#include <QString>

namespace clinora {

class Clock;
class Dialogs;
class Printer;

class Services
{
public:
    Services(Paths paths_, Clock &clock_, Dialogs &dialogs_, Printer &printer_)
        : paths(std::move(paths_)), clock(clock_), dialogs(dialogs_), printer(printer_)
    {
    }
    Services(const Services &) = delete;
    Services &operator=(const Services &) = delete;

    QString file(const QString &name) const { return paths.file(name); }

    Paths paths;
    Clock &clock;
    Dialogs &dialogs;
    Printer &printer;
};

} // namespace clinora
