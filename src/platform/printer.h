// The port to the printer with the operations the screens use. Coordinates are in
// the printer's device units; pageWidth() scales layouts given for a 2400-unit page.
#pragma once

#include <QString>
#include <QStringList>

class QImage;

namespace clinora {

struct PrintFont
{
    QString family = QStringLiteral("Arial");
    int pixelHeight = 0; // for drawn text, in device units
    int pointSize = 0;   // for plain text lines
    bool bold = false;
};

class Printer
{
public:
    virtual ~Printer() = default;

    // Lets the user choose the printer; false when the choice was cancelled.
    virtual bool choose() = 0;
    virtual int pageWidth() = 0;
    virtual bool landscape() = 0;

    virtual void begin(const QString &title) = 0;
    virtual void drawText(int x, int y, const QString &text, const PrintFont &font) = 0;
    virtual void end() = 0;

    // The printer used as a plain text device: one document of lines, top to bottom.
    virtual void printLines(const QString &title, const QStringList &lines,
                            const PrintFont &font) = 0;
    // A window's image, scaled to the page width.
    virtual void printImage(const QString &title, const QImage &image) = 0;
};

} // namespace clinora
