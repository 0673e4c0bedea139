#include "core/settings.h"

#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace clinora {

namespace {

// What the lines that steer the program may hold (an empty line is a missing one).
struct Expected
{
    int line;
    const char *pattern;
    const char *described;
};

constexpr Expected kExpected[] = {
    {1, "Sim|Nao", "\"Sim\" ou \"Nao\""},
    {3, "[AF][0-9]{4}", "\"A\" ou \"F\" seguido do ano"},
    {4, "Com|Sem", "\"Com\" ou \"Sem\""},
};

} // namespace

int Settings::load(const QString &path)
{
    m_readFailed = true;
    const QStringList lines = textfile::readLines(path);
    for (const Expected &e : kExpected) {
        const QString value = lines.value(e.line - 1);
        const QRegularExpression pattern(QStringLiteral("^(%1)$").arg(QLatin1String(e.pattern)),
                                         QRegularExpression::CaseInsensitiveOption);
        if (!value.isEmpty() && !pattern.match(value).hasMatch())
            throw DamagedFileError(
                QStringLiteral("O arquivo %1 está danificado: a linha %2 deveria ser %3 e é \"%4\".\r\n"
                               "Ele não foi alterado. Recupere-o da pasta Espelho ou de uma cópia "
                               "de segurança.")
                    .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                    .arg(e.line)
                    .arg(QLatin1String(e.described), value.left(40)));
    }
    for (int i = 0; i < kLines; ++i)
        m_lines[i] = i < lines.size() ? lines[i] : QString();
    m_readFailed = false;
    return static_cast<int>(lines.size());
}

void Settings::save(const QString &path) const
{
    // A file that could not be read is left as it is for whoever mends it.
    if (m_readFailed)
        throw DamagedFileError(QStringLiteral("O arquivo %1 não foi gravado: a sua leitura falhou.")
                                   .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    textfile::writeLines(path, lines());
}

} // namespace clinora
