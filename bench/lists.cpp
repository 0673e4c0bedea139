// The cancelled and waiting lists on a table of a month of appointments (37,200 rows)
// plus 10,000 list entries, and on ten times that, each next to a bare baseline run
// in pairs with it:
//  - "Atualizar" of "Desmarcadas" and of "Em Espera" with the screen shown, against
//    the bare SQLite query of the same rows and columns, kept in one block of memory;
//  - the memory the open list takes (model and grid), against the rows' own text;
//  - "Excluir" of 1,000 selected entries, against 1,000 bare keyed DELETEs in one
//    transaction (both sets put back after each pair);
//  - one rebooking ("Alterar" onto a free slot), against a bare lookup plus UPDATE.
// Usage: bench_lists [ROWS...] (default: 37200 372000 dated rows).
#include "app/context.h"
#include "app/session.h"
#include "bench_data.h"
#include "booking/list_tab_widget.h"
#include "booking/rebooking.h"
#include "booking/tfvisaogeral.h"
#include "store/waiting_key.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/null_printer.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <malloc.h>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace clinora;

namespace {

const char *const kMarkers[] = {"H/", "P/", "HA/"};

// Cancelled entries spread over days, months, markers and doctors; waiting entries
// made over the last days, for doctors and for specialties.
int addEntries(AppointmentTable &table, QDate today, int cancelled, int waiting)
{
    std::vector<Appointment> rows;
    rows.reserve(static_cast<std::size_t>(cancelled + waiting));
    for (int i = 0; i < cancelled; ++i) {
        const QString data = QStringLiteral("%1/%2%3")
                                 .arg(1 + (i / 50) % 28, 2, 10, QLatin1Char('0'))
                                 .arg(1 + (i / 1400) % 12, 2, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(kMarkers[(i / 16800) % 3]));
        rows.push_back({data, QString::number(1 + (i / 50400) % 24), QString::number(1 + i % 50),
                        QStringLiteral("Paciente Desmarcado %1").arg(i),
                        QStringLiteral("9%1-4444").arg(1000 + i % 9000), QString::number(1 + i % 4),
                        QStringLiteral("Desmarcou por telefone")});
    }
    for (int i = 0; i < waiting; ++i) {
        const QString key = waitingkey::make(today.addDays(-(i / 80000)), i % 80000);
        rows.push_back({key.left(8), key.mid(8), QString::number(1 + i % 80),
                        QStringLiteral("Paciente em Espera %1").arg(i),
                        QStringLiteral("9%1-5555").arg(1000 + i % 9000), QStringLiteral("1"),
                        QStringLiteral("Aceita qualquer horário")});
    }
    table.insertAll(rows);
    return static_cast<int>(rows.size());
}

std::size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

struct Bare
{
    sqlite3 *db = nullptr;

    explicit Bare(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~Bare() { sqlite3_close(db); }

    // The list's rows and columns, kept as one block of text: returns their own bytes.
    std::size_t read(const char *where, std::string &block, std::vector<std::uint32_t> &starts) const
    {
        const std::string sql =
            std::string("SELECT Data, Hora, Medico, Paciente, Telefone, Situacao FROM Medicos WHERE ") +
            where + " ORDER BY Data, Hora, Medico";
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
        block.clear();
        starts.clear();
        std::size_t own = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            starts.push_back(static_cast<std::uint32_t>(block.size()));
            for (int c = 0; c < 6; ++c) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s, c));
                const int bytes = sqlite3_column_bytes(s, c);
                block.append(text, static_cast<std::size_t>(bytes));
                block.push_back('\0');
                own += static_cast<std::size_t>(bytes);
            }
        }
        sqlite3_finalize(s);
        return own;
    }

    void deleteKeys(const std::vector<AppointmentKey> &keys) const
    {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(
            db, "DELETE FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3 AND Data LIKE '%/'", -1,
            &s, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const AppointmentKey &k : keys) {
            const QByteArray d = k.data.toUtf8(), h = k.hora.toUtf8(), m = k.medico.toUtf8();
            sqlite3_bind_text(s, 1, d.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 2, h.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 3, m.constData(), -1, SQLITE_STATIC);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(s);
    }

    // The entry read by its key, then moved to a dated key, as its own transaction.
    void rebook(const AppointmentKey &from, const AppointmentKey &to) const
    {
        sqlite3_stmt *find = nullptr, *update = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM Medicos WHERE Data = ?1 AND Hora = ?2 AND Medico = ?3", -1,
                           &find, nullptr);
        sqlite3_prepare_v2(
            db,
            "UPDATE Medicos SET Data = ?1, Hora = ?2, Medico = ?3 WHERE Data = ?4 AND Hora = ?5 "
            "AND Medico = ?6",
            -1, &update, nullptr);
        const QByteArray d = from.data.toUtf8(), h = from.hora.toUtf8(), m = from.medico.toUtf8();
        const QByteArray nd = to.data.toUtf8(), nh = to.hora.toUtf8(), nm = to.medico.toUtf8();
        sqlite3_bind_text(find, 1, d.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(find, 2, h.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(find, 3, m.constData(), -1, SQLITE_STATIC);
        sqlite3_step(find);
        for (int c = 0; c < 7; ++c)
            sqlite3_column_bytes(find, c);
        sqlite3_bind_text(update, 1, nd.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 2, nh.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 3, nm.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 4, d.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 5, h.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 6, m.constData(), -1, SQLITE_STATIC);
        sqlite3_step(update);
        sqlite3_finalize(find);
        sqlite3_finalize(update);
    }
};

void run(int size)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const QDate today = QDate::currentDate();
    const int scale = std::max(1, size / bench::kMonthRows);
    bench::setTableSize(size);
    bench::installFullRegister(dir);
    textfile::writeOneLine(dir + QStringLiteral("/DataIniFim.Txt"), dates::format(today.addDays(30)));
    // The month from today, and for the larger table the days before it.
    int dated = bench::bookFullMonth(dir, today);
    if (scale > 1)
        dated += bench::addHistory(dir, today, (size - dated) / 1200);

    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
    AppContext &context = program.context;
    AppointmentTable &table = context.DMMedicos.table();
    const int entries = addEntries(table, today, 5000 * scale, 5000 * scale);
    // Two days emptied for the rebookings: one for the program, one for the bare.
    const QString programDay = dates::formatShort(today.addDays(28));
    const QString bareDay = dates::formatShort(today.addDays(29));
    for (const QString &day : {programDay, bareDay})
        table.database().exec(QStringLiteral("DELETE FROM Medicos WHERE Data = '%1'").arg(day));
    std::printf("%d dated rows (%d kept after emptying two days), %d list entries\n", dated,
                table.count() - entries, entries);
    std::fflush(stdout);

    TFVisaoGeral screen(context);
    screen.prepareMonthTab();
    screen.resize(1366, 700);
    screen.show();
    // The blinking preparation notice would tick inside the timings.
    screen.Timer1->stop();
    QApplication::processEvents();
    Bare bare(dir + QStringLiteral("/Medicos.db"));
    std::string block;
    std::vector<std::uint32_t> starts;
    const int pairs = 21;

    // "Atualizar" of each list, and the memory the open list takes.
    const struct
    {
        ListTabWidget *tab;
        const char *where;
        const char *label;
    } lists[] = {{&screen.desmarcadas(), "Data LIKE '%/'", "\"Atualizar\" of Desmarcadas"},
                 {&screen.emEspera(), "Data BETWEEN '4' AND '5'", "\"Atualizar\" of Em Espera"}};
    for (const auto &l : lists) {
        screen.PageControl1->setCurrentWidget(l.tab);
        QApplication::processEvents();
        const auto open = [&] {
            l.tab->atualizar->click();
            QApplication::processEvents();
        };
        // Both warm their caches once.
        open();
        bare.read(l.where, block, starts);
        bench::report(l.label,
                      bench::paired(
                          pairs, [&] { return bench::timeMs(open); },
                          [&] { return bench::timeMs([&] { bare.read(l.where, block, starts); }); }));

        const std::size_t own = bare.read(l.where, block, starts);
        std::string().swap(block);
        std::vector<std::uint32_t>().swap(starts);
        l.tab->tab().entries().close();
        QApplication::processEvents();
        malloc_trim(0);
        const std::size_t before = heapInUse();
        open();
        const std::size_t after = heapInUse();
        std::printf("  %-34s program %9.2f MB   own text %6.2f MB   ratio %6.2f x  (%d rows)\n",
                    "  memory of the open list", (after - before) / 1048576.0, own / 1048576.0,
                    static_cast<double>(after - before) / static_cast<double>(own),
                    l.tab->tab().entries().count());
    }

    // "Excluir" of 1,000 selected entries of "Desmarcadas".
    ListTabWidget &cancelled = screen.desmarcadas();
    screen.PageControl1->setCurrentWidget(&cancelled);
    bench::Paired removal;
    for (int i = 0; i < pairs; ++i) {
        cancelled.atualizar->click();
        QApplication::processEvents();
        const ListEntries &model = cancelled.tab().entries();
        const int step = model.count() / 2002; // the last bare row stays inside the list
        QItemSelection selection;
        std::vector<AppointmentKey> bareKeys;
        std::vector<Appointment> putBack;
        for (int k = 0; k < 1000; ++k) {
            const int row = (2 * k + i % 2) * step;
            const QModelIndex index = model.index(row, 0);
            selection.select(index, index);
            putBack.push_back(*table.find(model.key(row)));
            const AppointmentKey other = model.key(row + step);
            bareKeys.push_back(other);
            putBack.push_back(*table.find(other));
        }
        cancelled.grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
        removal.program.push_back(bench::timeMs([&] {
            cancelled.excluir->click();
            QApplication::processEvents();
        }));
        removal.bare.push_back(bench::timeMs([&] { bare.deleteKeys(bareKeys); }));
        if (table.count() != dated - 2400 + entries - 2000)
            std::fprintf(stderr, "Excluir left %d rows\n", table.count());
        table.insertAll(putBack);
    }
    bench::report("\"Excluir\" of 1,000 selected", removal);

    // One rebooking onto a free slot.
    cancelled.atualizar->click();
    const ListEntries &model = cancelled.tab().entries();
    RebookingEditor editor(context);
    bench::Paired rebooking;
    for (int i = 0; i < 24; ++i) {
        const QString slot = QString::number(1 + i);
        const QString code = QString::number(1 + (7 * i) % 50);
        const AppointmentKey programEntry = model.key(2 * i * 37);
        const AppointmentKey bareEntry = model.key((2 * i + 1) * 37);
        editor.openEntry(programEntry, RebookingEditor::Origin::Cancelled);
        const Appointment &shown = editor.shown();
        const TypedEntry typed{programDay,       slot, code, shown.paciente, shown.telefone, shown.situacao,
                               shown.observacoes};
        bool done = false;
        rebooking.program.push_back(bench::timeMs([&] { done = editor.alterar(typed); }));
        rebooking.bare.push_back(bench::timeMs([&] { bare.rebook(bareEntry, {bareDay, slot, code}); }));
        if (!done || !table.contains({programDay, slot, code}))
            std::fprintf(stderr, "rebooking %d did not happen\n", i);
    }
    bench::report("one rebooking (\"Alterar\")", rebooking);
    screen.hide();
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    for (const int size : bench::sizesFrom(argc, argv, 1))
        run(size);
    return 0;
}
