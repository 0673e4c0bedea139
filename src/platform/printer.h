// The port to the printer with the operations the screens use. Coordinates are in
// the printer's device units; pageWidth() scales layouts given for a 2400-unit page.
// Documents break pages: plain text lines and drawn lists repeat their title and
// headings at the top of every page.
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QImage;
class QPainter;

namespace clinora {

struct PrintFont
{
    QString family = QStringLiteral("Arial");
    int pixelHeight = 0; // for drawn text, in device units
    int pointSize = 0;   // for plain text lines (used when pixelHeight is 0)
    bool bold = false;
};

// A list drawn on the page, its positions given for a page 2400 units wide: the title
// and headings, then one row every rowStep units from firstRowY, each text of a row at
// the x of its column and no wider than the space up to the next one.
struct DrawnList
{
    struct Text
    {
        int x;
        int y;
        QString text;
    };
    QString title;      // the document's name
    QList<Text> head;   // title and headings, repeated on every page
    QList<int> columns; // x of each column of a row
    QList<QStringList> rows;
    // The columns (by index) that name a row's group, shown on its first row only (a
    // date, a doctor): the first row of a page that leaves them blank takes them from
    // the rows above, so that a page never starts with times of no date and no doctor.
    QList<int> groupColumns;
    int firstRowY = 250;
    int rowStep = 40;
    int fontHeight = 40;
    bool landscape = false; // printed across the page, then the printer back upright
};

// What became of a document once it was ended.
enum class PrintOutcome {
    Printed,    // the print system took the job
    Queued,     // taken, but it waits in the queue of a stopped printer
    SavedAsPdf, // written to a PDF file in the print folder, and the user told where
    NotPrinted, // nothing came out (the printer refused it and no PDF was wanted)
};

// True when the document came out somewhere: on paper, in a queue or in a PDF file.
inline bool delivered(PrintOutcome outcome)
{
    return outcome != PrintOutcome::NotPrinted;
}

class Printer
{
public:
    virtual ~Printer() = default;

    // Lets the user choose the printer; false when the choice was cancelled.
    virtual bool choose() = 0;
    virtual int pageWidth() = 0;
    virtual int pageHeight() = 0;
    virtual bool landscape() = 0;
    // Turns the page for the documents that follow (the page width and height swap).
    virtual void setLandscape(bool on) = 0;

    virtual void begin(const QString &title) = 0;
    // Text placed by its top-left corner. With a width, text too wide for it is set
    // smaller, and cut if it still does not fit, so that columns never run together.
    virtual void drawText(int x, int y, const QString &text, const PrintFont &font, int width = 0) = 0;
    // The height of one line of plain text in the font.
    virtual int lineHeight(const PrintFont &font) = 0;
    // Ends the page and starts the next one of the same document.
    virtual void newPage() = 0;
    // Hands the document over. Whatever went wrong on the way (a printer that refuses
    // or is stopped, a print system that is missing or does not answer) has been told
    // to the user by then; the outcome says whether the document came out.
    virtual PrintOutcome end() = 0;

    // A window's image, scaled to the page width.
    virtual PrintOutcome printImage(const QString &title, const QImage &image) = 0;
    // A drawing of the given size in pixels, made again at the printer's resolution
    // and scaled to the page width: lines and text stay sharp.
    virtual PrintOutcome printDrawing(const QString &title, QSize size,
                                      const std::function<void(QPainter &)> &draw) = 0;

    // The printer used as a plain text device: one document of lines, top to bottom,
    // in one font. The first headLines lines (the title and headings) start every page.
    PrintOutcome printLines(const QString &title, const QStringList &lines, const PrintFont &font,
                            int headLines = 0);
    // A list drawn in Arial, scaled to the page width.
    PrintOutcome printList(const DrawnList &list);
};

} // namespace clinora
