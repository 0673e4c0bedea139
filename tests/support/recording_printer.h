// The Printer port for tests: records what would have been printed.
#pragma once

#include "platform/printer.h"

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
    };
    struct Document
    {
        QString title;
        QList<Text> texts;    // drawn text
        QStringList lines;    // plain text lines
        PrintFont font;       // of the plain text lines
        QSize image;          // a printed window image
    };

    bool choose() override { return m_choose; }
    int pageWidth() override { return m_pageWidth; }
    bool landscape() override { return false; }
    void begin(const QString &title) override;
    void drawText(int x, int y, const QString &text, const PrintFont &font) override;
    void end() override;
    void printLines(const QString &title, const QStringList &lines, const PrintFont &font) override;
    void printImage(const QString &title, const QImage &image) override;

    void setPageWidth(int width) { m_pageWidth = width; }
    // The answer of the next choice of printer.
    void setChoice(bool confirmed) { m_choose = confirmed; }

    const QList<Document> &documents() const { return m_documents; }
    // Every drawn text of the last document, in order.
    QStringList lastTexts() const;

private:
    int m_pageWidth = 2400;
    bool m_choose = true;
    bool m_open = false;
    QList<Document> m_documents;
};

} // namespace clinora::test
