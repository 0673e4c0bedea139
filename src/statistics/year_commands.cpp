#include "statistics/year_commands.h"

#include "app/context.h"
#include "core/data_files.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "statistics/statistics_files.h"
#include "statistics/year_close.h"
#include "statistics/year_code.h"

namespace clinora {

namespace {

inline constexpr QLatin1String kMovementsCopy("Movimento.Txt");

// A folder below the data directory as the user reads it: Estatisticas\Ano2012.
QString shown(QString folder)
{
    return folder.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace

bool reopenOrResetStatistics(AppContext &context)
{
    Dialogs &dialogs = context.dialogs;
    const int current = context.clock.today().year();
    if (context.settings.yearState() == openYearCode(current)) {
        if (!dialogs.question(QStringLiteral("Este procedimento irá alterar todos os arquivos de estatística "
                                             "\r\r           Tem certeza que deseja isso?")))
            return false;
        const QString kept = resetStatistics(context);
        dialogs.information(QStringLiteral("As estatísticas de %1 foram reiniciadas.\r\rOs arquivos como "
                                           "estavam foram guardados na pasta %2.")
                                .arg(current)
                                .arg(shown(kept)));
        return true;
    }
    const StatisticsYear year = statisticsYear(context.settings);
    if (year.year > current) {
        dialogs.information(QStringLiteral("As estatísticas abertas são de %1, um ano que ainda não chegou "
                                           "(hoje é %2). Confira a data do computador.")
                                .arg(year.year)
                                .arg(current));
        return false;
    }
    // A year closed by hand in this one opens the next.
    const int opening = year.year < current ? current : year.year + 1;
    if (!dialogs.question(QStringLiteral("   Este procedimento irá abrir o ano de ") +
                          QString::number(opening) + QStringLiteral(". As Fichas") + QStringLiteral("\r") +
                          QStringLiteral("de Atendimentos devem estar atualizadas.") +
                          QStringLiteral("\r\r") +
                          QStringLiteral("            Tem certeza que deseja isso?")))
        return false;
    closeStatisticsYear(context);
    dialogs.information(
        QStringLiteral("As estatísticas de %1 foram fechadas e guardadas na pasta %2; as de %3 "
                       "estão abertas.")
            .arg(year.year)
            .arg(shown(archiveFolder(year.year)))
            .arg(opening));
    return true;
}

bool closeYearByHand(AppContext &context)
{
    StatisticsFiles files(context);
    PendingMovements &pending = files.pending();
    files.stageLines(kMovementsCopy, pending.lines());
    QStringList closing;
    QStringList opening;
    for (const QString &line : pending.lines()) {
        const QString month = line.mid(2, 2);
        (month == QLatin1String("01") || month == QLatin1String("02") ? opening : closing) << line;
    }
    pending.setLines(closing);
    const PostingResult posted = postPending(files);
    // What could not be posted stays pending with the new year's lines.
    pending.setLines(posted.kept + opening);
    Settings settings = context.settings;
    settings.setYearState(QLatin1Char('F') + QString::number(context.clock.today().addDays(-62).year()));
    files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = true;
    reportPosting(posted, context.dialogs);
    return true;
}

bool openYearByHand(AppContext &context)
{
    StatisticsFiles files(context);
    const QStringList pending = files.pending().lines();
    for (const QString &line : pending) {
        if (line.mid(2, 2) == QLatin1String("12")) {
            context.dialogs.information(QStringLiteral(
                "Há consultas de dezembro que ainda não foram processadas:\n\n            Você deve "
                "fechar novamente o ano\n\nOpção: >>>  \"Estatísticas ... Fechar Estatísticas do "
                "ano que termina\""));
            return false;
        }
    }
    // The newest column takes the year the tables counted.
    const int closed = statisticsYear(context.settings).year;
    const QDate today = context.clock.today();
    const int opening = today.addDays(32).year();
    shiftHistory(files, closed);
    Settings settings = context.settings;
    stageReset(files, context.doctors, settings, today.addDays(-1), opening);
    // The new year's January and February lines stay pending.
    files.pending().setLines(pending);
    files.stageLines(files::kSettings, settings.lines());
    files.commit();
    context.settings = settings;
    context.statisticsUpToDate = pending.isEmpty();
    return true;
}

} // namespace clinora
