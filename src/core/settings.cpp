#include "core/settings.h"

#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace clinora {

namespace {

// What the lines that steer the program may hold (an empty line is a missing one), in
// capitals or not.
bool yesOrNo(const QString &v)
{
    return v.compare(QLatin1String("Sim"), Qt::CaseInsensitive) == 0 ||
           v.compare(QLatin1String("Nao"), Qt::CaseInsensitive) == 0;
}

bool yearState(const QString &v)
{
    if (v.size() != 5 || (v[0].toUpper() != QLatin1Char('A') && v[0].toUpper() != QLatin1Char('F')))
        return false;
    return std::all_of(v.begin() + 1, v.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool withOrWithout(const QString &v)
{
    return v.compare(QLatin1String("Com"), Qt::CaseInsensitive) == 0 ||
           v.compare(QLatin1String("Sem"), Qt::CaseInsensitive) == 0;
}

struct Expected
{
    int line;
    bool (*accepts)(const QString &);
    const char *described;
};

constexpr Expected kExpected[] = {
    {1, yesOrNo, "\"Sim\" ou \"Nao\""},
    {3, yearState, "\"A\" ou \"F\" seguido do ano"},
    {4, withOrWithout, "\"Com\" ou \"Sem\""},
};

} // namespace

int Settings::load(const QString &path)
{
    m_readFailed = true;
    const QStringList lines = textfile::readLines(path);
    for (const Expected &e : kExpected) {
        const QString value = lines.value(e.line - 1);
        if (!value.isEmpty() && !e.accepts(value))
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
