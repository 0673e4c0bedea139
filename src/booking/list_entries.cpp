#include "booking/list_entries.h"

#include "platform/errors.h"

#include <cstring>
#include <limits>

namespace clinora {

namespace {

const char *const kHeadings[] = {"Data", "Hora", "Medico", "Paciente", "Telefone", "Situacao"};

int compare(QByteArrayView a, const QByteArray &b)
{
    return a.compare(QByteArrayView(b), Qt::CaseSensitive);
}

} // namespace

ListEntries::ListEntries(QObject *parent) : QAbstractTableModel(parent)
{
}

void ListEntries::open(AppointmentTable &table, const ListQuery &query)
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
    // The rows come in key order (Data, Hora, Medico compared as bytes).
    const QByteArray wanted[] = {key.data.toUtf8(), key.hora.toUtf8(), key.medico.toUtf8()};
    const auto order = [&](int row) {
        for (int c = 0; c < 3; ++c) {
            if (const int r = compare(field(row, c), wanted[c]))
                return r;
        }
        return 0;
    };
    int low = 0;
    int high = count() - 1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        const int r = order(mid);
        if (r == 0)
            return mid;
        if (r < 0)
            low = mid + 1;
        else
            high = mid - 1;
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
