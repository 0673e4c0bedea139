// The settings record: the nine lines of Automatica.Txt, held in memory for the run,
// changed there and saved whole by the settings writer.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace clinora {

class Settings
{
public:
    static constexpr int kLines = 9;

    // Reads the nine lines; a shorter file gives empty values for the missing lines.
    // Returns how many lines the file had. A file that is not text, or whose lines 1,
    // 3 or 4 hold something else than their values, throws DamagedFileError and
    // leaves the record as it was.
    int load(const QString &path);
    // Rewrites the file with the nine current values; refused (DamagedFileError) after
    // a failed load, so that a damaged file is never overwritten.
    void save(const QString &path) const;

    // Line 1: automatic entry of the attendance sheets, "Sim" or "Nao".
    QString automaticEntry() const { return m_lines[0]; }
    void setAutomaticEntry(const QString &v) { m_lines[0] = v; }
    bool automaticEntryOn() const { return m_lines[0] == QLatin1String("Sim"); }
    // Line 2: the last day the automatic entry has counted, dd/mm/yyyy.
    QString lastProcessed() const { return m_lines[1]; }
    void setLastProcessed(const QString &v) { m_lines[1] = v; }
    // Line 3: year state of the statistics ("A2000" = never run).
    QString yearState() const { return m_lines[2]; }
    void setYearState(const QString &v) { m_lines[2] = v; }
    // Line 4: mirroring, "Com" or "Sem".
    QString mirroring() const { return m_lines[3]; }
    void setMirroring(const QString &v) { m_lines[3] = v; }
    bool mirroringOn() const { return m_lines[3] == QLatin1String("Com"); }
    // Line 5: the clinic's name.
    QString clinicName() const { return m_lines[4]; }
    void setClinicName(const QString &v) { m_lines[4] = v; }
    // Line 8: the mirror directory as stored (E:\Consultas\Espelho).
    QString mirrorDir() const { return m_lines[7]; }
    void setMirrorDir(const QString &v) { m_lines[7] = v; }
    // Line 9: the cover photograph.
    QString coverPhoto() const { return m_lines[8]; }
    void setCoverPhoto(const QString &v) { m_lines[8] = v; }

    // The nine lines as the writer writes them.
    QStringList lines() const { return QStringList(m_lines.begin(), m_lines.end()); }

    // Lines by number 1 to 9, as stored.
    QString line(int number) const { return m_lines.at(number - 1); }
    void setLine(int number, const QString &v) { m_lines.at(number - 1) = v; }

private:
    std::array<QString, kLines> m_lines;
    bool m_readFailed = false;
};

} // namespace clinora
