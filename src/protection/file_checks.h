// Reads the data files a recovery or a restore would bring back, each as strictly as
// the program reads and writes it, so that a copy cut short, emptied, of the wrong
// widths or holding garbage is refused before anything is replaced.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace clinora::protection {

// Each pair is the data file's name (which says its format) and the copy to read.
// Returns one text per damaged copy, naming it and saying what is wrong.
QStringList damagedCopies(const QList<std::pair<QString, QString>> &copies);

} // namespace clinora::protection
