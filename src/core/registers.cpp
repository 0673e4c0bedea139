#include "core/registers.h"

#include "core/data_files.h"
#include "core/doctor_register.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QFileInfo>

#include <QStringList>

namespace clinora {

namespace {
const RegisterEntry kNone;
}

void SpecialtyTable::load(const QString &prefix)
{
    const QStringList lines = textfile::readLines(prefix + files::kSpecialties);
    m_entries.fill({});
    for (int k = 0; k < lines.size() && k < static_cast<int>(m_entries.size()); ++k)
        m_entries[k] = {textfile::field(lines[k], 0, 2), textfile::field(lines[k], 2, 1),
                        textfile::field(lines[k], 3, 15)};
}

const RegisterEntry &SpecialtyTable::entry(int code) const
{
    if (code < kFirst || code > kLast)
        return kNone;
    return m_entries[code - kFirst];
}

void SituationTable::load(const QString &prefix)
{
    const QStringList lines = textfile::readLines(prefix + files::kSituations);
    m_entries.fill({});
    for (int k = 0; k < lines.size() && k < static_cast<int>(m_entries.size()); ++k)
        m_entries[k] = {textfile::field(lines[k], 0, 1), textfile::field(lines[k], 1, 2),
                        textfile::field(lines[k], 3, 20)};
}

const RegisterEntry &SituationTable::entry(int code) const
{
    if (code < 1 || code > 9)
        return kNone;
    return m_entries[code - 1];
}

namespace {

void readNames(const QString &path, QStringList &names, int codeWidth, int separatorWidth, int nameWidth,
               int firstCode)
{
    for (const QString &line : textfile::readLines(path)) {
        const QString codeText = textfile::field(line, 0, codeWidth);
        bool ok = false;
        const int code = codeText.trimmed().toInt(&ok);
        if (!ok)
            throw ConversionError(QStringLiteral("'%1' não é um código válido (arquivo %2)")
                                      .arg(codeText, QFileInfo(path).fileName()));
        const int row = code - firstCode;
        if (row >= 0 && row < names.size())
            names[row] = textfile::field(line, codeWidth + separatorWidth, nameWidth);
    }
}

} // namespace

void readSpecialtyNames(const QString &path, QStringList &names)
{
    readNames(path, names, 2, 1, 15, SpecialtyTable::kFirst);
}

void readSituationNames(const QString &path, QStringList &names)
{
    readNames(path, names, 1, 2, 20, 1);
}

void writeSpecialtyNames(const QString &path, const QStringList &names)
{
    QStringList lines;
    for (int r = 0; r < 30; ++r)
        lines << QString::number(SpecialtyTable::kFirst + r) + QLatin1Char(' ') + names.value(r).left(15);
    textfile::writeLines(path, lines);
}

void writeSituationNames(const QString &path, const QStringList &names)
{
    QStringList lines;
    for (int r = 0; r < 9; ++r)
        lines << QString::number(r + 1) + QStringLiteral("  ") + names.value(r).left(20);
    textfile::writeLines(path, lines);
}

QString specialtyOrderRefusal(const QList<int> &rowOrder, const QStringList &names,
                              const DoctorRegister &doctors)
{
    QStringList moved;
    for (int row = 0; row < rowOrder.size(); ++row) {
        const int from = rowOrder[row];
        if (from == row)
            continue;
        const QString oldCode = QString::number(SpecialtyTable::kFirst + from);
        bool used = false;
        for (int c = 1; c <= DoctorRegister::kDoctors && !used; ++c)
            used = !doctors.isFree(c) && doctors.doctor(c).specialtyCode == oldCode;
        if (used)
            moved << QStringLiteral("   %1 %2 passaria a ter o código %3")
                         .arg(oldCode, names.value(from).trimmed())
                         .arg(SpecialtyTable::kFirst + row);
    }
    if (moved.isEmpty())
        return {};
    return QStringLiteral("A nova ordem não foi gravada: há médicos cadastrados com o código destas "
                          "especialidades,\ne a estatística os conta por esse código:\n\n") +
           moved.join(QLatin1Char('\n')) +
           QStringLiteral("\n\nDevolva-as ao seu lugar; só as especialidades sem médicos podem mudar de "
                          "código.");
}

} // namespace clinora
