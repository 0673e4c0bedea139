#include "agenda/restart.h"

#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "core/doctor_register.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/table_replacement.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "statistics/posting.h"
#include "statistics/scheduled_removal.h"
#include "statistics/statistics_files.h"
#include "statistics/year_close.h"

#include <QFile>
#include <QFileInfo>

namespace clinora {

namespace {

inline constexpr QLatin1String kBaseDoctors("BaseCodMed.Txt");
inline constexpr QLatin1String kBaseTimetable("BaseSemanas.Txt");
inline constexpr QLatin1String kBaseDoctorNames("BaseMedicos.Txt");
inline constexpr QLatin1String kBaseSpecialties("BaseEsp.Txt");
inline constexpr QLatin1String kBaseSituations("BaseSit.Txt");

// An empty appointment table.
void writeEmptyTable(const QString &path)
{
    AppointmentTable table;
    table.open(path, true);
    table.close();
}

QString question(const AppContext &context, const RestartGroups &groups)
{
    const QString end = QStringLiteral("                 Tem certeza que deseja isso?");
    if (context.settings.mirroringOn())
        return QStringLiteral("  Este procedimento irá alterar os  arquivos que você selecionou.\r\rComo o "
                              "espelhamento está ativado, as alterações também modificarão\ro conteúdo do drive ")
               + context.settings.mirrorDir().left(2).toUpper()
               + QStringLiteral(" onde está a cópia de segurança.") + QStringLiteral("\r\r") + end;
    QString text = QStringLiteral("Este procedimento irá alterar os seguintes arquivos:\r\r");
    const auto group = [&](bool chosen, const char *caption) {
        text += (chosen ? QString::fromUtf8(caption) : QString()) + QStringLiteral("\r");
    };
    group(groups.doctors, "Médicos");
    group(groups.situations, "Situações");
    group(groups.specialties, "Especialidades");
    group(groups.appointments, "Consultas Marcadas e Datas do Sistema");
    group(groups.statistics, "Estatísticas");
    return text + QStringLiteral("\r") + end;
}

void restartAppointments(AppContext &context)
{
    const QString table = context.file(files::kTable);
    const QString today = dates::format(context.clock.today());
    // The data side as one group: an empty table, no closed dates, an empty run
    // journal and the agenda prepared up to today.
    FileGroup group(context.paths.dataDir());
    group.stageCopy(context.file(files::kEmpty), context.file(files::kClosedDates));
    group.stageCopy(context.file(files::kEmpty), context.file(files::kRunJournal));
    group.stageLines(context.file(files::kPreparedLimit), {today});
    group.stageLines(context.file(files::kPreparedLimitCopy), {today});
    TableReplacement replacement(group, table);
    replacement.stage(writeEmptyTable);
    replacement.commit([&context] { context.DMMedicos.close(); }, [&context] { context.DMMedicos.open(); });
    context.DMMedicos.open();
    context.journal.discard();

    if (!context.settings.mirroringOn())
        return;
    // The mirror's side as one group too: its table copy and journal stay together.
    const QString mirrorDir = mirrorDirectory(context.settings, context.paths);
    const QString mirrorTable = mirrorDir + QLatin1Char('/') + files::kMirrorTable;
    try {
        FileGroup mirrorGroup(mirrorDir);
        mirrorGroup.stageCopy(context.file(files::kEmpty), mirrorDir + QLatin1Char('/') + files::kJournal);
        for (const QLatin1String name :
             {files::kClosedDates, files::kCurrencyMark, files::kPreparedLimitCopy, files::kPreparedLimit})
            mirrorGroup.stageCopy(context.file(name), mirrorDir + QLatin1Char('/') + name);
        TableReplacement replacement(mirrorGroup, mirrorTable);
        replacement.stage(writeEmptyTable);
        replacement.commit();
    } catch (const Error &e) {
        mirror::switchOffAfterFailure(context, e.message());
    }
}

} // namespace

void reorganiseTable(AppContext &context)
{
    context.DMMedicos.TMedicos.close();
    context.DMMedicos.QMedicos.close();
    context.DMMedicos.QMedicos2.close();
    AppointmentTable &table = context.DMMedicos.table();
    if (!table.isOpen())
        context.DMMedicos.open();
    table.database().exec(QStringLiteral("VACUUM"));
    textfile::copyFile(context.file(files::kPreparedLimit), context.file(files::kPreparedLimitCopy));
    textfile::writeLines(context.file(files::kRunJournal), {});
}

QStringList missingTemplates(const AppContext &context, const RestartGroups &groups)
{
    QStringList needed;
    if (groups.doctors)
        needed << kBaseDoctors << kBaseTimetable << kBaseDoctorNames;
    if (groups.specialties)
        needed << kBaseSpecialties;
    if (groups.situations)
        needed << kBaseSituations;
    if (groups.appointments)
        needed << files::kEmpty;
    if (groups.statistics)
        needed << QStringLiteral("BaseMedMeses.Txt") << QStringLiteral("BaseEspMeses.Txt")
               << QStringLiteral("BaseSitMeses.Txt") << QStringLiteral("BasePrevReal.Txt") << kBaseTimetable;
    QStringList missing;
    for (const QString &name : std::as_const(needed)) {
        if (!QFileInfo(context.file(name)).isFile())
            missing << name;
    }
    return missing;
}

bool restartSystem(AppContext &context, const RestartGroups &groups,
                   const std::function<void(const QString &, const QString &)> &progress)
{
    if (!groups.doctors && !groups.specialties && !groups.situations && !groups.appointments &&
        !groups.statistics)
        return false;
    const QStringList missing = missingTemplates(context, groups);
    if (!missing.isEmpty()) {
        context.dialogs.warning(QStringLiteral("O Sistema não foi reiniciado; nada foi alterado.\r\nFaltam os "
                                               "modelos: %1")
                                    .arg(missing.join(QStringLiteral(", "))));
        return false;
    }
    if (context.settings.mirroringOn() && !mirror::mediaPresent(context)) {
        context.dialogs.warning(QStringLiteral("O Sistema não foi reiniciado; nada foi alterado.\r\nA mídia "
                                               "Espelho não está instalada."));
        return false;
    }
    if (!context.dialogs.question(question(context, groups)))
        return false;

    const QString prefix = context.paths.dataDir() + QLatin1Char('/');
    if (groups.doctors) {
        // The register from its templates and, in the same commit, the statistics of
        // the freed codes: a doctor given code 1 later does not inherit the old one's
        // year. The mirror copies follow the commit.
        StatisticsFiles statistics(context);
        statistics.stageCopy(kBaseDoctors, files::kDoctors);
        // The empty timetable in the file's own form (one empty line per slot): the empty
        // template alone would read as a file cut short.
        statistics.stageLines(files::kTimetable, DoctorRegister().timetableLines());
        statistics.stageCopy(kBaseDoctorNames, files::kDoctorNames);
        const PostingResult posted = releaseAllDoctorCodes(statistics);
        statistics.commit();
        // Every code free, as the templates hold them.
        context.doctors.clear();
        context.doctors.load(prefix);
        reportPosting(posted, context.dialogs);
    }
    if (groups.specialties) {
        textfile::copyFile(context.file(kBaseSpecialties), context.file(files::kSpecialties));
        mirror::copy(context, kBaseSpecialties, files::kSpecialties);
        context.specialties.load(prefix);
    }
    if (groups.situations) {
        textfile::copyFile(context.file(kBaseSituations), context.file(files::kSituations));
        mirror::copy(context, kBaseSituations, files::kSituations);
        context.situations.load(prefix);
    }
    if (groups.appointments) {
        if (progress)
            progress(QStringLiteral("Aguarde ... "), QStringLiteral("Excluindo as consultas e datas "));
        restartAppointments(context);
        if (progress)
            progress(QString(), QString());
    }
    if (groups.appointments) {
        // Days past the new limit are only disabled by a refresh: their marks go too.
        for (int day = 1; day <= DaySheets::kDays; ++day)
            context.sheets.sheet(day).clearSlots();
    }
    if (groups.doctors || groups.appointments)
        context.sheets.refreshAll();
    if (groups.statistics)
        resetStatistics(context);
    return true;
}

} // namespace clinora
