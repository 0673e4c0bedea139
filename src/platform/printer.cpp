#include "platform/printer.h"

#include <QMap>
#include <algorithm>
#include <cmath>

namespace clinora {

namespace {
// The space left between two columns of a drawn list, in 2400ths of the page width.
constexpr int kColumnGap = 10;
} // namespace

PrintOutcome Printer::printLines(const QString &title, const QStringList &lines, const PrintFont &font, int headLines)
{
    const int step = std::max(1, lineHeight(font));
    const int bottom = pageHeight();
    const int heads = std::clamp(headLines, 0, static_cast<int>(lines.size()));
    int y = 0;
    const auto head = [&] {
        for (int i = 0; i < heads; ++i, y += step)
            drawText(0, y, lines[i], font);
    };
    begin(title);
    head();
    bool bodyOnPage = false;
    for (int i = heads; i < lines.size(); ++i) {
        // A page holds at least one line below its headings, however tall they are.
        if (bodyOnPage && y + step > bottom) {
            newPage();
            y = 0;
            head();
            bodyOnPage = false;
        }
        drawText(0, y, lines[i], font);
        y += step;
        bodyOnPage = true;
    }
    return end();
}

PrintOutcome Printer::printList(const DrawnList &list)
{
    if (list.landscape)
        setLandscape(true);
    const double f = pageWidth() / 2400.0;
    const auto scaled = [f](double units) { return static_cast<int>(std::lround(units * f)); };
    PrintFont font;
    font.pixelHeight = std::max(1, scaled(list.fontHeight));
    const int bottom = pageHeight();
    const auto head = [&] {
        for (const DrawnList::Text &t : list.head)
            drawText(scaled(t.x), scaled(t.y), t.text, font);
    };
    begin(list.title);
    head();
    int onPage = 0;
    QMap<int, QString> group; // the last text of each group column
    for (const QStringList &listed : list.rows) {
        QStringList row = listed;
        int y = scaled(list.firstRowY + list.rowStep * onPage);
        if (onPage > 0 && y + font.pixelHeight > bottom) {
            newPage();
            head();
            onPage = 0;
            y = scaled(list.firstRowY);
            for (const int c : list.groupColumns) {
                if (c < row.size() && row[c].trimmed().isEmpty())
                    row[c] = group.value(c);
            }
        }
        for (const int c : list.groupColumns) {
            if (c < row.size() && !row[c].trimmed().isEmpty())
                group[c] = row[c];
        }
        for (int c = 0; c < row.size() && c < list.columns.size(); ++c) {
            const int next = c + 1 < list.columns.size() ? list.columns[c + 1] - kColumnGap : 2400;
            drawText(scaled(list.columns[c]), y, row[c], font, scaled(next - list.columns[c]));
        }
        ++onPage;
    }
    const PrintOutcome outcome = end();
    if (list.landscape)
        setLandscape(false);
    return outcome;
}

} // namespace clinora
