#include "agenda/closed_dates.h"

#include "agenda/preparation.h"
#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "core/prepared_limit.h"
#include "protection/mirror.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/sqlite.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <set>

namespace clinora {

QStringList closedDatesShown(const AppContext &context)
{
    QStringList shown;
    for (const QString &line : closeddates::read(context.paths)) {
        if (line.trimmed().isEmpty())
            continue;
        const std::optional<QDate> date = dates::parse(line);
        shown << (date ? dates::formatShort(*date) : line);
    }
    return shown;
}

DateClosing closeDateInTable(AppointmentTable &table, QDate date)
{
    DateClosing closing;
    const QString data = dates::formatShort(date);
    const QString listData = data.left(5) + QStringLiteral("H/");
    sql::Transaction transaction(table.database());
    const std::vector<Appointment> rows = table.onDate(data);
    if (rows.empty())
        return closing;

    TakenHoras taken;
    for (const Appointment &row : rows) {
        if (row.paciente.isEmpty() || row.isReserved()) {
            table.remove(row.key());
            ++closing.deleted;
            continue;
        }
        try {
            table.moveRow(row, listData, taken);
            ++closing.moved;
        } catch (const ListFullError &e) {
            closing.notMoved << e.message();
        }
    }
    transaction.commit();
    return closing;
}

CloseResult closeDates(AppContext &context, EntryGrid &grid)
{
    CloseResult result;
    Dialogs &dialogs = context.dialogs;
    const auto rows = grid.dates.size();
    grid.marks.resize(rows);

    // Every row is checked before anything is written, the hidden rows too.
    std::vector<std::optional<QDate>> typed(static_cast<std::size_t>(rows));
    for (qsizetype i = 0; i < rows; ++i) {
        const QString &cell = grid.dates[i];
        if (cell.trimmed().isEmpty())
            continue;
        typed[static_cast<std::size_t>(i)] = dates::parse(cell);
        if (!typed[static_cast<std::size_t>(i)]) {
            dialogs.information(QStringLiteral("Data Incorreta: ") + cell);
            return result;
        }
    }
    for (qsizetype i = 0; i < rows; ++i) {
        if (const auto &date = typed[static_cast<std::size_t>(i)])
            grid.dates[i] = dates::formatShort(*date);
    }

    const QDate limit = readPreparedLimit(context.paths);
    const QDate today = context.clock.today();
    QList<QDate> accepted;
    // Every typed row is taken, also those after an empty one: a date left out would be
    // lost without a word when the grid is emptied.
    for (qsizetype i = 0; i < rows; ++i) {
        grid.marks[i].clear();
        const auto &date = typed[static_cast<std::size_t>(i)];
        if (!date)
            continue;
        if (*date >= today && *date <= limit) {
            accepted << *date;
            continue;
        }
        dialogs.information(dates::format(*date) + QStringLiteral(" - a data não foi incluída porque") +
                            QStringLiteral("\n") +
                            (*date < today ? QStringLiteral("é anterior ao dia de hoje")
                                           : QStringLiteral("está além da data de preparação do Sistema")));
        grid.marks[i] = QStringLiteral("Salta");
    }

    QStringList lines = closeddates::read(context.paths);
    for (const QDate &date : accepted)
        lines << dates::format(date);
    closeddates::write(context.paths, closeddates::sortedUnique(lines));

    AppointmentTable &table = context.DMMedicos.table();
    for (const QDate &date : accepted) {
        const DateClosing closing = closeDateInTable(table, date);
        result.moved += closing.moved;
        result.deleted += closing.deleted;
        result.tableChanged = result.tableChanged || closing.moved > 0 || closing.deleted > 0;
        for (const QString &why : closing.notMoved)
            dialogs.warning(why);
        // The sheet of that day number stands for this date only inside the day window.
        if (context.days.realDateOfDay(date.day()) == date) {
            DaySheet &sheet = context.sheets.sheet(date.day());
            sheet.setEnabled(false);
            sheet.clearAll();
        }
    }
    if (result.moved > 0)
        dialogs.information(QStringLiteral("As consultas do dia foram para a guia / Desmarcadas / "));
    context.DMMedicos.TMedicos.close();
    for (qsizetype i = 0; i < rows; ++i) {
        grid.dates[i].clear();
        grid.marks[i].clear();
    }
    mirror::copy(context, files::kClosedDates);
    result.done = true;
    return result;
}

bool reopenDates(AppContext &context, const QStringList &selected)
{
    if (selected.isEmpty()) {
        context.dialogs.information(QStringLiteral("É preciso selecionar um dia para exclusão.\n\n"
                                                   "         Use o botão [ Consultar ]"));
        return false;
    }
    QList<QDate> reopened;
    QStringList otherLines; // a line that is not a date is listed, and removed, as it is
    for (const QString &text : selected) {
        if (const std::optional<QDate> date = dates::parse(text))
            reopened << *date;
        else
            otherLines << text;
    }

    QStringList remaining;
    for (const QString &line : closeddates::read(context.paths)) {
        const std::optional<QDate> date = dates::parse(line);
        if (date ? !reopened.contains(*date) : !otherLines.contains(line))
            remaining << line;
    }
    closeddates::write(context.paths, remaining);

    // Only a date that its sheet stands for, and that is prepared, is made bookable: a
    // past date opened again must not open this month's sheet of the same day number.
    const QDate limit = readPreparedLimit(context.paths);
    const QDate today = context.clock.today();
    for (const QDate &date : reopened) {
        if (date >= today && date <= limit && context.days.realDateOfDay(date.day()) == date)
            prefillDaySheet(context, date);
    }
    mirror::copy(context, files::kClosedDates);
    return true;
}

} // namespace clinora
