// The rules of the doctor record editor "Ficha Dados do Médico", as plain logic on
// the form's values: loading a doctor by code, building the timetable columns from
// the time list, the leave choices, the save "Alterar, Incluir ou Excluir" with its
// leave, inclusion and removal effects, and what closing the form writes.
#pragma once

#include "doctors/leave_effects.h"
#include "statistics/doctor_months.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace clinora {

class AppContext;

// The timetable grid of the form: columns Monday to Saturday, then Sunday; rows are
// the slots 1 to 24.
using TimetableColumn = std::array<QString, 24>;
using TimetableGrid = std::array<TimetableColumn, 7>;

// Which of the three leave choices is checked.
enum class LeaveChoice { None, Temporary, Definitive, Clear };

// The values the form shows.
struct DoctorForm
{
    QString code;       // ECod
    QString name;       // ENome
    QString specialty;  // CBEsp
    QString room;       // ESala
    QString floor;      // EAndar
    QString shift;      // ETurno
    QString leaveStart; // ESaida
    QString leaveEnd;   // ERetorno
    TimetableGrid grid; // SGHorasDias
    LeaveChoice leave = LeaveChoice::None;
};

// How far a save went.
struct SaveResult
{
    bool weekdaysUnchecked = false; // it reached the timetable steps
    bool recordWritten = false;     // the record of the code was written
    bool completed = false;         // it ran to its end
};

class DoctorEditor
{
public:
    explicit DoctorEditor(AppContext &context);
    DoctorEditor(const DoctorEditor &) = delete;
    DoctorEditor &operator=(const DoctorEditor &) = delete;

    // The form's notice "Aguarde alguns segundos ..." is shown (true) or erased.
    void setNoticeHandler(std::function<void(bool)> handler) { m_notice = std::move(handler); }

    // Opening the form: the flags cleared, the monthly table read, the boxes emptied
    // (the shift "1").
    DoctorForm open();
    // The items of the specialty list: the lines of Esp.Txt.
    QStringList specialtyItems() const;

    // A click in the code box: everything emptied, the shift "1".
    DoctorForm codeClicked();
    // A change of the code box: the doctor whose code is the first two characters of
    // the text fills the boxes, and the grid takes that code's timetable.
    void codeChanged(DoctorForm &form);

    // A click in the time list: the checked weekday columns (Monday first) take the
    // selected times, in list order, from slot 1 down; the first 24 count.
    void timesChosen(DoctorForm &form, const QStringList &selected, const std::array<bool, 7> &checked);
    // A click in the grid.
    void gridTouched() { m_timetableTouched = true; }
    // "Limpar Grade".
    static void clearGrid(DoctorForm &form);
    // "Voltar Horários Iniciais": the grid from the stored timetable of the code.
    void restoreTimes(DoctorForm &form) const;

    // The leave choices.
    void chooseTemporaryLeave(DoctorForm &form);
    void chooseDefinitiveLeave(DoctorForm &form);
    void clearLeave(DoctorForm &form);

    // "Alterar, Incluir ou Excluir".
    SaveResult save(DoctorForm &form);

    // Closing: the mirror snapshot when mirroring is on and the table changed.
    void snapshotIfNeeded();
    // Closing: the register files and MedMeses.Txt when the register changed, and
    // their mirror copies.
    void writeFiles();

    // The free-code list over the three red lines.
    std::array<QString, 3> freeCodeLines() const;
    static std::array<QString, 3> freeCodeLines(const QString &list);

    // The grid of a code's stored timetable.
    TimetableGrid storedGrid(int code) const;
    // Sorts a column: ascending times, the empty cells at the bottom.
    static void sortColumn(TimetableColumn &column);
    // The code of the box text when it is a whole number from 1 to 50.
    static std::optional<int> codeNumber(const QString &text);
    // The weekday (1 = Sunday) of a grid column.
    static int weekdayOfColumn(int column) { return column == 6 ? 1 : column + 2; }

    bool registerChanged() const { return m_registerChanged; }
    bool leaveMode() const { return m_leaveMode; }
    bool timetableTouched() const { return m_timetableTouched; }
    bool tableChanged() const { return m_tableChanged; }
    const DoctorMonths &months() const { return m_months; }

private:
    void notice(bool shown);
    // The stored leave of a code, when it holds two dates.
    std::optional<LeavePeriod> storedLeave(int code) const;
    void restoreStoredLeave(int code);
    void markNewLeave(int code, const LeavePeriod &leave, QDate preparedLimit);
    // The sheets of the leaves this save restored or marked show the register's leave.
    void showRegisteredLeave(int code);
    void runSave(DoctorForm &form, SaveResult &result);
    bool applyLeave(DoctorForm &form, int code);
    bool normaliseGrid(DoctorForm &form);
    void writeRecord(int code, const DoctorForm &form);
    // Blanks the record and the timetable of a code and moves its appointments of the
    // leave; the counts of MedMeses.Txt were moved before.
    void removeDoctor(int code, const LeavePeriod &leave, DoctorForm &form);
    void showMovedMessage();

    AppContext &m_context;
    DoctorMonths m_months;
    std::function<void(bool)> m_notice;
    std::vector<LeavePeriod> m_sheetLeaves; // restored or marked by the running save
    bool m_noticeShown = false;

    bool m_registerChanged = false;
    bool m_leaveMode = false;
    bool m_timetableTouched = false;
    bool m_tableChanged = false;
};

} // namespace clinora
