// The rows a list grid shows ("Desmarcadas", "Em Espera"), as a model: the six columns
// of each entry held as one block of UTF-8 text, so that a list of many thousand
// entries takes little more memory than its own text.
#pragma once

#include "store/appointment_table.h"

#include <QAbstractTableModel>
#include <QDate>
#include <string>
#include <vector>

namespace clinora {

class ListEntries : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListEntries)

public:
    enum Column { Data, Hora, Medico, Paciente, Telefone, Situacao, kColumns };

    explicit ListEntries(QObject *parent = nullptr);

    // Runs the query and shows its rows. Cancelled entries come by real date, then slot
    // and doctor as numbers, when today is given (see cancelledDayOrder); other rows
    // come in key order.
    void open(AppointmentTable &table, const ListQuery &query, QDate today = {});
    // Empties the grid; the list stays closed until it is opened again.
    void close();
    bool isOpen() const { return m_open; }
    // The query of the open list.
    const ListQuery &query() const { return m_query; }

    int count() const { return static_cast<int>(m_starts.size()); }
    QString text(int row, int column) const;
    AppointmentKey key(int row) const;
    // The row of an entry, or -1 when the list does not hold it.
    int rowOf(const AppointmentKey &key) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QByteArrayView field(int row, int column) const;
    void sortCancelled(QDate today);

    // The fields of row i follow one another from m_starts[i], each ended by a NUL.
    std::string m_text;
    std::vector<quint32> m_starts;
    ListQuery m_query;
    bool m_open = false;
};

// The day of a cancelled entry's Data ("dd/mm" + "P/", "H/" or "HA/") as yyyymmdd, for
// sorting. The entry keeps no year: it is taken as the latest one that does not put the
// day past a month from today, the farthest an appointment can be booked, so that in
// January a December entry comes before the January ones and in December a January
// entry comes after them. A Data without a day and month gives 0.
int cancelledDayOrder(QStringView data, QDate today);

} // namespace clinora
