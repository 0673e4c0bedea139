#include "statistics/weeks.h"

#include "platform/dates.h"
#include "platform/text_file.h"
#include "statistics/counts.h"

#include <QFileInfo>

namespace clinora {

namespace {

QDate strictDate(const QString &text)
{
    // Exactly dd/mm/yyyy: "1/2/2023 " is not a line the system writes.
    if (text.size() != 10 || text[2] != QLatin1Char('/') || text[5] != QLatin1Char('/'))
        return {};
    // Digits where the digits go, as the system writes it: the date straight from them
    // (the date parser is slow, and a year of weeks is a hundred dates).
    int fields[3] = {};
    const int starts[3] = {0, 3, 6};
    const int widths[3] = {2, 2, 4};
    bool digits = true;
    for (int f = 0; f < 3 && digits; ++f) {
        for (int k = starts[f]; k < starts[f] + widths[f] && digits; ++k) {
            const char16_t c = text[k].unicode();
            digits = c >= u'0' && c <= u'9';
            fields[f] = fields[f] * 10 + (c - u'0');
        }
    }
    if (digits)
        return QDate(fields[2], fields[1], fields[0]);
    return QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
}

} // namespace

QStringList weeksOfYear(int year)
{
    const QDate january1(year, 1, 1);
    const QDate december31(year, 12, 31);
    // Monday on or before 1 January: a Sunday 1 January belongs to the week that began
    // on 26 December, so no day of the year is left without a week.
    QDate start = january1.addDays(-((january1.dayOfWeek() + 6) % 7));
    QStringList lines;
    for (int i = 0; i < 55 && start <= december31; ++i) {
        lines << dates::format(start) + dates::format(start.addDays(6));
        start = start.addDays(7);
    }
    return lines;
}

void createWeeks(const QString &path, int year)
{
    textfile::writeLines(path, weeksOfYear(year));
}

void Weeks::load(const QString &path)
{
    // No file yet is no week yet: the weeks are made when they are first needed.
    const QStringList lines = QFileInfo::exists(path) ? textfile::readLines(path) : QStringList();
    if (lines.size() > kMaxWeeks)
        throw DamagedFileError(QStringLiteral("O arquivo %1 está danificado: tem %2 semanas, e um ano tem no "
                                              "máximo %3. Ele não foi alterado.")
                                   .arg(stats::shownName(path))
                                   .arg(lines.size())
                                   .arg(kMaxWeeks));
    QList<Week> weeks;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const QDate first = strictDate(line.left(10));
        const QDate last = strictDate(line.mid(10));
        if (line.size() != 20 || !first.isValid() || !last.isValid() || last < first)
            stats::damaged(path, i + 1,
                           QStringLiteral("\"%1\" não é uma semana (dd/mm/aaaadd/mm/aaaa)").arg(line));
        weeks.append({first, last});
    }
    m_weeks = std::move(weeks);
}

QStringList Weeks::lines() const
{
    QStringList result;
    result.reserve(m_weeks.size());
    for (const Week &w : m_weeks) {
        QString line;
        line.reserve(20);
        stats::appendDate(line, w.first);
        stats::appendDate(line, w.last);
        result << line;
    }
    return result;
}

int Weeks::weekNumber(QDate date) const
{
    for (int i = 0; i < m_weeks.size(); ++i) {
        if (m_weeks[i].first <= date && date <= m_weeks[i].last)
            return i + 1;
    }
    return 0;
}

bool Weeks::areOfYear(int year) const
{
    return !m_weeks.isEmpty() && m_weeks.first().last.year() == year;
}

void Weeks::createFor(int year)
{
    m_weeks.clear();
    for (const QString &line : weeksOfYear(year))
        m_weeks.append({strictDate(line.left(10)), strictDate(line.mid(10))});
}

bool Weeks::extendTo(QDate day)
{
    if (m_weeks.isEmpty())
        return false;
    QList<Week> weeks = m_weeks;
    while (weeks.last().last < day) {
        if (weeks.size() >= kMaxWeeks)
            return false;
        const QDate first = weeks.last().last.addDays(1);
        weeks.append({first, first.addDays(6)});
    }
    m_weeks = std::move(weeks);
    return true;
}

} // namespace clinora
