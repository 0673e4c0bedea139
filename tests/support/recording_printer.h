// The Printer port for tests: records what would have been printed, page by page.
#pragma once

#include "platform/printer.h"

#include <QImage>
#include <QList>
#include <QSize>

namespace clinora::test {

class RecordingPrinter final : public Printer
{
public:
    struct Text
    {
        int x;
        int y;
        QString text;
        PrintFont font;
        int page;  // 1 for the first page
        int width; // the most it may take, 0 for no limit
    };
    struct Document
    {
        QString title;
        QList<Text> texts; // drawn text and plain text lines, in order
        int pages = 1;
        QSize image;       // a printed window image, or the size of a drawing
        bool landscape = false;
        QImage drawing;    // a printed drawing, made at its own size, or the printed window image

        // The texts of one page, in order.
        QStringList page(int number) const;
        // Every text, in order.
        QStringList lines() const;
    };

    bool choose() override { return m_choose; }
    int pageWidth() override { return m_landscape ? m_pageHeight : m_pageWidth; }
    int pageHeight() override { return m_landscape ? m_pageWidth : m_pageHeight; }
    bool landscape() override { return m_landscape; }
    void setLandscape(bool on) override { m_landscape = on; }
    void begin(const QString &title) override;
    void drawText(int x, int y, const QString &text, const PrintFont &font, int width = 0) override;
    // A plain text line is five units per point, a drawn one its pixel height.
    int lineHeight(const PrintFont &font) override;
    void newPage() override;
    PrintOutcome end() override;
    PrintOutcome printImage(const QString &title, const QImage &image) override;
    PrintOutcome printDrawing(const QString &title, QSize size,
                              const std::function<void(QPainter &)> &draw) override;

    // An A4 page upright by default: 2400 x 3394.
    void setPageWidth(int width) { m_pageWidth = width; }
    void setPageHeight(int height) { m_pageHeight = height; }
    // The answer of the next choice of printer.
    void setChoice(bool confirmed) { m_choose = confirmed; }
    // What becomes of the documents that follow (printed unless a test says otherwise).
    // A document that was not printed is still recorded, as the one the user lost.
    void setOutcome(PrintOutcome outcome) { m_outcome = outcome; }

    const QList<Document> &documents() const { return m_documents; }
    // Every text of the last document, in order.
    QStringList lastTexts() const;

private:
    int m_pageWidth = 2400;
    int m_pageHeight = 3394;
    bool m_choose = true;
    bool m_landscape = false;
    bool m_open = false;
    PrintOutcome m_outcome = PrintOutcome::Printed;
    QList<Document> m_documents;
};

} // namespace clinora::test
