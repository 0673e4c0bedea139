// What the rebooking dialog does with one entry of the cancelled or waiting list: it
// rebooks it onto a date and slot, corrects it, adds a new waiting entry, cuts it for
// the appointment dialog to paste, records that the patient was told of a hospital
// cancellation, and prints a slip. Every change is posted first and journaled after.
#pragma once

#include "store/appointment.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;

// What the receptionist typed into the dialog.
struct TypedEntry
{
    QString data;
    QString hora;
    QString medico;
    QString paciente;
    QString telefone;
    QString situacao; // the situation box's text ("2  Convênio")
    QString observacoes;
};

class RebookingEditor
{
public:
    enum class Origin { Cancelled, Waiting, NewWaiting };

    explicit RebookingEditor(AppContext &context);

    // Reads an entry of a list to show it; false when the table no longer holds it.
    bool openEntry(const AppointmentKey &key, Origin origin);
    // Starts a new waiting entry under the key of this moment (the next free second
    // when another entry was made in the same one).
    void newWaitingEntry();

    Origin origin() const { return m_origin; }
    // The entry as the dialog shows it: the row read, or the new entry's key.
    const Appointment &shown() const { return m_shown; }
    // An entry with a patient (not a new one).
    bool existing() const { return m_existing; }
    // The doctor's name, or the specialty's for a code above 50.
    QString nameLabel() const;
    // The time of the slot, only for a slot 1 to 24 of a doctor 1 to 50.
    QString timeLabel() const;
    QString room() const;
    QString floor() const;

    // The labels beside the boxes: the doctor (or specialty), the slot's time, the room
    // and the floor.
    struct Labels
    {
        QString name;
        QString time;
        QString room;
        QString floor;
    };
    // The labels of the entry as the boxes now read: a receptionist rebooking reads the
    // time of the slot typed, on the weekday of the date typed, for the doctor typed.
    Labels labelsFor(const TypedEntry &typed) const;
    // A hospital cancellation not yet told ("H/"), or one already told ("HA/").
    bool noticeOffered() const;
    bool noticeGiven() const;
    QStringList situationItems() const;

    // Each operation returns true when it is done and the dialog closes; false when it
    // was refused (its message shown), the dialog open and nothing written.
    bool alterar(const TypedEntry &typed);
    bool incluir(const TypedEntry &typed);
    bool exportar(const TypedEntry &typed);
    bool avisar(const TypedEntry &typed);
    // The slip of the entry as the boxes read.
    void imprimir(const TypedEntry &typed);

    static const QString kNameRequired;
    static const QString kSituationRequired;

private:
    bool nameGiven(const TypedEntry &typed);
    Appointment withTyped(const TypedEntry &typed) const;
    // The checks of a rebooking onto a date; fills the row's key on success.
    bool checkRebooking(const TypedEntry &typed, Appointment &row);
    bool registeredDoctor(int code) const;
    Labels labels(const QString &data, const QString &hora, const QString &medico) const;
    Labels shownLabels() const;
    void journalLine(QChar op, const Appointment &row);
    void markSheet(const Appointment &row);

    AppContext &m_context;
    Origin m_origin = Origin::Cancelled;
    Appointment m_shown;
    bool m_existing = false;
    // The day and second of a new waiting entry's key.
    QDate m_keyDay;
    int m_keySecond = 0;
};

} // namespace clinora
