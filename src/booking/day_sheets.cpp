#include "booking/day_sheets.h"

#include "app/context.h"
#include "core/data_files.h"
#include "core/prepared_limit.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace clinora {

const QStringList DaySheets::kMonthNames = {
    QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Março"),
    QStringLiteral("Abril"),   QStringLiteral("Maio"),      QStringLiteral("Junho"),
    QStringLiteral("Julho"),   QStringLiteral("Agosto"),    QStringLiteral("Setembro"),
    QStringLiteral("Outubro"), QStringLiteral("Novembro"),  QStringLiteral("Dezembro")};

const QStringList DaySheets::kWeekdayNames = {
    QStringLiteral(" "),   QStringLiteral("Dom"), QStringLiteral("Seg"), QStringLiteral("Ter"),
    QStringLiteral("Qua"), QStringLiteral("Qui"), QStringLiteral("Sex"), QStringLiteral("Sab")};

DaySheets::DaySheets(AppContext &context) : m_context(context)
{
    for (int d = 1; d <= kDays; ++d)
        m_sheets[static_cast<std::size_t>(d - 1)] = std::make_unique<DaySheet>(d);
}

DaySheets::~DaySheets() = default;

QString DaySheets::dateOfDay(int day) const
{
    return m_context.days.dateOfDay(day);
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

bool DaySheets::onLeave(int code, QDate date) const
{
    const Doctor &doctor = m_context.doctors.doctor(code);
    if (!doctor.hasLeave())
        return false;
    const auto parsed = [code](const QString &text) {
        if (const auto d = dates::parse(text))
            return *d;
        throw ConversionError(QStringLiteral("'%1' não é uma data válida (afastamento do médico %2)")
                                  .arg(text)
                                  .arg(code));
    };
    return parsed(doctor.leaveStart) <= date && parsed(doctor.leaveEnd) > date;
}

void DaySheets::refresh(int day)
{
    refresh(day, readPreparedLimit(m_context.paths));
}

void DaySheets::refresh(int day, QDate preparedLimit)
{
    DaySheet &s = sheet(day);
    QString date = dateOfDay(day);
    const int month = date.mid(3, 2).toInt();
    QString label = QString::number(day) + QStringLiteral(" de ") + kMonthNames.value(month - 1)
                    + QStringLiteral(" - ") + kWeekdayNames.value(m_context.days.weekday(day));
    if (!m_context.days.dayExists(day)) {
        label = QStringLiteral(" ");
        date = QStringLiteral("31/12/3000");
    }
    s.setLabel(label);
    if (preparedLimit >= dates::parseOrThrow(date))
        fill(s, date);
    else
        s.setEnabled(false);
}

void DaySheets::fill(DaySheet &s, const QString &date)
{
    const QDate when = dates::parseOrThrow(date);
    const int weekday = m_context.days.weekday(date.left(2).toInt());
    s.beginChanges();
    const auto done = qScopeGuard([&s] { s.endChanges(); });
    s.setGridRowCount(DaySheet::kRows);
    s.clearSlots();

    // A closed date shows nothing else. (Whole dates are compared: a past closed date
    // still in the file must not close the same day of this month.)
    for (const QString &line : textfile::readLines(m_context.file(files::kClosedDates))) {
        if (dates::parse(line) == when) {
            s.setEnabled(false);
            return;
        }
    }

    const QStringList column = doctorColumn();
    for (int row = 0; row < column.size(); ++row)
        s.setCell(0, row, column[row]);

    const QString headings = m_context.file(files::kHeadings);
    if (!QFileInfo::exists(headings)) {
        m_context.dialogs.warning(QStringLiteral("File not found: Horarios.Txt"));
        return;
    }
    const QStringList captions = textfile::readLines(headings);
    for (int col = 0; col < DaySheet::kColumns && col < captions.size(); ++col)
        s.setCell(col, 0, captions[col]);

    const DoctorRegister &doctors = m_context.doctors;
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        const bool leave = onLeave(c, when);
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot) {
            if (leave || !doctors.hasSlot(weekday, c, slot))
                s.setCell(slot, c, QStringLiteral(" x"));
        }
    }

    for (const Appointment &row : m_context.DMMedicos.table().onDate(date)) {
        const int slot = row.hora.toInt();
        const int code = row.medico.toInt();
        if (slot >= 1 && slot <= DoctorRegister::kSlots && DoctorRegister::validCode(code))
            s.setCell(slot, code, row.isReserved() ? QStringLiteral("R") : QStringLiteral("C"));
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
        const int weekday = m_context.days.weekday(d);
        s.beginChanges();
        for (int c = firstCode; c <= lastCode; ++c) {
            s.setCell(0, c, QString::number(c) + QStringLiteral(" - ") + doctors.doctor(c).name);
            const bool leave = onLeave(c, *date);
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

QString DaySheets::reasonText(int day) const
{
    if (!m_context.days.dayExists(day))
        return QStringLiteral("   O mês não tem este dia ");
    QString reason = QStringLiteral(" ");
    const QDate date = m_context.days.realDateOfDay(day);
    bool closed = false;
    for (const QString &line : textfile::readLines(m_context.file(files::kClosedDates)))
        closed = closed || dates::parse(line) == date;
    const int weekday = dates::weekday(date);
    const bool weekend = weekday == 1 || weekday == 7;
    if (closed)
        reason = weekday == 1   ? QStringLiteral("DOMINGO")
                 : weekday == 7 ? QStringLiteral("SÁBADO")
                                : QStringLiteral("Dia Sem Atendimento");
    else if (weekend)
        reason = QStringLiteral("Haverá Expediente");
    if (date > readPreparedLimit(m_context.paths))
        reason = QStringLiteral("Sistema NÃO PREPARADO");
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

int DaySheets::nameJump(const QString &text) const
{
    const int length = static_cast<int>(text.size());
    if (length == 0 || length >= 25)
        return 0;
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        const QString name = textfile::fixed(m_context.doctors.doctor(c).name, 25);
        for (int start = 0; start < 25 - length; ++start) {
            if (QStringView(name).mid(start, length).compare(text, Qt::CaseInsensitive) == 0)
                return c;
        }
    }
    return 0;
}

void DaySheets::showTimes(int day, int code)
{
    DaySheet &s = sheet(day);
    const int weekday = m_context.days.weekday(day);
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
