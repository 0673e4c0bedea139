// The movement entry by hand: the collective entry's checks and its list of entries
// (doctor, situation, quantity, month), appended to MovMes.Txt and posted together
// when the entry form closes; and the switch that turns the automatic entry off for
// the entries by hand.
#pragma once

#include "statistics/posting.h"

#include <QList>
#include <QString>
#include <optional>

namespace clinora {

class AppContext;
class DoctorRegister;

// The registered doctor a typed code names ("5", " 5", "05"); nothing for a code that
// is not a number from 1 to 50 or that is free.
std::optional<int> registeredDoctor(const DoctorRegister &doctors, const QString &typed);

struct CollectedEntry
{
    int doctor = 0;
    int month = 0;
    int situation = 0;
    int quantity = 0; // -999 to 9999; negative corrects earlier counts

    // The entry as a line of MovMes.Txt.
    QString line() const;
};

// The five boxes of the collective entry as typed.
struct EntryFields
{
    QString doctor;
    QString situation;
    QString quantity;
    QString month;
    QString year;
};

class CollectiveEntry
{
public:
    // Checks the boxes and appends the entry. A quantity typed "- 5" is rewritten in
    // fields as "-5". Returns the message of the first check that fails, with the
    // list unchanged, or an empty text when the entry was added. A negative quantity
    // may not take the doctor's month, or the month of his situation row, below zero,
    // counting what was posted, what is pending in MovMes.Txt and what this list holds.
    QString confirm(AppContext &context, EntryFields &fields);

    const QList<CollectedEntry> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    void clear() { m_entries.clear(); }

private:
    QList<CollectedEntry> m_entries;
};

// Appends the entries to MovMes.Txt and posts every pending line, in one commit (the
// tables, MovMes.Txt and the set-aside file together, then their mirror copies);
// reports what could not be posted. The tables are then up to date.
PostingResult processEntries(AppContext &context, const QList<CollectedEntry> &entries);

// The entry by hand switches the automatic entry off: when it is on, the question is
// asked and Yes rewrites the settings with "Nao" (and their mirror copy). False when
// the answer was No: the command ends there.
bool switchAutomaticEntryOff(AppContext &context, const QString &question);

} // namespace clinora
