#include "booking/rebooking.h"

#include "app/context.h"
#include "booking/bookable.h"
#include "booking/slip.h"
#include "store/waiting_key.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <optional>

namespace clinora {

const QString RebookingEditor::kNameRequired = QStringLiteral("Campo Nome é obrigatório");
const QString RebookingEditor::kSituationRequired =
    QStringLiteral(" O Campo Situação é obrigatório - refazer a inclusão");

namespace {

int numberOf(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

// The date a cancelled entry stood for: its day and month ("dd/mm", the year is not
// kept) in the year that puts it nearest to today.
std::optional<QDate> dateOfEntry(const QString &data, QDate today)
{
    const QString dm = data.left(5);
    if (dm.size() != 5 || dm.at(2) != QLatin1Char('/'))
        return std::nullopt;
    bool dayOk = false;
    bool monthOk = false;
    const int day = dm.left(2).toInt(&dayOk);
    const int month = dm.mid(3, 2).toInt(&monthOk);
    if (!dayOk || !monthOk)
        return std::nullopt;
    std::optional<QDate> best;
    for (int year = today.year() - 1; year <= today.year() + 1; ++year) {
        const QDate candidate(year, month, day);
        if (candidate.isValid() && (!best || qAbs(today.daysTo(candidate)) < qAbs(today.daysTo(*best))))
            best = candidate;
    }
    return best;
}

QString firstChar(const QString &text)
{
    return text.left(1);
}

} // namespace

RebookingEditor::RebookingEditor(AppContext &context) : m_context(context)
{
}

bool RebookingEditor::openEntry(const AppointmentKey &key, Origin origin)
{
    const std::optional<Appointment> row = m_context.DMMedicos.table().find(key);
    if (!row)
        return false;
    m_origin = origin;
    m_shown = *row;
    m_existing = !m_shown.paciente.isEmpty();
    m_context.specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
    return true;
}

void RebookingEditor::newWaitingEntry()
{
    const QDateTime now = m_context.clock.now();
    m_keyDay = now.date();
    const AppointmentKey key = waitingkey::freeKey(m_context.DMMedicos.table(), now);
    m_keySecond = waitingkey::secondOf(key);
    m_origin = Origin::NewWaiting;
    m_shown = {key.data, key.hora, QString(), QString(), QString(), QStringLiteral("1"), QString()};
    m_existing = false;
    m_context.specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
}

RebookingEditor::Labels RebookingEditor::labels(const QString &data, const QString &hora,
                                                const QString &medico) const
{
    Labels result;
    const int code = numberOf(medico);
    if (code > DoctorRegister::kDoctors) {
        result.name = m_context.specialties.name(code).trimmed();
        // A specialty has no timetable of its own.
        if (m_origin != Origin::NewWaiting)
            result.time = QStringLiteral("  ");
        return result;
    }
    if (DoctorRegister::validCode(code)) {
        const Doctor &doctor = m_context.doctors.doctor(code);
        result.name = doctor.name;
        result.room = doctor.room;
        result.floor = doctor.floor;
    }
    if (m_origin == Origin::NewWaiting)
        return result;
    const QString blanks(7, QLatin1Char(' '));
    result.time = blanks;
    // The entry's own Data stands for the day it was cancelled from; any other text in
    // the box is the date being rebooked onto.
    const std::optional<QDate> date = data.trimmed() == m_shown.data
                                          ? dateOfEntry(m_shown.data, m_context.clock.today())
                                          : dates::parse(data);
    const int slot = numberOf(hora);
    if (!DoctorRegister::validCode(code) || slot < 1 || slot > DoctorRegister::kSlots || !date)
        return result;
    const QString time = m_context.doctors.time(dates::weekday(*date), code, slot);
    if (!time.trimmed().isEmpty())
        result.time = blanks + time + QStringLiteral("  Hs");
    return result;
}

RebookingEditor::Labels RebookingEditor::labelsFor(const TypedEntry &typed) const
{
    return labels(typed.data, typed.hora, typed.medico);
}

RebookingEditor::Labels RebookingEditor::shownLabels() const
{
    // A new waiting entry starts with its labels empty.
    return m_origin == Origin::NewWaiting ? Labels{} : labels(m_shown.data, m_shown.hora, m_shown.medico);
}

QString RebookingEditor::nameLabel() const
{
    return shownLabels().name;
}

QString RebookingEditor::timeLabel() const
{
    return shownLabels().time;
}

QString RebookingEditor::room() const
{
    return shownLabels().room;
}

QString RebookingEditor::floor() const
{
    return shownLabels().floor;
}

bool RebookingEditor::noticeOffered() const
{
    return m_shown.data.mid(5, 2) == QLatin1String("H/");
}

bool RebookingEditor::noticeGiven() const
{
    return m_shown.data.mid(5, 3) == QLatin1String("HA/");
}

QStringList RebookingEditor::situationItems() const
{
    return textfile::readLines(m_context.file(files::kSituations));
}

bool RebookingEditor::nameGiven(const TypedEntry &typed)
{
    if (!typed.paciente.trimmed().isEmpty())
        return true;
    m_context.dialogs.information(kNameRequired);
    return false;
}

Appointment RebookingEditor::withTyped(const TypedEntry &typed) const
{
    Appointment row = m_shown;
    row.paciente = typed.paciente;
    row.telefone = typed.telefone;
    row.situacao = firstChar(typed.situacao);
    row.observacoes = typed.observacoes;
    return row;
}

bool RebookingEditor::registeredDoctor(int code) const
{
    if (!DoctorRegister::validCode(code))
        return false;
    const Doctor &doctor = m_context.doctors.doctor(code);
    return !doctor.name.trimmed().isEmpty() && !doctor.isFree();
}

bool RebookingEditor::checkRebooking(const TypedEntry &typed, Appointment &row)
{
    Dialogs &dialogs = m_context.dialogs;
    const std::optional<QDate> date = dates::parse(typed.data);
    if (!date) {
        dialogs.information(QStringLiteral("Data inválida: \"%1\". Para remarcar, digite no campo Dia a nova "
                                           "data (dd/mm/aa).")
                                .arg(typed.data.trimmed()));
        return false;
    }
    const QString shown = dates::formatShort(*date);
    if (*date < m_context.clock.today()) {
        dialogs.information(
            QStringLiteral("O dia %1 já passou. Escolha uma data de hoje em diante.").arg(shown));
        return false;
    }
    // Closed dates and dates beyond the prepared limit refuse a rebooking as a booking.
    if (const QString refusal = bookingRefusal(m_context.paths, shown); !refusal.isEmpty()) {
        dialogs.information(refusal);
        return false;
    }
    const int code = numberOf(typed.medico);
    if (!registeredDoctor(code)) {
        dialogs.information(QStringLiteral("Médico: digite o código de um médico cadastrado, de 1 a 50."));
        return false;
    }
    const int slot = numberOf(typed.hora);
    if (slot < 1 || slot > DoctorRegister::kSlots) {
        dialogs.information(QStringLiteral("Hora: digite o número do horário, de 1 a 24."));
        return false;
    }
    const QString name = m_context.doctors.doctor(code).name.trimmed();
    // As on the day sheet, a slot without a time can still be booked, once confirmed.
    if (m_context.doctors.onLeave(code, *date)) {
        if (!dialogs.question(
                QStringLiteral("%1 está afastado(a) em %2. Remarcar assim mesmo?").arg(name, shown)))
            return false;
    } else if (!m_context.doctors.hasSlot(dates::weekday(*date), code, slot)) {
        if (!dialogs.question(QStringLiteral("%1 não tem o horário %2 em %3. Remarcar assim mesmo?")
                                  .arg(name, QString::number(slot), shown)))
            return false;
    }
    row.data = shown;
    row.hora = QString::number(slot);
    row.medico = QString::number(code);
    return true;
}

void RebookingEditor::journalLine(QChar op, const Appointment &row)
{
    m_context.journal.add(
        journal::line(op, AppointmentTable::stored(row), localDateTimeText(m_context.clock)));
}

void RebookingEditor::markSheet(const Appointment &row)
{
    const std::optional<QDate> date = dates::parse(row.data);
    if (!date)
        return;
    // Only the sheet that stands for this very date: day numbers repeat every month.
    const int day = date->day();
    if (m_context.sheets.dateOfDay(day) != row.data)
        return;
    m_context.sheets.sheet(day).setCell(numberOf(row.hora), numberOf(row.medico),
                                        row.isReserved() ? QStringLiteral("R") : QStringLiteral("C"));
}

bool RebookingEditor::alterar(const TypedEntry &typed)
{
    if (!nameGiven(typed))
        return false;
    Appointment row = withTyped(typed);
    const bool rebooking = typed.data.trimmed() != m_shown.data;
    if (rebooking) {
        if (!checkRebooking(typed, row))
            return false;
    } else if (numberOf(typed.hora) != numberOf(m_shown.hora) || typed.hora.trimmed().isEmpty() ||
               (m_origin == Origin::Cancelled && numberOf(typed.medico) != numberOf(m_shown.medico))) {
        // A cancelled entry keeps its slot until it gets a date of its own.
        m_context.dialogs.information(
            QStringLiteral("Para remarcar, digite também no campo Dia a nova data (dd/mm/aa)."));
        return false;
    } else if (numberOf(typed.medico) != numberOf(m_shown.medico)) {
        // A waiting patient may change the doctor, or ask for any doctor of a specialty.
        const int code = numberOf(typed.medico);
        if (!registeredDoctor(code) && m_context.specialties.name(code).trimmed().isEmpty()) {
            m_context.dialogs.information(QStringLiteral("Médico: digite o código de um médico cadastrado (1 "
                                                         "a 50) ou de uma especialidade (51 a 80)."));
            return false;
        }
        row.medico = QString::number(code);
    }
    try {
        m_context.DMMedicos.table().update(m_shown.key(), row);
    } catch (const KeyViolation &) {
        m_context.dialogs.information(
            rebooking
                ? QStringLiteral("O horário %1 do médico %2 em %3 já está ocupado. Escolha outro horário.")
                      .arg(row.hora, row.medico, row.data)
                : QStringLiteral("Já existe outro registro com Dia %1, Hora %2 e Médico %3.")
                      .arg(row.data, row.hora, row.medico));
        return false;
    }
    journalLine(QLatin1Char('E'), m_shown);
    journalLine(QLatin1Char('I'), row);
    if (rebooking)
        markSheet(AppointmentTable::stored(row));
    return true;
}

bool RebookingEditor::incluir(const TypedEntry &typed)
{
    if (!nameGiven(typed))
        return false;
    if (firstChar(typed.situacao).trimmed().isEmpty()) {
        m_context.dialogs.information(kSituationRequired);
        return false;
    }
    const int code = numberOf(typed.medico);
    if (!registeredDoctor(code) && m_context.specialties.name(code).trimmed().isEmpty()) {
        m_context.dialogs.information(QStringLiteral(
            "Médico: digite o código do médico preferido (1 a 50) ou, sem preferência, o da especialidade "
            "(51 a 80)."));
        return false;
    }
    Appointment row = withTyped(typed);
    row.medico = QString::number(code);
    AppointmentTable &table = m_context.DMMedicos.table();
    for (;;) {
        try {
            table.insert(row);
            break;
        } catch (const KeyViolation &) {
            // Another entry took this second meanwhile: the next free one.
            const AppointmentKey key = waitingkey::freeKey(table, m_keyDay, m_keySecond + 1);
            m_keySecond = waitingkey::secondOf(key);
            row.data = key.data;
            row.hora = key.hora;
        }
    }
    m_shown.data = row.data;
    m_shown.hora = row.hora;
    journalLine(QLatin1Char('I'), row);
    return true;
}

bool RebookingEditor::exportar(const TypedEntry &typed)
{
    if (!nameGiven(typed))
        return false;
    if (m_context.clipboard.holdsName()) {
        m_context.dialogs.information(m_context.clipboard.cutRefusal());
        return false;
    }
    if (!m_context.DMMedicos.table().remove(m_shown.key())) {
        m_context.dialogs.information(QStringLiteral("O registro não existe mais"));
        return true;
    }
    m_context.clipboard.cut(typed.paciente, typed.telefone, typed.situacao, typed.observacoes);
    journalLine(QLatin1Char('E'), m_shown);
    return true;
}

bool RebookingEditor::avisar(const TypedEntry &typed)
{
    if (!noticeOffered() || !nameGiven(typed))
        return false;
    // The told entry keeps its slot unless another told entry holds it: then the next
    // free Hora, as every move to the cancelled list does.
    const Appointment moved =
        m_context.DMMedicos.table().moveRow(withTyped(typed), m_shown.data.left(5) + QStringLiteral("HA/"));
    journalLine(QLatin1Char('E'), m_shown);
    journalLine(QLatin1Char('I'), moved);
    return true;
}

void RebookingEditor::imprimir(const TypedEntry &typed)
{
    const Labels shown = labelsFor(typed);
    Slip{shown.name, typed.data.trimmed(), shown.time, shown.room, shown.floor, false}.print(
        m_context.printer);
}

} // namespace clinora
