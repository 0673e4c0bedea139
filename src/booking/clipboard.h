// The appointment clipboard: the patient cut by "Exportar" and pasted by "Importar",
// shared by the appointment dialog and the rebooking dialog.
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
