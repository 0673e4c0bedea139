#include "doctors/doctor_editor.h"

#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "core/prepared_limit.h"
#include "doctors/leave_effects.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/text_file.h"
#include "protection/mirror.h"

#include <QRegularExpression>
#include <QScopeGuard>

namespace clinora {

namespace {

using textfile::fixed;

const QString kMovedMessage = QStringLiteral(
    "  As consultas dentro do período de afastamento do médico, foram transferidas\npara a Guia "
    "/Desmarcadas/ e deverão ser remarcadas oportunamente.");

QString leftTrimmed(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

// Minutes since midnight of a normalised time "hh:mm".
int minutesOf(const QString &time)
{
    return time.left(2).toInt() * 60 + time.mid(3, 2).toInt();
}

} // namespace

DoctorEditor::DoctorEditor(AppContext &context) : m_context(context)
{
}

void DoctorEditor::notice(bool shown)
{
    m_noticeShown = shown;
    if (m_notice)
        m_notice(shown);
}

DoctorForm DoctorEditor::open()
{
    m_tableChanged = false;
    m_leaveMode = false;
    m_registerChanged = false;
    m_timetableTouched = false;
    m_months.load(m_context.file(files::kDoctorMonths));
    DoctorForm form;
    form.shift = QStringLiteral("1");
    return form;
}

QStringList DoctorEditor::specialtyItems() const
{
    return textfile::readLines(m_context.file(files::kSpecialties));
}

DoctorForm DoctorEditor::codeClicked()
{
    m_timetableTouched = false;
    m_leaveMode = false;
    DoctorForm form;
    form.shift = QStringLiteral("1");
    return form;
}

std::optional<int> DoctorEditor::codeNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = digits.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int code = match.captured(1).toInt();
    if (!DoctorRegister::validCode(code))
        return std::nullopt;
    return code;
}

TimetableGrid DoctorEditor::storedGrid(int code) const
{
    TimetableGrid grid;
    for (int col = 0; col < 7; ++col)
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot)
            grid[col][slot - 1] = m_context.doctors.time(weekdayOfColumn(col), code, slot);
    return grid;
}

void DoctorEditor::codeChanged(DoctorForm &form)
{
    m_leaveMode = false;
    form.leave = LeaveChoice::None;
    const std::optional<int> code = codeNumber(form.code);
    if (!code)
        return;
    // The record is found by its code field: "5" looks for "5 ", and "05" finds none.
    const QString key = (form.code.left(2) + QLatin1Char(' ')).left(2);
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        const Doctor &d = m_context.doctors.doctor(c);
        if (fixed(d.code, 2) != key)
            continue;
        // The boxes show the fields without the blanks that pad them to their width: a
        // box already at its maximum length would take no more typing.
        form.name = textfile::trimRight(d.name);
        form.specialty = d.specialty;
        form.room = textfile::trimRight(d.room);
        form.floor = textfile::trimRight(d.floor);
        form.shift = d.shift.trimmed().isEmpty() ? QStringLiteral("1") : d.shift.trimmed();
        form.leaveStart = d.leaveStart.trimmed();
        form.leaveEnd = d.leaveEnd.trimmed();
        break;
    }
    form.grid = storedGrid(*code);
}

void DoctorEditor::timesChosen(DoctorForm &form, const QStringList &selected,
                               const std::array<bool, 7> &checked)
{
    m_timetableTouched = true;
    for (int col = 0; col < 7; ++col) {
        if (!checked[col])
            continue;
        for (int row = 0; row < DoctorRegister::kSlots; ++row)
            form.grid[col][row] = row < selected.size() ? selected[row] : QString();
    }
}

void DoctorEditor::clearGrid(DoctorForm &form)
{
    form.grid = TimetableGrid{};
}

void DoctorEditor::restoreTimes(DoctorForm &form) const
{
    if (const std::optional<int> code = codeNumber(form.code))
        form.grid = storedGrid(*code);
}

void DoctorEditor::chooseTemporaryLeave(DoctorForm &form)
{
    m_leaveMode = true;
    form.leave = LeaveChoice::Temporary;
    const QDate today = m_context.clock.today();
    form.leaveStart = dates::formatShort(today);
    form.leaveEnd = dates::formatShort(today.addDays(1));
}

void DoctorEditor::chooseDefinitiveLeave(DoctorForm &form)
{
    m_leaveMode = true;
    form.leave = LeaveChoice::Definitive;
    form.leaveStart = dates::formatShort(m_context.clock.today());
    form.leaveEnd = DoctorRegister::kDefinitiveLeave;
}

void DoctorEditor::clearLeave(DoctorForm &form)
{
    m_leaveMode = false;
    form.leave = LeaveChoice::Clear;
    form.leaveStart.clear();
    form.leaveEnd.clear();
}

std::optional<LeavePeriod> DoctorEditor::storedLeave(int code) const
{
    const Doctor &d = m_context.doctors.doctor(code);
    if (!d.hasLeave())
        return std::nullopt;
    const std::optional<QDate> start = dates::parse(d.leaveStart);
    const std::optional<QDate> end = dates::parse(d.leaveEnd);
    if (!start || !end)
        return std::nullopt;
    return LeavePeriod{*start, *end};
}

void DoctorEditor::restoreStoredLeave(int code)
{
    if (const std::optional<LeavePeriod> leave = storedLeave(code)) {
        m_sheetLeaves.push_back(*leave);
        restoreLeave(m_context.sheets, m_context.days, m_context.doctors, code, *leave,
                     readPreparedLimit(m_context.paths));
    }
}

void DoctorEditor::markNewLeave(int code, const LeavePeriod &leave, QDate preparedLimit)
{
    m_sheetLeaves.push_back(leave);
    markLeave(m_context.sheets, m_context.days, code, leave, preparedLimit);
}

void DoctorEditor::showRegisteredLeave(int code)
{
    // The sheets already show the leave a written record holds.
    const std::vector<LeavePeriod> changed = std::exchange(m_sheetLeaves, {});
    if (changed.empty())
        return;
    const QDate limit = readPreparedLimit(m_context.paths);
    for (const LeavePeriod &leave : changed)
        restoreLeave(m_context.sheets, m_context.days, m_context.doctors, code, leave, limit);
    if (const std::optional<LeavePeriod> leave = storedLeave(code))
        markLeave(m_context.sheets, m_context.days, code, *leave, limit);
}

void DoctorEditor::showMovedMessage()
{
    m_context.dialogs.information(kMovedMessage);
}

SaveResult DoctorEditor::save(DoctorForm &form)
{
    // A save that stops before it writes the record may already have given the days of
    // the stored leave back to the sheets, or marked the new one: afterwards the sheets
    // show the leave the register holds, refused or not.
    m_sheetLeaves.clear();
    SaveResult result;
    const std::optional<int> code = codeNumber(form.code);
    try {
        runSave(form, result);
    } catch (...) {
        if (code && !result.recordWritten)
            showRegisteredLeave(*code);
        throw;
    }
    if (code && !result.recordWritten)
        showRegisteredLeave(*code);
    return result;
}

void DoctorEditor::runSave(DoctorForm &form, SaveResult &result)
{
    Dialogs &dialogs = m_context.dialogs;
    DoctorRegister &doctors = m_context.doctors;
    bool newDoctor = false;
    // However the save ends, the notice does not outlive it.
    const auto eraseNotice = qScopeGuard([this] {
        if (m_noticeShown)
            notice(false);
    });

    if (form.code.isEmpty()) {
        dialogs.information(QStringLiteral("Código é campo obrigatório"));
        return;
    }
    const std::optional<int> number = codeNumber(form.code);
    if (!number) {
        dialogs.information(QStringLiteral("Código inválido: \"%1\".\nO código do médico deve ser um "
                                           "número inteiro de 1 a 50.")
                                .arg(form.code));
        return;
    }
    const int code = *number;
    // A name of blanks only would leave the code looking free.
    if (form.name.isEmpty() || form.name.left(5) == QLatin1String("     ") || form.name.trimmed().isEmpty()) {
        dialogs.information(QStringLiteral("Nome é campo obrigatório"));
        return;
    }
    if (form.specialty.isEmpty() || form.specialty.at(0) == QLatin1Char(' ')) {
        dialogs.information(QStringLiteral("Especialidade é campo obrigatório"));
        return;
    }

    const Doctor &stored = doctors.doctor(code);
    const QString storedStart = stored.leaveStart.trimmed();
    const QString storedEnd = stored.leaveEnd.trimmed();
    // Leave dates typed without a leave choice would reach the record unchecked.
    if (!m_leaveMode && ((!form.leaveStart.trimmed().isEmpty() && form.leaveStart.trimmed() != storedStart) ||
                         (!form.leaveEnd.trimmed().isEmpty() && form.leaveEnd.trimmed() != storedEnd))) {
        dialogs.information(QStringLiteral("Para afastar o médico, escolha antes \"Afastar temporariamente\" "
                                           "ou \"Afastar definitivamente\"."));
        return;
    }
    // A leave date that is no date is refused before the save changes anything: going on
    // without it would register the doctor, or the leave, other than as typed.
    if (m_leaveMode) {
        for (QString *box : {&form.leaveStart, &form.leaveEnd}) {
            if (!box->trimmed().isEmpty() && !dates::parse(*box)) {
                dialogs.information(QStringLiteral("Data inválida: ") + *box);
                box->clear();
                return;
            }
        }
    }

    // A changed or ended leave gives its days back to the sheets first.
    if (stored.hasLeave() &&
        (form.leaveStart.trimmed() != storedStart || form.leaveEnd.trimmed() != storedEnd))
        restoreStoredLeave(code);

    if (fixed(stored.name, 25).left(3) == QLatin1String("   ")) {
        notice(true);
        if (checkInclusion(m_context.DMMedicos.table(), code, m_context.clock.today(), dialogs, m_tableChanged).refused()) {
            notice(false);
            return;
        }
        newDoctor = true;
        m_timetableTouched = false;
    }

    if (m_leaveMode && !applyLeave(form, code))
        return;

    result.weekdaysUnchecked = true;
    if (!normaliseGrid(form))
        return;
    for (TimetableColumn &column : form.grid)
        sortColumn(column);

    writeRecord(code, form);
    result.recordWritten = true;
    doctors.rebuildFreeCodeList();
    m_registerChanged = true;

    if (m_timetableTouched &&
        !dialogs.question(QStringLiteral(
            "   Antes  de  alterar os  horários do  médico,\nverifique as conseqüências disso sobre as "
            "consultas\nque já estejam marcadas.\n\n                      Você deseja prosseguir?")))
        return;

    for (int col = 0; col < 7; ++col)
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot)
            doctors.setTime(weekdayOfColumn(col), code, slot, form.grid[col][slot - 1]);
    if (m_noticeShown)
        notice(false);

    if (newDoctor)
        m_context.sheets.rebuildRows(0, code, DaySheets::Mode::Limpar);
    if (m_timetableTouched) {
        m_timetableTouched = false;
        m_context.sheets.rebuildRows(0, code, DaySheets::Mode::NaoLimpar);
    }
    result.completed = true;
    return;
}

// The leave dates of the save: checked, then the sheets marked and the appointments
// moved, or the doctor removed for a definitive leave from today. False stops the save.
bool DoctorEditor::applyLeave(DoctorForm &form, int code)
{
    Dialogs &dialogs = m_context.dialogs;
    // Both dates were checked before the save began to change anything.
    for (QString *box : {&form.leaveStart, &form.leaveEnd}) {
        if (const std::optional<QDate> date = dates::parse(*box))
            // Kept as dd/mm/yy: the record holds eight characters.
            *box = dates::formatShort(*date);
    }

    if (form.leaveStart.trimmed().isEmpty())
        return true;
    const QDate start = dates::parseOrThrow(form.leaveStart);
    const QDate today = m_context.clock.today();
    if (today > start) {
        dialogs.information(QStringLiteral("Erro: Data de Saída é anterior ao dia de hoje"));
        return false;
    }
    // A leave without its end would make every later reading of the record fail.
    const std::optional<QDate> end = dates::parse(form.leaveEnd);
    if (!end || start >= *end) {
        dialogs.information(QStringLiteral("Erro: A data de Retorno deve ser posterior à data de Saída "));
        return false;
    }
    const LeavePeriod leave{start, *end};
    const QDate limit = readPreparedLimit(m_context.paths);
    if (start == today && form.leaveEnd == DoctorRegister::kDefinitiveLeave) {
        bool ok = false;
        const int specialty = form.specialty.left(2).toInt(&ok);
        if (!ok || specialty < 51 || specialty > 80)
            throw ConversionError(QStringLiteral("'%1' não é um código de especialidade (51 a 80)")
                                      .arg(form.specialty.left(2)));
        if (m_context.settings.automaticEntry() == QLatin1String("Nao") &&
            !dialogs.question(QStringLiteral(
                "Se não estiver usando a \"Entrada Automática\", verifique se\nas Fichas de Atendimentos "
                "do médico estão atualizadas \n                    Prosseguir?")))
            return false;
        // The counts are checked before anything of the doctor changes.
        m_months.moveRemovedCounts(code, specialty);
        restoreStoredLeave(code);
        markNewLeave(code, leave, limit);
        removeDoctor(code, leave, form);
        m_timetableTouched = false;
    } else {
        restoreStoredLeave(code);
        markNewLeave(code, leave, limit);
        if (moveLeaveAppointments(m_context.DMMedicos.table(), code, leave, dialogs, m_tableChanged))
            showMovedMessage();
    }
    return true;
}

bool DoctorEditor::normaliseGrid(DoctorForm &form)
{
    bool changed = true;
    while (changed) {
        changed = false;
        for (TimetableColumn &column : form.grid) {
            for (QString &cell : column) {
                // A cell of blanks is an empty slot.
                if (cell.trimmed().isEmpty()) {
                    cell.clear();
                    continue;
                }
                const QString time = normaliseTime(cell, m_context.dialogs);
                if (time.isEmpty())
                    return false;
                if (time != cell) {
                    cell = time;
                    changed = true;
                }
            }
        }
    }
    return true;
}

void DoctorEditor::sortColumn(TimetableColumn &column)
{
    for (std::size_t i = 0; i + 1 < column.size(); ++i) {
        for (std::size_t j = i + 1; j < column.size(); ++j) {
            if (!column[j].isEmpty() && (column[i].isEmpty() || minutesOf(column[j]) < minutesOf(column[i])))
                std::swap(column[i], column[j]);
        }
    }
}

void DoctorEditor::writeRecord(int code, const DoctorForm &form)
{
    Doctor &d = m_context.doctors.doctor(code);
    d.code = fixed(QString::number(code), 2);
    // Leading blanks would make the code look free.
    d.name = fixed(leftTrimmed(form.name), 25);
    d.specialty = fixed(form.specialty, 15);
    if (d.specialty.startsWith(QLatin1Char(' ')) &&
        !(form.leave == LeaveChoice::Definitive && form.leaveStart.isEmpty()))
        m_context.dialogs.information(QStringLiteral("Especialidade é campo obrigatório"));
    d.room = fixed(form.room, 4);
    d.floor = fixed(form.floor, 2);
    d.specialtyCode = d.specialty.left(2);
    d.shift = form.shift.isEmpty() ? QStringLiteral(" ") : form.shift.left(1);
    d.leaveStart = form.leaveStart.left(8);
    d.leaveEnd = form.leaveEnd.left(8);

    DoctorMonthsRow &row = m_months.row(code);
    row.code = d.code;
    // A free code keeps "00": a blank specialty would stop the posting of its counts.
    row.specialtyCode = d.isFree() ? QStringLiteral("00") : d.specialtyCode;
}

void DoctorEditor::removeDoctor(int code, const LeavePeriod &leave, DoctorForm &form)
{
    DoctorRegister &doctors = m_context.doctors;
    doctors.removeDoctor(code);
    doctors.rebuildFreeCodeList();
    form.name = QString(25, QLatin1Char(' '));
    form.specialty = QString(15, QLatin1Char(' '));
    form.room = QString(4, QLatin1Char(' '));
    form.floor = QString(2, QLatin1Char(' '));
    form.shift = QStringLiteral(" ");
    form.leaveStart.clear();
    form.leaveEnd.clear();
    m_registerChanged = true;

    const bool moved =
        moveLeaveAppointments(m_context.DMMedicos.table(), code, leave, m_context.dialogs, m_tableChanged);
    clearGrid(form);
    if (moved)
        showMovedMessage();
}

void DoctorEditor::snapshotIfNeeded()
{
    if (!m_context.settings.mirroringOn() || !m_tableChanged)
        return;
    takeMirrorSnapshot(m_context);
    m_tableChanged = false;
}

void DoctorEditor::writeFiles()
{
    if (!m_registerChanged)
        return;
    // The register and the statistics rows that follow it are committed together.
    FileGroup group(m_context.paths.dataDir());
    m_context.doctors.stage(group, m_context.paths.dataDir());
    group.stageLines(m_context.file(files::kDoctorMonths), m_months.lines());
    group.commit();
    mirror::copyTogether(m_context,
                         {files::kDoctors, files::kDoctorNames, files::kTimetable, files::kDoctorMonths});
    m_registerChanged = false;
}

std::array<QString, 3> DoctorEditor::freeCodeLines() const
{
    return freeCodeLines(m_context.doctors.freeCodeList());
}

std::array<QString, 3> DoctorEditor::freeCodeLines(const QString &list)
{
    // Each line ends at character 60, 120 or 180 (counted from 1), or one further when
    // that character is part of a number, so that no number is cut in two.
    std::array<QString, 3> lines;
    qsizetype from = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        qsizetype end = 60 * static_cast<qsizetype>(i + 1);
        if (end <= list.size() && list.at(end - 1) != QLatin1Char(' '))
            ++end;
        lines[i] = list.mid(from, std::max<qsizetype>(0, end - from));
        from = end;
    }
    return lines;
}

} // namespace clinora
