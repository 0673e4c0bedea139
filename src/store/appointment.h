// One row of the appointment table Medicos: a booked appointment, a reserved hour,
// a cancelled appointment or a waiting-list entry, told apart by Data and Paciente.
#pragma once

#include <QString>

namespace clinora {

struct AppointmentKey
{
    QString data;   // dd/mm/yy, or dd/mmP/, dd/mmH/, dd/mmHA/, or 4... (waiting list)
    QString hora;   // slot 1 to 24 (raised on the cancelled list; two digits waiting)
    QString medico; // doctor code 1 to 50 (or a specialty code on the waiting list)

    bool operator==(const AppointmentKey &) const = default;
    // "Data .., Hora .., Medico ..", as messages name a row.
    QString text() const;

    // A dated row: the sixth character of Data is "/".
    bool isDated() const { return data.size() >= 6 && data.at(5) == QLatin1Char('/'); }
    // The cancelled list: Data ends with "/" but is not a date (P/, H/, HA/).
    bool isCancelled() const { return data.endsWith(QLatin1Char('/')) && !isDated(); }
    // The waiting list: Data begins with "4".
    bool isWaiting() const { return data.startsWith(QLatin1Char('4')); }
};

enum class Field { Data, Hora, Medico, Paciente, Telefone, Situacao, Observacoes };

struct Appointment
{
    QString data;
    QString hora;
    QString medico;
    QString paciente;
    QString telefone;
    QString situacao;
    QString observacoes;

    AppointmentKey key() const { return {data, hora, medico}; }
    bool operator==(const Appointment &) const = default;

    const QString &value(Field f) const;
    QString &value(Field f);

    // Kinds of rows.
    bool isDated() const { return key().isDated(); }
    bool isCancelled() const { return key().isCancelled(); }
    bool isWaiting() const { return key().isWaiting(); }
    bool isReserved() const { return paciente == QLatin1String("R"); }
};

// Field widths of the table; longer texts are cut.
int fieldWidth(Field f);
// The field of a name ("Data", "Paciente", ...); throws StoreError for another name.
Field fieldByName(const QString &name);

} // namespace clinora
