// The doctor register (50 records, codes 1 to 50) and the weekly timetable (7 weekdays
// x 50 doctors x 24 slots of "hh:mm"), kept in memory for the run, with their files
// CodMed.Txt, Medicos.Txt and DiaMedHora.Txt.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace clinora {

struct Doctor
{
    QString code;          // 2
    QString name;          // 25; a leading blank marks a free code
    QString specialty;     // 15: "51 Cardiologia"
    QString room;          // 4
    QString floor;         // 2
    QString specialtyCode; // 2
    QString shift;         // 1
    QString leaveStart;    // 8, dd/mm/yy; blank or empty = no leave
    QString leaveEnd;      // 8, dd/mm/yy; 31/12/55 = definitive leave

    // A free code: its name begins with a blank.
    bool isFree() const { return name.startsWith(QLatin1Char(' ')); }
    // The leave start holds a date (neither empty nor beginning with a blank).
    bool hasLeave() const { return !leaveStart.isEmpty() && leaveStart.at(0) != QLatin1Char(' '); }
};

class FileGroup;

class DoctorRegister
{
public:
    static constexpr int kDoctors = 50;
    static constexpr int kSlots = 24;
    static constexpr int kWeekdays = 7;
    static constexpr int kLineWidth = 67;
    static inline const QString kDefinitiveLeave = QStringLiteral("31/12/55");

    DoctorRegister();

    // Reads CodMed.Txt and DiaMedHora.Txt from the directory prefix (empty = working
    // directory; otherwise it ends with a separator). Lines of CodMed.Txt whose code
    // is not 1 to 50 are left out; the returned texts name each of them.
    QStringList load(const QString &prefix);
    // Writes CodMed.Txt, Medicos.Txt and DiaMedHora.Txt into the directory, committed
    // together. Refused (DamagedFileError) when the last load failed or left lines out,
    // so that what could not be read is never overwritten.
    void save(const QString &dir) const;
    // Stages the three files into a group that other files join (MedMeses.Txt).
    void stage(FileGroup &group, const QString &dir) const;

    Doctor &doctor(int code) { return m_doctors.at(code); }
    const Doctor &doctor(int code) const { return m_doctors.at(code); }
    static bool validCode(int code) { return code >= 1 && code <= kDoctors; }

    // Start time of slot s of doctor c on weekday w (1 = Sunday ... 7 = Saturday).
    const QString &time(int weekday, int code, int slot) const;
    void setTime(int weekday, int code, int slot, const QString &time);
    // An empty entry or a single blank: the doctor has no such slot that weekday.
    bool hasSlot(int weekday, int code, int slot) const;

    bool isFree(int code) const { return doctor(code).isFree(); }
    // Whether the date lies in the doctor's leave (leave start <= date < leave end).
    // A leave date that is not a date throws ConversionError naming the doctor.
    bool onLeave(int code, QDate date) const;
    // " 3 7 12" for free codes 3, 7 and 12, after one leading blank.
    QString freeCodeList() const { return m_freeCodes; }
    void rebuildFreeCodeList();

    // The three files in their formats, for writers and tests.
    QStringList codMedLines() const;
    QStringList medicosLines() const;
    QStringList timetableLines() const;

    // Empties every record and every timetable entry.
    void clear();
    // A definitive removal: the record keeps its code, every other field is blanked
    // (the code becomes free), and the doctor's slots are emptied on every weekday.
    void removeDoctor(int code);

private:
    std::array<Doctor, kDoctors + 1> m_doctors;
    std::vector<QString> m_times; // (w-1)*1200 + (c-1)*24 + (s-1)
    QString m_freeCodes = QStringLiteral(" ");
    bool m_readFailed = false;
};

} // namespace clinora
