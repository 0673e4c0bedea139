#include "statistics/movement_entry.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "protection/mirror.h"
#include "statistics/counts.h"
#include "statistics/statistics_files.h"

#include <QRegularExpression>

namespace clinora {

namespace {

// A whole number typed in a box: digits, with a minus sign in front when allowed.
std::optional<int> wholeNumber(const QString &text, bool signedNumber)
{
    static const QRegularExpression unsignedPattern(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression signedPattern(QStringLiteral("^-?[0-9]+$"));
    if (!(signedNumber ? signedPattern : unsignedPattern).match(text).hasMatch() || text.size() > 9)
        return std::nullopt;
    return text.toInt();
}

} // namespace

std::optional<int> registeredDoctor(const DoctorRegister &doctors, const QString &typed)
{
    const std::optional<int> code = wholeNumber(typed.trimmed(), false);
    if (!code || !DoctorRegister::validCode(*code) || doctors.isFree(*code) ||
        doctors.doctor(*code).name.trimmed().isEmpty())
        return std::nullopt;
    return code;
}

QString CollectedEntry::line() const
{
    return PendingMovements::line(doctor, month, situation, quantity);
}

QString CollectiveEntry::confirm(AppContext &context, EntryFields &fields)
{
    for (QString *field : {&fields.doctor, &fields.situation, &fields.quantity, &fields.month, &fields.year})
        *field = field->trimmed();
    if (fields.doctor.isEmpty() || fields.situation.isEmpty() || fields.quantity.isEmpty() ||
        fields.month.isEmpty() || fields.year.isEmpty())
        return QStringLiteral("Todos os campos devem ser preenchidos");
    if (fields.quantity.startsWith(QLatin1String("- ")))
        fields.quantity = QLatin1Char('-') + fields.quantity.mid(1).trimmed();
    if (fields.quantity.size() >= 5)
        return QStringLiteral(
            "O campo Quantidade deve ter no máximo, 4 posições.\n\nEle pode variar de -999 até 9999.");
    const std::optional<int> quantity = wholeNumber(fields.quantity, true);
    if (!quantity)
        return QStringLiteral("O campo Quantidade deve ser um número inteiro.\n\nEle pode variar de -999 até "
                              "9999.");
    const std::optional<int> month = wholeNumber(fields.month, false);
    if (!month || *month < 1 || *month > 12)
        return QStringLiteral("Mês inválido: de 1 a 12");
    if (QStringLiteral("A") + fields.year != context.settings.yearState())
        return QStringLiteral("   Para realizar a gravação desta Ficha, você precisa primeiro\nabrir as "
                              "estatísticas do ano de ") +
               fields.year + QStringLiteral("\n\n") +
               QStringLiteral("         == use a opção [ Abrir, Limpar (reiniciar) as Estatísticas ] == ");

    const std::optional<int> doctor = registeredDoctor(context.doctors, fields.doctor);
    if (!doctor)
        return QStringLiteral("Código do Médico Inexistente");
    context.situations.load(context.paths.dataDir() + QLatin1Char('/'));
    const std::optional<int> situation = wholeNumber(fields.situation, false);
    if (!situation || *situation < 1 || *situation > 9 ||
        context.situations.entry(*situation).name.trimmed().size() < 2)
        return QStringLiteral("Código de Situação Inexistente");

    const CollectedEntry entry{*doctor, *month, *situation, *quantity};
    if (entry.quantity < 0) {
        StatisticsFiles files(context);
        const DoctorMonths &doctors = files.doctorMonths();
        const SituationMonths &situations = files.situationMonths();
        const int e = doctors.postingSpecialty(entry.doctor);
        const int row = e == 0 ? 0 : situations.index().find(entry.situation, e);
        const auto monthCount = [&entry](const stats::MonthCounts &counts) {
            return stats::countValue(counts[static_cast<std::size_t>(entry.month - 1)]).value_or(0);
        };
        // What the month will hold once everything waiting is posted.
        int doctorCount = monthCount(doctors.row(entry.doctor).counts);
        int situationCount = row == 0 ? 0 : monthCount(situations.row(row).counts);
        const auto add = [&](const CollectedEntry &m) {
            if (m.month != entry.month)
                return;
            if (m.doctor == entry.doctor)
                doctorCount += m.quantity;
            if (m.situation == entry.situation && doctors.postingSpecialty(m.doctor) == e)
                situationCount += m.quantity;
        };
        for (const QString &line : files.pending().lines()) {
            if (const std::optional<Movement> m = PendingMovements::parse(line))
                add({m->doctor, m->month, m->situation, m->quantity});
        }
        for (const CollectedEntry &m : std::as_const(m_entries))
            add(m);
        const int q = -entry.quantity;
        if (doctorCount < q)
            return QStringLiteral("No mês considerado há apenas %1 consultas para o médico").arg(doctorCount);
        if (row != 0 && situationCount < q)
            return QStringLiteral("No mês considerado há apenas %1 consultas na situação %2")
                .arg(situationCount)
                .arg(entry.situation);
    }
    m_entries << entry;
    return {};
}

PostingResult processEntries(AppContext &context, const QList<CollectedEntry> &entries)
{
    StatisticsFiles files(context);
    QStringList lines;
    for (const CollectedEntry &entry : entries)
        lines << entry.line();
    files.pending().append(lines);
    const PostingResult result = postPending(files);
    files.commit();
    context.statisticsUpToDate = true;
    reportPosting(result, context.dialogs);
    return result;
}

bool switchAutomaticEntryOff(AppContext &context, const QString &question)
{
    if (!context.settings.automaticEntryOn())
        return true;
    if (!context.dialogs.question(question))
        return false;
    Settings settings = context.settings;
    settings.setAutomaticEntry(QStringLiteral("Nao"));
    settings.save(context.file(files::kSettings));
    context.settings = settings;
    // Both entries copy it: a mirror left saying "Sim" would count the days again
    // by itself after a recovery.
    mirror::copy(context, files::kSettings);
    return true;
}

} // namespace clinora
