#include "statistics/pending_movements.h"

#include "statistics/counts.h"

namespace clinora {

namespace {

// The digits of a field as a number (1 to 9 digits), whether the line is text or the
// file's bytes; nothing for anything else.
int digit(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'0' && u <= u'9' ? u - u'0' : -1;
}
int digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

bool is(QChar c, char a)
{
    return c.unicode() == static_cast<unsigned char>(a);
}
bool is(char c, char a)
{
    return c == a;
}

template <typename View> Q_ALWAYS_INLINE std::optional<int> number(View text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const auto c : text) {
        const int d = digit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

// The fields of a movement line, or nothing with the first field that is wrong.
enum class MovementField { None, Length, Doctor, Month, Situation, Quantity };

template <typename View> Q_ALWAYS_INLINE std::optional<Movement> readMovement(View text, MovementField &wrong)
{
    if (text.size() < 6) {
        wrong = MovementField::Length;
        return std::nullopt;
    }
    Movement m;
    // The doctor field is left-aligned: "7 " or "12", never " 7" or "07".
    const View doctor = is(text.at(1), ' ') ? text.first(1) : text.first(2);
    const std::optional<int> doctorNumber = number(doctor);
    if (!doctorNumber || *doctorNumber < 1 || *doctorNumber > 50 || digit(doctor.front()) == 0) {
        wrong = MovementField::Doctor;
        return std::nullopt;
    }
    m.doctor = *doctorNumber;
    const std::optional<int> month = number(text.sliced(2, 2));
    if (!month || *month < 1 || *month > 12) {
        wrong = MovementField::Month;
        return std::nullopt;
    }
    m.month = *month;
    const std::optional<int> situation = number(text.sliced(4, 1));
    if (!situation || *situation < 1) {
        wrong = MovementField::Situation;
        return std::nullopt;
    }
    m.situation = *situation;
    const View quantity = text.sliced(5);
    const bool negative = is(quantity.front(), '-');
    const std::optional<int> amount = number(negative ? quantity.sliced(1) : quantity);
    if (!amount || quantity.size() > 4) {
        wrong = MovementField::Quantity;
        return std::nullopt;
    }
    m.quantity = negative ? -*amount : *amount;
    return m;
}

} // namespace

void PendingMovements::load(const QString &path)
{
    m_bytes = textfile::readText(path);
    m_spans = textfile::lineSpans(m_bytes);
}

QString PendingMovements::line(qsizetype i) const
{
    return textfile::decode(lineBytes(i));
}

QStringList PendingMovements::lines() const
{
    QStringList result;
    result.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        result << line(i);
    return result;
}

void PendingMovements::setLines(const QStringList &lines)
{
    m_bytes.clear();
    m_spans.clear();
    append(lines);
}

void PendingMovements::append(const QStringList &lines)
{
    // No room reserved: a day's count appends a few lines at a time, and the lists
    // grow by doubling.
    for (const QString &line : lines) {
        const QByteArray encoded = textfile::encode(line);
        m_spans.push_back({m_bytes.size(), encoded.size()});
        m_bytes += encoded;
    }
}

QByteArray PendingMovements::bytes() const
{
    QByteArray result;
    qsizetype total = 0;
    for (const textfile::LineSpan &span : m_spans)
        total += span.size + 2;
    result.reserve(total);
    for (qsizetype i = 0; i < size(); ++i) {
        result.append(lineBytes(i));
        result.append("\r\n", 2);
    }
    return result;
}

bool PendingMovements::operator==(const PendingMovements &other) const
{
    if (size() != other.size())
        return false;
    for (qsizetype i = 0; i < size(); ++i) {
        if (lineBytes(i) != other.lineBytes(i))
            return false;
    }
    return true;
}

std::optional<Movement> PendingMovements::parse(const QString &line, QString *why)
{
    MovementField wrong = MovementField::None;
    const QStringView text(line);
    std::optional<Movement> m = readMovement(text, wrong);
    if (!why || m)
        return m;
    switch (wrong) {
    case MovementField::Length: *why = QStringLiteral("linha curta demais"); break;
    case MovementField::Doctor:
        *why = QStringLiteral("médico \"%1\" não é um número de 1 a 50").arg(line.left(2));
        break;
    case MovementField::Month: *why = QStringLiteral("mês \"%1\" não é de 01 a 12").arg(line.mid(2, 2)); break;
    case MovementField::Situation: *why = QStringLiteral("situação \"%1\" não é de 1 a 9").arg(line.mid(4, 1)); break;
    case MovementField::Quantity:
    case MovementField::None:
        *why = QStringLiteral("quantidade \"%1\" não é um número inteiro de -999 a 9999").arg(text.mid(5));
        break;
    }
    return std::nullopt;
}

std::optional<Movement> PendingMovements::parse(QByteArrayView line, QString *why)
{
    // A byte is a digit, a blank or a minus exactly where its character is: the text is
    // needed only to say what is wrong.
    MovementField wrong = MovementField::None;
    const std::optional<Movement> m = readMovement(line, wrong);
    if (!why || m)
        return m;
    return parse(textfile::decode(line), why);
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
