// The searches a receptionist waits on, each against a bare baseline run alternately
// with it (A B A B ...), at a full month (37,200 rows) and at ten times that (half a
// year of history and large lists):
//  - the slot search of "Pesquisas" over 50 doctors and 32 dates (38,400 result rows),
//    against bare SQLite reading the same dates by their key and building the same rows;
//    " Livres" and "Ocupados" taken from the rows in memory; the memory of the rows and
//    grids against the rows' own data;
//  - the name search where "a" matches nearly every row, against the bare LIKE query of
//    the same columns kept in one block of memory;
//  - F4 on the booking screen until the name search is painted, against a bare modal
//    dialog with the same widgets.
// Usage: bench_searches [PAIRS [ROWS...]].
#include "app/context.h"
#include "bench_data.h"
#include "booking/grid_view.h"
#include "booking/tfvisaogeral.h"
#include "platform/dates.h"
#include "platform/text_file.h"
#include "search/name_search.h"
#include "search/slot_search.h"
#include "search/tfprocuranome.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace clinora;

namespace {

std::size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// The rows of the slot search as a bare program keeps them: small structures, and the
// patient and phone of the booked ones in one block of text.
struct BareRow
{
    quint8 date;
    quint8 code;
    quint8 slot;
    quint8 kind; // 0 booked, 1 free, 2 leave
    quint32 text;
};

// "7" gives 7; "07", " 7" and "" give 0: the table's plain numbers, as the program reads them.
int barePlain(const unsigned char *t, int n)
{
    if (n < 1 || n > 2 || t[0] < '1' || t[0] > '9')
        return 0;
    if (n == 1)
        return t[0] - '0';
    return t[1] >= '0' && t[1] <= '9' ? (t[0] - '0') * 10 + (t[1] - '0') : 0;
}

struct BareResult
{
    std::vector<BareRow> rows;
    std::string text;
    // The start times per (weekday, doctor, slot): the timetable's five characters.
    std::vector<std::array<char, 6>> times;
};

// Bare SQLite reading the chosen dates by their key (the columns the rows show), and
// building the same rows as the program: every timetable slot of the date's weekday,
// booked, free or on leave, and every appointment of a slot 1 to 24.
struct BareSearch
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *day = nullptr;
    const DoctorRegister &doctors;
    std::array<std::pair<qint64, qint64>, 51> leave{}; // [start, end) as Julian days

    explicit BareSearch(const QString &path, const DoctorRegister &register_) : doctors(register_)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db,
                           "SELECT Hora, Medico, Paciente, Telefone FROM Medicos "
                           "WHERE Data = ?1 ORDER BY Data, Hora, Medico",
                           -1, &day, nullptr);
    }
    ~BareSearch()
    {
        sqlite3_finalize(day);
        sqlite3_close(db);
    }

    BareResult run(const std::vector<int> &codes, const std::vector<std::string> &dates)
    {
        BareResult r;
        // The register as it stands: the leaves and the start times, read once.
        for (const int c : codes) {
            const Doctor &d = doctors.doctor(c);
            leave[static_cast<std::size_t>(c)] = {0, 0};
            if (d.hasLeave())
                leave[static_cast<std::size_t>(c)] = {dates::parseOrThrow(d.leaveStart).toJulianDay(),
                                                      dates::parseOrThrow(d.leaveEnd).toJulianDay()};
        }
        r.times.resize(8 * 51 * 25);
        std::array<bool, 8> weekdayRead{};
        r.text.assign(2, '\0');
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (std::size_t d = 0; d < dates.size(); ++d) {
            const QDate date = dates::parseOrThrow(QString::fromStdString(dates[d]));
            const int weekday = dates::weekday(date);
            if (!weekdayRead[static_cast<std::size_t>(weekday)]) {
                weekdayRead[static_cast<std::size_t>(weekday)] = true;
                for (const int c : codes)
                    for (int s = 1; s <= 24; ++s) {
                        const QByteArray time = doctors.time(weekday, c, s).toLatin1().left(5);
                        std::memcpy(r.times[static_cast<std::size_t>((weekday * 51 + c) * 25 + s)].data(),
                                    time.constData(), static_cast<std::size_t>(time.size()) + 1);
                    }
            }
            std::array<std::array<quint32, 25>, 51> found{};
            sqlite3_bind_text(day, 1, dates[d].c_str(), -1, SQLITE_STATIC);
            while (sqlite3_step(day) == SQLITE_ROW) {
                const int hora = barePlain(sqlite3_column_text(day, 0), sqlite3_column_bytes(day, 0));
                const int medico = barePlain(sqlite3_column_text(day, 1), sqlite3_column_bytes(day, 1));
                if (hora < 1 || hora > 24 || medico < 1 || medico > 50)
                    continue;
                found[static_cast<std::size_t>(medico)][static_cast<std::size_t>(hora)] =
                    static_cast<quint32>(r.text.size());
                for (int col = 2; col < 4; ++col) {
                    r.text.append(reinterpret_cast<const char *>(sqlite3_column_text(day, col)),
                                  static_cast<std::size_t>(sqlite3_column_bytes(day, col)));
                    r.text.push_back('\0');
                }
            }
            sqlite3_reset(day);
            const qint64 julian = date.toJulianDay();
            for (const int c : codes) {
                const auto &[from, to] = leave[static_cast<std::size_t>(c)];
                const bool onLeave = from != 0 && from <= julian && julian < to;
                for (int s = 1; s <= 24; ++s) {
                    const quint32 f = found[static_cast<std::size_t>(c)][static_cast<std::size_t>(s)];
                    const char *time = r.times[static_cast<std::size_t>((weekday * 51 + c) * 25 + s)].data();
                    if (f != 0)
                        r.rows.push_back(
                            {static_cast<quint8>(d), static_cast<quint8>(c), static_cast<quint8>(s), 0, f});
                    else if (time[0] != '\0' && !(time[0] == ' ' && time[1] == '\0'))
                        r.rows.push_back({static_cast<quint8>(d), static_cast<quint8>(c),
                                          static_cast<quint8>(s), static_cast<quint8>(onLeave ? 2 : 1), 0});
                }
            }
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        r.rows.shrink_to_fit();
        r.text.shrink_to_fit();
        return r;
    }
};

// The bare LIKE query of the name search, its rows kept in one block of memory.
std::size_t bareLike(sqlite3 *db, const char *text)
{
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT Data, Hora, Medico, Paciente, Telefone, Situacao FROM Medicos WHERE Paciente LIKE "
        "'%' || ?1 || '%' ESCAPE '\\' ORDER BY Data, Hora, Medico",
        -1, &s, nullptr);
    sqlite3_bind_text(s, 1, text, -1, SQLITE_STATIC);
    std::string block;
    std::vector<quint32> starts;
    while (sqlite3_step(s) == SQLITE_ROW) {
        starts.push_back(static_cast<quint32>(block.size()));
        for (int col = 0; col < 6; ++col) {
            block.append(reinterpret_cast<const char *>(sqlite3_column_text(s, col)),
                         static_cast<std::size_t>(sqlite3_column_bytes(s, col)));
            block.push_back('\0');
        }
    }
    sqlite3_finalize(s);
    return starts.size();
}

// A dialog with the widgets of the name search, nothing more.
class BareDialog : public QDialog
{
public:
    BareDialog()
    {
        auto *top = new QHBoxLayout;
        top->addWidget(new QLabel(QStringLiteral("Entre com o nome do Paciente"), this));
        top->addWidget(new QLineEdit(this), 1);
        top->addWidget(new QPushButton(QStringLiteral("Procurar"), this));
        auto *grid = new QTableView(this);
        grid->setModel(new QStandardItemModel(0, 5, grid));
        auto *layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addWidget(grid, 1);
        layout->addWidget(new QPushButton(QStringLiteral("Sair"), this), 0, Qt::AlignRight);
        resize(640, 440);
    }
};

// The time from start until the dialog is painted; the dialog is then closed.
class PaintTimer : public QObject
{
public:
    explicit PaintTimer(QDialog *dialog) : m_dialog(dialog) { dialog->installEventFilter(this); }
    void start()
    {
        m_start = std::chrono::steady_clock::now();
        m_ms = -1;
        m_painted = false;
    }
    double ms() const { return m_ms; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The first paint is let through; the time is taken right after it.
        if (watched == m_dialog && event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, m_dialog, [this] {
                m_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start)
                           .count();
                m_dialog->reject();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog *m_dialog;
    std::chrono::steady_clock::time_point m_start;
    double m_ms = -1;
    bool m_painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    const QDate today = QDate::currentDate();
    for (const int size : bench::sizesFrom(argc, argv, 2)) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const int rows = bench::buildClinic(dir, today, size);
        // 32 open dates: today and the next 31 days.
        textfile::writeOneLine(dir + QStringLiteral("/DataIniFim.Txt"), dates::format(today.addDays(31)));
        bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
        AppContext &context = program.context;
        std::printf("searches, %d rows in the table\n", rows);

        QStringList codes;
        for (int c = 1; c <= 50; ++c)
            codes << (QString::number(c) + QLatin1Char(' ')).left(2);
        QStringList days;
        std::vector<std::string> bareDays;
        std::vector<int> bareCodes;
        for (int c = 1; c <= 50; ++c)
            bareCodes.push_back(c);
        for (int d = 0; d < 32; ++d) {
            days << dates::formatShort(today.addDays(d));
            bareDays.push_back(days.last().toStdString());
        }

        SlotSearch search;
        SlotGrid all(search, SlotGrid::Show::All);
        SlotGrid free(search, SlotGrid::Show::Free);
        SlotGrid occupied(search, SlotGrid::Show::Occupied);
        BareSearch bare(dir + QStringLiteral("/Medicos.db"), context.doctors);
        std::size_t bareRows = 0;
        BareResult kept;
        const bench::Paired slotRuns = bench::paired(
            pairs,
            [&] {
                return bench::timeMs([&] {
                    search.run(context, codes, days);
                    all.refill();
                });
            },
            [&] {
                return bench::timeMs([&] {
                    kept = bare.run(bareCodes, bareDays);
                    bareRows = kept.rows.size();
                });
            });
        // The bare run must find what the program finds, row for row.
        int differing = search.count() == static_cast<int>(kept.rows.size()) ? 0 : 1;
        for (int r = 0; r < search.count() && !differing; ++r) {
            const BareRow &b = kept.rows[static_cast<std::size_t>(r)];
            const char *text = kept.text.data() + b.text;
            const QString patient = QString::fromUtf8(text);
            const QString phone = QString::fromUtf8(text + std::strlen(text) + 1);
            const char *time = kept.times[static_cast<std::size_t>(
                (dates::weekday(dates::parseOrThrow(search.date(r))) * 51 + b.code) * 25 + b.slot)].data();
            const int kind = static_cast<int>(search.kind(r));
            if (search.date(r) != days[b.date] || search.code(r) != b.code || search.slot(r) != b.slot ||
                kind != b.kind || search.time(r) != QString::fromLatin1(time) ||
                search.patient(r) != patient || search.phone(r) != phone)
                differing = r + 1;
        }
        std::printf("  slot search: %d rows (bare %zu), %s\n", search.count(), bareRows,
                    differing ? "the rows DIFFER" : "the same rows");
        bench::report("slot search, 50 doctors x 32 dates", slotRuns);
        const bench::Paired filters = bench::paired(
            pairs,
            [&] {
                return bench::timeMs([&] {
                    free.refill();
                    occupied.refill();
                });
            },
            [&] {
                return bench::timeMs([&] {
                    std::vector<std::size_t> f, o;
                    for (std::size_t i = 0; i < kept.rows.size(); ++i)
                        (kept.rows[i].kind == 1 ? f : o).push_back(i);
                    bareRows = f.size() + o.size();
                });
            });
        bench::report("\" Livres\" and \"Ocupados\"", filters);

        // Memory: the rows and the three grids, against the rows' own data (date, doctor,
        // slot, time, patient and phone of every row).
        search.clear();
        all.clear();
        free.clear();
        occupied.clear();
        const std::size_t before = heapInUse();
        search.run(context, codes, days);
        all.refill();
        free.refill();
        occupied.refill();
        const std::size_t grown = heapInUse() - before;
        std::size_t data = 0;
        for (int r = 0; r < all.rowCount(); ++r) {
            for (const int column : {SlotGrid::Data, SlotGrid::CodMed, SlotGrid::CodHora, SlotGrid::Horario})
                data += static_cast<std::size_t>(all.text(r, column).toUtf8().size());
            data +=
                static_cast<std::size_t>(search.patient(r).toUtf8().size() + search.phone(r).toUtf8().size());
        }
        const std::size_t held =
            search.memoryBytes() + all.memoryBytes() + free.memoryBytes() + occupied.memoryBytes();
        std::printf("  memory of the result: %.0f KB held (heap grew %.0f KB), rows' data %.0f KB: %.2f x\n",
                    held / 1024.0, grown / 1024.0, data / 1024.0, static_cast<double>(grown) / data);

        NameSearch names(context);
        sqlite3 *db = nullptr;
        sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr);
        std::size_t bareHits = 0;
        const bench::Paired byName = bench::paired(
            pairs, [&] { return bench::timeMs([&] { names.search(QStringLiteral("a")); }); },
            [&] { return bench::timeMs([&] { bareHits = bareLike(db, "a"); }); });
        std::printf("  name search \"a\": %d hits (bare %zu)\n", names.hits().count(), bareHits);
        bench::report("name search", byName);
        sqlite3_close(db);
        names.clear();

        // F4 on the month grid of the booking screen, until the dialog is painted.
        TFVisaoGeral screen(context);
        screen.prepareMonthTab();
        screen.show();
        QApplication::processEvents();
        screen.StringGrid1->setFocus();
        PaintTimer programTimer(&screen.procuraNome());
        BareDialog bareDialog;
        PaintTimer bareTimer(&bareDialog);
        const bench::Paired f4 = bench::paired(
            pairs * 3,
            [&] {
                programTimer.start();
                QKeyEvent press(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
                QApplication::sendEvent(screen.StringGrid1, &press);
                return programTimer.ms();
            },
            [&] {
                bareTimer.start();
                bareDialog.exec();
                return bareTimer.ms();
            });
        bench::report("F4 until the name search shows", f4);
        screen.hide();
        context.DMMedicos.close();
    }
    return 0;
}
