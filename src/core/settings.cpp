#include "core/settings.h"

#include "platform/text_file.h"

#include <QStringList>

namespace clinora {

int Settings::load(const QString &path)
{
    const QStringList lines = textfile::readLines(path);
    for (int i = 0; i < kLines; ++i)
        m_lines[i] = i < lines.size() ? lines[i] : QString();
    return static_cast<int>(lines.size());
}

void Settings::save(const QString &path) const
{
    textfile::writeLines(path, QStringList(m_lines.begin(), m_lines.end()));
}

} // namespace clinora
