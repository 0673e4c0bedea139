// The prepared limit date: the one line of DataIniFim.Txt, the last date open for
// booking.
#pragma once

#include <QDate>

namespace clinora {

class Paths;

// Reads and parses the first line; a missing file is a FileError, a line that is not
// a date a ConversionError naming the file.
QDate readPreparedLimit(const Paths &paths);

} // namespace clinora
