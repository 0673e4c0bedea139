#include "booking/list_entries.h"

#include "platform/errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <tuple>

namespace clinora {

namespace {

const char *const kHeadings[] = {"Data", "Hora", "Medico", "Paciente", "Telefone", "Situacao"};

// A slot or doctor code as a number; a text that is not one sorts after every number.
int numberOf(QByteArrayView text)
{
    bool ok = false;
    const int n = QByteArray(text.data(), text.size()).trimmed().toInt(&ok);
    return ok ? n : std::numeric_limits<int>::max();
}

bool isCancelledList(const ListQuery &query)
{
    using Kind = ListQuery::Kind;
    return query.kind == Kind::Cancelled || query.kind == Kind::NotNotified ||
           query.kind == Kind::CancelledOf;
}

} // namespace

ListEntries::ListEntries(QObject *parent) : QAbstractTableModel(parent)
{
}

int cancelledDayOrder(QStringView data, QDate today)
{
    bool dayOk = false;
    bool monthOk = false;
    const int day = data.mid(0, 2).toInt(&dayOk);
    const int month = data.mid(3, 2).toInt(&monthOk);
    if (!dayOk || !monthOk || data.size() < 5 || data[2] != QLatin1Char('/') || day < 1 || day > 31 ||
        month < 1 || month > 12 || !today.isValid())
        return 0;
    const QDate reach = today.addMonths(1);
    const int monthDay = month * 100 + day;
    const int year = monthDay <= reach.month() * 100 + reach.day() ? reach.year() : reach.year() - 1;
    return year * 10000 + monthDay;
}

void ListEntries::open(AppointmentTable &table, const ListQuery &query, QDate today)
{
    beginResetModel();
    m_text.clear();
    m_starts.clear();
    m_open = false;
    try {
        table.forEachListed(query, [this](const AppointmentTable::ListedRow &row) {
            if (m_text.size() > std::numeric_limits<quint32>::max() - 4096)
                throw StoreError(QStringLiteral("A lista é grande demais para ser mostrada."));
            m_starts.push_back(static_cast<quint32>(m_text.size()));
            for (const QByteArrayView field : row) {
                m_text.append(field.data(), static_cast<std::size_t>(field.size()));
                m_text.push_back('\0');
            }
        });
    } catch (...) {
        m_text.clear();
        m_starts.clear();
        endResetModel();
        throw;
    }
    m_text.shrink_to_fit();
    m_starts.shrink_to_fit();
    if (today.isValid() && isCancelledList(query))
        sortCancelled(today);
    m_query = query;
    m_open = true;
    endResetModel();
}

void ListEntries::close()
{
    beginResetModel();
    std::string().swap(m_text);
    std::vector<quint32>().swap(m_starts);
    m_open = false;
    endResetModel();
}

void ListEntries::sortCancelled(QDate today)
{
    // The key orders the text "17/03H/" before "18/02H/" and slot 10 before slot 9; the
    // receptionist reads the list by day and time.
    struct Order
    {
        int day;
        int hora;
        int medico;
        quint32 start;
    };
    std::vector<Order> order;
    order.reserve(m_starts.size());
    for (int row = 0; row < count(); ++row) {
        order.push_back({cancelledDayOrder(QString::fromUtf8(field(row, Data)), today),
                         numberOf(field(row, Hora)), numberOf(field(row, Medico)),
                         m_starts[static_cast<std::size_t>(row)]});
    }
    // Stable: entries of one day, slot and doctor ("P/" beside "H/") keep their key order.
    std::stable_sort(order.begin(), order.end(), [](const Order &a, const Order &b) {
        return std::tie(a.day, a.hora, a.medico) < std::tie(b.day, b.hora, b.medico);
    });
    for (std::size_t i = 0; i < order.size(); ++i)
        m_starts[i] = order[i].start;
}

QByteArrayView ListEntries::field(int row, int column) const
{
    const char *p = m_text.data() + m_starts[static_cast<std::size_t>(row)];
    for (int c = 0; c < column; ++c)
        p += std::strlen(p) + 1;
    return QByteArrayView(p, static_cast<qsizetype>(std::strlen(p)));
}

QString ListEntries::text(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= kColumns)
        return {};
    return QString::fromUtf8(field(row, column));
}

AppointmentKey ListEntries::key(int row) const
{
    return {text(row, Data), text(row, Hora), text(row, Medico)};
}

int ListEntries::rowOf(const AppointmentKey &key) const
{
    // The rows need not be in key order (cancelled lists come by date): one pass over
    // the list, which is read whole in memory anyway.
    const QByteArray wanted[] = {key.data.toUtf8(), key.hora.toUtf8(), key.medico.toUtf8()};
    for (int row = 0; row < count(); ++row) {
        if (field(row, Data) == wanted[0] && field(row, Hora) == wanted[1] && field(row, Medico) == wanted[2])
            return row;
    }
    return -1;
}

int ListEntries::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int ListEntries::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ListEntries::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QVariant ListEntries::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
}

} // namespace clinora
