// The Printer port on Qt: each document is drawn into a PDF file in the data
// directory's print folder and handed to the print system's default printer. When
// there is no printer to take it (none installed, none the default, the print system
// down or silent) the file stays and the user is told where; a printer that refuses it
// or is stopped is named, and the user may keep the PDF instead.
#pragma once

#include "platform/print_system.h"
#include "platform/printer.h"

#include <QString>

#include <memory>
#include <optional>

class QPainter;
class QPdfWriter;

namespace clinora {

class Clock;
class Dialogs;
class Paths;

class QtPrinter final : public Printer
{
public:
    // Documents go to the system's print system (CUPS) unless another one is given.
    QtPrinter(const Paths &paths, const Clock &clock, Dialogs &dialogs, PrintSystem *system = nullptr);
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
    PrintOutcome end() override;
    PrintOutcome printImage(const QString &title, const QImage &image) override;
    PrintOutcome printDrawing(const QString &title, QSize size,
                              const std::function<void(QPainter &)> &draw) override;

    // The folder where documents go when they are not printed.
    QString printFolder() const;

private:
    // What the print dialog chose for the next document.
    struct Choice
    {
        QString printer;
        QString file; // "print to file" chosen in the dialog
        PrintOptions options;
    };

    QPdfWriter &measure();
    void setUp(QPdfWriter &writer) const;
    PrintOutcome deliver(const std::optional<Choice> &choice, const std::optional<PrinterState> &known);
    PrintOutcome keptAsPdf(const QString &why);
    PrintOutcome refused(const QString &printer, const QString &detail);

    const Paths &m_paths;
    const Clock &m_clock;
    Dialogs &m_dialogs;
    std::unique_ptr<PrintSystem> m_ownSystem;
    PrintSystem &m_system;
    std::unique_ptr<QPdfWriter> m_measure;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::optional<Choice> m_choice;
    // What choose() already learnt of a print system that has no printer to offer, so
    // that the document is not held up by the same question twice.
    std::optional<PrinterState> m_known;
    QString m_title;
    QString m_pdfPath;
    bool m_landscape = false;
};

} // namespace clinora
