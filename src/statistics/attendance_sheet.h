// The attendance sheet ("Ficha de Atendimentos") of one doctor and one day: a row per
// timetable slot with the patient booked in it, the telephone, the situation and the
// presence; filled for the booking screen's view or for the individual entry, and
// recorded into the weekly table and the pending movements.
#pragma once

#include <QDate>
#include <QString>
#include <array>

namespace clinora {

class AppContext;
class AppointmentTable;
class DayWindow;
class DoctorRegister;

struct SheetRow
{
    QString date;      // dd/mm/yy
    QString slot;      // 1 to 24
    QString time;      // the doctor's time of the slot that weekday
    QString doctor;    // doctor number
    QString patient;   // Paciente
    QString telephone; // Telefone
    QString situation; // Situacao
    QString presence;  // "S" when present

    bool isEmpty() const { return date.isEmpty(); }
};

// The boxes of a row on the form.
struct SheetBoxes
{
    QString time;
    QString patient;
    QString telephone;
    QString situation;
    bool present = false;
};

class AttendanceSheet
{
public:
    static constexpr int kRows = 24;

    // The booking screen's view: one row per slot that is booked or has a time, in
    // slot order from row 1. The times are those of the date's own weekday.
    void fillForView(AppointmentTable &table, const DoctorRegister &doctors, QDate date, int doctor);
    // The individual entry: row k is slot k, with its time and its appointment.
    void fillForEntry(AppointmentTable &table, const DoctorRegister &doctors, QDate date, int doctor);
    void clear();

    // Rows 1 to 24.
    const SheetRow &row(int k) const { return m_rows.at(static_cast<std::size_t>(k - 1)); }
    QDate date() const { return m_date; }
    int doctor() const { return m_doctor; }

    // The boxes as the sheet opens: a booked patient ticked present, with situation "1"
    // when he has none; a reserved hour ("R") unticked and without a situation.
    std::array<SheetBoxes, kRows> openingBoxes() const;

private:
    void fill(AppointmentTable &table, const DoctorRegister &doctors, QDate date, int doctor, bool packed);

    std::array<SheetRow, kRows> m_rows;
    QDate m_date;
    int m_doctor = 0;
};

// Why F3 on a booking-screen cell has no sheet to show (no doctor on the row, a day
// its month lacks); empty when it has one.
QString sheetRefusal(const DoctorRegister &doctors, const DayWindow &days, int day, int doctor);

// "Gravar Presenças" with the boxes as the user left them: the year must be open,
// every situation a digit and every present patient with one, the date in a week;
// then the day's counts go to PrevReal.Txt and MovMes.Txt in one commit. A doctor's
// day recorded before is asked about and, on Yes, replaced rather than added to. True
// when recorded; otherwise the reason was shown and nothing was written.
bool recordSheet(AppContext &context, const AttendanceSheet &sheet, const std::array<SheetBoxes, 24> &boxes);

} // namespace clinora
