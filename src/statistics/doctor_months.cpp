#include "statistics/doctor_months.h"

#include "platform/errors.h"
#include "platform/text_file.h"

namespace clinora {

namespace {

int countValue(const QString &text, int row, int month)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("MedMeses.Txt, linha %1, mês %2: '%3' não é um número válido")
                                  .arg(row)
                                  .arg(month)
                                  .arg(text));
    return value;
}

} // namespace

DoctorMonths::DoctorMonths()
{
    for (int n = 1; n <= kRows; ++n)
        row(n) = emptyRow(n);
}

DoctorMonthsRow DoctorMonths::emptyRow(int n)
{
    DoctorMonthsRow r;
    r.code = textfile::fixed(QString::number(n), 2);
    r.specialtyCode = n > kDoctorRows ? QString::number(n) : QStringLiteral("00");
    r.counts.fill(QStringLiteral("0000"));
    return r;
}

void DoctorMonths::load(const QString &path)
{
    const QStringList lines = textfile::readLines(path);
    for (int n = 1; n <= kRows; ++n) {
        if (n > lines.size()) {
            row(n) = emptyRow(n);
            continue;
        }
        const QString &line = lines[n - 1];
        DoctorMonthsRow &r = row(n);
        r.code = textfile::field(line, 0, 2);
        r.specialtyCode = textfile::field(line, 2, 2);
        for (int m = 0; m < 12; ++m)
            r.counts[static_cast<std::size_t>(m)] = textfile::field(line, 4 + 4 * m, 4);
    }
}

QStringList DoctorMonths::lines() const
{
    QStringList result;
    for (const DoctorMonthsRow &r : m_rows) {
        QString line = r.code + r.specialtyCode;
        for (const QString &count : r.counts)
            line += count;
        result << line;
    }
    return result;
}

void DoctorMonths::save(const QString &path) const
{
    textfile::writeLines(path, lines());
}

QString DoctorMonths::countText(int count)
{
    return QStringLiteral("%1").arg(count, 4, 10, QLatin1Char('0')).right(4);
}

void DoctorMonths::moveRemovedCounts(int doctor, int specialty)
{
    if (doctor < 1 || doctor > kDoctorRows)
        throw ConversionError(QStringLiteral("'%1' não é um código de médico (1 a 50)").arg(doctor));
    if (specialty <= kDoctorRows || specialty > kRows)
        throw ConversionError(
            QStringLiteral("'%1' não é um código de especialidade (51 a 80)").arg(specialty));
    DoctorMonthsRow &from = row(doctor);
    DoctorMonthsRow &to = row(specialty);
    std::array<QString, 12> sums;
    for (int m = 0; m < 12; ++m) {
        const auto i = static_cast<std::size_t>(m);
        sums[i] =
            countText(countValue(to.counts[i], specialty, m + 1) + countValue(from.counts[i], doctor, m + 1));
    }
    to.code = QString::number(specialty);
    to.specialtyCode = QString::number(specialty);
    to.counts = sums;
    from.specialtyCode = QStringLiteral("00");
    from.counts.fill(QStringLiteral("0000"));
}

} // namespace clinora
