#include "booking/appointment_editor.h"

#include "app/context.h"
#include "booking/bookable.h"
#include "booking/slip.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

namespace clinora {

namespace {

QString firstChar(const QString &text)
{
    return text.left(1);
}

} // namespace

AppointmentEditor::AppointmentEditor(AppContext &context) : m_context(context) {}

void AppointmentEditor::prepare(const CurrentCell &cell)
{
    m_cell = cell;
    const QString date = m_context.sheets.dateOfDay(cell.day);
    const int weekday = m_context.sheets.weekdayOfDay(cell.day);
    m_doctorName = DoctorRegister::validCode(cell.code) ? m_context.doctors.doctor(cell.code).name : QString();
    m_timeLabel = (weekday > 0 && DoctorRegister::validCode(cell.code)
                       ? m_context.doctors.time(weekday, cell.code, cell.slot)
                       : QString())
                  + QStringLiteral("  Hs");

    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    cursor.open();
    const AppointmentKey key{date, QString::number(cell.slot), QString::number(cell.code)};
    if (!cursor.locate(key)) {
        cursor.append();
        cursor.setField(Field::Data, key.data);
        cursor.setField(Field::Medico, key.medico);
        cursor.setField(Field::Hora, key.hora);
    }
}

void AppointmentEditor::activate()
{
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    m_shown = cursor.row();
    m_existing = !m_shown.paciente.isEmpty();
    if (!m_existing) {
        m_shown.situacao = QStringLiteral("1");
        cursor.setField(Field::Situacao, m_shown.situacao);
    }
    m_before = m_shown;
    m_before.observacoes = m_before.observacoes.left(200);
}

QString AppointmentEditor::room() const
{
    const int code = m_shown.medico.toInt();
    return DoctorRegister::validCode(code) ? m_context.doctors.doctor(code).room : QString();
}

QString AppointmentEditor::floor() const
{
    const int code = m_shown.medico.toInt();
    return DoctorRegister::validCode(code) ? m_context.doctors.doctor(code).floor : QString();
}

bool AppointmentEditor::importOffered() const
{
    return !m_existing && m_context.clipboard.holdsName();
}

QStringList AppointmentEditor::situationItems() const
{
    return textfile::readLines(m_context.file(files::kSituations));
}

bool AppointmentEditor::passes(Check check, const TypedAppointment &typed)
{
    if (typed.paciente.trimmed().isEmpty()) {
        m_context.dialogs.information(QStringLiteral("Campo Nome é obrigatório"));
        return false;
    }
    if (firstChar(typed.situacao).trimmed().isEmpty() && typed.paciente != QLatin1String("R")) {
        switch (check) {
        case Check::Incluir:
            m_context.dialogs.information(QStringLiteral(" O Campo Situação é obrigatório - refazer a inclusão"));
            break;
        case Check::Alterar:
            m_context.dialogs.information(QStringLiteral(" O Campo Situação é obrigatório - refazer a alteração"));
            break;
        case Check::Exportar:
            m_context.dialogs.information(
                QStringLiteral("O Campo Situação é obrigatório para \"exportar\" a consulta"));
            break;
        }
        return false;
    }
    return true;
}

void AppointmentEditor::write(const TypedAppointment &typed)
{
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    cursor.setField(Field::Paciente, typed.paciente);
    cursor.setField(Field::Telefone, typed.telefone);
    cursor.setField(Field::Situacao, firstChar(typed.situacao));
    cursor.setField(Field::Observacoes, typed.observacoes);
}

QString AppointmentEditor::mark() const
{
    return m_context.DMMedicos.TMedicos.field(Field::Paciente) == QLatin1String("R") ? QStringLiteral("R")
                                                                                      : QStringLiteral("C");
}

void AppointmentEditor::setCurrentCell(const QString &text)
{
    m_context.sheets.sheet(m_cell.day).setCell(m_cell.slot, m_cell.code, text);
}

void AppointmentEditor::journalLine(QChar op, const Appointment &row)
{
    m_context.journal.add(journal::line(op, row, localDateTimeText(m_context.clock)));
}

bool AppointmentEditor::bookable()
{
    // A slot without a time may be booked; a closed or unprepared date may not.
    const QString refusal = bookingRefusal(m_context.paths, m_context.DMMedicos.TMedicos.field(Field::Data));
    if (refusal.isEmpty())
        return true;
    m_context.dialogs.information(refusal);
    return false;
}

bool AppointmentEditor::incluir(const TypedAppointment &typed)
{
    if (!passes(Check::Incluir, typed) || !bookable())
        return false;
    write(typed);
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    cursor.post();
    setCurrentCell(mark());
    // The journal follows the table: lines only for a change that happened.
    journalLine(QLatin1Char('I'), cursor.row());
    return true;
}

bool AppointmentEditor::alterar(const TypedAppointment &typed)
{
    if (!passes(Check::Alterar, typed))
        return false;
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    cursor.edit();
    write(typed);
    cursor.post();
    const Appointment &posted = cursor.row();
    journalLine(QLatin1Char('E'), m_before);
    journalLine(QLatin1Char('I'), posted);
    const bool sameDay = posted.data.left(2).toInt() == m_cell.day;
    if (posted.medico.toInt() == m_cell.code && posted.hora.toInt() == m_cell.slot && sameDay) {
        setCurrentCell(mark());
    } else {
        setCurrentCell(QString());
        if (sameDay)
            m_context.sheets.sheet(m_cell.day).setCell(posted.hora.toInt(), posted.medico.toInt(), mark());
    }
    return true;
}

bool AppointmentEditor::excluir()
{
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    cursor.remove();
    setCurrentCell(QString());
    journalLine(QLatin1Char('E'), m_before);
    return true;
}

bool AppointmentEditor::cancelar(QChar who, const TypedAppointment &typed)
{
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    // The values typed go with the row, as they would have been posted with it.
    cursor.edit();
    write(typed);
    const Appointment edited = cursor.row();
    const QString newData = edited.data.left(5) + who + QLatin1Char('/');
    AppointmentTable &table = m_context.DMMedicos.table();
    const AppointmentKey key = m_before.key();
    sql::Transaction transaction(table.database());
    table.update(key, edited);
    const Appointment moved = table.moveTo(key, newData);
    transaction.commit();
    cursor.cancel();
    cursor.locate(moved.key());
    setCurrentCell(QString());
    journalLine(QLatin1Char('E'), m_before);
    journalLine(QLatin1Char('I'), moved);
    if (cancelledListChanged)
        cancelledListChanged();
    return true;
}

bool AppointmentEditor::exportar(const TypedAppointment &typed)
{
    if (!passes(Check::Exportar, typed))
        return false;
    if (m_context.clipboard.holdsName()) {
        m_context.dialogs.information(m_context.clipboard.cutRefusal());
        return false;
    }
    // The row goes first: a failed delete leaves nothing in the clipboard to book twice.
    m_context.DMMedicos.TMedicos.remove();
    m_context.clipboard.cut(typed.paciente, typed.telefone, typed.situacao, typed.observacoes);
    setCurrentCell(QString());
    journalLine(QLatin1Char('E'), m_before);
    return true;
}

bool AppointmentEditor::importar()
{
    if (!bookable())
        return false;
    const AppointmentClipboard &clip = m_context.clipboard;
    write({clip.name, clip.phone, clip.situation, clip.remarks});
    TableCursor &cursor = m_context.DMMedicos.TMedicos;
    cursor.post();
    setCurrentCell(mark());
    journalLine(QLatin1Char('I'), cursor.row());
    m_context.clipboard.clear();
    return true;
}

void AppointmentEditor::imprimir()
{
    Slip{m_doctorName, m_shown.data, m_timeLabel, room(), floor(), true}.print(m_context.printer);
}

void AppointmentEditor::sair()
{
    m_context.DMMedicos.TMedicos.close();
}

} // namespace clinora
