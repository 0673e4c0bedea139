// At start, before the appointment table is opened: the tables of the program a clinic
// used before (Paradox) found in the data folder and in the mirror are imported into
// this program's tables, after one question.
#pragma once

namespace clinora {

class AppContext;

// Looks for a Paradox Medicos.db and medicos2.db in the data folder and Medicos3.db in
// the mirror directory of the settings (where it can be reached), asks once whether to
// import them, imports each and says how many rows came in and where the report is.
// Refusing, or failing, to import Medicos.db ends the start (FileError, nothing
// changed). The others are copies: one that cannot be read is set aside once under
// another name (said in a message) and the start goes on.
void importOldTables(AppContext &context);

} // namespace clinora
