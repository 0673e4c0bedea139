#include "store/appointment.h"

#include "platform/errors.h"

namespace clinora {

QString AppointmentKey::text() const
{
    return QStringLiteral("Data %1, Hora %2, Medico %3").arg(data, hora, medico);
}

const QString &Appointment::value(Field f) const
{
    return const_cast<Appointment *>(this)->value(f);
}

QString &Appointment::value(Field f)
{
    switch (f) {
    case Field::Data: return data;
    case Field::Hora: return hora;
    case Field::Medico: return medico;
    case Field::Paciente: return paciente;
    case Field::Telefone: return telefone;
    case Field::Situacao: return situacao;
    case Field::Observacoes: return observacoes;
    }
    return observacoes;
}

int fieldWidth(Field f)
{
    switch (f) {
    case Field::Data: return 8;
    case Field::Hora: return 2;
    case Field::Medico: return 2;
    case Field::Paciente: return 25;
    case Field::Telefone: return 12;
    case Field::Situacao: return 1;
    case Field::Observacoes: return -1;
    }
    return -1;
}

Field fieldByName(const QString &name)
{
    static const char *const names[] = {"Data", "Hora", "Medico", "Paciente",
                                        "Telefone", "Situacao", "Observacoes"};
    for (int i = 0; i < 7; ++i) {
        if (name.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return static_cast<Field>(i);
    }
    throw StoreError(QStringLiteral("Campo desconhecido: %1").arg(name));
}

} // namespace clinora
