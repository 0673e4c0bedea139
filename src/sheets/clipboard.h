// The appointment clipboard: the patient cut by "Exportar" and pasted by "Importar",
// shared by the appointment dialog and the rebooking dialog. It holds one patient at a
// time: the row is gone from the table while the patient waits here, so a second cut
// would lose the first patient, and a second paste would book the same patient twice.
#pragma once

#include <QString>

namespace clinora {

struct AppointmentClipboard
{
    QString name;      // the patient name followed by 26 blanks
    QString phone;     // the telephone followed by 12 blanks
    QString situation; // the situation's first character
    QString remarks;

    // "Importar" is offered while the clipboard holds a name.
    bool holdsName() const { return !name.trimmed().isEmpty(); }

    // Why "Exportar" must wait, while a patient cut before has not been pasted.
    QString cutRefusal() const
    {
        return QStringLiteral("O paciente %1 foi exportado e ainda não foi importado.\n"
                              "Marque-o antes com \"Importar\" num horário livre; depois exporte o "
                              "próximo paciente.")
            .arg(name.trimmed());
    }

    // "Importar" booked the patient: nothing is left to paste.
    void clear() { *this = AppointmentClipboard{}; }

    // "Exportar": the patient as typed, the situation box's text reduced to its code.
    void cut(const QString &patient, const QString &telefone, const QString &situacao, const QString &observacoes)
    {
        name = patient + QString(26, QLatin1Char(' '));
        phone = telefone + QString(12, QLatin1Char(' '));
        situation = situacao.left(1);
        remarks = observacoes;
    }
};

} // namespace clinora
