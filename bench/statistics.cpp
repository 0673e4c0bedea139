// The statistics, against bare work that does the same in plain C++ and the SQLite C
// API, run alternately (A B A B ...), each figure the median of the per-pair ratios:
//  - the automatic entry over the 31 missed days of a full month, at a full month and
//    at ten times that: the program (one read per day, the weekly table, the counted
//    days, the movements, posting, the files committed as one group) against the bare
//    reading and parsing the same files, counting the same 31 dates of the table per
//    doctor, week and situation, posting the movements and formatting the same files;
//  - posting 13,950 pending lines: the program against the bare reading MovMes.Txt and
//    the three tables, posting each line and formatting the files it changes;
//  - the year close with December's lines pending: the program (posting, the ten files
//    archived, the history shifted, the tables, weeks and settings reset, all as one
//    group) against the bare doing the same from the same files and templates.
// Every bare run's bytes are checked against the program's, file by file. The bare
// writes come twice: as a group (each file written and synced beside its target, a
// synced list naming them, all renamed, the directory synced, the list removed and the
// directory synced again: the writes the program's commit makes), and as plain durable
// writes of the files alone (written, synced, renamed, the directory synced once),
// which leaves the group's list out.
#include "app/context.h"
#include "bench_data.h"
#include "core/data_files.h"
#include "core/doctor_register.h"
#include "core/settings.h"
#include "platform/dates.h"
#include "platform/text_file.h"
#include "statistics/automatic_entry.h"
#include "statistics/doctor_months.h"
#include "statistics/pending_movements.h"
#include "statistics/posting.h"
#include "statistics/year_close.h"
#include "statistics/year_code.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unordered_set>
#include <vector>
#include <sqlite3.h>
#include <unistd.h>

// The bare statistics: the same files read and parsed, the same counts made and the same
// fixed-width bytes formatted, in plain C++ over the files' bytes and the SQLite C API.
// It handles what the benchmark's clinics hold (sound files, every line a movement with
// a row to go to); anything else aborts the benchmark rather than time less work.
namespace bare {

using Files = std::map<QString, QByteArray>;

[[noreturn]] void unexpected(const char *what)
{
    std::fprintf(stderr, "bare statistics: %s\n", what);
    std::abort();
}

// The bytes of a file; a missing file is an error unless exists is given.
std::string read(const std::string &path, bool *exists = nullptr)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        if (!exists)
            unexpected("a file is missing");
        *exists = false;
        return {};
    }
    if (exists)
        *exists = true;
    struct stat status{};
    ::fstat(fd, &status);
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            unexpected("a file cannot be read");
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return bytes;
}

// The lines of a text file, split at CR, LF or CR LF; a byte that is not text refused.
std::vector<std::string_view> lines(std::string_view bytes)
{
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A) || b == 0x7F)
            unexpected("a byte that is not text");
    }
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        result.push_back(bytes.substr(start, end - start));
        if (end < bytes.size() && bytes[end] == '\r')
            ++end;
        if (end < bytes.size() && bytes[end] == '\n')
            ++end;
        start = end;
    }
    return result;
}

// Digits only, 1 to 9 of them; -1 otherwise.
int number(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A number as the system writes it ("7", not "07"), 1 to most; 0 otherwise.
int plain(std::string_view text, int most)
{
    const int value = number(text);
    return value < 1 || value > most || text[0] == '0' ? 0 : value;
}

// A count with leading zeros to its width (no width: as it is).
void put(std::string &out, int value, int width)
{
    if (value < 0)
        unexpected("a negative count");
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = n; i < width; ++i)
        out += '0';
    while (n > 0)
        out += digits[--n];
}

void endLine(std::string &out)
{
    out += "\r\n";
}

// Dates as days since 1 January 1970.
int toDays(int y, int m, int d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

void fromDays(int z, int &y, int &m, int &d)
{
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

// "dd/mm/yyyy" of a real day; -1 otherwise.
int parseDate(std::string_view text)
{
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return -1;
    const int d = number(text.substr(0, 2));
    const int m = number(text.substr(3, 2));
    const int y = number(text.substr(6, 4));
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1)
        return -1;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[m - 1] + (m == 2 && leap))
        return -1;
    return toDays(y, m, d);
}

// dd/mm/yyyy, or dd/mm/yy as the table keys its dates.
void putDate(std::string &out, int days, bool shortYear = false)
{
    int y = 0, m = 0, d = 0;
    fromDays(days, y, m, d);
    put(out, d, 2);
    out += '/';
    put(out, m, 2);
    out += '/';
    put(out, shortYear ? y % 100 : y, shortYear ? 2 : 4);
}

// A monthly table: per line a few code characters and twelve counts of four digits.
struct Months
{
    std::vector<std::string> codes;
    std::vector<std::array<int, 12>> counts;
};

Months parseMonths(std::string_view bytes, std::size_t rows, std::size_t codeWidth)
{
    const std::vector<std::string_view> all = lines(bytes);
    if (all.size() != rows)
        unexpected("a monthly table with the wrong number of lines");
    Months table;
    table.codes.reserve(rows);
    table.counts.resize(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string_view line = all[i];
        if (line.size() != codeWidth + 48)
            unexpected("a monthly line of the wrong width");
        table.codes.emplace_back(line.substr(0, codeWidth));
        for (std::size_t m = 0; m < 12; ++m) {
            const int value = number(line.substr(codeWidth + 4 * m, 4));
            if (value < 0)
                unexpected("a monthly count that is not four digits");
            table.counts[i][m] = value;
        }
    }
    return table;
}

std::string format(const Months &table)
{
    std::string out;
    out.reserve(table.codes.size() * (table.codes.front().size() + 50));
    for (std::size_t i = 0; i < table.codes.size(); ++i) {
        out += table.codes[i];
        for (const int count : table.counts[i])
            put(out, count, 4);
        endLine(out);
    }
    return out;
}

// The weekly table: booked and attended of 54 weeks x 50 doctors.
using Weekly = std::vector<std::array<int, 2>>;

Weekly parseWeekly(std::string_view bytes)
{
    const std::vector<std::string_view> all = lines(bytes);
    if (all.size() != 2700)
        unexpected("a weekly table with the wrong number of lines");
    Weekly weekly(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int booked = number(all[i].substr(0, 4));
        const int attended = all[i].size() == 8 ? number(all[i].substr(4, 4)) : -1;
        if (booked < 0 || attended < 0)
            unexpected("a weekly line that is not two counts");
        weekly[i] = {booked, attended};
    }
    return weekly;
}

std::string formatWeekly(const Weekly &weekly)
{
    std::string out;
    out.reserve(weekly.size() * 10);
    for (const auto &record : weekly) {
        put(out, record[0], 4);
        put(out, record[1], 4);
        endLine(out);
    }
    return out;
}

// The weeks: first and last day of each.
using Weeks = std::vector<std::array<int, 2>>;

Weeks parseWeeks(std::string_view bytes)
{
    const std::vector<std::string_view> all = lines(bytes);
    if (all.size() > 54)
        unexpected("more than 54 weeks");
    Weeks weeks;
    for (const std::string_view line : all) {
        const int first = line.size() == 20 ? parseDate(line.substr(0, 10)) : -1;
        const int last = line.size() == 20 ? parseDate(line.substr(10)) : -1;
        if (first < 0 || last < first)
            unexpected("a line that is not a week");
        weeks.push_back({first, last});
    }
    return weeks;
}

std::string formatWeeks(const Weeks &weeks)
{
    std::string out;
    for (const auto &week : weeks) {
        putDate(out, week[0]);
        putDate(out, week[1]);
        endLine(out);
    }
    return out;
}

// Monday to Sunday, from the Monday on or before 1 January to the week of 31 December.
Weeks weeksOfYear(int year)
{
    const int january1 = toDays(year, 1, 1);
    const int december31 = toDays(year, 12, 31);
    // 1 January 1970 was a Thursday.
    int start = january1 - ((january1 % 7 + 7 + 3) % 7);
    Weeks weeks;
    for (int i = 0; i < 55 && start <= december31; ++i, start += 7)
        weeks.push_back({start, start + 6});
    return weeks;
}

// The days counted: date, doctor, week and eleven counts.
struct Counted
{
    int day;
    int doctor;
    int week;
    std::array<int, 11> counts; // booked, attended, situations 1 to 9
};

std::vector<Counted> parseCounted(std::string_view bytes)
{
    std::vector<Counted> days;
    for (const std::string_view line : lines(bytes)) {
        if (line.size() != 58)
            unexpected("a counted day of the wrong width");
        Counted day{};
        day.day = parseDate(line.substr(0, 10));
        const std::string_view doctor = line[11] == ' ' ? line.substr(10, 1) : line.substr(10, 2);
        day.doctor = number(doctor);
        day.week = number(line.substr(12, 2));
        if (day.day < 0 || day.doctor < 1 || day.doctor > 50 || day.week < 0)
            unexpected("a line that is not a counted day");
        for (std::size_t c = 0; c < 11; ++c) {
            day.counts[c] = number(line.substr(14 + 4 * c, 4));
            if (day.counts[c] < 0)
                unexpected("a counted day's count that is not four digits");
        }
        days.push_back(day);
    }
    return days;
}

// A doctor's number left-aligned in two characters ("7 ").
void putDoctor(std::string &out, int doctor)
{
    put(out, doctor, 0);
    if (doctor < 10)
        out += ' ';
}

std::string format(const std::vector<Counted> &days)
{
    std::string out;
    out.reserve(days.size() * 60);
    for (const Counted &day : days) {
        putDate(out, day.day);
        putDoctor(out, day.doctor);
        put(out, day.week, 2);
        for (const int count : day.counts)
            put(out, count, 4);
        endLine(out);
    }
    return out;
}

// A pending movement line.
struct Move
{
    int doctor, month, situation, quantity;
};

bool parseMove(std::string_view line, Move &move)
{
    if (line.size() < 6)
        return false;
    const std::string_view doctor = line[1] == ' ' ? line.substr(0, 1) : line.substr(0, 2);
    move.doctor = number(doctor);
    if (move.doctor < 1 || move.doctor > 50 || doctor[0] == '0')
        return false;
    move.month = number(line.substr(2, 2));
    if (move.month < 1 || move.month > 12)
        return false;
    move.situation = number(line.substr(4, 1));
    if (move.situation < 1)
        return false;
    const std::string_view quantity = line.substr(5);
    const bool negative = quantity[0] == '-';
    const int amount = number(negative ? quantity.substr(1) : quantity);
    if (amount < 0 || quantity.size() > 4)
        return false;
    move.quantity = negative ? -amount : amount;
    return true;
}

void putMove(std::string &out, int doctor, int month, int situation, int quantity)
{
    putDoctor(out, doctor);
    put(out, month, 2);
    out += static_cast<char>('0' + situation);
    if (quantity < 0)
        out += '-';
    put(out, quantity < 0 ? -quantity : quantity, 0);
    endLine(out);
}

// The three monthly tables a posting adds to.
struct Tables
{
    Months doctors, specialties, situations;
};

Tables readTables(const std::string &dir)
{
    return {parseMonths(read(dir + "MedMeses.Txt"), 80, 4), parseMonths(read(dir + "EspMeses.Txt"), 30, 2),
            parseMonths(read(dir + "SitMeses.Txt"), 300, 3)};
}

// Posts every line into its doctor's, situation's and specialty's month; a line that
// would take a cell out of 0 ... 9,999 stays pending, in kept.
int post(const std::vector<std::string_view> &pending, Tables &tables, std::string &kept)
{
    std::array<int, 51> specialtyOf{};
    for (std::size_t d = 1; d <= 50; ++d) {
        const std::string_view code = std::string_view(tables.doctors.codes[d - 1]).substr(2, 2);
        const int e = number(code);
        specialtyOf[d] = code.size() == 2 && e >= 51 && e <= 80 ? e : 0;
    }
    std::array<int, 9 * 30> rowOf{};
    for (int n = 300; n >= 1; --n) {
        const std::string_view code = tables.situations.codes[static_cast<std::size_t>(n - 1)];
        const int situation = number(code.substr(0, 1));
        const int specialty = number(code.substr(1, 2));
        if (situation >= 1 && situation <= 9 && specialty >= 51 && specialty <= 80 && code[1] != '0')
            rowOf[static_cast<std::size_t>((situation - 1) * 30 + specialty - 51)] = n;
    }
    int posted = 0;
    for (const std::string_view line : pending) {
        Move move{};
        if (!parseMove(line, move))
            unexpected("a pending line that is not a movement");
        const int e = specialtyOf[static_cast<std::size_t>(move.doctor)];
        const int s = e == 0 ? 0 : rowOf[static_cast<std::size_t>((move.situation - 1) * 30 + e - 51)];
        if (s == 0)
            unexpected("a pending line with no row to go to");
        const auto m = static_cast<std::size_t>(move.month - 1);
        int &doctor = tables.doctors.counts[static_cast<std::size_t>(move.doctor - 1)][m];
        int &situation = tables.situations.counts[static_cast<std::size_t>(s - 1)][m];
        int &specialty = tables.specialties.counts[static_cast<std::size_t>(e - 51)][m];
        const int q = move.quantity;
        const auto fits = [q](int count) { return count + q >= 0 && count + q <= 9999; };
        if (!fits(doctor) || !fits(situation) || !fits(specialty)) {
            kept += line;
            endLine(kept);
            continue;
        }
        doctor += q;
        situation += q;
        specialty += q;
        ++posted;
    }
    return posted;
}

QByteArray bytes(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A file goes to the commit when its new bytes differ from those read.
void addIfChanged(Files &out, const char *name, const std::string &now, std::string_view before)
{
    if (now != before)
        out[QLatin1String(name)] = bytes(now);
}

std::string joined(const std::vector<std::string> &settings)
{
    std::string out;
    for (const std::string &line : settings) {
        out += line;
        endLine(out);
    }
    return out;
}

// The pending lines posted into the three monthly tables: the tables and MovMes.Txt
// (what stays pending) where their bytes changed.
Files postedTables(const std::string &dir, const std::vector<std::string_view> &pending,
                   const std::string &pendingBytes)
{
    Tables tables = readTables(dir);
    const std::string doctorsBefore = format(tables.doctors);
    const std::string specialtiesBefore = format(tables.specialties);
    const std::string situationsBefore = format(tables.situations);
    std::string kept;
    post(pending, tables, kept);
    Files out;
    addIfChanged(out, "MedMeses.Txt", format(tables.doctors), doctorsBefore);
    addIfChanged(out, "EspMeses.Txt", format(tables.specialties), specialtiesBefore);
    addIfChanged(out, "SitMeses.Txt", format(tables.situations), situationsBefore);
    addIfChanged(out, "MovMes.Txt", kept, pendingBytes);
    return out;
}

// What the automatic entry needs besides the files: the settings and the register as
// the program holds them in memory.
struct EntrySetup
{
    std::string dir; // with its final '/'
    std::array<bool, 51> active{}; // a doctor's code in use
    std::vector<std::string> settings;
    int first = 0, last = 0; // days
};

Files automaticEntry(const EntrySetup &setup, sqlite3 *db)
{
    const std::string &dir = setup.dir;
    const std::string weeksBytes = read(dir + "Semanas.Txt");
    const Weeks weeks = parseWeeks(weeksBytes);
    bool exists = false;
    const std::string countedBytes = read(dir + "FichasGravadas.Txt", &exists);
    std::vector<Counted> counted = parseCounted(countedBytes);
    std::unordered_set<int> countedKeys;
    for (const Counted &day : counted)
        countedKeys.insert(day.day * 64 + day.doctor);
    const std::string weeklyBytes = read(dir + "PrevReal.Txt");
    Weekly weekly = parseWeekly(weeklyBytes);
    const std::string pendingBytes = read(dir + "MovMes.Txt");
    std::string added; // the day's movement lines, after the pending ones

    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT Hora, Medico, Paciente, Situacao FROM Medicos WHERE Data = ?1", -1,
                           &statement, nullptr) != SQLITE_OK)
        unexpected("the day's query");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int day = setup.first; day <= setup.last; ++day) {
        int week = 0;
        for (std::size_t w = 0; w < weeks.size() && week == 0; ++w)
            if (weeks[w][0] <= day && day <= weeks[w][1])
                week = static_cast<int>(w) + 1;
        if (week == 0)
            unexpected("a day outside the weeks");
        std::string key;
        putDate(key, day, true);
        struct DoctorDay
        {
            int booked = 0;
            std::array<int, 10> situations{};
        };
        std::array<DoctorDay, 51> counts{};
        sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        const auto column = [statement](int c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
            return std::string_view(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, c)));
        };
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const int doctor = plain(column(1), 50);
            if (doctor == 0 || plain(column(0), 24) == 0 || !setup.active[static_cast<std::size_t>(doctor)])
                continue;
            const std::string_view situation = column(3);
            if (!(situation > "0") || column(2) == "R")
                continue;
            DoctorDay &count = counts[static_cast<std::size_t>(doctor)];
            ++count.booked;
            if (const int s = plain(situation, 9))
                ++count.situations[static_cast<std::size_t>(s)];
        }
        sqlite3_reset(statement);
        int y = 0, month = 0, d = 0;
        fromDays(day, y, month, d);
        for (int doctor = 1; doctor <= 50; ++doctor) {
            const DoctorDay &count = counts[static_cast<std::size_t>(doctor)];
            if (count.booked == 0 || countedKeys.contains(day * 64 + doctor))
                continue;
            auto &record = weekly[static_cast<std::size_t>((week - 1) * 50 + doctor - 1)];
            if (record[0] + count.booked > 9999 || record[1] + count.booked > 9999)
                unexpected("a weekly count past 9,999");
            record[0] += count.booked;
            record[1] += count.booked;
            Counted sheet{day, doctor, week, {}};
            sheet.counts[0] = count.booked;
            sheet.counts[1] = count.booked;
            for (std::size_t s = 1; s <= 9; ++s) {
                sheet.counts[s + 1] = count.situations[s];
                if (count.situations[s] != 0)
                    putMove(added, doctor, month, static_cast<int>(s), count.situations[s]);
            }
            counted.push_back(sheet);
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(statement);

    std::vector<std::string_view> pending = lines(pendingBytes);
    for (const std::string_view line : lines(added))
        pending.push_back(line);
    Files out = postedTables(dir, pending, pendingBytes);
    addIfChanged(out, "PrevReal.Txt", formatWeekly(weekly), weeklyBytes);
    addIfChanged(out, "FichasGravadas.Txt", format(counted), exists ? countedBytes : std::string());
    std::vector<std::string> settings = setup.settings;
    settings[1].clear();
    putDate(settings[1], setup.last);
    addIfChanged(out, "Automatica.Txt", joined(settings), joined(setup.settings));
    return out;
}

// "Atualizar Quadros e Gráficos": MovMes.Txt posted into the three tables.
Files posting(const std::string &dir)
{
    const std::string pendingBytes = read(dir + "MovMes.Txt");
    return postedTables(dir, lines(pendingBytes), pendingBytes);
}

// The history: a heading and 30 specialty lines of a code and three five-digit fields.
struct HistoryLine
{
    std::string code; // empty: an empty line
    std::array<std::string, 3> fields;
};

std::vector<HistoryLine> parseHistory(std::string_view bytes)
{
    const std::vector<std::string_view> all = lines(bytes);
    if (all.size() != 31)
        unexpected("a history of the wrong number of lines");
    std::vector<HistoryLine> history(31);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string_view line = all[i];
        const std::string_view code = line.substr(0, 2);
        if (i > 0 && code.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        if (line.size() != 17 || (i == 0 && code != "00") || (i > 0 && number(code) < 0))
            unexpected("a history line that is not a code and three fields");
        history[i].code = code;
        for (std::size_t f = 0; f < 3; ++f) {
            history[i].fields[f] = line.substr(2 + 5 * f, 5);
            if (i > 0 && number(history[i].fields[f]) < 0)
                unexpected("a history total that is not five digits");
        }
    }
    return history;
}

std::string format(const std::vector<HistoryLine> &history)
{
    std::string out;
    for (const HistoryLine &line : history) {
        if (!line.code.empty()) {
            out += line.code;
            for (const std::string &field : line.fields)
                out += field;
        }
        endLine(out);
    }
    return out;
}

// What the year close needs besides the files: the settings and the register as the
// program holds them in memory.
struct CloseSetup
{
    std::string dir; // with its final '/'
    std::vector<std::string> settings;
    // Each register record's code without trailing blanks and the specialty its doctor
    // row takes ("00" for a free code or a record without one).
    std::vector<std::pair<std::string, std::string>> doctors;
    int closedYear = 0;
};

std::string_view trimRight(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

Files yearClose(const CloseSetup &setup)
{
    const std::string &dir = setup.dir;
    const int year = setup.closedYear;
    const std::string archive = "Estatisticas/Ano" + std::to_string(year) + "/";
    Files out;
    const auto add = [&out](const std::string &name, const std::string &bytes) {
        out[QString::fromStdString(name)] = bare::bytes(bytes);
    };
    // The lines pending belong to the year that closes.
    const std::string pendingBytes = read(dir + "MovMes.Txt");
    Tables tables = readTables(dir);
    std::string kept;
    post(lines(pendingBytes), tables, kept);
    if (!kept.empty())
        unexpected("a December line that does not fit");
    for (const char *name : {"DiaMedHora.Txt", "CodMed.Txt", "Esp.Txt", "Sit.Txt"})
        add(archive + name, read(dir + name));
    add(archive + "MedMeses.Txt", format(tables.doctors));
    add(archive + "SitMeses.Txt", format(tables.situations));
    add(archive + "EspMeses.Txt", format(tables.specialties));
    std::vector<HistoryLine> history = parseHistory(read(dir + "Historico.Txt"));
    add(archive + "Historico.Txt", format(history));
    add(archive + "PrevReal.Txt", formatWeekly(parseWeekly(read(dir + "PrevReal.Txt"))));
    const Weeks weeks = parseWeeks(read(dir + "Semanas.Txt"));
    add(archive + "Semanas.Txt", formatWeeks(weeks));

    // The history shifted: the newest column takes each specialty's total of the year.
    for (std::size_t i = 0; i < history.size(); ++i) {
        HistoryLine &line = history[i];
        if (line.code.empty())
            continue;
        std::string newest;
        if (i == 0) {
            newest = " " + std::to_string(year);
        } else {
            const int code = number(line.code);
            int total = 0;
            if (code >= 51 && code <= 80)
                for (const int count : tables.specialties.counts[static_cast<std::size_t>(code - 51)])
                    total += count;
            if (total > 99999)
                unexpected("a history total past 99,999");
            put(newest, total, 5);
        }
        line.fields = {line.fields[1], line.fields[2], newest};
    }
    add("Historico.Txt", format(history));

    // The new year's tables from their templates, the doctor rows linked to the register.
    Months doctors = parseMonths(read(dir + "BaseMedMeses.Txt"), 80, 4);
    for (std::size_t n = 0; n < 50; ++n) {
        std::string &codes = doctors.codes[n];
        const std::string_view code = trimRight(std::string_view(codes).substr(0, 2));
        for (const auto &[doctor, specialty] : setup.doctors) {
            if (doctor == code) {
                codes.replace(2, 2, specialty);
                break;
            }
        }
    }
    add("MedMeses.Txt", format(doctors));
    add("EspMeses.Txt", format(parseMonths(read(dir + "BaseEspMeses.Txt"), 30, 2)));
    add("SitMeses.Txt", format(parseMonths(read(dir + "BaseSitMeses.Txt"), 300, 3)));
    add("PrevReal.Txt", formatWeekly(parseWeekly(read(dir + "BasePrevReal.Txt"))));
    // The template of MovMes.Txt is read as the new one; nothing is pending in it after.
    if (!lines(read(dir + "BaseSemanas.Txt")).empty())
        unexpected("a pending template with lines");
    add("MovMes.Txt", {});
    int first = 0, m = 0, d = 0;
    if (!weeks.empty())
        fromDays(weeks.front()[1], first, m, d);
    if (first != year + 1)
        add("Semanas.Txt", formatWeeks(weeksOfYear(year + 1)));
    bool counted = false;
    read(dir + "FichasGravadas.Txt", &counted);
    if (counted)
        add("FichasGravadas.Txt", {});
    std::vector<std::string> settings = setup.settings;
    settings[1].clear();
    putDate(settings[1], toDays(year, 12, 31));
    settings[2] = "A" + std::to_string(year + 1);
    add("Automatica.Txt", joined(settings));
    return out;
}

} // namespace bare

using namespace clinora;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// Every file below the data directory but the table, by its path relative to it.
std::map<QString, QByteArray> allFiles(const QString &dir)
{
    std::map<QString, QByteArray> result;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(dir).relativeFilePath(path);
        if (!name.startsWith(QStringLiteral("Medicos.db")))
            result[name] = bytesOf(path);
    }
    return result;
}

// The files as they stood, put back before each run: a file a run made goes, every
// other gets its old bytes (the days counted included, or a second run would find
// every day counted and count nothing).
void putBack(const QString &dir, const std::map<QString, QByteArray> &kept)
{
    for (const auto &[name, bytes] : allFiles(dir)) {
        if (!kept.contains(name))
            QFile::remove(dir + QLatin1Char('/') + name);
    }
    for (const auto &[name, bytes] : kept)
        textfile::writeBytes(dir + QLatin1Char('/') + name, bytes);
}

void writeFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size() ||
        ::fsync(fd) != 0)
        std::abort();
    ::close(fd);
}

void syncDirectory(const QString &dir)
{
    const int fd = ::open(dir.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    ::fsync(fd);
    ::close(fd);
}

QByteArray temporary(const QString &dir, const QString &name)
{
    return (dir + QLatin1Char('/') + name + QStringLiteral(".tmp")).toLocal8Bit();
}

void writeTemporaries(const QString &dir, const std::map<QString, QByteArray> &files)
{
    for (const auto &[name, bytes] : files)
        writeFile(temporary(dir, name), bytes);
}

void renameAll(const QString &dir, const std::map<QString, QByteArray> &files)
{
    for (const auto &[name, bytes] : files) {
        if (::rename(temporary(dir, name).constData(),
                     (dir + QLatin1Char('/') + name).toLocal8Bit().constData()) != 0)
            std::abort();
    }
}

// Syncs every folder the files were renamed into (the archive folder of a year close
// besides the data directory).
void syncFolders(const QString &dir, const std::map<QString, QByteArray> &files)
{
    QStringList folders{dir};
    for (const auto &[name, bytes] : files) {
        const QString folder = QFileInfo(dir + QLatin1Char('/') + name).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    for (const QString &folder : folders)
        syncDirectory(folder);
}

// Makes the folders the files go to (the archive folder of a year close).
void makeFolders(const QString &dir, const std::map<QString, QByteArray> &files)
{
    for (const auto &[name, bytes] : files) {
        if (name.contains(QLatin1Char('/')))
            QDir().mkpath(QFileInfo(dir + QLatin1Char('/') + name).absolutePath());
    }
}

// The bare group write: the files and a list naming them, as one commit.
void writeGroup(const QString &dir, const std::map<QString, QByteArray> &files)
{
    makeFolders(dir, files);
    writeTemporaries(dir, files);
    QByteArray listed;
    for (const auto &[name, bytes] : files)
        listed += name.toUtf8() + '\n';
    const QByteArray list = (dir + QStringLiteral("/lista")).toLocal8Bit();
    writeFile(list + ".tmp", listed);
    if (::rename((list + ".tmp").constData(), list.constData()) != 0)
        std::abort();
    renameAll(dir, files);
    syncFolders(dir, files);
    ::unlink(list.constData());
    syncDirectory(dir);
}

// The bare plain write: the files alone, each written and synced beside its target,
// all renamed, the directory synced.
void writeDurably(const QString &dir, const std::map<QString, QByteArray> &files)
{
    makeFolders(dir, files);
    writeTemporaries(dir, files);
    renameAll(dir, files);
    syncFolders(dir, files);
}

// The program against the bare work plus each of the bare writes, in pairs. The bare
// work returns the files it would write; they must be the program's, byte for byte.
template <typename Program, typename Restore, typename Bare>
void compare(const char *label, int pairs, Program program, Restore restore, Bare work, const QString &dir,
             const std::map<QString, QByteArray> &written)
{
    const auto bare = [&](void (*write)(const QString &, const std::map<QString, QByteArray> &)) {
        return [&, write] {
            restore();
            std::map<QString, QByteArray> files;
            const double ms = bench::timeMs([&] {
                files = work();
                write(dir, files);
            });
            if (files != written) {
                for (const auto &[name, bytes] : written)
                    if (!files.contains(name) || files.at(name) != bytes)
                        std::fprintf(stderr, "the bare's %s differs from the program's\n", qPrintable(name));
                for (const auto &[name, bytes] : files)
                    if (!written.contains(name))
                        std::fprintf(stderr, "the bare writes %s, the program does not\n", qPrintable(name));
                std::abort();
            }
            return ms;
        };
    };
    const bench::Paired group = bench::paired(pairs, program, bare(&writeGroup));
    const bench::Paired plain = bench::paired(pairs, program, bare(&writeDurably));
    std::printf("  %s\n", label);
    bench::report((std::string(label) + ": bare writes as one group").c_str(), group);
    bench::report((std::string(label) + ": bare writes the files alone").c_str(), plain);
}

// What a run changed: the files it made or whose bytes differ from the kept ones. A
// file a year close rewrites with the bytes it had (a table reset to its template)
// counts too: its time tells.
std::map<QString, QByteArray> changed(const QString &dir, const std::map<QString, QByteArray> &kept,
                                      const QDateTime &since = {})
{
    std::map<QString, QByteArray> result;
    for (const auto &[name, bytes] : allFiles(dir)) {
        const auto old = kept.find(name);
        if (old == kept.end() || old->second != bytes ||
            (since.isValid() && QFileInfo(dir + QLatin1Char('/') + name).lastModified() > since))
            result[name] = bytes;
    }
    return result;
}

// The register's specialties on the doctors' MedMeses.Txt rows, as the doctor editor
// leaves them.
void linkDoctorRows(const QString &dir)
{
    DoctorRegister doctors;
    doctors.load(dir + QLatin1Char('/'));
    DoctorMonths months;
    months.load(dir + QLatin1Char('/') + files::kDoctorMonths);
    months.relink(doctors);
    months.save(dir + QLatin1Char('/') + files::kDoctorMonths);
}

std::vector<std::string> settingsLines(const Settings &settings)
{
    std::vector<std::string> lines;
    for (const QString &line : settings.lines())
        lines.push_back(textfile::encode(line).toStdString());
    return lines;
}

int daysOf(QDate date)
{
    return static_cast<int>(date.toJulianDay() - QDate(1970, 1, 1).toJulianDay());
}

void automaticEntry(int pairs, int size)
{
    // The missed days are July 2026; the program starts on 1 August.
    const QDate first(2026, 7, 1);
    const QDate last(2026, 7, 31);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const int rows = bench::buildClinic(dir, first, size);
    linkDoctorRows(dir);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), QDate(2026, 8, 1));
    AppContext &context = program.context;
    context.DMMedicos.close();
    context.DMMedicos.open();
    context.settings.setAutomaticEntry(QStringLiteral("Sim"));
    context.settings.setLastProcessed(dates::format(first.addDays(-1)));
    context.saveSettings();
    const Settings settings = context.settings;
    const auto kept = allFiles(dir);

    // One run to learn what the program writes.
    const AutomaticEntryResult learnt = runAutomaticEntry(context, first, last);
    const auto written = changed(dir, kept);

    bare::EntrySetup setup;
    setup.dir = (dir + QLatin1Char('/')).toStdString();
    for (int code = 1; code <= DoctorRegister::kDoctors; ++code)
        setup.active[static_cast<std::size_t>(code)] =
            !context.doctors.doctor(code).name.startsWith(QStringLiteral("     "));
    setup.settings = settingsLines(settings);
    setup.first = daysOf(first);
    setup.last = daysOf(last);
    sqlite3 *db = nullptr;
    sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                    nullptr);
    std::printf("%d rows in the table; the program counts %d days, posts %d lines and writes %zu files\n",
                rows, learnt.daysCounted, learnt.posting.posted, written.size());
    compare(
        "automatic entry, 31 missed days", pairs,
        [&] {
            putBack(dir, kept);
            context.settings = settings;
            return bench::timeMs([&] { runAutomaticEntry(context, first, last); });
        },
        [&] { putBack(dir, kept); }, [&] { return bare::automaticEntry(setup, db); }, dir, written);
    sqlite3_close(db);
}

// The posting reads no table: the clinic's size does not change its work.
void posting(int pairs, int size)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const QDate today(2026, 8, 1);
    const int rows = bench::buildClinic(dir, today, size);
    linkDoctorRows(dir);
    QStringList pending;
    for (int i = 0; i < 13950; ++i)
        pending << PendingMovements::line(1 + i % 50, 1 + (i / 50) % 12, 1 + (i / 7) % 9, 1 + i % 30);
    textfile::writeLines(dir + QLatin1Char('/') + files::kPendingMovements, pending);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
    AppContext &context = program.context;
    const auto kept = allFiles(dir);

    const PostingResult first = postPendingMovements(context);
    const auto written = changed(dir, kept);
    const std::string bareDir = (dir + QLatin1Char('/')).toStdString();
    std::printf("%d rows in the table; %d lines posted, %lld set aside; the program writes %zu files\n", rows,
                first.posted, static_cast<long long>(first.setAside.size()), written.size());
    compare(
        "posting 13,950 pending lines", pairs,
        [&] {
            putBack(dir, kept);
            return bench::timeMs([&] { postPendingMovements(context); });
        },
        [&] { putBack(dir, kept); }, [&] { return bare::posting(bareDir); }, dir, written);
}

// The year close reads no table either.
void yearClose(int pairs, int size)
{
    // 2026 still open on 10 January 2027, with December's sheets pending.
    const QDate today(2027, 1, 10);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    const int rows = bench::buildClinic(dir, today, size);
    linkDoctorRows(dir);
    QStringList pending;
    for (int i = 0; i < 1200; ++i)
        pending << PendingMovements::line(1 + i % 50, 12, 1 + (i / 7) % 9, 1 + i % 30);
    textfile::writeLines(dir + QLatin1Char('/') + files::kPendingMovements, pending);
    bench::StartedProgram program(dir, tmp.filePath(QStringLiteral("drives")), today);
    AppContext &context = program.context;
    context.settings.setYearState(openYearCode(2026));
    context.saveSettings();
    const Settings settings = context.settings;
    const auto kept = allFiles(dir);
    const QString archive = dir + QLatin1Char('/') + archiveFolder(2026);

    // One run to learn what the program writes: a file it writes gets a new time, even
    // where its bytes come out as they were (a table reset to its template).
    const QDateTime past = QDateTime::currentDateTime().addDays(-1);
    for (const auto &[name, bytes] : kept) {
        QFile file(dir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(past, QFileDevice::FileModificationTime))
            std::abort();
    }
    closeStatisticsYear(context);
    const auto written = changed(dir, kept, past);
    if (context.settings.yearState() != openYearCode(2027) ||
        !QFileInfo::exists(archive + QStringLiteral("/MedMeses.Txt")))
        std::abort();

    bare::CloseSetup setup;
    setup.dir = (dir + QLatin1Char('/')).toStdString();
    setup.settings = settingsLines(settings);
    setup.closedYear = 2026;
    for (int code = 1; code <= DoctorRegister::kDoctors; ++code) {
        const Doctor &doctor = context.doctors.doctor(code);
        const std::string specialtyCode = textfile::encode(doctor.specialtyCode).toStdString();
        const int specialty = specialtyCode.size() == 2 ? bare::number(specialtyCode) : -1;
        const bool linked = !doctor.isFree() && specialty > 50 && specialty <= 80;
        setup.doctors.emplace_back(textfile::trimRight(doctor.code).toStdString(),
                                   linked ? doctor.specialtyCode.toStdString() : std::string("00"));
    }
    std::printf("%d rows in the table; the year close writes %zu files\n", rows, written.size());
    // The archive folder goes as well: each run makes it.
    const auto restore = [&] {
        QDir(archive).removeRecursively();
        putBack(dir, kept);
    };
    compare(
        "year close, December pending", pairs,
        [&] {
            restore();
            context.settings = settings;
            return bench::timeMs([&] { closeStatisticsYear(context); });
        },
        restore, [&] { return bare::yearClose(setup); }, dir, written);
}

} // namespace

int main(int argc, char **argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 9;
    const std::vector<int> sizes = bench::sizesFrom(argc, argv, 2);
    for (const int size : sizes)
        automaticEntry(pairs, size);
    for (const int size : sizes)
        posting(pairs, size);
    for (const int size : sizes)
        yearClose(pairs, size);
    return 0;
}
