#include "statistics/doctor_months.h"

#include "core/data_files.h"
#include "core/doctor_register.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "statistics/counts.h"

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
    r.counts = stats::zeroCounts();
    return r;
}

void DoctorMonths::load(const QString &path)
{
    std::vector<stats::MonthLine> lines = stats::readMonthFile(path, kRows, 2, 2);
    for (int n = 1; n <= kRows; ++n) {
        stats::MonthLine &line = lines[static_cast<std::size_t>(n - 1)];
        DoctorMonthsRow &r = row(n);
        r.code = std::move(line.codes[0]);
        r.specialtyCode = std::move(line.codes[1]);
        r.counts = std::move(line.counts);
    }
}

QByteArray DoctorMonths::bytes() const
{
    QByteArray result;
    result.reserve(kRows * (kWidth + 2));
    for (const DoctorMonthsRow &r : m_rows) {
        stats::appendCode(result, r.code, 2);
        stats::appendCode(result, r.specialtyCode, 2);
        stats::appendCounts(result, r.counts);
    }
    return result;
}

QStringList DoctorMonths::lines() const
{
    QStringList result;
    result.reserve(kRows);
    for (const DoctorMonthsRow &r : m_rows)
        result << stats::monthLine(textfile::fixed(r.code, 2) + textfile::fixed(r.specialtyCode, 2),
                                   r.counts);
    return result;
}

void DoctorMonths::save(const QString &path) const
{
    textfile::writeLines(path, lines());
}

int DoctorMonths::postingSpecialty(int doctor) const
{
    const QString code = row(doctor).specialtyCode;
    const std::optional<int> e = stats::countValue(code);
    return code.size() == 2 && e && *e >= 51 && *e <= 80 ? *e : 0;
}

QString DoctorMonths::countText(int count)
{
    return stats::countText(count).right(4);
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
        const int sum =
            countValue(to.counts[i], specialty, m + 1) + countValue(from.counts[i], doctor, m + 1);
        sums[i] = stats::countText(
            stats::checkedSum(sum, stats::monthCell(files::kDoctorMonths, specialty, m + 1)));
    }
    to.code = QString::number(specialty);
    to.specialtyCode = QString::number(specialty);
    to.counts = sums;
    from.specialtyCode = QStringLiteral("00");
    from.counts = stats::zeroCounts();
}

void DoctorMonths::relink(const DoctorRegister &doctors)
{
    for (int n = 1; n <= kDoctorRows; ++n) {
        DoctorMonthsRow &r = row(n);
        for (int code = 1; code <= DoctorRegister::kDoctors; ++code) {
            const Doctor &d = doctors.doctor(code);
            if (textfile::trimRight(d.code) != textfile::trimRight(r.code))
                continue;
            const std::optional<int> specialty = stats::countValue(d.specialtyCode);
            const bool linked = !d.isFree() && d.specialtyCode.size() == 2 && specialty &&
                                *specialty > kDoctorRows && *specialty <= kRows;
            r.specialtyCode = linked ? d.specialtyCode : QStringLiteral("00");
            break;
        }
    }
}

} // namespace clinora
