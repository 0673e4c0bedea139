// The movement journal: one line per appointment change (a 67-character head and the
// remarks), ten lines buffered in memory and appended to the mirror's ArqMovA.Txt.
#pragma once

#include "store/appointment.h"

#include <QStringList>

#include <optional>

namespace clinora {

class Dialogs;
class Paths;
class Settings;

namespace journal {

inline constexpr int kHeadWidth = 67;
inline constexpr int kRemarksWidth = 200;

// The line of one change: op "I" (inserted with these values) or "E" (deleted).
// Line breaks and backslashes in the remarks are escaped (\n, \r, \\) so that one
// change stays one line.
QString line(QChar op, const Appointment &row, const QString &stamp);

QString encodeRemarks(const QString &remarks);
QString decodeRemarks(const QString &encoded);

struct Record
{
    QChar op;
    Appointment row;
    QString stamp;
};
// Splits a line at its fixed positions (trailing blanks removed from the fields).
std::optional<Record> parse(const QString &line);

} // namespace journal

// The buffer of ten lines shared by the appointment dialogs.
class JournalBuffer
{
public:
    static constexpr int kSize = 10;

    JournalBuffer(const Settings &settings, const Paths &paths, Dialogs &dialogs);

    // Stores the line; from the tenth waiting line on, each line flushes. A failed
    // flush is shown and keeps every line, in order, for the next try; add itself
    // never throws, so the operation that posted the change ends as usual.
    void add(const QString &line);
    // With mirroring on: tells the user, appends the lines to the mirror's ArqMovA.Txt
    // and empties the buffer. With mirroring off the lines stay. A failure throws a
    // FileError saying the mirror copy failed and keeps the lines.
    void flush();
    // Forgets the buffered lines.
    void discard() { m_lines.clear(); }

    int pending() const { return static_cast<int>(m_lines.size()); }
    const QStringList &lines() const { return m_lines; }

private:
    const Settings &m_settings;
    const Paths &m_paths;
    Dialogs &m_dialogs;
    QStringList m_lines;
};

} // namespace clinora
