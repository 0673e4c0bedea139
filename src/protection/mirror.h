// The mirror snapshot: the mirror's copy of the appointment table is rebuilt and the
// journals emptied, so that the mirror journal holds exactly the changes made after it.
#pragma once

namespace clinora {

class AppContext;

void takeMirrorSnapshot(AppContext &context);

} // namespace clinora
