// Creates a data directory from the installation files that travel with the program.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

// When the directory is missing or holds no installation yet, creates it and copies
// every installation file into it; an existing file is never overwritten. Returns the
// files written. Throws FileError when the directory cannot be created or written.
QStringList installDataDirectory(const QString &dir);

// The names of the installation files (relative paths such as "Foto/Capa.png").
QStringList installationFiles();

} // namespace clinora
