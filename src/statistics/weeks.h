// The weeks of the statistics year (Semanas.Txt): one line per week, the first day
// dd/mm/yyyy immediately followed by the last; line n is week n.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace clinora {

// The weeks the system creates for a year: Monday to Sunday, the first starting on
// the Monday on or before 1 January (26/12/2022 for 2023), the last holding 31
// December: 53 lines.
QStringList weeksOfYear(int year);
// Rewrites Semanas.Txt with the weeks of the year.
void createWeeks(const QString &path, int year);

class Weeks
{
public:
    static constexpr int kMaxWeeks = 54;

    struct Week
    {
        QDate first;
        QDate last;
    };

    // Reads the file: at most 54 lines of two dates dd/mm/yyyy (20 characters), the
    // last not before the first; FileError naming file and line otherwise. A missing
    // file holds no week.
    void load(const QString &path);
    QStringList lines() const;
    const QList<Week> &weeks() const { return m_weeks; }

    // The number (from 1) of the first week holding the date; 0 when none does.
    int weekNumber(QDate date) const;
    // Whether the weeks are those of a year: the year in which the first week ends.
    bool areOfYear(int year) const;
    // The weeks the system creates for the year.
    void createFor(int year);
    // Weeks of seven days added after the last one, as many as it takes to reach the
    // day, within the 54 the file holds; false, with nothing added, when they do not.
    bool extendTo(QDate day);

private:
    QList<Week> m_weeks;
};

} // namespace clinora
