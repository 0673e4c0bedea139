#include "app/context.h"

namespace clinora {

AppContext::AppContext(Paths paths_, Clock &clock_, Dialogs &dialogs_, Printer &printer_)
    : MirroredClinic(std::move(paths_), clock_, dialogs_, printer_), sheets(*this)
{
    endRun = [this] { endProgram(); };
}

void AppContext::endProgram()
{
    DMMedicos.closeAtEnd();
    ended = true;
    if (onEnd)
        onEnd();
}

} // namespace clinora
