// Where the receptionist's manual is: installed with the program, or in the build or
// source tree of a developer's copy.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace clinora::manual {

// The places looked at, in order: beside the program's installation
// (programDir/../share/clinora/manual), the system's data folders, the build tree, and
// the Markdown source.
QStringList candidates(const QString &programDir);

// The first of them that exists; empty when none does.
QString find(const QString &programDir);

// Opens the page with the desktop's opener (xdg-open) when this system has one, and
// returns true; false when there is none. failed runs later, from the event loop, when
// the opener could not start or ended with an error (it is there, but nothing on this
// desktop opens the page).
bool runOpener(const QString &page, const std::function<void()> &failed);

} // namespace clinora::manual
