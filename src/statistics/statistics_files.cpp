#include "statistics/statistics_files.h"

#include "protection/mirror_link.h"
#include "core/data_files.h"
#include "protection/mirror.h"

#include <QFileInfo>

namespace clinora {

StatisticsFiles::StatisticsFiles(MirroredClinic &context)
    : m_context(context),
      m_group(context.paths.dataDir()), m_doctorMonths{files::kDoctorMonths.data(), {}, {}, false},
      m_specialtyMonths{files::kSpecialtyMonths.data(), {}, {}, false},
      m_situationMonths{files::kSituationMonths.data(), {}, {}, false},
      m_weeklyCounts{files::kWeeklyCounts.data(), {}, {}, false},
      m_pending{files::kPendingMovements.data(), {}, {}, false}, m_weeks{files::kWeeks.data(), {}, {}, false},
      m_history{files::kHistory.data(), {}, {}, false}, m_recordedSheets{
                                                            kRecordedSheetsFile.data(), {}, {}, false}
{
}

QString StatisticsFiles::path(const QString &name) const
{
    return m_context.file(name);
}

template <typename T> T &StatisticsFiles::get(Slot<T> &slot)
{
    if (!slot.table) {
        // Read in place; a file that cannot be read leaves no table behind.
        slot.table.emplace();
        try {
            slot.table->load(path(QLatin1String(slot.name)));
        } catch (...) {
            slot.table.reset();
            throw;
        }
        slot.original = detail::Contents<T>::of(*slot.table);
    }
    return *slot.table;
}

template <typename T> void StatisticsFiles::take(Slot<T> &slot, T table)
{
    slot.original = detail::Contents<T>::of(table);
    slot.table = std::move(table);
}

void StatisticsFiles::take(DoctorMonths table)
{
    take(m_doctorMonths, std::move(table));
}
void StatisticsFiles::take(SpecialtyMonths table)
{
    take(m_specialtyMonths, std::move(table));
}
void StatisticsFiles::take(SituationMonths table)
{
    take(m_situationMonths, std::move(table));
}

DoctorMonths &StatisticsFiles::doctorMonths()
{
    return get(m_doctorMonths);
}
SpecialtyMonths &StatisticsFiles::specialtyMonths()
{
    return get(m_specialtyMonths);
}
SituationMonths &StatisticsFiles::situationMonths()
{
    return get(m_situationMonths);
}
WeeklyCounts &StatisticsFiles::weeklyCounts()
{
    return get(m_weeklyCounts);
}
PendingMovements &StatisticsFiles::pending()
{
    return get(m_pending);
}
Weeks &StatisticsFiles::weeks()
{
    return get(m_weeks);
}
History &StatisticsFiles::history()
{
    return get(m_history);
}
RecordedSheets &StatisticsFiles::recordedSheets()
{
    return get(m_recordedSheets);
}

template <typename T> void StatisticsFiles::replace(Slot<T> &slot, const QString &templateName)
{
    T table;
    table.load(path(templateName));
    slot.table = std::move(table);
    slot.replaced = true;
}

void StatisticsFiles::resetFromTemplates()
{
    replace(m_doctorMonths, QStringLiteral("BaseMedMeses.Txt"));
    replace(m_specialtyMonths, QStringLiteral("BaseEspMeses.Txt"));
    replace(m_situationMonths, QStringLiteral("BaseSitMeses.Txt"));
    replace(m_weeklyCounts, QStringLiteral("BasePrevReal.Txt"));
    replace(m_pending, QStringLiteral("BaseSemanas.Txt"));
    // The days counted into the old tables are not in the new ones; the list is not
    // read, so a damaged one goes as well.
    if (QFileInfo::exists(path(kRecordedSheetsFile))) {
        m_recordedSheets.table = RecordedSheets();
        m_recordedSheets.replaced = true;
    }
}

void StatisticsFiles::stageLines(const QString &name, const QStringList &lines)
{
    m_group.stageLines(path(name), lines);
    if (!m_staged.contains(name))
        m_staged << name;
}

void StatisticsFiles::stageBytes(const QString &name, const QByteArray &bytes)
{
    m_group.stageBytes(path(name), bytes);
    if (!m_staged.contains(name))
        m_staged << name;
}

void StatisticsFiles::stageCopy(const QString &sourceName, const QString &destinationName)
{
    m_group.stageCopy(path(sourceName), path(destinationName));
    if (!m_staged.contains(destinationName))
        m_staged << destinationName;
}

template <typename T> void StatisticsFiles::stageIfChanged(Slot<T> &slot, QStringList &names)
{
    if (!slot.table)
        return;
    auto contents = detail::Contents<T>::of(*slot.table);
    if (!slot.replaced && contents == slot.original)
        return;
    const QString name = QLatin1String(slot.name);
    stageContents(name, contents);
    names << name;
    // Once committed, this is what the files hold.
    slot.original = std::move(contents);
    slot.replaced = false;
}

void StatisticsFiles::stageContents(const QString &name, const QStringList &lines)
{
    m_group.stageLines(path(name), lines);
}

void StatisticsFiles::stageContents(const QString &name, const QByteArray &bytes)
{
    m_group.stageBytes(path(name), bytes);
}

void StatisticsFiles::stageContents(const QString &name, const PendingMovements &pending)
{
    m_group.stageBytes(path(name), pending.bytes());
}

QStringList StatisticsFiles::commit()
{
    QStringList names;
    stageIfChanged(m_doctorMonths, names);
    stageIfChanged(m_specialtyMonths, names);
    stageIfChanged(m_situationMonths, names);
    stageIfChanged(m_weeklyCounts, names);
    stageIfChanged(m_pending, names);
    stageIfChanged(m_weeks, names);
    stageIfChanged(m_history, names);
    stageIfChanged(m_recordedSheets, names);
    for (const QString &name : std::as_const(m_staged)) {
        if (!names.contains(name))
            names << name;
    }
    m_group.commit();
    m_staged.clear();
    // The archive copies below the data directory have no place in the mirror.
    QStringList mirrored;
    for (const QString &name : std::as_const(names)) {
        if (!name.contains(QLatin1Char('/')))
            mirrored << name;
    }
    mirror::copyTogether(m_context, mirrored);
    return names;
}

} // namespace clinora
