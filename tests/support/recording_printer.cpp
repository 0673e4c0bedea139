#include "support/recording_printer.h"

#include <QImage>
#include <QPainter>

namespace clinora::test {

QStringList RecordingPrinter::Document::page(int number) const
{
    QStringList result;
    for (const Text &t : texts) {
        if (t.page == number)
            result << t.text;
    }
    return result;
}

QStringList RecordingPrinter::Document::lines() const
{
    QStringList result;
    for (const Text &t : texts)
        result << t.text;
    return result;
}

void RecordingPrinter::begin(const QString &title)
{
    m_documents.append({title, {}, 1, {}, m_landscape, {}});
    m_open = true;
}

void RecordingPrinter::drawText(int x, int y, const QString &text, const PrintFont &font, int width)
{
    if (m_open)
        m_documents.last().texts.append({x, y, text, font, m_documents.last().pages, width});
}

int RecordingPrinter::lineHeight(const PrintFont &font)
{
    return font.pixelHeight > 0 ? font.pixelHeight : 5 * font.pointSize;
}

void RecordingPrinter::newPage()
{
    if (m_open)
        ++m_documents.last().pages;
}

PrintOutcome RecordingPrinter::end()
{
    m_open = false;
    return m_outcome;
}

PrintOutcome RecordingPrinter::printImage(const QString &title, const QImage &image)
{
    m_documents.append({title, {}, 1, image.size(), m_landscape, image});
    return m_outcome;
}

PrintOutcome RecordingPrinter::printDrawing(const QString &title, QSize size, const std::function<void(QPainter &)> &draw)
{
    QImage drawing(size, QImage::Format_RGB32);
    drawing.fill(Qt::magenta); // whatever the drawing leaves unpainted shows
    {
        QPainter painter(&drawing);
        draw(painter);
    }
    m_documents.append({title, {}, 1, size, m_landscape, drawing});
    return m_outcome;
}

QStringList RecordingPrinter::lastTexts() const
{
    return m_documents.isEmpty() ? QStringList() : m_documents.last().lines();
}

} // namespace clinora::test
