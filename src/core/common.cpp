#include "core/common.h"

#include "core/settings.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <algorithm>

namespace clinora {

namespace {

bool asciiDigits(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A time is digits and one colon, nothing else: a sign or a blank would pass a number
// conversion and reach the timetable as "-1:30" or " 8:30".
bool onlyDigitsAndOneColon(const QString &typed)
{
    return typed.count(QLatin1Char(':')) == 1 && asciiDigits(QString(typed).remove(QLatin1Char(':')));
}

} // namespace

QString normaliseTime(const QString &typed, Dialogs &dialogs)
{
    const QString text = typed + QLatin1Char('0');
    const QChar colon(QLatin1Char(':'));
    QString hour;
    QString minutes;
    if (text.size() > 1 && text.at(1) == colon) {
        hour = QLatin1Char('0') + text.left(1);
        minutes = text.mid(2, 2);
    }
    if (text.size() > 2 && text.at(2) == colon) {
        hour = text.left(2);
        minutes = text.mid(3, 2);
    }
    QString shown = text;
    bool wrong = hour.isEmpty();
    if (!wrong) {
        shown = hour + colon + minutes;
        wrong = !onlyDigitsAndOneColon(typed) || !asciiDigits(hour) || !asciiDigits(minutes);
    }
    if (!wrong) {
        const int h = hour.toInt();
        const int m = minutes.toInt();
        wrong = (hour == QLatin1String("24") && minutes != QLatin1String("00")) || h > 24 || m > 59;
    }
    if (!wrong)
        return shown;
    return dialogs.input(QStringLiteral("Correção de Hora"),
                         QStringLiteral("Hora errada: ") + shown + QStringLiteral(" Formato Esperado: ")
                             + QStringLiteral("hh:mm"),
                         QString());
}

QString localDateTimeText(const Clock &clock)
{
    return dates::dateTimeText(clock.now());
}

QString mirrorDirectory(const Settings &settings, const Paths &paths)
{
    const QString stored = settings.mirrorDir().trimmed();
    return stored.isEmpty() ? QString() : paths.local(stored);
}

void mirrorCopy(const Settings &settings, const Paths &paths, const QString &source,
                const QString &destinationName)
{
    if (settings.mirrorDir().trimmed().isEmpty() || settings.mirroring() == QLatin1String("Sem"))
        return;
    textfile::copyFile(paths.file(source),
                       mirrorDirectory(settings, paths) + QLatin1Char('/') + destinationName);
}

void mirrorCopy(const Settings &settings, const Paths &paths, const QString &fileName)
{
    mirrorCopy(settings, paths, fileName, fileName);
}

} // namespace clinora
