#include "statistics/pending_movements.h"

#include "platform/text_file.h"
#include "statistics/counts.h"

namespace clinora {

void PendingMovements::load(const QString &path)
{
    m_lines = textfile::readLines(path);
}

std::optional<Movement> PendingMovements::parse(const QString &line, QString *why)
{
    const auto refuse = [why](const QString &reason) -> std::optional<Movement> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (line.size() < 6)
        return refuse(QStringLiteral("linha curta demais"));
    Movement m;
    const QStringView text(line);
    // The doctor field is left-aligned: "7 " or "12", never " 7" or "07".
    const QStringView doctor = text.left(2).back() == QLatin1Char(' ') ? text.left(1) : text.left(2);
    const std::optional<int> doctorNumber = stats::countValue(doctor);
    if (!doctorNumber || *doctorNumber < 1 || *doctorNumber > 50 || doctor.front() == QLatin1Char('0'))
        return refuse(QStringLiteral("médico \"%1\" não é um número de 1 a 50").arg(line.left(2)));
    m.doctor = *doctorNumber;
    const std::optional<int> month = stats::countValue(text.mid(2, 2));
    if (!month || *month < 1 || *month > 12)
        return refuse(QStringLiteral("mês \"%1\" não é de 01 a 12").arg(line.mid(2, 2)));
    m.month = *month;
    const std::optional<int> situation = stats::countValue(text.mid(4, 1));
    if (!situation || *situation < 1)
        return refuse(QStringLiteral("situação \"%1\" não é de 1 a 9").arg(line.mid(4, 1)));
    m.situation = *situation;
    const QStringView quantity = text.mid(5);
    const bool negative = quantity.startsWith(QLatin1Char('-'));
    const std::optional<int> amount = stats::countValue(negative ? quantity.mid(1) : quantity);
    if (!amount || quantity.size() > 4)
        return refuse(
            QStringLiteral("quantidade \"%1\" não é um número inteiro de -999 a 9999").arg(quantity));
    m.quantity = negative ? -*amount : *amount;
    return m;
}

QString PendingMovements::line(int doctor, int month, int situation, int quantity)
{
    QString text = textfile::fixed(QString::number(doctor), 2);
    stats::appendCount(text, month, 2);
    stats::appendCount(text, situation, 0);
    stats::appendCount(text, quantity, 0);
    return text;
}

} // namespace clinora
