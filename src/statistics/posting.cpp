#include "statistics/posting.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "statistics/counts.h"
#include "statistics/statistics_files.h"

#include <QFileInfo>

namespace clinora {

namespace {

// The counts of a table as numbers while the lines are added, each changed cell
// written back once at the end.
template <int Rows> class Cells
{
public:
    // Rows first ... first + Rows - 1 of the table.
    template <typename Table> Cells(const Table &table, int first) : m_first(first)
    {
        for (int r = 0; r < Rows; ++r)
            for (int m = 0; m < 12; ++m)
                m_values[r][m] =
                    stats::countValue(table.row(first + r).counts[static_cast<std::size_t>(m)]).value_or(0);
    }
    // Row and month counted from 0.
    int value(int row, int month) const { return m_values[row][month]; }
    void set(int row, int month, int value)
    {
        m_values[row][month] = value;
        m_changed[row][month] = true;
    }
    template <typename Table> void write(Table &table) const
    {
        for (int r = 0; r < Rows; ++r)
            for (int m = 0; m < 12; ++m)
                if (m_changed[r][m])
                    table.row(m_first + r).counts[static_cast<std::size_t>(m)] =
                        stats::countText(m_values[r][m]);
    }

private:
    int m_first;
    std::array<std::array<int, 12>, Rows> m_values{};
    std::array<std::array<bool, 12>, Rows> m_changed{};
};

} // namespace

PostingResult postPending(StatisticsFiles &files)
{
    PostingResult result;
    PendingMovements &pending = files.pending();
    if (pending.isEmpty())
        return result;
    DoctorMonths &doctorTable = files.doctorMonths();
    SpecialtyMonths &specialtyTable = files.specialtyMonths();
    SituationMonths &situationTable = files.situationMonths();
    const SituationMonths::Index index = situationTable.index();

    Cells<DoctorMonths::kRows> doctors(doctorTable, 1);
    Cells<SpecialtyMonths::kRows> specialties(specialtyTable, SpecialtyMonths::kFirst);
    Cells<SituationMonths::kRows> situations(situationTable, 1);

    // The specialty of each doctor row, as the posting reads it: 51 to 80, or none.
    std::array<int, DoctorMonths::kDoctorRows + 1> specialtyOf{};
    for (int d = 1; d <= DoctorMonths::kDoctorRows; ++d)
        specialtyOf[static_cast<std::size_t>(d)] = doctorTable.postingSpecialty(d);

    const auto setAside = [&](const QString &line, const QString &why) {
        if (result.setAside.isEmpty())
            result.setAsideReason = QStringLiteral("\"%1\": %2").arg(line, why);
        result.setAside << line;
    };
    // The files a cell that does not fit is named by, in the order of the sums below.
    const QLatin1String cellFiles[] = {files::kDoctorMonths, files::kSituationMonths,
                                       files::kSpecialtyMonths};
    for (qsizetype i = 0; i < pending.size(); ++i) {
        // Each line read from the file's bytes; its text is made only for a line that
        // is set aside or kept.
        const QByteArrayView bytes = pending.lineBytes(i);
        const auto line = [&pending, i] { return pending.line(i); };
        QString why;
        const std::optional<Movement> movement = PendingMovements::parse(bytes, &why);
        if (!movement) {
            setAside(line(), why);
            continue;
        }
        const int d = movement->doctor;
        const int m = movement->month - 1;
        const int e = specialtyOf[static_cast<std::size_t>(d)];
        if (e == 0) {
            setAside(line(), QStringLiteral("o médico %1 não tem especialidade na linha %1 de %2 (\"%3\")")
                                 .arg(d)
                                 .arg(QString(files::kDoctorMonths), doctorTable.row(d).specialtyCode));
            continue;
        }
        const int s = index.find(movement->situation, e);
        if (s == 0) {
            setAside(line(), QStringLiteral("%1 não tem linha da situação %2 com a especialidade %3")
                                 .arg(QString(files::kSituationMonths))
                                 .arg(movement->situation)
                                 .arg(e));
            continue;
        }
        const int q = movement->quantity;
        const int sums[] = {doctors.value(d - 1, m) + q, situations.value(s - 1, m) + q,
                            specialties.value(e - 51, m) + q};
        const int rows[] = {d, s, e - 50};
        bool fits = true;
        for (int i = 0; i < 3 && fits; ++i) {
            if (sums[i] >= 0 && sums[i] <= stats::kMaxCount)
                continue;
            fits = false;
            if (result.kept.isEmpty()) {
                try {
                    stats::checkedSum(sums[i], stats::monthCell(cellFiles[i], rows[i], m + 1));
                } catch (const stats::CountOverflow &overflow) {
                    result.keptReason = overflow.message();
                }
            }
        }
        if (!fits) {
            result.kept << line();
            continue;
        }
        doctors.set(d - 1, m, sums[0]);
        situations.set(s - 1, m, sums[1]);
        specialties.set(e - 51, m, sums[2]);
        ++result.posted;
    }

    doctors.write(doctorTable);
    specialties.write(specialtyTable);
    situations.write(situationTable);
    pending.setLines(result.kept);

    if (!result.setAside.isEmpty()) {
        const QString path = files.path(files::kSetAsideMovements);
        // Whatever was set aside before stays: the new lines go after it.
        const QStringList before = QFileInfo::exists(path) ? textfile::readLines(path) : QStringList();
        files.stageLines(files::kSetAsideMovements, before + result.setAside);
    }
    return result;
}

void reportPosting(const PostingResult &result, Dialogs &dialogs)
{
    if (!result.setAside.isEmpty())
        dialogs.warning(
            QStringLiteral("%1 linha(s) de %2 não puderam ser contadas e foram guardadas, como "
                           "estavam, no arquivo %3 (a primeira, %4).\nAs demais foram processadas.")
                .arg(result.setAside.size())
                .arg(QString(files::kPendingMovements), QString(files::kSetAsideMovements),
                     result.setAsideReason));
    if (!result.kept.isEmpty())
        dialogs.warning(QStringLiteral("%1 linha(s) de %2 continuam pendentes: %3")
                            .arg(result.kept.size())
                            .arg(QString(files::kPendingMovements), result.keptReason));
}

bool unpostedMovements(const AppContext &context)
{
    if (context.statisticsUpToDate)
        return false;
    PendingMovements pending;
    pending.load(context.file(files::kPendingMovements));
    return !pending.isEmpty();
}

PostingResult postPendingMovements(AppContext &context)
{
    StatisticsFiles files(context);
    const PostingResult result = postPending(files);
    files.commit();
    context.statisticsUpToDate = true;
    reportPosting(result, context.dialogs);
    return result;
}

} // namespace clinora
