#include "protection/file_checks.h"

#include "core/data_files.h"
#include "core/settings.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "statistics/doctor_months.h"
#include "statistics/esp_meses.h"
#include "statistics/history.h"
#include "statistics/situation_months.h"
#include "statistics/weekly_counts.h"
#include "statistics/weeks.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace clinora::protection {

namespace {

[[noreturn]] void damaged(const QString &what)
{
    throw DamagedFileError(what);
}

QStringList linesOf(const QString &path, int expected)
{
    const QStringList lines = textfile::readLines(path);
    if (lines.size() != expected)
        damaged(QStringLiteral("tem %1 linhas em vez de %2").arg(lines.size()).arg(expected));
    return lines;
}

// A date as the program writes it, dd/mm/yyyy: a copy cut inside the year ("24/12/20")
// would still read as a date of another year.
bool isWrittenDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}$"));
    return pattern.match(text).hasMatch() && QDate::fromString(text, QStringLiteral("dd/MM/yyyy")).isValid();
}

void checkDoctors(const QString &path)
{
    const QStringList lines = linesOf(path, 50);
    for (int i = 0; i < lines.size(); ++i) {
        bool ok = false;
        const int code = lines[i].left(2).trimmed().toInt(&ok);
        if (lines[i].size() != 67 || !ok || code < 1 || code > 50)
            damaged(QStringLiteral("a linha %1 não é o registro de um médico (%2 caracteres em vez de 67)")
                        .arg(i + 1)
                        .arg(lines[i].size()));
    }
}

void checkDoctorNames(const QString &path)
{
    const QStringList lines = linesOf(path, 51);
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].size() != 27 || lines[i].left(2).trimmed() != QString::number(i))
            damaged(QStringLiteral("a linha %1 não é o nome do médico %2 (%3 caracteres em vez de 27)")
                        .arg(i + 1)
                        .arg(i)
                        .arg(lines[i].size()));
    }
}

void checkTimetable(const QString &path)
{
    static const QRegularExpression time(QStringLiteral("^( {0,5}|\\d{1,2}:\\d\\d)$"));
    const QStringList lines = linesOf(path, 7 * 50 * 24);
    for (int i = 0; i < lines.size(); ++i) {
        if (!time.match(lines[i]).hasMatch())
            damaged(QStringLiteral("a linha %1 (\"%2\") não é um horário").arg(i + 1).arg(lines[i].left(20)));
    }
}

// Esp.Txt and Sit.Txt: one line per code, in order, the name after it.
void checkRegister(const QString &path, int rows, int firstCode, int maxWidth)
{
    const QStringList lines = linesOf(path, rows);
    for (int i = 0; i < lines.size(); ++i) {
        const QString code = QString::number(firstCode + i);
        if (!lines[i].startsWith(code) || lines[i].size() > maxWidth)
            damaged(QStringLiteral("a linha %1 (\"%2\") não é a do código %3")
                        .arg(i + 1)
                        .arg(lines[i].left(30), code));
    }
}

void checkClosedDates(const QString &path)
{
    const QStringList lines = textfile::readLines(path);
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty() && !isWrittenDate(lines[i]))
            damaged(QStringLiteral("a linha %1 (\"%2\") não é uma data").arg(i + 1).arg(lines[i].left(20)));
    }
}

void checkDate(const QString &path)
{
    const QString line = textfile::readFirstLine(path);
    if (!isWrittenDate(line))
        damaged(QStringLiteral("\"%1\" não é uma data").arg(line.left(20)));
}

void checkSettings(const QString &path)
{
    const int lines = Settings().load(path);
    if (lines < Settings::kLines)
        damaged(QStringLiteral("tem %1 de suas %2 linhas").arg(lines).arg(Settings::kLines));
}

void checkCurrencyMark(const QString &path)
{
    const QString line = textfile::readFirstLine(path);
    if (line != QLatin1String("Sim") && line != QLatin1String("Nao"))
        damaged(QStringLiteral("\"%1\" não é \"Sim\" nem \"Nao\"").arg(line.left(20)));
}

void check(const QString &name, const QString &path)
{
    if (name == files::kSettings)
        checkSettings(path);
    else if (name == files::kDoctors)
        checkDoctors(path);
    else if (name == files::kDoctorNames)
        checkDoctorNames(path);
    else if (name == files::kTimetable)
        checkTimetable(path);
    else if (name == files::kHeadings)
        linesOf(path, 25);
    else if (name == files::kSpecialties)
        checkRegister(path, 30, 51, 18);
    else if (name == files::kSituations)
        checkRegister(path, 9, 1, 23);
    else if (name == files::kClosedDates)
        checkClosedDates(path);
    else if (name == files::kPreparedLimit || name == files::kPreparedLimitCopy)
        checkDate(path);
    else if (name == files::kCurrencyMark)
        checkCurrencyMark(path);
    else if (name == files::kDoctorMonths)
        DoctorMonths().load(path);
    else if (name == files::kSpecialtyMonths)
        SpecialtyMonths().load(path);
    else if (name == files::kSituationMonths)
        SituationMonths().load(path);
    else if (name == files::kWeeklyCounts)
        WeeklyCounts().load(path);
    else if (name == files::kHistory)
        History().load(path);
    else if (name == files::kWeeks)
        Weeks().load(path);
    else
        // The journals, the pending movements and the year mark: their readers take any
        // text and report the lines they cannot use.
        textfile::readLines(path);
}

// A reader's message without its advice to recover the file from the mirror, which is
// the very copy it is about.
QString reason(const QString &message)
{
    QString text = message.section(QStringLiteral("\r\n"), 0, 0);
    for (const QString &tail :
         {QStringLiteral(" Ele não foi alterado."), QStringLiteral(" Ele não foi alterado")})
        if (text.endsWith(tail))
            text.chop(tail.size());
    return text;
}

} // namespace

QStringList damagedCopies(const QList<std::pair<QString, QString>> &copies)
{
    QStringList problems;
    for (const auto &[name, path] : copies) {
        const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        try {
            check(name, path);
        } catch (const DamagedFileError &e) {
            const QString why = reason(e.message());
            problems << (why.contains(shown)
                             ? why
                             : QStringLiteral("O arquivo %1 está danificado: %2.").arg(shown, why));
        } catch (const Error &e) {
            problems << QStringLiteral("O arquivo %1 não pode ser lido: %2").arg(shown, reason(e.message()));
        }
    }
    return problems;
}

} // namespace clinora::protection
