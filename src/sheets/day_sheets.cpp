#include "sheets/day_sheets.h"

#include "core/closed_dates_file.h"
#include "core/data_files.h"
#include "core/prepared_limit.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "store/clinic.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <array>

namespace clinora {

const QStringList DaySheets::kMonthNames = {
    QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Março"),
    QStringLiteral("Abril"),   QStringLiteral("Maio"),      QStringLiteral("Junho"),
    QStringLiteral("Julho"),   QStringLiteral("Agosto"),    QStringLiteral("Setembro"),
    QStringLiteral("Outubro"), QStringLiteral("Novembro"),  QStringLiteral("Dezembro")};

const QStringList DaySheets::kWeekdayNames = {
    QStringLiteral(" "),   QStringLiteral("Dom"), QStringLiteral("Seg"), QStringLiteral("Ter"),
    QStringLiteral("Qua"), QStringLiteral("Qui"), QStringLiteral("Sex"), QStringLiteral("Sab")};

const QString DaySheets::kNoSuchDay = QStringLiteral("   O mês não tem este dia ");
const QString DaySheets::kSunday = QStringLiteral("DOMINGO");
const QString DaySheets::kSaturday = QStringLiteral("SÁBADO");
const QString DaySheets::kClosed = QStringLiteral("Dia Sem Atendimento");
const QString DaySheets::kWorkingWeekend = QStringLiteral("Haverá Expediente");
const QString DaySheets::kNotPrepared = QStringLiteral("Sistema NÃO PREPARADO");

DaySheets::DaySheets(Clinic &context) : m_context(context)
{
    for (int d = 1; d <= kDays; ++d)
        m_sheets[static_cast<std::size_t>(d - 1)] = std::make_unique<DaySheet>(d);
}

DaySheets::~DaySheets() = default;

QString DaySheets::dateOfDay(int day) const
{
    return m_context.days.dateOfDay(day);
}

int DaySheets::weekdayOfDay(int day) const
{
    const QDate date = m_context.days.realDateOfDay(day);
    return date.isValid() ? dates::weekday(date) : 0;
}

QStringList DaySheets::doctorColumn() const
{
    const QString path = m_context.file(files::kDoctorNames);
    if (!QFileInfo::exists(path)) {
        m_context.dialogs.warning(QStringLiteral("File not found: ") + QStringLiteral("Medicos.Txt"));
        return {};
    }
    const QStringList lines = textfile::readLines(path);
    QStringList column;
    for (int row = 0; row < DaySheet::kRows; ++row) {
        const QString line = row < lines.size() ? lines[row] : QString();
        column << line.left(2) + QStringLiteral(" - ") + line.mid(2, 30);
    }
    return column;
}

void DaySheets::refresh(int day)
{
    refreshWith(day, readPreparedLimit(m_context.paths), readSources());
}

void DaySheets::refresh(int day, QDate preparedLimit)
{
    refreshWith(day, preparedLimit, readSources());
}

void DaySheets::refreshAll(const std::function<void(int)> &progress)
{
    const QDate limit = readPreparedLimit(m_context.paths);
    const Sources sources = readSources();
    for (int day = 1; day <= kDays; ++day) {
        refreshWith(day, limit, sources);
        if (progress)
            progress(day);
    }
}

DaySheets::Sources DaySheets::readSources() const
{
    Sources sources;
    sources.closed = closeddates::readDates(m_context.paths);
    sources.doctorColumn = doctorColumn();
    const QString headings = m_context.file(files::kHeadings);
    sources.headingsFound = QFileInfo::exists(headings);
    if (sources.headingsFound)
        sources.headings = textfile::readLines(headings);
    else
        m_context.dialogs.warning(QStringLiteral("File not found: Horarios.Txt"));
    return sources;
}

void DaySheets::refreshWith(int day, QDate preparedLimit, const Sources &sources)
{
    DaySheet &s = sheet(day);
    QString date = dateOfDay(day);
    const int month = date.mid(3, 2).toInt();
    QString label = QString::number(day) + QStringLiteral(" de ") + kMonthNames.value(month - 1)
                    + QStringLiteral(" - ") + kWeekdayNames.value(weekdayOfDay(day));
    if (!m_context.days.dayExists(day)) {
        label = QStringLiteral(" ");
        date = QStringLiteral("31/12/3000");
    }
    s.setLabel(label);
    if (preparedLimit >= dates::parseOrThrow(date))
        fillWith(s, date, sources);
    else
        s.setEnabled(false);
}

void DaySheets::fill(DaySheet &s, const QString &date)
{
    fillWith(s, date, readSources());
}

void DaySheets::fillWith(DaySheet &s, const QString &date, const Sources &sources)
{
    const QDate when = dates::parseOrThrow(date);
    const int weekday = dates::weekday(when);
    s.beginChanges();
    const auto done = qScopeGuard([&s] { s.endChanges(); });
    s.setGridRowCount(DaySheet::kRows);

    // A closed date shows nothing else. (Whole dates are compared: a past closed date
    // still in the file must not close the same day of this month.)
    if (sources.closed.contains(when)) {
        s.clearSlots();
        s.setEnabled(false);
        return;
    }

    for (int row = 0; row < sources.doctorColumn.size(); ++row)
        s.setCell(0, row, sources.doctorColumn[row]);
    if (!sources.headingsFound) {
        s.clearSlots();
        return;
    }
    for (int col = 0; col < DaySheet::kColumns && col < sources.headings.size(); ++col)
        s.setCell(col, 0, sources.headings[col]);

    // Each slot's text is worked out first and written once: the table's rows win over
    // the timetable, so a booked slot without a start time still shows "C" or "R".
    enum Slot : unsigned char { Free, NoSlot, Booked, Reserved };
    constexpr int kDoctors = DoctorRegister::kDoctors;
    constexpr int kSlots = DoctorRegister::kSlots;
    std::array<Slot, (kDoctors + 1) * (kSlots + 1)> planned{};
    const auto at = [](int code, int slot) { return static_cast<std::size_t>(code * (kSlots + 1) + slot); };
    const DoctorRegister &doctors = m_context.doctors;
    for (int c = 1; c <= kDoctors; ++c) {
        const bool leave = doctors.onLeave(c, when);
        for (int slot = 1; slot <= kSlots; ++slot) {
            if (leave || !doctors.hasSlot(weekday, c, slot))
                planned[at(c, slot)] = NoSlot;
        }
    }
    for (const AppointmentTable::TakenSlot &taken : m_context.DMMedicos.table().takenOn(date)) {
        if (taken.hora >= 1 && taken.hora <= kSlots && DoctorRegister::validCode(taken.medico))
            planned[at(taken.medico, taken.hora)] = taken.reserved ? Reserved : Booked;
    }
    const std::array<QString, 4> texts = {QString(), QStringLiteral(" x"), QStringLiteral("C"),
                                           QStringLiteral("R")};
    for (int c = 1; c <= kDoctors; ++c) {
        for (int slot = 1; slot <= kSlots; ++slot)
            s.setCell(slot, c, texts[planned[at(c, slot)]]);
    }
}

void DaySheets::rebuildRows(int day, int code, Mode mode)
{
    const int firstDay = day == 0 ? 1 : day;
    const int lastDay = day == 0 ? kDays : day;
    const int firstCode = code == 0 ? 1 : code;
    const int lastCode = code == 0 ? DoctorRegister::kDoctors : code;
    const DoctorRegister &doctors = m_context.doctors;
    for (int d = firstDay; d <= lastDay; ++d) {
        DaySheet &s = sheet(d);
        const std::optional<QDate> date = dates::parse(dateOfDay(d));
        if (!s.isEnabled() || !date)
            continue;
        const int weekday = weekdayOfDay(d);
        s.beginChanges();
        for (int c = firstCode; c <= lastCode; ++c) {
            s.setCell(0, c, QString::number(c) + QStringLiteral(" - ") + doctors.doctor(c).name);
            const bool leave = doctors.onLeave(c, *date);
            for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot) {
                const QString current = s.cell(slot, c);
                if (mode == Mode::NaoLimpar
                    && (current == QLatin1String("C") || current == QLatin1String("R")))
                    continue;
                s.setCell(slot, c,
                          leave || !doctors.hasSlot(weekday, c, slot) ? QStringLiteral(" x") : QString());
            }
        }
        s.endChanges();
    }
}

QString DaySheets::jumpRefusal(const QString &date, int slot, int code) const
{
    const std::optional<QDate> when = dates::parse(date);
    if (when && m_context.days.realDateOfDay(when->day()) == *when && slot >= 1 &&
        slot <= DoctorRegister::kSlots && DoctorRegister::validCode(code))
        return {};
    return QStringLiteral(
               "A consulta de %1 (horário %2, médico %3) está fora das folhas dos dias, que vão de %4 "
               "a %5: não há como ir até ela.")
        .arg(date)
        .arg(slot)
        .arg(code)
        .arg(dates::formatShort(m_context.days.first()), dates::formatShort(m_context.days.last()));
}

QString DaySheets::reasonText(int day) const
{
    return reasonTexts().at(day);
}

QStringList DaySheets::reasonTexts() const
{
    const QList<QDate> closed = closeddates::readDates(m_context.paths);
    const QDate limit = readPreparedLimit(m_context.paths);
    QStringList reasons{QString()};
    for (int day = 1; day <= kDays; ++day)
        reasons << reasonWith(day, closed, limit);
    return reasons;
}

QString DaySheets::reasonWith(int day, const QList<QDate> &closed, QDate preparedLimit) const
{
    if (!m_context.days.dayExists(day))
        return kNoSuchDay;
    QString reason = QStringLiteral(" ");
    const QDate date = m_context.days.realDateOfDay(day);
    const int weekday = dates::weekday(date);
    if (closed.contains(date))
        reason = weekday == 1 ? kSunday : weekday == 7 ? kSaturday : kClosed;
    else if (weekday == 1 || weekday == 7)
        reason = kWorkingWeekend;
    if (date > preparedLimit)
        reason = kNotPrepared;
    return reason;
}

int DaySheets::codeJump(const QString &text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int code = text.trimmed().toInt(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' não é um número válido").arg(text));
    return code;
}

bool DaySheets::nameHolds(const QString &name, const QString &text)
{
    const int length = static_cast<int>(text.size());
    if (length == 0 || length >= 25)
        return false;
    const QString field = textfile::fixed(name, 25);
    for (int start = 0; start < 25 - length; ++start) {
        if (QStringView(field).mid(start, length).compare(text, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int DaySheets::nameJump(const QString &text) const
{
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        if (nameHolds(m_context.doctors.doctor(c).name, text))
            return c;
    }
    return 0;
}

void DaySheets::showTimes(int day, int code)
{
    DaySheet &s = sheet(day);
    const int weekday = weekdayOfDay(day);
    s.beginChanges();
    for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot)
        s.setCell(slot, 0,
                  weekday == 0 || !DoctorRegister::validCode(code)
                      ? QString()
                      : m_context.doctors.time(weekday, code, slot));
    s.endChanges();
}

void DaySheets::showSlotNumbers(int day)
{
    DaySheet &s = sheet(day);
    s.beginChanges();
    for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot)
        s.setCell(slot, 0, QString::number(slot));
    s.endChanges();
}

} // namespace clinora
