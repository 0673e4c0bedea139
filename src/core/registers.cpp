#include "core/registers.h"

#include "core/data_files.h"
#include "platform/text_file.h"

#include <QStringList>

namespace clinora {

namespace {
const RegisterEntry kNone;
}

void SpecialtyTable::load(const QString &prefix)
{
    const QStringList lines = textfile::readLines(prefix + files::kSpecialties);
    m_entries.fill({});
    for (int k = 0; k < lines.size() && k < static_cast<int>(m_entries.size()); ++k)
        m_entries[k] = {textfile::field(lines[k], 0, 2), textfile::field(lines[k], 2, 1),
                        textfile::field(lines[k], 3, 15)};
}

const RegisterEntry &SpecialtyTable::entry(int code) const
{
    if (code < kFirst || code > kLast)
        return kNone;
    return m_entries[code - kFirst];
}

void SituationTable::load(const QString &prefix)
{
    const QStringList lines = textfile::readLines(prefix + files::kSituations);
    m_entries.fill({});
    for (int k = 0; k < lines.size() && k < static_cast<int>(m_entries.size()); ++k)
        m_entries[k] = {textfile::field(lines[k], 0, 1), textfile::field(lines[k], 1, 2),
                        textfile::field(lines[k], 3, 20)};
}

const RegisterEntry &SituationTable::entry(int code) const
{
    if (code < 1 || code > 9)
        return kNone;
    return m_entries[code - 1];
}

} // namespace clinora
