#include "app/context.h"

#include "core/data_files.h"

namespace clinora {

AppContext::AppContext(Paths paths_, Clock &clock_, Dialogs &dialogs_, Printer &printer_)
    : paths(std::move(paths_)),
      clock(clock_),
      dialogs(dialogs_),
      printer(printer_),
      days(clock_),
      DMMedicos(paths),
      journal(settings, paths, dialogs_),
      sheets(*this)
{
}

void AppContext::saveSettings() const
{
    settings.save(paths.file(files::kSettings));
}

} // namespace clinora
