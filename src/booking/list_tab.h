// What a list tab of the booking screen does: "Desmarcadas" (the cancelled list) or
// "Em Espera" (the waiting list). It opens its list, the candidates of a doctor,
// deletes selected entries, prints, tells when the list grows long, and takes the
// mirror snapshot when the receptionist leaves a tab whose entries were deleted.
#pragma once

#include "booking/list_entries.h"
#include "platform/printer.h"

#include <QString>
#include <optional>
#include <vector>

namespace clinora {

class MirroredClinic;

class ListTab
{
public:
    enum class Kind { Cancelled, Waiting };

    ListTab(MirroredClinic &context, Kind kind);

    Kind kind() const { return m_kind; }
    ListEntries &entries() { return m_entries; }
    const ListEntries &entries() const { return m_entries; }

    // "Atualizar": the whole list. Past 100 entries the count warning is set.
    void openAll();
    // "Avisar" of the cancelled list: the hospital cancellations not yet told.
    void openNotNotified();
    // "Candidatos": the entries of the doctor whose code was typed and of the doctor's
    // specialty. A text that is not a doctor's code 1 to 50 is refused with a message,
    // the list as it was.
    bool openCandidates(const QString &typed);

    // The list shown read again, as it was opened: the whole list, the "Avisar" list or
    // the candidates of the same doctor. A closed list opens whole.
    void reopen();

    // The two lines of the count warning; empty until a long list is opened.
    QString countWarning() const { return m_countWarning; }
    QString adviceWarning() const { return m_adviceWarning; }

    // "Excluir": asks first, naming how many (No by default), then deletes the selected
    // entries of this list, by key, in one transaction, and closes the list. With
    // nothing selected it says so and deletes nothing.
    void deleteSelected(const std::vector<int> &rows);
    // "Imprimir": the selected rows, or every row of the open list; closes the list.
    // With no list open, or an empty one, it says so and prints nothing.
    void print(const std::vector<int> &rows);

    // The entry of a row, read again from the table to open it in the rebooking
    // dialog; nothing (message shown, list reopened) when it is incomplete or gone.
    std::optional<AppointmentKey> entryToOpen(int row);

    // Entering the tab clears its changed flag and the count warning.
    void enter();
    // Leaving the tab (or the screen): after deletions, with mirroring on, the mirror
    // snapshot is taken.
    void leave();
    bool changed() const { return m_changed; }

    // The question "Excluir" asks before deleting count entries.
    static QString deleteQuestion(int count);

    static const QString kNothingSelected;
    static const QString kIncomplete;
    static const QString kGone;
    static const QString kNothingToPrint;

private:
    void open(const ListQuery &query);
    ListQuery allQuery() const;
    DrawnList printedList(const std::vector<int> &rows) const;
    QStringList cancelledRow(int row, bool selected) const;
    QStringList waitingRow(int row) const;

    MirroredClinic &m_context;
    Kind m_kind;
    ListEntries m_entries;
    QString m_countWarning;
    QString m_adviceWarning;
    bool m_changed = false;
};

} // namespace clinora
