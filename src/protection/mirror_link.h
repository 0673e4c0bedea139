// The clinic as the mirror's operations see it: its data and services, and beside them
// the run's link to the mirror: whether the mirror copy is current (the status
// screen's flag), where a long operation shows its progress, and how the program ends
// after a recovery. Whatever copies files to the mirror takes this.
#pragma once

#include "store/clinic.h"

#include <functional>

namespace clinora {

class MirroredClinic : public Clinic
{
public:
    using Clinic::Clinic;

    // The mirror copy is not current.
    bool mirrorNotCurrent = false;
    // The two texts a long operation shows on the main window ("Aguarde ... ").
    std::function<void(const QString &, const QString &)> showProgress;
    // Ends the program without its close sequence; set by the run.
    std::function<void()> endRun;
    // The program has been ended this way: what follows must not touch the data.
    bool ended = false;
};

} // namespace clinora
