// The statistics files as one operation sees them: each table is read fresh from the
// data directory on first use, changed in memory, and at the end every file that
// changed is committed together with the operation's other files (the settings, the
// register, the archive copies): all of them or none. Then the mirror copies.
#pragma once

#include "platform/file_group.h"
#include "statistics/doctor_months.h"
#include "statistics/esp_meses.h"
#include "statistics/history.h"
#include "statistics/pending_movements.h"
#include "statistics/recorded_sheets.h"
#include "statistics/situation_months.h"
#include "statistics/weekly_counts.h"
#include "statistics/weeks.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace clinora {

class MirroredClinic;

namespace detail {

// A table's contents as read, kept to tell at the commit whether it changed: the file's
// bytes where the table gives them (the monthly tables), or its lines; for the pending
// movements (thousands of short lines) the table itself, compared line by line in the
// file's bytes.
template <typename T> struct Contents
{
    static auto of(const T &table)
    {
        if constexpr (requires { table.bytes(); })
            return table.bytes();
        else
            return table.lines();
    }
    using Type = decltype(of(std::declval<const T &>()));
};
template <> struct Contents<PendingMovements>
{
    using Type = PendingMovements;
    static Type of(const PendingMovements &table) { return table; }
};

} // namespace detail

class StatisticsFiles
{
public:
    explicit StatisticsFiles(MirroredClinic &context);
    StatisticsFiles(const StatisticsFiles &) = delete;
    StatisticsFiles &operator=(const StatisticsFiles &) = delete;

    DoctorMonths &doctorMonths();
    SpecialtyMonths &specialtyMonths();
    SituationMonths &situationMonths();
    WeeklyCounts &weeklyCounts();
    PendingMovements &pending();
    Weeks &weeks();
    History &history();
    RecordedSheets &recordedSheets();

    // The monthly tables, the weekly table and MovMes.Txt taken from their templates
    // (BaseMedMeses.Txt, BaseEspMeses.Txt, BaseSitMeses.Txt, BasePrevReal.Txt and the
    // empty BaseSemanas.Txt), each read as strictly as the file it replaces; no day
    // of the new tables has been counted yet.
    void resetFromTemplates();

    // Another file of the data directory (or below it) in the same commit.
    void stageLines(const QString &name, const QStringList &lines);
    void stageBytes(const QString &name, const QByteArray &bytes);
    void stageCopy(const QString &sourceName, const QString &destinationName);

    // Commits every changed table and every staged file as one group, then makes the
    // mirror copies of those in the data directory. Returns the names written; nothing
    // when nothing changed. Throws FileError with every old file intact; the operation
    // then ends, and a new one reads the files afresh.
    QStringList commit();

    QString path(const QString &name) const;

    // A table already read from this data directory, taken as the one its file holds
    // instead of reading the file again on first use (for a caller that keeps the
    // tables in memory between operations). Only before the table's first use.
    void take(DoctorMonths table);
    void take(SpecialtyMonths table);
    void take(SituationMonths table);

private:
    template <typename T> struct Slot
    {
        const char *name;
        std::optional<T> table;
        typename detail::Contents<T>::Type original; // as read
        bool replaced = false;
    };

    template <typename T> T &get(Slot<T> &slot);
    template <typename T> void take(Slot<T> &slot, T table);
    template <typename T> void replace(Slot<T> &slot, const QString &templateName);
    template <typename T> void stageIfChanged(Slot<T> &slot, QStringList &names);
    void stageContents(const QString &name, const QStringList &lines);
    void stageContents(const QString &name, const QByteArray &bytes);
    void stageContents(const QString &name, const PendingMovements &pending);

    MirroredClinic &m_context;
    FileGroup m_group;
    QStringList m_staged;

    Slot<DoctorMonths> m_doctorMonths;
    Slot<SpecialtyMonths> m_specialtyMonths;
    Slot<SituationMonths> m_situationMonths;
    Slot<WeeklyCounts> m_weeklyCounts;
    Slot<PendingMovements> m_pending;
    Slot<Weeks> m_weeks;
    Slot<History> m_history;
    Slot<RecordedSheets> m_recordedSheets;
};

} // namespace clinora
