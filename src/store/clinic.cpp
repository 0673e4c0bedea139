#include "store/clinic.h"

#include "core/data_files.h"

namespace clinora {

Clinic::Clinic(Paths paths_, Clock &clock_, Dialogs &dialogs_, Printer &printer_)
    : Services(std::move(paths_), clock_, dialogs_, printer_), days(clock_), DMMedicos(paths),
      journal(settings, paths, dialogs_)
{
}

void Clinic::saveSettings() const
{
    settings.save(paths.file(files::kSettings));
}

} // namespace clinora
