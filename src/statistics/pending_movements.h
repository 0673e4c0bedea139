// The pending movements (MovMes.Txt): any number of lines, each the doctor number (2,
// blank-padded), the month "01" to "12", the situation digit and the quantity as a
// plain decimal (possibly negative), waiting to be posted into the monthly tables.
#pragma once

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

class PendingMovements
{
public:
    // Reads every line as it stands: a line that is not a movement is kept verbatim,
    // for posting to set aside.
    void load(const QString &path);
    const QStringList &lines() const { return m_lines; }
    void setLines(QStringList lines) { m_lines = std::move(lines); }
    void append(const QStringList &lines) { m_lines += lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }

    // The movement of a line, or nothing with the reason in why.
    static std::optional<Movement> parse(const QString &line, QString *why = nullptr);
    // The line of a movement: "7 033" + "12".
    static QString line(int doctor, int month, int situation, int quantity);

private:
    QStringList m_lines;
};

} // namespace clinora
