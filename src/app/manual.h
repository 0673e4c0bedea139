// Where the receptionist's manual is: installed with the program, or in the build or
// source tree of a developer's copy.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora::manual {

// The places looked at, in order: beside the program's installation
// (programDir/../share/clinora/manual), the system's data folders, the build tree, and
// the Markdown source.
QStringList candidates(const QString &programDir);

// The first of them that exists; empty when none does.
QString find(const QString &programDir);

} // namespace clinora::manual
