#include "core/doctor_register.h"

#include "core/data_files.h"
#include "platform/dates.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace clinora {

namespace {

constexpr int kEntries = DoctorRegister::kWeekdays * DoctorRegister::kDoctors * DoctorRegister::kSlots;

std::size_t index(int weekday, int code, int slot)
{
    return static_cast<std::size_t>((weekday - 1) * 1200 + (code - 1) * 24 + (slot - 1));
}

// The width of a record of CodMed.Txt.
constexpr int kRecordWidth = 67;

QString incomplete(const QString &path, const QString &what)
{
    return QStringLiteral("O arquivo %1 está incompleto: %2. Ele não foi lido nem alterado.\r\n"
                          "Recupere-o da pasta Espelho ou de uma cópia de segurança e abra o Clinora "
                          "de novo.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), what);
}

QString codeText(int code)
{
    return textfile::fixed(QString::number(code), 2);
}

} // namespace

DoctorRegister::DoctorRegister() : m_times(kEntries) {}

QStringList DoctorRegister::load(const QString &prefix)
{
    using textfile::field;
    m_readFailed = true;
    QStringList problems;
    const QStringList lines = textfile::readLines(prefix + files::kDoctors);
    // A file that is empty or was cut short would give doctors without their records
    // (and a save would make that for good): it is refused, by name, as it is.
    if (lines.size() < kDoctors || lines.last().size() < kRecordWidth)
        throw DamagedFileError(incomplete(
            prefix + files::kDoctors,
            lines.size() < kDoctors
                ? QStringLiteral("tem %1 linhas, e são %2 (uma por código)").arg(lines.size()).arg(kDoctors)
                : QStringLiteral("a sua última linha foi cortada (%1 de %2 "
                                 "caracteres)")
                      .arg(lines.last().size())
                      .arg(kRecordWidth)));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.trimmed().isEmpty())
            continue;
        const QString codeField = textfile::trimRight(field(line, 0, 2));
        bool ok = false;
        const int code = codeField.toInt(&ok);
        if (!ok || !validCode(code)) {
            problems << QStringLiteral("%1, linha %2: o código \"%3\" não está entre 1 e 50; "
                                       "a linha foi ignorada.")
                            .arg(QString(files::kDoctors))
                            .arg(i + 1)
                            .arg(codeField);
            continue;
        }
        Doctor &d = m_doctors[code];
        d.code = field(line, 0, 2);
        d.name = field(line, 2, 25);
        d.specialty = field(line, 27, 15);
        d.room = field(line, 42, 4);
        d.floor = field(line, 46, 2);
        d.specialtyCode = field(line, 48, 2);
        d.shift = field(line, 50, 1);
        d.leaveStart = field(line, 51, 8);
        d.leaveEnd = field(line, 59, 8);
    }
    // Built from the records as loaded: ascending, and a repeated code counts once.
    rebuildFreeCodeList();

    // 8,400 lines of a few distinct times: each time is kept once and shared by the
    // entries that hold it, and no string is made for each line.
    const QByteArray timetable = textfile::readText(prefix + files::kTimetable);
    std::vector<QByteArrayView> times;
    times.reserve(kEntries);
    textfile::forEachLine(timetable, [&times](QByteArrayView line) { times.push_back(line); });
    // An empty file is the empty timetable only while no doctor is registered (a restart
    // of the doctors wrote it so before); with doctors, their hours were lost.
    bool anyDoctor = false;
    for (int c = 1; c <= kDoctors && !anyDoctor; ++c)
        anyDoctor = !isFree(c);
    if (qsizetype(times.size()) < kEntries && (anyDoctor || !times.empty()))
        throw DamagedFileError(incomplete(
            prefix + files::kTimetable,
            QStringLiteral("tem %1 linhas, e são %2 (uma por horário)").arg(qsizetype(times.size())).arg(kEntries)));
    std::unordered_map<std::string, QString> kept;
    for (int i = 0; i < kEntries; ++i) {
        if (std::size_t(i) >= times.size()) {
            m_times[i] = QString();
            continue;
        }
        const QByteArrayView time = times[i].first(std::min<qsizetype>(times[i].size(), 5));
        auto [at, added] = kept.try_emplace(std::string(time.data(), std::size_t(time.size())));
        if (added)
            at->second = textfile::decode(time);
        m_times[i] = at->second;
    }
    // Lines left out would be lost by the next save: the file stays as it is.
    m_readFailed = !problems.isEmpty();
    return problems;
}

void DoctorRegister::stage(FileGroup &group, const QString &dir) const
{
    if (m_readFailed)
        throw DamagedFileError(
            QStringLiteral("O cadastro dos médicos não foi gravado: o arquivo %1 tem linhas que não "
                           "puderam ser lidas (avisadas na abertura do Clinora) e elas se perderiam.\r\n"
                           "Corrija o arquivo ou recupere-o da pasta Espelho ou de uma cópia de "
                           "segurança, e abra o Clinora de novo.")
                .arg(QString(files::kDoctors)));
    const QString base = dir + QLatin1Char('/');
    group.stageLines(base + files::kTimetable, timetableLines());
    group.stageLines(base + files::kDoctors, codMedLines());
    group.stageLines(base + files::kDoctorNames, medicosLines());
}

void DoctorRegister::save(const QString &dir) const
{
    FileGroup group(dir);
    stage(group, dir);
    group.commit();
}

QStringList DoctorRegister::codMedLines() const
{
    using textfile::fixed;
    QStringList lines;
    for (int c = 1; c <= kDoctors; ++c) {
        const Doctor &d = m_doctors[c];
        lines << codeText(c) + fixed(d.name, 25) + fixed(d.specialty, 15) + fixed(d.room, 4)
                     + fixed(d.floor, 2) + fixed(d.specialtyCode, 2) + fixed(d.shift, 1)
                     + fixed(d.leaveStart, 8) + fixed(d.leaveEnd, 8);
    }
    return lines;
}

QStringList DoctorRegister::medicosLines() const
{
    QStringList lines{QString()};
    for (int c = 1; c <= kDoctors; ++c)
        lines << codeText(c) + textfile::fixed(m_doctors[c].name, 25);
    return lines;
}

QStringList DoctorRegister::timetableLines() const
{
    return QStringList(m_times.begin(), m_times.end());
}

const QString &DoctorRegister::time(int weekday, int code, int slot) const
{
    return m_times.at(index(weekday, code, slot));
}

void DoctorRegister::setTime(int weekday, int code, int slot, const QString &time)
{
    m_times.at(index(weekday, code, slot)) = time.left(5);
}

bool DoctorRegister::hasSlot(int weekday, int code, int slot) const
{
    if (weekday < 1 || weekday > kWeekdays)
        return false;
    const QString &t = time(weekday, code, slot);
    return !(t.isEmpty() || t == QLatin1String(" "));
}

bool DoctorRegister::onLeave(int code, QDate date) const
{
    const Doctor &d = doctor(code);
    if (!d.hasLeave())
        return false;
    const auto parsed = [code](const QString &text) {
        if (const std::optional<QDate> day = dates::parse(text))
            return *day;
        throw ConversionError(
            QStringLiteral("'%1' não é uma data válida (afastamento do médico %2)").arg(text).arg(code));
    };
    return parsed(d.leaveStart) <= date && parsed(d.leaveEnd) > date;
}

void DoctorRegister::rebuildFreeCodeList()
{
    m_freeCodes = QStringLiteral(" ");
    for (int c = 1; c <= kDoctors; ++c) {
        if (m_doctors[c].isFree())
            m_freeCodes += QLatin1Char(' ') + QString::number(c);
    }
}

void DoctorRegister::clear()
{
    for (Doctor &d : m_doctors)
        d = Doctor{};
    for (QString &t : m_times)
        t.clear();
}

void DoctorRegister::removeDoctor(int code)
{
    Doctor &d = doctor(code);
    d.name = QString(25, QLatin1Char(' '));
    d.specialty = QString(15, QLatin1Char(' '));
    d.room = QString(4, QLatin1Char(' '));
    d.floor = QString(2, QLatin1Char(' '));
    d.specialtyCode = QString(2, QLatin1Char(' '));
    d.shift.clear();
    d.leaveStart.clear();
    d.leaveEnd.clear();
    for (int w = 1; w <= kWeekdays; ++w)
        for (int slot = 1; slot <= kSlots; ++slot)
            setTime(w, code, slot, QString());
}

} // namespace clinora
