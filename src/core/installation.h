// Creates a data directory from the installation files that travel with the program.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

// Prepares the data directory at start, before anything reads it: finishes a commit
// of files that a crash interrupted and clears leftover temporaries; then, when the
// directory is missing, new, or holds an installation that never finished (every file
// as installed, no table), writes the installation files it lacks and an empty table
// as one group. A directory in use is never installed anew: when it lacks a file the
// program cannot run without, FileError names the files and nothing is written. An
// existing file is never overwritten. Returns the files written.
QStringList installDataDirectory(const QString &dir);

// The names of the installation files (relative paths such as "Foto/Capa.png").
QStringList installationFiles();

} // namespace clinora
