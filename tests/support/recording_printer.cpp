#include "support/recording_printer.h"

#include <QImage>

namespace clinora::test {

void RecordingPrinter::begin(const QString &title)
{
    m_documents.append({title, {}, {}, {}, {}});
    m_open = true;
}

void RecordingPrinter::drawText(int x, int y, const QString &text, const PrintFont &font)
{
    if (m_open)
        m_documents.last().texts.append({x, y, text, font});
}

void RecordingPrinter::end()
{
    m_open = false;
}

void RecordingPrinter::printLines(const QString &title, const QStringList &lines, const PrintFont &font)
{
    m_documents.append({title, {}, lines, font, {}});
}

void RecordingPrinter::printImage(const QString &title, const QImage &image)
{
    m_documents.append({title, {}, {}, {}, image.size()});
}

QStringList RecordingPrinter::lastTexts() const
{
    QStringList result;
    if (!m_documents.isEmpty()) {
        for (const Text &t : m_documents.last().texts)
            result << t.text;
    }
    return result;
}

} // namespace clinora::test
