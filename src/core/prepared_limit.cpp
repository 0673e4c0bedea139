#include "core/prepared_limit.h"

#include "core/data_files.h"
#include "platform/dates.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace clinora {

QDate readPreparedLimit(const Paths &paths)
{
    const QString line = textfile::readFirstLine(paths.file(files::kPreparedLimit));
    if (const auto date = dates::parse(line))
        return *date;
    throw ConversionError(QStringLiteral("'%1' não é uma data válida (arquivo %2)")
                              .arg(line, QString(files::kPreparedLimit)));
}

} // namespace clinora
