// The Printer port on Qt PrintSupport: the system's default printer, or, when there
// is none, a PDF file in the data directory's print folder, and the user is told where.
#pragma once

#include "platform/printer.h"

#include <QString>

#include <memory>

class QPainter;
class QPrinter;

namespace clinora {

class Clock;
class Dialogs;
class Paths;

class QtPrinter final : public Printer
{
public:
    QtPrinter(const Paths &paths, const Clock &clock, Dialogs &dialogs);
    ~QtPrinter() override;

    bool choose() override;
    int pageWidth() override;
    int pageHeight() override;
    bool landscape() override;
    void setLandscape(bool on) override;
    void begin(const QString &title) override;
    void drawText(int x, int y, const QString &text, const PrintFont &font, int width = 0) override;
    int lineHeight(const PrintFont &font) override;
    void newPage() override;
    void end() override;
    void printImage(const QString &title, const QImage &image) override;
    void printDrawing(const QString &title, QSize size, const std::function<void(QPainter &)> &draw) override;

    // The folder where documents go when there is no printer.
    QString printFolder() const;

private:
    QPrinter &device();
    bool toPdf() const;

    const Paths &m_paths;
    const Clock &m_clock;
    Dialogs &m_dialogs;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QString m_pdfPath;
    bool m_landscape = false;
};

} // namespace clinora
