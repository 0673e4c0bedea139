#include "doctors/blocking.h"

#include "app/context.h"
#include "core/common.h"
#include "doctors/leave_effects.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/sqlite.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <QRegularExpression>
#include <array>
#include <cstdint>
#include <map>
#include <set>

namespace clinora::blocking {

const QString kNoDoctor = QStringLiteral("Não há médico com este Código");
const QString kDisplacedNotice = QStringLiteral("                              AVISO\n\nHÁ CONSULTAS NO "
                                                "HORÁRIO BLOQUEADO \n\n      PARA REMARCÁ-LAS USE A "
                                                "GUIA\n\n                    / Desmarcadas / ");
const QString kNothingSelected =
    QStringLiteral("Selecione o(s) médico(s) e a(s) data(s) antes de escolher a ação.");
const QString kNoOperationYet =
    QStringLiteral("Ainda não foi feita nenhuma operação nesta janela: não há relação para imprimir.");

namespace {

const QLatin1String kDoctorsFile("ArqMed.Txt");
const QLatin1String kDatesFile("ArqDia.Txt");
const QLatin1String kSlotsFile("ArqHora.Txt");
const QLatin1String kResultFile("ArqAux.Txt");

constexpr Seconds kDay = 24 * 3600;
constexpr Seconds kDefaultLength = 30 * 60;

// "hh:mm" or "h:mm", hours 0 to 24 and 24 only as 24:00.
std::optional<Seconds> clockTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    if (min > 59 || h > 24 || (h == 24 && min != 0))
        return std::nullopt;
    return h * 3600 + min * 60;
}

QString shownTime(Seconds t)
{
    return QStringLiteral("%1:%2")
        .arg(t / 3600, 2, 10, QLatin1Char('0'))
        .arg(t / 60 % 60, 2, 10, QLatin1Char('0'));
}

// A number followed by a blank, cut to two characters, as the work file holds it.
QString twoWide(int n)
{
    return (QString::number(n) + QLatin1Char(' ')).left(2);
}

QString displacedLine(const Appointment &row, int slot, int code)
{
    const QString phone = row.telefone > QLatin1String("0") ? row.telefone.left(12) : QStringLiteral(" ");
    return textfile::fixed(row.data, 8) + twoWide(slot) + twoWide(code) + textfile::fixed(row.paciente, 25) +
           phone;
}

// One doctor on one date, with the slots the period takes.
struct Step
{
    QString data;
    QDate date;
    int code;
    QList<int> hours;
};

struct CellChange
{
    int slot;
    int code;
    QString value;
};

// What a date's slots held when the operation read them, followed in memory as it
// changes them.
struct DaySlots
{
    enum class State : std::uint8_t { Free, Booked, Reserved };
    static int place(int code, int slot) { return code * (DoctorRegister::kSlots + 1) + slot; }
    State &state(int code, int slot) { return states[static_cast<std::size_t>(place(code, slot))]; }

    std::array<State, (DoctorRegister::kDoctors + 1) * (DoctorRegister::kSlots + 1)> states{};
    // The booked rows of the chosen doctors, by place.
    std::map<int, Appointment> booked;
};

// One read of a date's rows: the state of every slot, and a copy of the booked rows of
// the chosen doctors when they are to be moved.
DaySlots readDay(AppointmentTable &table, const QString &data, const std::set<int> &codes, bool keepBooked)
{
    DaySlots day;
    table.forEachRowOnDate(data, [&](const AppointmentTable::RowBytes &row) {
        const int slot = AppointmentTable::plainNumber(row[1], DoctorRegister::kSlots);
        const int code = AppointmentTable::plainNumber(row[2], DoctorRegister::kDoctors);
        if (slot == 0 || code == 0 || !codes.contains(code))
            return;
        const bool reserved = row[3] == QByteArrayView("R");
        day.state(code, slot) = reserved ? DaySlots::State::Reserved : DaySlots::State::Booked;
        if (reserved || !keepBooked)
            return;
        const auto text = [&row](int i) { return QString::fromUtf8(row[static_cast<std::size_t>(i)]); };
        day.booked.emplace(DaySlots::place(code, slot),
                           Appointment{text(0), text(1), text(2), text(3), text(4), text(5), text(6)});
    });
    return day;
}

QString weekdayName(int weekday)
{
    static const char *const names[] = {"",       "domingo", "segunda", "terça",
                                        "quarta", "quinta",  "sexta",   "sábado"};
    return QString::fromUtf8(names[weekday]);
}

} // namespace

SlotRange slotRange(const QList<Seconds> &times, Seconds start, Seconds end)
{
    SlotRange range;
    const int count = static_cast<int>(std::min<qsizetype>(times.size(), 24));
    if (count == 0)
        return range;
    const Seconds length = count >= 2 ? times[1] - times[0] : kDefaultLength;
    Seconds t0 = start;
    const Seconds t1 = end;
    for (int r = 1; r <= count; ++r) {
        if (times[0] > t0) {
            t0 = times[0];
            if (t1 <= t0)
                break;
        }
        const Seconds tr = times[r - 1];
        const Seconds tn = r < count ? times[r] : t1;
        if (tr <= t0 && t0 < tn)
            range.first = tr + length > t0 + 1 ? r : r + 1;
        if (tr < t1 && t1 <= tn)
            range.last = r;
    }
    return range;
}

std::optional<Seconds> entryTime(const QString &entry)
{
    const std::optional<Seconds> t = clockTime(entry.left(5).trimmed());
    if (!t || *t >= kDay)
        return std::nullopt;
    return t;
}

std::optional<Period> checkPeriod(QString &start, QString &end, Dialogs &dialogs)
{
    const auto one = [&dialogs](QString &box, const QString &caption) -> std::optional<Seconds> {
        const QString normalised = normaliseTime(box.trimmed(), dialogs).trimmed();
        const std::optional<Seconds> t = clockTime(normalised);
        if (!t) {
            dialogs.information(
                QStringLiteral("A hora de \"%1\" não é válida: \"%2\".\nDigite a hora no formato "
                               "hh:mm, de 00:00 a 24:00.")
                    .arg(caption, box));
            return std::nullopt;
        }
        // 24:00 is the end of the day: the last minute of it.
        const Seconds value = *t == kDay ? kDay - 60 : *t;
        box = shownTime(value);
        return value;
    };
    const std::optional<Seconds> s = one(start, QStringLiteral("Início"));
    if (!s)
        return std::nullopt;
    const std::optional<Seconds> e = one(end, QStringLiteral("Fim"));
    if (!e)
        return std::nullopt;
    if (*s >= *e) {
        dialogs.information(
            QStringLiteral("O início do período (%1) deve ser anterior ao fim (%2).").arg(start, end));
        return std::nullopt;
    }
    return Period{*s, *e};
}

QStringList doctorItems(const DoctorRegister &doctors)
{
    QStringList items;
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        if (!doctors.isFree(c))
            items << textfile::fixed(QString::number(c), 2) + QStringLiteral("    ") +
                         textfile::fixed(doctors.doctor(c).name, 25);
    }
    return items;
}

std::optional<Result> run(AppContext &context, Mode mode, const QStringList &codes, const QStringList &dates,
                          const Period &period)
{
    Dialogs &dialogs = context.dialogs;
    if (codes.isEmpty() || dates.isEmpty()) {
        dialogs.information(kNothingSelected);
        return std::nullopt;
    }
    QStringList codeLines;
    for (const QString &code : codes)
        codeLines << code.left(2);
    textfile::writeLines(context.file(kDoctorsFile), codeLines);
    textfile::writeLines(context.file(kDatesFile), dates);

    // What the operation will touch, worked out before anything is written.
    const DoctorRegister &doctors = context.doctors;
    std::vector<Step> steps;
    std::optional<QStringList> slotsFile;
    bool noDoctor = false;
    QStringList badTimes;
    for (const QString &data : dates) {
        const QDate date = dates::parseOrThrow(data);
        // The weekday of the date itself: a date the sheets do not show has its own.
        const int weekday = dates::weekday(date);
        for (const QString &codeText : codeLines) {
            bool ok = false;
            const int code = textfile::trimRight(codeText).trimmed().toInt(&ok);
            if (!ok || !DoctorRegister::validCode(code) || doctors.isFree(code)) {
                noDoctor = true;
                continue;
            }
            if (doctors.onLeave(code, date))
                continue;
            QList<Seconds> times;
            QString wrong;
            for (int s = 1; s <= DoctorRegister::kSlots && doctors.hasSlot(weekday, code, s); ++s) {
                const std::optional<Seconds> t = entryTime(doctors.time(weekday, code, s));
                if (!t) {
                    wrong = QStringLiteral("%1 - %2, %3 (%4), horário %5: \"%6\"")
                                .arg(code)
                                .arg(doctors.doctor(code).name.trimmed(), data, weekdayName(weekday))
                                .arg(s)
                                .arg(doctors.time(weekday, code, s));
                    break;
                }
                times << *t;
            }
            if (!wrong.isEmpty()) {
                badTimes << wrong;
                continue;
            }
            const SlotRange range = slotRange(times, period.start, period.end);
            Step step{data, date, code, {}};
            QStringList numbers;
            if (!range.isEmpty()) {
                for (int s = range.first; s <= range.last; ++s) {
                    step.hours << s;
                    numbers << QString::number(s);
                }
            }
            slotsFile = numbers;
            if (!step.hours.isEmpty())
                steps.push_back(std::move(step));
        }
    }
    if (noDoctor)
        dialogs.information(kNoDoctor);
    if (!badTimes.isEmpty())
        dialogs.warning(
            QStringLiteral("Estes médicos foram deixados de lado nestes dias, porque o horário deles tem "
                           "uma entrada que não é hora (corrija-a na Ficha do Médico):\n\n") +
            badTimes.join(QLatin1Char('\n')));

    Result result;
    result.mode = mode;
    QStringList notMoved;
    std::map<QDate, std::vector<CellChange>> cells;
    AppointmentTable &table = context.DMMedicos.table();
    {
        sql::Transaction transaction(table.database());
        // The reserved hours go onto dated rows only, so the list dates' Horas can be
        // read once and followed in memory.
        TakenHoras taken;
        // Each date's rows are read once, when its first doctor comes, and followed in
        // memory as its slots change.
        std::map<QString, std::set<int>> chosen;
        for (const Step &step : steps)
            chosen[step.data].insert(step.code);
        std::map<QString, DaySlots> days;
        for (const Step &step : steps) {
            auto day = days.find(step.data);
            if (day == days.end())
                day = days.emplace(step.data,
                                   readDay(table, step.data, chosen[step.data], mode == Mode::Reserve))
                          .first;
            const QString medico = QString::number(step.code);
            std::vector<CellChange> &changes = cells[step.date];
            for (const int slot : step.hours) {
                DaySlots::State &state = day->second.state(step.code, slot);
                if (mode == Mode::Release) {
                    if (state == DaySlots::State::Reserved) {
                        table.remove({step.data, QString::number(slot), medico});
                        state = DaySlots::State::Free;
                        result.lines << textfile::fixed(step.data, 8) + twoWide(slot) + twoWide(step.code);
                        result.tableChanged = true;
                        changes.push_back({slot, step.code, QString()});
                    }
                    continue;
                }
                if (state == DaySlots::State::Reserved) {
                    changes.push_back({slot, step.code, QStringLiteral("R")});
                    continue;
                }
                if (state == DaySlots::State::Booked) {
                    const Appointment &found = day->second.booked.at(DaySlots::place(step.code, slot));
                    try {
                        table.moveRow(found, step.data.left(5) + QStringLiteral("H/"), taken);
                    } catch (const ListFullError &e) {
                        // The appointment stays booked, and no reservation goes over it.
                        notMoved << e.message();
                        continue;
                    }
                    result.lines << displacedLine(found, slot, step.code);
                }
                table.insert({step.data, QString::number(slot), medico, QStringLiteral("R"), {}, {}, {}});
                state = DaySlots::State::Reserved;
                ++result.reserved;
                result.tableChanged = true;
                changes.push_back({slot, step.code, QStringLiteral("R")});
            }
        }
        transaction.commit();
    }

    textfile::writeLines(context.file(kResultFile), result.lines);
    if (slotsFile)
        textfile::writeLines(context.file(kSlotsFile), *slotsFile);

    // A sheet shows the changes only when it stands for that date; each repaints once.
    for (const auto &[date, changes] : cells) {
        if (changes.empty() || context.days.realDateOfDay(date.day()) != date)
            continue;
        DaySheet &sheet = context.sheets.sheet(date.day());
        sheet.beginChanges();
        for (const CellChange &change : changes)
            sheet.setCell(change.slot, change.code, change.value);
        sheet.endChanges();
    }

    if (!notMoved.isEmpty())
        dialogs.warning(notMovedWarning(notMoved));
    if (mode == Mode::Reserve && !result.lines.isEmpty())
        dialogs.information(kDisplacedNotice);
    return result;
}

namespace {

struct PrintedLine
{
    QString data;
    int slot;
    int code;
    QString paciente;
    QString telefone;
};

PrintedLine readLine(const QString &line)
{
    return {textfile::field(line, 0, 8), textfile::field(line, 8, 2).trimmed().toInt(),
            textfile::field(line, 10, 2).trimmed().toInt(),
            textfile::trimRight(textfile::field(line, 12, 25)),
            textfile::trimRight(textfile::field(line, 37, 12))};
}

// The doctor's start time of the slot on the weekday of the date.
QString slotTime(const AppContext &context, const PrintedLine &line)
{
    const std::optional<QDate> date = dates::parse(line.data);
    if (!date || !DoctorRegister::validCode(line.code) || line.slot < 1 || line.slot > DoctorRegister::kSlots)
        return {};
    return context.doctors.time(dates::weekday(*date), line.code, line.slot);
}

QString doctorName(const AppContext &context, int code)
{
    return DoctorRegister::validCode(code) ? textfile::trimRight(context.doctors.doctor(code).name)
                                           : QString();
}

} // namespace

DrawnList printedList(const AppContext &context, const QStringList &lines, bool displaced)
{
    DrawnList list;
    if (displaced) {
        list.title = QStringLiteral("Consultas Desmarcadas");
        list.head = {
            {800, 130, QStringLiteral("RELAÇÃO DAS CONSULTAS DESMARCADAS")},
            {700, 170,
             QStringLiteral("(estes pacientes devem ser avisados >>>> usar a paleta /Desmarcadas/)")},
            {200, 220, QStringLiteral("Data")},
            {400, 220, QStringLiteral("Horario")},
            {600, 220, QStringLiteral("Nome do Medico")},
            {1200, 220, QStringLiteral("Paciente")},
            {1800, 220, QStringLiteral("Telefone")}};
        list.columns = {200, 400, 600, 1200, 1800};
        list.firstRowY = 270;
    } else {
        list.title = QStringLiteral("Horários Liberados");
        list.head = {{800, 130, QStringLiteral("RELAÇÃO DOS HORÁRIOS LIBERADOS")},
                     {700, 170, QStringLiteral("(correspondem aos horários que estavam Reservados)")},
                     {200, 240, QStringLiteral("Data")},
                     {600, 240, QStringLiteral("Horario")},
                     {1000, 240, QStringLiteral("Nome do Médico")}};
        list.columns = {200, 600, 1000};
        list.firstRowY = 290;
    }
    for (const QString &text : lines) {
        const PrintedLine line = readLine(text);
        QStringList row{line.data, slotTime(context, line), doctorName(context, line.code)};
        if (displaced)
            row << line.paciente << line.telefone;
        list.rows << row;
    }
    return list;
}

} // namespace clinora::blocking
