#include "search/slot_search.h"

#include "store/clinic.h"
#include "platform/dates.h"
#include "platform/errors.h"
#include "platform/sqlite.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <cstring>

namespace clinora {

namespace {

const char *const kHeadings[] = {"Dia",      "Médico", "Horário", "Paciente",
                                 "Telefone", "CodMed", "CodHora", "Data"};

void appendField(std::string &text, QByteArrayView value)
{
    text.append(value.data(), static_cast<std::size_t>(value.size()));
    text.push_back('\0');
}

} // namespace

void SlotSearch::clear()
{
    std::vector<Row>().swap(m_rows);
    std::string().swap(m_text);
    m_dates.clear();
    std::vector<quint8>().swap(m_weekdays);
    std::vector<quint32>().swap(m_timeAt);
    std::string().swap(m_timeText);
    m_weekdayKept.fill(false);
    m_codes.clear();
    std::vector<bool>().swap(m_leave);
    m_stamp = {};
}

void SlotSearch::keepTimes(const DoctorRegister &doctors, int weekday)
{
    if (m_weekdayKept[static_cast<std::size_t>(weekday)])
        return;
    m_weekdayKept[static_cast<std::size_t>(weekday)] = true;
    for (const int code : m_codes) {
        for (int h = 1; h <= DoctorRegister::kSlots; ++h) {
            const QString &time = doctors.time(weekday, code, h);
            if (time.isEmpty())
                continue;
            m_timeAt[timeIndex(weekday, code, h)] = static_cast<quint32>(m_timeText.size());
            appendField(m_timeText, time.toUtf8());
        }
    }
}

void SlotSearch::run(Clinic &context, const QStringList &codes, const QStringList &dates)
{
    clear();
    const DoctorRegister &doctors = context.doctors;
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c)
        m_names[static_cast<std::size_t>(c)] = doctors.doctor(c).name;
    // Whether a doctor is among the chosen, and where, by code.
    std::array<bool, DoctorRegister::kDoctors + 1> isChosen{};
    for (const QString &text : codes) {
        bool ok = false;
        const int code = text.left(2).trimmed().toInt(&ok);
        if (ok && DoctorRegister::validCode(code)) {
            m_codes.push_back(code);
            isChosen[static_cast<std::size_t>(code)] = true;
        }
    }
    if (m_codes.empty())
        return;

    AppointmentTable &table = context.DMMedicos.table();
    // One read transaction: every date is read from the same state of the table.
    sql::Transaction reading(table.database());
    m_stamp = table.changeStamp();
    m_timeAt.assign(timeIndex(DoctorRegister::kWeekdays + 1, 0, 0), 0);
    // Offset 0 of both texts: an empty time; an empty patient and phone.
    m_timeText.assign(1, '\0');
    m_text.assign(2, '\0');
    for (const QString &data : dates.mid(0, 255)) {
        const QDate date = dates::parseOrThrow(data);
        const int weekday = dates::weekday(date);
        const auto index = static_cast<quint8>(m_dates.size());
        m_dates << data;
        m_weekdays.push_back(static_cast<quint8>(weekday));
        keepTimes(doctors, weekday);
        // The day's rows of the chosen doctors by (doctor, slot): one indexed read of the
        // date, their patient and phone kept as they come.
        std::array<std::array<quint32, DoctorRegister::kSlots + 1>, DoctorRegister::kDoctors + 1> at{};
        table.forEachOnDate(data, [&](const AppointmentTable::DayRow &row) {
            if (row.hora < 1 || row.hora > DoctorRegister::kSlots || !DoctorRegister::validCode(row.medico) ||
                !isChosen[static_cast<std::size_t>(row.medico)])
                return;
            at[static_cast<std::size_t>(row.medico)][static_cast<std::size_t>(row.hora)] =
                static_cast<quint32>(m_text.size());
            appendField(m_text, row.paciente);
            appendField(m_text, row.telefone);
        });
        for (const int code : m_codes) {
            const bool leave = doctors.onLeave(code, date);
            m_leave.push_back(leave);
            const auto &taken = at[static_cast<std::size_t>(code)];
            for (int h = 1; h <= DoctorRegister::kSlots; ++h) {
                const quint32 found = taken[static_cast<std::size_t>(h)];
                if (found != 0)
                    m_rows.push_back(
                        {index, static_cast<quint8>(code), static_cast<quint8>(h), Kind::Booked, found});
                else if (doctors.hasSlot(weekday, code, h))
                    m_rows.push_back({index, static_cast<quint8>(code), static_cast<quint8>(h),
                                      leave ? Kind::Leave : Kind::Free, 0});
            }
        }
    }
    m_rows.shrink_to_fit();
    m_text.shrink_to_fit();
    m_timeText.shrink_to_fit();
}

bool SlotSearch::isCurrent(Clinic &context) const
{
    if (m_codes.empty())
        return true;
    if (context.DMMedicos.table().changeStamp() != m_stamp)
        return false;
    const DoctorRegister &doctors = context.doctors;
    try {
        for (const int code : m_codes) {
            if (doctors.doctor(code).name != m_names[static_cast<std::size_t>(code)])
                return false;
            for (int weekday = 1; weekday <= DoctorRegister::kWeekdays; ++weekday) {
                if (!m_weekdayKept[static_cast<std::size_t>(weekday)])
                    continue;
                for (int h = 1; h <= DoctorRegister::kSlots; ++h) {
                    const char *kept = m_timeText.data() + m_timeAt[timeIndex(weekday, code, h)];
                    if (doctors.time(weekday, code, h).toUtf8() != QByteArrayView(kept, std::strlen(kept)))
                        return false;
                }
            }
        }
        std::size_t leave = 0;
        for (int d = 0; d < m_dates.size(); ++d) {
            const QDate date = dates::parseOrThrow(m_dates[d]);
            for (const int code : m_codes) {
                if (doctors.onLeave(code, date) != m_leave[leave++])
                    return false;
            }
        }
    } catch (const Error &) {
        // A leave that no longer reads: the search, run again, tells why.
        return false;
    }
    return true;
}

QByteArrayView SlotSearch::field(int row, int index) const
{
    const char *p = m_text.data() + m_rows[static_cast<std::size_t>(row)].text;
    for (int i = 0; i < index; ++i)
        p += std::strlen(p) + 1;
    return QByteArrayView(p, static_cast<qsizetype>(std::strlen(p)));
}

QString SlotSearch::time(int row) const
{
    const Row &r = m_rows[static_cast<std::size_t>(row)];
    const char *p = m_timeText.data() + m_timeAt[timeIndex(m_weekdays[r.date], r.code, r.slot)];
    return QString::fromUtf8(p, static_cast<qsizetype>(std::strlen(p)));
}

QString SlotSearch::patient(int row) const
{
    return QString::fromUtf8(field(row, 0));
}

QString SlotSearch::phone(int row) const
{
    return QString::fromUtf8(field(row, 1));
}

QString SlotSearch::doctorName(int code) const
{
    return DoctorRegister::validCode(code) ? m_names[static_cast<std::size_t>(code)] : QString();
}

bool SlotSearch::sameDate(int a, int b) const
{
    return m_rows[static_cast<std::size_t>(a)].date == m_rows[static_cast<std::size_t>(b)].date;
}

bool SlotSearch::sameDoctor(int a, int b) const
{
    return sameDate(a, b) && code(a) == code(b);
}

std::size_t SlotSearch::memoryBytes() const
{
    return m_rows.capacity() * sizeof(Row) + m_text.capacity() + m_timeAt.capacity() * sizeof(quint32) +
           m_timeText.capacity() + m_weekdays.capacity() + m_leave.capacity() / 8;
}

SlotGrid::SlotGrid(const SlotSearch &search, Show show, QObject *parent)
    : QAbstractTableModel(parent), m_search(search), m_show(show)
{
}

void SlotGrid::refill()
{
    beginResetModel();
    std::vector<quint32>().swap(m_rows);
    if (m_show == Show::All) {
        m_count = m_search.count();
    } else {
        const bool free = m_show == Show::Free;
        for (int r = 0; r < m_search.count(); ++r) {
            if (m_search.isFree(r) == free)
                m_rows.push_back(static_cast<quint32>(r));
        }
        m_rows.shrink_to_fit();
        m_count = static_cast<int>(m_rows.size());
    }
    m_filled = true;
    endResetModel();
}

void SlotGrid::clear()
{
    beginResetModel();
    std::vector<quint32>().swap(m_rows);
    m_count = 0;
    m_filled = false;
    endResetModel();
}

int SlotGrid::searchRow(int row) const
{
    return m_show == Show::All ? row : static_cast<int>(m_rows[static_cast<std::size_t>(row)]);
}

QString SlotGrid::text(int row, int column) const
{
    if (row < 0 || row >= m_count)
        return {};
    const int r = searchRow(row);
    const int previous = row > 0 ? searchRow(row - 1) : -1;
    const bool newDate = previous < 0 || !m_search.sameDate(previous, r);
    switch (column) {
    case Dia: return newDate ? m_search.date(r) : QString();
    case Medico:
        return newDate || !m_search.sameDoctor(previous, r) ? m_search.doctorName(m_search.code(r))
                                                            : QString();
    case Horario: return m_search.time(r);
    case Paciente:
        switch (m_search.kind(r)) {
        case SlotSearch::Kind::Booked: return m_search.patient(r) + QString(25, QLatin1Char(' '));
        case SlotSearch::Kind::Free: return QString(22, QLatin1Char(' '));
        case SlotSearch::Kind::Leave: return QString(20, QLatin1Char(' ')) + QLatin1Char('x');
        }
        return {};
    case Telefone:
        if (m_search.kind(r) != SlotSearch::Kind::Booked)
            return QString(13, QLatin1Char(' '));
        return m_search.phone(r) > QLatin1String(" ") ? m_search.phone(r) : QStringLiteral(" ");
    case CodMed: return QString::number(m_search.code(r));
    case CodHora: return QString::number(m_search.slot(r));
    case Data: return m_search.date(r);
    default: return {};
    }
}

DrawnList SlotGrid::printed() const
{
    DrawnList list;
    list.title = QStringLiteral("Pesquisas Diversas");
    const QString title = m_show == Show::All    ? QStringLiteral("RELAÇÃO DE TODOS OS HORÁRIOS")
                          : m_show == Show::Free ? QStringLiteral("RELAÇÃO DOS HORÁRIOS LIVRES")
                                                 : QStringLiteral("RELAÇÃO DAS CONSULTAS MARCADAS");
    // The names take the room the page has: a doctor's or a patient's 25 characters
    // whole, the telephone after them.
    list.head = {{800, 130, title},
                 {200, 200, QStringLiteral("Data")},
                 {400, 200, QStringLiteral("Médico")},
                 {1050, 200, QStringLiteral("Horário")},
                 {1250, 200, QStringLiteral("Paciente")},
                 {1920, 200, QStringLiteral("Telefone")}};
    list.columns = {200, 400, 1050, 1250, 1920};
    // A page that starts inside a date or a doctor names them again.
    list.groupColumns = {0, 1};
    list.firstRowY = 250;
    for (int row = 0; row < m_count; ++row) {
        list.rows << QStringList{textfile::fixed(text(row, Dia), 8), textfile::fixed(text(row, Medico), 25),
                                 textfile::fixed(text(row, Horario), 5),
                                 textfile::fixed(text(row, Paciente), 25),
                                 textfile::fixed(text(row, Telefone), 12)};
    }
    return list;
}

int SlotGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int SlotGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant SlotGrid::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QVariant SlotGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(kHeadings[section]);
}

namespace search {

QStringList doctorItems(const DoctorRegister &doctors)
{
    QStringList items;
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        if (!doctors.isFree(c))
            items
                << ((QString::number(c) + QStringLiteral("    ")).left(6) + doctors.doctor(c).name).left(31);
    }
    return items;
}

QStringList doctorItemsOf(const DoctorRegister &doctors, const QStringList &specialtyItems)
{
    QStringList items;
    for (const QString &specialty : specialtyItems) {
        const QString code = specialty.left(2);
        for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
            const Doctor &d = doctors.doctor(c);
            if (!d.isFree() && d.specialty.left(2) == code)
                items << QString::number(c) + QStringLiteral("    ") + d.name;
        }
    }
    return items;
}

QStringList specialtyItems(const SpecialtyTable &specialties)
{
    QStringList items;
    for (int code = SpecialtyTable::kFirst; code <= SpecialtyTable::kLast; ++code) {
        const RegisterEntry &entry = specialties.entry(code);
        if (entry.name.trimmed().isEmpty())
            continue;
        items << ((QString::number(code) + QStringLiteral("    ")).left(6) + textfile::trimRight(entry.name))
                     .left(21);
    }
    return items;
}

QList<int> matchingItems(const QStringList &items, const QString &typed)
{
    QList<int> found;
    const auto length = typed.size();
    if (length == 0 || length >= 25)
        return found;
    for (int i = 0; i < items.size(); ++i) {
        for (qsizetype start = 0; start < 25 - length; ++start) {
            if (QStringView(items[i]).mid(start, length) == typed) {
                found << i;
                break;
            }
        }
    }
    return found;
}

} // namespace search

} // namespace clinora
