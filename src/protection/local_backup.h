// The local backup on the hard disk: a "Copia" file beside each of the 21 data files and
// the table copy medicos2.db, and the restore from them.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

class MirroredClinic;

namespace backup {

// The name of a file's backup copy: "Copia" + name.
QString copyName(const QString &name);

// Writes the backup (the copies, medicos2.db, DataAnt.Txt from DataIniFim.Txt and the
// emptied ArqMov.Txt) as one group: a failure leaves the previous backup whole.
void writeLocalBackup(MirroredClinic &context);

// What is missing or damaged in the backup, one text per problem.
QStringList localBackupProblems(MirroredClinic &context);

// Checks the backup, asks, and replaces the data files and the table (medicos2.db with
// the backed-up run journal replayed on it) as one group; the register, the lists and
// the settings are read again from the restored files. Returns true when restored.
bool restoreLocalBackup(MirroredClinic &context);

} // namespace backup
} // namespace clinora
