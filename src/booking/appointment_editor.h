// What the appointment dialog does with one doctor's slot on one date: it locates the
// slot's row (or starts a new one), and books, changes, deletes, cancels, cuts, pastes
// and prints it, updating the sheet cell and the journal.
#pragma once

#include "store/appointment.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace clinora {

class AppContext;

// The sheet cell the dialog was opened from.
struct CurrentCell
{
    int day = 0;  // day number 1 to 31
    int slot = 0; // column
    int code = 0; // row = doctor code
};

// What the receptionist typed into the dialog.
struct TypedAppointment
{
    QString paciente;
    QString telefone;
    QString situacao;     // the situation box's text ("2  Convênio")
    QString observacoes;
};

class AppointmentEditor
{
public:
    explicit AppointmentEditor(AppContext &context);

    // Prepares the dialog for a cell: the doctor's name and the slot's time label, the
    // table cursor on the slot's row or on a new row carrying its key.
    void prepare(const CurrentCell &cell);

    // Becoming active: the row as it stands (a new row gets situation "1"), and the
    // before image of the journal is taken.
    void activate();

    const CurrentCell &cell() const { return m_cell; }
    QString doctorName() const { return m_doctorName; }
    QString timeLabel() const { return m_timeLabel; }
    QString room() const;
    QString floor() const;
    // The row as the dialog shows it (Data, Hora, Medico and the values).
    const Appointment &shown() const { return m_shown; }
    bool existing() const { return m_existing; }
    bool importOffered() const;
    // The situation items (the lines of Sit.Txt).
    QStringList situationItems() const;

    // Each operation returns true when it is done and the dialog closes; false when a
    // check refused it (its message already shown). Store errors are thrown.
    bool incluir(const TypedAppointment &typed);
    bool alterar(const TypedAppointment &typed);
    bool excluir();
    bool cancelar(QChar who, const TypedAppointment &typed); // 'P' patient, 'H' hospital
    bool exportar(const TypedAppointment &typed);
    bool importar();
    void imprimir();
    // Leaving without saving: unposted changes are dropped.
    void sair();

    // Called after a cancellation, so the cancelled list can follow.
    std::function<void()> cancelledListChanged;

private:
    enum class Check { Incluir, Alterar, Exportar };
    bool passes(Check check, const TypedAppointment &typed);
    // Refuses, with its message, a new booking on a closed or unprepared date.
    bool bookable();
    void write(const TypedAppointment &typed);
    QString mark() const;
    void setCurrentCell(const QString &text);
    void journalLine(QChar op, const Appointment &row);

    AppContext &m_context;
    CurrentCell m_cell;
    QString m_doctorName;
    QString m_timeLabel;
    Appointment m_shown;
    Appointment m_before;
    bool m_existing = false;
};

} // namespace clinora
