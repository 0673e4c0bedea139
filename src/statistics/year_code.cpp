#include "statistics/year_code.h"

#include "core/data_files.h"
#include "core/settings.h"
#include "platform/errors.h"
#include "statistics/counts.h"

namespace clinora {

StatisticsYear statisticsYear(const Settings &settings)
{
    const QString code = settings.yearState();
    const std::optional<int> year = stats::countValue(code.mid(1));
    if (code.size() != 5 || (code[0] != QLatin1Char('A') && code[0] != QLatin1Char('F')) || !year)
        throw ConversionError(
            QStringLiteral("A linha 3 de %1 (\"%2\") não é o ano das estatísticas: deve ser "
                           "\"A\" ou \"F\" seguido do ano com quatro algarismos (A2026).")
                .arg(QString(files::kSettings), code));
    return {code[0] == QLatin1Char('A'), *year};
}

QString openYearCode(int year)
{
    return QLatin1Char('A') + QString::number(year);
}

} // namespace clinora
