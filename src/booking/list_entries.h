// The rows a list grid shows ("Desmarcadas", "Em Espera"), as a model: the six columns
// of each entry held as one block of UTF-8 text, so that a list of many thousand
// entries takes little more memory than its own text.
#pragma once

#include "store/appointment_table.h"

#include <QAbstractTableModel>
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

    // Runs the query and shows its rows, in key order.
    void open(AppointmentTable &table, const ListQuery &query);
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

    // The fields of row i follow one another from m_starts[i], each ended by a NUL.
    std::string m_text;
    std::vector<quint32> m_starts;
    ListQuery m_query;
    bool m_open = false;
};

} // namespace clinora
