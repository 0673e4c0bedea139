// External statistics sets: the eight files of a statistics year (the register, the
// timetable, the three monthly tables, the two registers and the history) in a folder
// named after the set inside \Consultas\Estatisticas of a drive. Sets are written,
// copied from drive to drive and read back; the statistics files also go to the
// mirror and come back from it.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;
class MirroredClinic;
class Paths;

namespace sets {

// The eight files of a set, in their order.
const QStringList &setFiles();

// The local folder of \Consultas\Estatisticas on a drive ("C" is the data folder's).
QString setsFolder(const Paths &paths, QChar drive);
// The sets on a drive: the folders inside \Consultas\Estatisticas, by name.
QStringList setsOn(const Paths &paths, QChar drive);
// A folder holds a set when it has Sit.Txt.
bool isSet(const QString &folder);

// Why a typed name cannot name a set (empty, ".", "..", a path, a drive); empty when
// it is one plain folder name.
QString nameRefusal(const QString &name);

// Writes the open year's set from the data folder under a name on a drive. An
// existing set is overwritten only after the user's Yes; the eight files are checked
// first and written together, so a failure leaves the target as it was. True when
// written (the user is told where); false when refused or declined (said).
bool writeSet(MirroredClinic &context, QChar drive, const QString &name);

// Copies a set from one drive to another, under the same name, the same way. A copy
// with no set chosen, or onto the same folder, is refused.
bool copySet(MirroredClinic &context, QChar from, const QString &name, QChar to);

// "Copiar Estatísticas no Disquete" and "Recuperar Estatísticas do Disquete": the nine
// statistics files to the mirror folder, or back from it (checked and written
// together; the settings read again). Both ask first and work only while mirroring is
// on. True when copied.
bool copyStatisticsToMirror(MirroredClinic &context);
bool copyStatisticsFromMirror(AppContext &context);

} // namespace sets
} // namespace clinora
