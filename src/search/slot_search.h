// The slot search of "Pesquisas Diversas": every timetable slot and every appointment of
// the chosen doctors on the chosen dates, as compact rows, and the three result grids
// ("Todos", "Livres", "Ocupados") as views on them. Free and occupied hours are taken
// from the rows in memory, never read again.
#pragma once

#include "platform/printer.h"
#include "store/appointment_table.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

namespace clinora {

class Clinic;
class DoctorRegister;
class SpecialtyTable;

class SlotSearch
{
public:
    enum class Kind : quint8 {
        Booked, // a row of the table: an appointment or a reserved hour ("R")
        Free,   // a timetable slot without a row
        Leave,  // a timetable slot without a row, the doctor on leave that day
    };

    // Reads the chosen dates (dd/mm/yy) in order and, for each, the chosen doctors (the
    // first two characters of their items) in order: one indexed read per date.
    void run(Clinic &context, const QStringList &codes, const QStringList &dates);
    void clear();
    // Whether running again on the same doctors and dates would give these same rows:
    // nothing was written into the table, and the chosen doctors' names, leaves and start
    // times on the searched weekdays are what they were, since the search ran.
    bool isCurrent(Clinic &context) const;

    int count() const { return static_cast<int>(m_rows.size()); }
    QString date(int row) const { return m_dates.at(m_rows[static_cast<std::size_t>(row)].date); }
    int code(int row) const { return m_rows[static_cast<std::size_t>(row)].code; }
    int slot(int row) const { return m_rows[static_cast<std::size_t>(row)].slot; }
    Kind kind(int row) const { return m_rows[static_cast<std::size_t>(row)].kind; }
    bool isFree(int row) const { return kind(row) == Kind::Free; }
    QString time(int row) const;
    QString patient(int row) const;
    QString phone(int row) const;
    // The doctor's name as it was when the search ran.
    QString doctorName(int code) const;
    // Whether two rows belong to the same date, and to the same doctor on it.
    bool sameDate(int a, int b) const;
    bool sameDoctor(int a, int b) const;

    // The bytes the rows take in memory.
    std::size_t memoryBytes() const;

private:
    struct Row
    {
        quint8 date; // index into m_dates
        quint8 code;
        quint8 slot;
        Kind kind;
        quint32 text; // patient and phone in m_text, each ended by a NUL (at 0: both empty)
    };
    static constexpr int kSlotsPerDoctor = 25; // slots 1 to 24
    static constexpr int kDoctorsPerDay = 51;  // codes 1 to 50
    static std::size_t timeIndex(int weekday, int code, int slot)
    {
        return (static_cast<std::size_t>(weekday) * kDoctorsPerDay + static_cast<std::size_t>(code)) *
                   kSlotsPerDoctor +
               static_cast<std::size_t>(slot);
    }
    // Keeps the chosen doctors' start times of a weekday, once per search.
    void keepTimes(const DoctorRegister &doctors, int weekday);
    QByteArrayView field(int row, int index) const;

    std::vector<Row> m_rows;
    std::string m_text;
    QStringList m_dates;
    std::vector<quint8> m_weekdays; // of each date
    std::array<QString, 51> m_names;
    // The start times as they were when the search ran: offsets into m_timeText by
    // (weekday, doctor, slot); 0 is the empty text.
    std::vector<quint32> m_timeAt;
    std::string m_timeText;
    std::array<bool, 8> m_weekdayKept{};
    // What the result rests on, to tell whether it is still current.
    std::vector<int> m_codes;
    std::vector<bool> m_leave; // per date and chosen doctor
    AppointmentTable::ChangeStamp m_stamp;
};

// One of the three result grids: every row ("Todos"), the free ones (" Livres") or the
// others ("Ocupados"). The date shows on the first row of each date, the doctor's name
// on the first row of each doctor, as in the grid's own rows.
class SlotGrid : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlotGrid)

public:
    enum class Show { All, Free, Occupied };
    enum Column { Dia, Medico, Horario, Paciente, Telefone, CodMed, CodHora, Data, kColumns };

    SlotGrid(const SlotSearch &search, Show show, QObject *parent = nullptr);

    Show show() const { return m_show; }
    // Takes the search's rows (the free or the occupied ones of them).
    void refill();
    void clear();

    // The search row of a grid row.
    int searchRow(int row) const;
    QString text(int row, int column) const;

    // The printout of the grid: its title, the headings and one line per row.
    DrawnList printed() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::size_t memoryBytes() const { return m_rows.capacity() * sizeof(quint32); }

private:
    const SlotSearch &m_search;
    Show m_show;
    bool m_filled = false;
    std::vector<quint32> m_rows; // search rows, for the free and occupied grids
    int m_count = 0;
};

namespace search {

// The doctor items by doctor: the code followed by four blanks (cut to six) and the
// name, cut to 31 in all, for every doctor whose name does not begin with a blank.
QStringList doctorItems(const DoctorRegister &doctors);
// The doctor items of the chosen specialty items (their first two characters), in the
// order of the specialties, each specialty's doctors in code order.
QStringList doctorItemsOf(const DoctorRegister &doctors, const QStringList &specialtyItems);
// The specialty items: code and four blanks cut to six, then the name, cut to 21.
QStringList specialtyItems(const SpecialtyTable &specialties);
// The items the incremental search selects: those holding the typed text (case as
// typed) at a start from 1 to 25 minus its length.
QList<int> matchingItems(const QStringList &items, const QString &typed);

} // namespace search

} // namespace clinora
