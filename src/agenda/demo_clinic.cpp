#include "agenda/demo_clinic.h"

#include "agenda/closed_dates.h"
#include "agenda/preparation.h"
#include "app/context.h"
#include "store/waiting_key.h"
#include "core/data_files.h"
#include "core/installation.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/null_printer.h"
#include "platform/text_file.h"
#include "statistics/attendance_sheet.h"
#include "statistics/doctor_months.h"
#include "statistics/posting.h"
#include "statistics/weeks.h"
#include "store/appointment_table.h"

#include <QDir>
#include <QFileInfo>
#include <map>
#include <set>

namespace clinora {

namespace {

// The building steps talk to nobody; what they would say is kept for the error text.
class QuietDialogs final : public Dialogs
{
public:
    void information(const QString &) override {}
    void warning(const QString &text) override { m_problems << text; }
    void error(const QString &text) override { m_problems << text; }
    bool question(const QString &) override { return true; }
    QString input(const QString &, const QString &, const QString &defaultText) override
    {
        return defaultText;
    }
    const QStringList &problems() const { return m_problems; }

private:
    QStringList m_problems;
};

// A small repeatable sequence, so that the same day always gives the same clinic.
class Sequence
{
public:
    explicit Sequence(qint64 seed) : m_state(static_cast<quint32>(seed) * 2654435761u + 1u) {}
    int next(int bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<int>((m_state >> 8) % static_cast<quint32>(bound));
    }

private:
    quint32 m_state;
};

struct Hours
{
    QList<int> weekdays; // 1 = Sunday ... 7 = Saturday
    QTime first;
    int minutes; // between two consultations
    int count;
};

struct DemoDoctor
{
    const char *name;
    int specialty;
    const char *room;
    const char *floor;
    const char *shift;
    QList<Hours> hours;
};

const QList<DemoDoctor> &demoDoctors()
{
    static const QList<DemoDoctor> doctors = {
        {"Dra. Ana Beatriz Souza",
         51,
         "101",
         "1",
         "1",
         {{{2, 3, 4, 5, 6}, QTime(8, 0), 20, 12}, {{7}, QTime(8, 0), 30, 6}}},
        {"Dr. Carlos Eduardo Lima",
         52,
         "204",
         "2",
         "2",
         {{{2, 4}, QTime(14, 0), 30, 8}, {{6}, QTime(8, 0), 30, 8}}},
        {"Dra. Fernanda Rocha", 55, "105", "1", "1", {{{3, 5}, QTime(8, 0), 20, 12}}},
        {"Dr. Ricardo Mendes", 56, "302", "3", "2", {{{2, 5}, QTime(13, 0), 30, 8}}},
        {"Dra. Juliana Castro", 53, "210", "2", "1", {{{3, 4, 6}, QTime(9, 0), 30, 6}}},
        {"Dr. Paulo Henrique Alves", 54, "108", "1", "2", {{{2, 4, 6}, QTime(14, 0), 30, 8}}},
    };
    return doctors;
}

// The patients are the combinations of these first names and surnames: enough of them
// that nobody needs to be booked twice on one day.
const QStringList kFirstNames = {
    QStringLiteral("Maria"),    QStringLiteral("José"),      QStringLiteral("Ana"),
    QStringLiteral("João"),     QStringLiteral("Francisca"), QStringLiteral("Antônio"),
    QStringLiteral("Luciana"),  QStringLiteral("Marcos"),    QStringLiteral("Patrícia"),
    QStringLiteral("Rafael"),   QStringLiteral("Juliana"),   QStringLiteral("Pedro"),
    QStringLiteral("Camila"),   QStringLiteral("Lucas"),     QStringLiteral("Fernanda"),
    QStringLiteral("Gabriel"),  QStringLiteral("Aline"),     QStringLiteral("Bruno"),
    QStringLiteral("Sandra"),   QStringLiteral("Roberto"),   QStringLiteral("Beatriz"),
    QStringLiteral("Thiago"),   QStringLiteral("Cláudia"),   QStringLiteral("Eduardo"),
    QStringLiteral("Helena"),   QStringLiteral("Gustavo"),   QStringLiteral("Rita"),
    QStringLiteral("Vinícius"), QStringLiteral("Letícia"),   QStringLiteral("Sebastião"),
};
const QStringList kSurnames = {
    QStringLiteral("Santos"),     QStringLiteral("Oliveira"), QStringLiteral("Ferreira"),
    QStringLiteral("Almeida"),    QStringLiteral("Costa"),    QStringLiteral("Ribeiro"),
    QStringLiteral("Martins"),    QStringLiteral("Rocha"),    QStringLiteral("Gomes"),
    QStringLiteral("Barbosa"),    QStringLiteral("Cardoso"),  QStringLiteral("Dias"),
    QStringLiteral("Teixeira"),   QStringLiteral("Moreira"),  QStringLiteral("Araújo"),
    QStringLiteral("Nascimento"), QStringLiteral("Correia"),  QStringLiteral("Pires"),
    QStringLiteral("Freitas"),    QStringLiteral("Monteiro"), QStringLiteral("Mendonça"),
    QStringLiteral("Vieira"),     QStringLiteral("Pinto"),    QStringLiteral("Duarte"),
};

const QStringList kRemarks = {
    QString(),
    QString(),
    QString(),
    QStringLiteral("Primeira consulta"),
    QStringLiteral("Trazer exames anteriores"),
    QStringLiteral("Retorno com resultado de exames"),
    QStringLiteral("Paciente prefere ser avisado por telefone"),
};

// Fixed national holidays (day, month).
const QList<std::pair<int, int>> kHolidays = {{1, 1},  {21, 4},  {1, 5},   {7, 9},  {12, 10},
                                              {2, 11}, {15, 11}, {20, 11}, {25, 12}};

bool isWeekend(QDate date)
{
    const int weekday = dates::weekday(date);
    return weekday == 1 || weekday == 7;
}

QString specialtyEntry(const QStringList &specialties, int code)
{
    return specialties.value(code - 51).left(15);
}

void writeRegister(const QString &dir, QDate today)
{
    DoctorMonths months;
    months.load(dir + QLatin1Char('/') + files::kDoctorMonths);
    const QStringList specialties = textfile::readLines(dir + QLatin1Char('/') + files::kSpecialties);
    DoctorRegister reg;
    reg.load(dir + QLatin1Char('/'));
    const QList<DemoDoctor> &doctors = demoDoctors();
    for (int i = 0; i < doctors.size(); ++i) {
        const DemoDoctor &demo = doctors[i];
        const int code = i + 1;
        Doctor &d = reg.doctor(code);
        d.name = QString::fromUtf8(demo.name);
        d.specialty = specialtyEntry(specialties, demo.specialty);
        d.specialtyCode = d.specialty.left(2);
        d.room = QLatin1String(demo.room);
        d.floor = QLatin1String(demo.floor);
        d.shift = QLatin1String(demo.shift);
        // The statistics count a doctor under the specialty its row carries.
        months.row(code).specialtyCode = d.specialtyCode;
        for (const Hours &hours : demo.hours) {
            for (const int weekday : hours.weekdays) {
                for (int slot = 1; slot <= hours.count; ++slot)
                    reg.setTime(weekday, code, slot,
                                hours.first.addSecs((slot - 1) * hours.minutes * 60)
                                    .toString(QStringLiteral("hh:mm")));
            }
        }
    }
    // The last doctor takes a few days of leave in the coming weeks.
    Doctor &onLeave = reg.doctor(doctors.size());
    onLeave.leaveStart = dates::formatShort(today.addDays(10));
    onLeave.leaveEnd = dates::formatShort(today.addDays(15));
    reg.save(dir);
    months.save(dir + QLatin1Char('/') + files::kDoctorMonths);
}

void writeSettings(const QString &path, QDate today)
{
    Settings settings;
    settings.load(path);
    // The clinic starts as one that has already run: its statistics year is open.
    settings.setAutomaticEntry(QStringLiteral("Nao"));
    settings.setLastProcessed(dates::format(today.addDays(-1)));
    settings.setYearState(QLatin1Char('A') + QString::number(today.year()));
    settings.setMirroring(QStringLiteral("Sem"));
    settings.setClinicName(QStringLiteral("Clínica Demonstração"));
    settings.save(path);
}

QDate chooseHoliday(QDate today, QDate limit)
{
    for (QDate d = today.addDays(1); d <= limit; d = d.addDays(1)) {
        if (!isWeekend(d) && kHolidays.contains({d.day(), d.month()}))
            return d;
    }
    // No national holiday in the window: the clinic closes for a local one.
    QDate d = today.addDays(12);
    while (isWeekend(d))
        d = d.addDays(1);
    return d;
}

class Booker
{
public:
    Booker(AppContext &context, DemoClinic &clinic, Sequence &random)
        : m_context(context), m_clinic(clinic), m_random(random), m_table(context.DMMedicos.table())
    {
    }

    // The doctor's slots on a date: none on leave or on a weekday without hours.
    QList<int> hoursOf(int code, QDate date) const
    {
        if (m_context.doctors.onLeave(code, date))
            return {};
        QList<int> result;
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot) {
            if (m_context.doctors.hasSlot(dates::weekday(date), code, slot))
                result << slot;
        }
        return result;
    }

    bool book(QDate date, int code, int slot, bool reserved = false)
    {
        const AppointmentKey key{dates::formatShort(date), QString::number(slot), QString::number(code)};
        if (m_table.contains(key))
            return false;
        const int who = reserved ? -1 : patientFreeOn(date);
        const Appointment row{key.data,
                              key.hora,
                              key.medico,
                              reserved ? QStringLiteral("R") : patientName(who),
                              reserved ? QString() : phoneOf(who),
                              reserved ? QString() : QString::number(1 + m_random.next(4)),
                              reserved ? QStringLiteral("Reunião clínica") : remark()};
        m_table.insert(row);
        ++(reserved ? m_clinic.reserved : m_clinic.appointments);
        return true;
    }

    // Books a share of a doctor's slots on a date, more on the nearer days.
    void bookSome(QDate date, int code, int share)
    {
        for (const int slot : hoursOf(code, date)) {
            if (m_random.next(100) < share)
                book(date, code, slot);
        }
    }

    void addCancelledByPatient(QDate date, int code, int slot)
    {
        const int who = patientFreeOn(date);
        m_table.insert({dates::formatShort(date).left(5) + QStringLiteral("P/"), QString::number(slot),
                        QString::number(code), patientName(who), phoneOf(who), QStringLiteral("1"),
                        QStringLiteral("Desmarcou por telefone")});
    }

    void addWaiting(QDate day, QTime time, int code)
    {
        const AppointmentKey key = waitingkey::freeKey(m_table, QDateTime(day, time));
        const int who = patientFreeOn(day);
        m_table.insert({key.data, key.hora, QString::number(code), patientName(who), phoneOf(who),
                        QStringLiteral("1"), QStringLiteral("Aceita qualquer horário")});
    }

private:
    static int patients() { return static_cast<int>(kFirstNames.size() * kSurnames.size()); }
    static QString patientName(int who)
    {
        const int first = who % static_cast<int>(kFirstNames.size());
        const int surname = who / static_cast<int>(kFirstNames.size());
        return kFirstNames.at(first) + QLatin1Char(' ') + kSurnames.at(surname);
    }
    // Each patient has one telephone number, the same wherever the patient appears.
    static QString phoneOf(int who)
    {
        Sequence digits(who + 1);
        return QStringLiteral("9%1-%2").arg(1000 + digits.next(9000)).arg(1000 + digits.next(9000));
    }
    // A patient with nothing else on that day.
    int patientFreeOn(QDate date)
    {
        std::set<int> &taken = m_patientsOn[date];
        int who = m_random.next(patients());
        while (taken.count(who))
            who = (who + 1) % patients();
        taken.insert(who);
        return who;
    }
    QString remark() { return kRemarks.at(m_random.next(static_cast<int>(kRemarks.size()))); }

    AppContext &m_context;
    DemoClinic &m_clinic;
    Sequence &m_random;
    AppointmentTable &m_table;
    std::map<QDate, std::set<int>> m_patientsOn;
};

// The three weeks before today, within the open statistics year: each working day's
// patients booked, every doctor's sheet recorded with one patient in about eight
// absent, and the movements posted, as the desk would have done day by day.
void countPastWeeks(AppContext &context, DemoClinic &clinic, Booker &booker, Sequence &random, QDate today)
{
    const QDate first = std::max(today.addDays(-21), QDate(today.year(), 1, 1));
    const int futureAppointments = clinic.appointments;
    for (QDate date = first; date < today; date = date.addDays(1)) {
        if (isWeekend(date))
            continue;
        for (int code = 1; code <= clinic.doctors; ++code) {
            booker.bookSome(date, code, 70);
            AttendanceSheet sheet;
            sheet.fillForEntry(context.DMMedicos.table(), context.doctors, date, code);
            auto boxes = sheet.openingBoxes();
            int booked = 0;
            int attended = 0;
            for (SheetBoxes &box : boxes) {
                if (box.patient.isEmpty())
                    continue;
                box.present = random.next(8) != 0;
                ++booked;
                attended += box.present ? 1 : 0;
            }
            if (booked == 0)
                continue;
            if (!recordSheet(context, sheet, boxes))
                throw FileError(QStringLiteral("A clínica de demonstração não pôde ser criada (ficha de %1).")
                                    .arg(dates::format(date)));
            if (!clinic.countedFrom.isValid())
                clinic.countedFrom = date;
            ++clinic.recordedSheets;
            clinic.booked += booked;
            clinic.attended += attended;
        }
    }
    // The past appointments are not the coming agenda's.
    clinic.appointments = futureAppointments;
    postPendingMovements(context);
}

} // namespace

DemoClinic createDemoClinic(const QString &dir, const QString &drivesRoot, const Clock &clock)
{
    // One moment for every step, so that a clinic made at midnight is made on one day.
    FixedClock moment(clock.now());
    const QString shown = QDir::toNativeSeparators(QDir(dir).absolutePath());
    if (QFileInfo::exists(dir) && !QDir(dir).isEmpty())
        throw FileError(QStringLiteral("A pasta %1 já existe e não está vazia. A clínica de "
                                       "demonstração é criada numa pasta nova.")
                            .arg(shown));
    const QDate today = moment.today();
    DemoClinic clinic;
    clinic.doctors = static_cast<int>(demoDoctors().size());

    installDataDirectory(dir);
    writeSettings(dir + QLatin1Char('/') + files::kSettings, today);
    createWeeks(dir + QLatin1Char('/') + files::kWeeks, today.year());
    writeRegister(dir, today);

    QuietDialogs quiet;
    NullPrinter printer;
    AppContext context(Paths(dir, drivesRoot), moment, quiet, printer);
    context.settings.load(context.file(files::kSettings));
    context.doctors.load(dir + QLatin1Char('/'));
    context.days.build();
    context.DMMedicos.open();
    const auto failed = [&](const QString &step) {
        return FileError(QStringLiteral("A clínica de demonstração não pôde ser criada (%1): %2")
                             .arg(step, quiet.problems().join(QLatin1Char(' '))));
    };

    // The agenda, prepared as far as it goes, with its weekends and a holiday closed.
    const QDate maximum = maximumLimit(today);
    clinic.holiday = chooseHoliday(today, maximum);
    const PreparationResult prepared = prepareAgenda(
        context,
        {limitShown(context), dates::format(maximum), {dates::formatShort(clinic.holiday), {}, {}, {}, {}}});
    if (!prepared.done)
        throw failed(QStringLiteral("preparação"));
    clinic.preparedLimit = prepared.preparedLimit;

    Sequence random(today.toJulianDay());
    Booker booker(context, clinic, random);
    countPastWeeks(context, clinic, booker, random, today);
    const QList<QDate> &open = prepared.openedDays;
    for (int i = 0; i < open.size(); ++i) {
        const int share = std::max(5, 45 - 4 * i);
        for (int code = 1; code <= clinic.doctors; ++code)
            booker.bookSome(open[i], code, share);
    }

    // A working day in the second week closes after all; its appointments go to the
    // cancelled list, where they wait to be rebooked.
    for (const QDate &date : open) {
        if (date >= today.addDays(7) && date != clinic.holiday && !booker.hoursOf(1, date).isEmpty()) {
            clinic.closedByHand = date;
            break;
        }
    }
    for (int code = 1; code <= clinic.doctors; ++code) {
        const QList<int> hours = booker.hoursOf(code, clinic.closedByHand);
        for (int i = 0; i < hours.size() && i < 2; ++i)
            booker.book(clinic.closedByHand, code, hours[i]);
    }
    const auto booked = context.DMMedicos.table().onDate(dates::formatShort(clinic.closedByHand));
    EntryGrid grid{{dates::formatShort(clinic.closedByHand)}, {QString()}};
    const CloseResult closed = closeDates(context, grid);
    if (!closed.done)
        throw failed(QStringLiteral("fechamento de um dia"));
    for (const Appointment &row : booked)
        --(row.isReserved() ? clinic.reserved : clinic.appointments);

    // Reserved hours: the cardiologist's first free hour on his next two working days.
    int meetings = 0;
    for (const QDate &date : open) {
        if (date == clinic.closedByHand)
            continue;
        for (const int hour : booker.hoursOf(2, date)) {
            if (meetings < 2 && booker.book(date, 2, hour, true)) {
                ++meetings;
                break;
            }
        }
    }

    // A Saturday opens for a morning of general practice.
    for (QDate d = today.addDays(2); d <= clinic.preparedLimit; d = d.addDays(1)) {
        if (dates::weekday(d) == 7) {
            clinic.openSaturday = d;
            break;
        }
    }
    if (!reopenDates(context, {dates::formatShort(clinic.openSaturday)}))
        throw failed(QStringLiteral("abertura de um sábado"));
    booker.bookSome(clinic.openSaturday, 1, 50);

    // Patients who cancelled themselves, and a waiting list.
    booker.addCancelledByPatient(open.value(1, today), 3, 2);
    booker.addCancelledByPatient(open.value(4, today), 5, 1);
    booker.addWaiting(today.addDays(-3), QTime(9, 12, 40), 3);
    booker.addWaiting(today.addDays(-1), QTime(10, 5, 17), 1);
    booker.addWaiting(today, QTime(8, 47, 3), 56);
    booker.addWaiting(today, QTime(11, 30, 55), 52);

    AppointmentTable &table = context.DMMedicos.table();
    clinic.cancelled = static_cast<int>(table.select(ListQuery::cancelled()).size());
    clinic.waiting = static_cast<int>(table.select(ListQuery::waiting()).size());
    if (!quiet.problems().isEmpty())
        throw failed(QStringLiteral("marcações"));
    context.DMMedicos.close();
    return clinic;
}

} // namespace clinora
