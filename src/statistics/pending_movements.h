// The pending movements (MovMes.Txt): any number of lines, each the doctor number (2,
// blank-padded), the month "01" to "12", the situation digit and the quantity as a
// plain decimal (possibly negative), waiting to be posted into the monthly tables.
#pragma once

#include "platform/text_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace clinora {

struct Movement
{
    int doctor = 0;    // 1 to 50
    int month = 0;     // 1 to 12
    int situation = 0; // 1 to 9
    int quantity = 0;  // -999 to 9999
};

// The lines are held as the file's bytes (Windows-1252): a month of sheets leaves
// thousands of them, and a posting reads each once.
class PendingMovements
{
public:
    // Reads every line as it stands: a line that is not a movement is kept verbatim,
    // for posting to set aside.
    void load(const QString &path);
    QStringList lines() const;
    void setLines(const QStringList &lines);
    void append(const QStringList &lines);
    bool isEmpty() const { return m_spans.isEmpty(); }
    qsizetype size() const { return m_spans.size(); }
    // Line i (from 0): its bytes, and its text.
    QByteArrayView lineBytes(qsizetype i) const
    {
        const textfile::LineSpan &span = m_spans.at(i);
        return QByteArrayView(m_bytes.constData() + span.start, span.size);
    }
    QString line(qsizetype i) const;
    // The file's bytes: every line and CR LF.
    QByteArray bytes() const;
    // The same lines.
    bool operator==(const PendingMovements &other) const;

    // The movement of a line, or nothing with the reason in why.
    static std::optional<Movement> parse(const QString &line, QString *why = nullptr);
    // The same from the line's bytes in the file.
    static std::optional<Movement> parse(QByteArrayView line, QString *why = nullptr);
    // The line of a movement: "7 033" + "12".
    static QString line(int doctor, int month, int situation, int quantity);

private:
    QByteArray m_bytes;                // the lines' bytes, each found by its span
    QList<textfile::LineSpan> m_spans; // one per line (shared by copies until one changes)
};

} // namespace clinora
