// The program's own modules: small libraries that link what only a rare operation needs
// (the reader of old Paradox tables, the print system), loaded when that operation
// first runs, so that an ordinary start loads none of it.
#pragma once

#include <QString>

namespace clinora::modules {

// The entry point a module exports, loaded with it on first use and kept for the run;
// null when the module or its entry cannot be loaded (error says why, naming the file).
void *entry(const char *module, const char *symbol, QString *error);

} // namespace clinora::modules
