// The specialty (codes 51 to 80, Esp.Txt) and situation (codes 1 to 9, Sit.Txt) tables,
// loaded on demand from the data directory or from another installation's prefix.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace clinora {

struct RegisterEntry
{
    QString code;
    QString separator;
    QString name;
};

class SpecialtyTable
{
public:
    static constexpr int kFirst = 51;
    static constexpr int kLast = 80;

    // Line k of Esp.Txt fills entry 50 + k (code 2, separator 1, name 15 characters).
    void load(const QString &prefix);
    // The entry of a code 51 to 80 (an empty entry for another code).
    const RegisterEntry &entry(int code) const;
    QString name(int code) const { return entry(code).name; }

private:
    std::array<RegisterEntry, kLast - kFirst + 1> m_entries;
};

class SituationTable
{
public:
    // Line k of Sit.Txt fills entry k (code 1, separator 2, name 20 characters).
    void load(const QString &prefix);
    const RegisterEntry &entry(int code) const;

private:
    std::array<RegisterEntry, 9> m_entries;
};

// The register windows' files. Reading fills the name of each line's code into
// names[code - first] and stops with a ConversionError at a code that is not a number
// (the names read so far stay); codes outside the range are passed over.
void readSpecialtyNames(const QString &path, QStringList &names);
void readSituationNames(const QString &path, QStringList &names);
// Rewrites Esp.Txt with 30 lines ("51 name", names cut to 15) and Sit.Txt with 9 lines
// ("1  name", names cut to 20); the code of a name is its position.
void writeSpecialtyNames(const QString &path, const QStringList &names);
void writeSituationNames(const QString &path, const QStringList &names);

class DoctorRegister;

// The doctors and the statistics keep a specialty by its code, so a new order of the
// specialty rows may not give a code that a doctor uses to another name. rowOrder[r]
// is the row (from 0, code 51 + row) whose name would stand at row r; names[row] is
// its name. Returns the message that names each such specialty, or an empty text when
// the order may be saved.
QString specialtyOrderRefusal(const QList<int> &rowOrder, const QStringList &names,
                              const DoctorRegister &doctors);

} // namespace clinora
