#include "agenda/preparation.h"

#include "agenda/closed_dates.h"
#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "core/prepared_limit.h"
#include "protection/mirror.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/text_file.h"

namespace clinora {

namespace {

bool isSet(const QString &field)
{
    return !field.trimmed().isEmpty();
}

} // namespace

QDate maximumLimit(QDate today)
{
    const QDate monthLater = dates::addMonth(today);
    const QString dayMonth = today.toString(QStringLiteral("dd/MM"));
    static const QStringList kEndsOnLastDay = {QStringLiteral("30/01"), QStringLiteral("31/01"),
                                               QStringLiteral("31/03"), QStringLiteral("31/05"),
                                               QStringLiteral("31/08"), QStringLiteral("31/10")};
    const bool endsOnLastDay = kEndsOnLastDay.contains(dayMonth) ||
                               (dayMonth == QLatin1String("29/01") && !QDate::isLeapYear(today.year()));
    return endsOnLastDay ? monthLater : monthLater.addDays(-1);
}

QDate limitShown(const AppContext &context)
{
    const QDate limit = readPreparedLimit(context.paths);
    const QDate today = context.clock.today();
    return today > limit ? today.addDays(-1) : limit;
}

PreparationResult prepareAgenda(AppContext &context, const PreparationRequest &request)
{
    PreparationResult result;
    result.newLimitText = request.newLimit;
    Dialogs &dialogs = context.dialogs;
    const QDate today = context.clock.today();

    const std::optional<QDate> typed = dates::parse(request.newLimit);
    if (!typed) {
        dialogs.information(QStringLiteral("Data Incorreta: ") + request.newLimit);
        return result;
    }
    if (request.currentLimit >= *typed) {
        dialogs.information(QStringLiteral("A data limite futuro deve ser maior que a data limite atual"));
        return result;
    }
    if (today >= *typed) {
        dialogs.information(QStringLiteral("A data deve ser maior que o dia de hoje"));
        return result;
    }
    QDate newLimit = *typed;
    const QDate maximum = maximumLimit(today);
    // After a clock went back the stored limit can lie beyond today's maximum: the
    // clamp must not take the agenda back from days already opened for booking.
    if (newLimit > maximum && maximum < request.currentLimit) {
        dialogs.information(QStringLiteral("A agenda já está preparada até %1, além da data máxima de hoje "
                                           "(%2).\nA data limite não foi alterada.")
                                .arg(dates::format(request.currentLimit), dates::format(maximum)));
        return result;
    }
    if (newLimit > maximum) {
        dialogs.information(QStringLiteral("O período foi alongado até  ") + dates::format(maximum));
        result.newLimitText = dates::format(maximum);
        newLimit = maximum;
    }
    QList<QDate> holidays;
    for (const QString &cell : request.holidays) {
        // A cell holding only blanks is as empty as it looks.
        if (cell.trimmed().isEmpty())
            continue;
        const std::optional<QDate> holiday = dates::parse(cell);
        if (!holiday) {
            dialogs.information(QStringLiteral("Data Incorreta: ") + cell);
            return result;
        }
        holidays << *holiday;
    }

    // The new days: weekends are closed in date order, then the holidays in the order
    // they were typed (a holiday on a weekend is listed a second time).
    QList<QDate> newDays;
    for (QDate d = request.currentLimit.addDays(1); d <= newLimit; d = d.addDays(1))
        newDays << d;
    QList<QDate> closed;
    for (const QDate &d : newDays) {
        const int weekday = dates::weekday(d);
        if (weekday == 1 || weekday == 7)
            closed << d;
    }
    for (const QDate &holiday : holidays) {
        if (newDays.contains(holiday))
            closed << holiday;
    }

    // The closed-dates file is written whole, once: its dates from today on, in their
    // old order, followed by the new closed days.
    QStringList lines = closeddates::withoutPastDates(closeddates::read(context.paths), today);
    for (const QDate &d : closed)
        lines << dates::format(d);
    // The closed dates, the limit and its copy go together: a crash leaves the old
    // three or the new three, never new weekends closed under the old limit.
    FileGroup prepared(context.paths.dataDir());
    prepared.stageLines(context.file(files::kClosedDates), lines);
    for (const QLatin1String name : {files::kPreparedLimit, files::kPreparedLimitCopy})
        prepared.stageLines(context.file(name), {dates::format(newLimit)});
    prepared.commit();

    for (const QDate &d : newDays) {
        if (!closed.contains(d)) {
            prefillDaySheet(context, d);
            result.openedDays << d;
        }
    }
    mirror::copyTogether(context, {files::kClosedDates, files::kPreparedLimit, files::kPreparedLimitCopy});

    result.done = true;
    result.preparedLimit = newLimit;
    result.closedDays = closed;
    return result;
}

void prefillDaySheet(AppContext &context, QDate date)
{
    DaySheet &sheet = context.sheets.sheet(date.day());
    const int weekday = dates::weekday(date);
    const DoctorRegister &doctors = context.doctors;
    sheet.beginChanges();
    sheet.setEnabled(true);
    sheet.setGridRowCount(DaySheet::kRows);
    for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot)
        sheet.setCell(slot, 0, QString::number(slot));
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        const Doctor &doctor = doctors.doctor(c);
        // A code never written has no name at all; free codes (blank names) are shown.
        if (doctor.name.isEmpty())
            continue;
        sheet.setCell(0, c, QString::number(c) + QStringLiteral(" - ") + doctor.name);
        // The pre-fill marks a leave only when both of its dates are set.
        const bool leave = isSet(doctor.leaveEnd) && doctors.onLeave(c, date);
        for (int slot = 1; slot <= DoctorRegister::kSlots; ++slot) {
            if (leave || !doctors.hasSlot(weekday, c, slot))
                sheet.setCell(slot, c, QStringLiteral("x"));
        }
    }
    sheet.endChanges();
}

} // namespace clinora
