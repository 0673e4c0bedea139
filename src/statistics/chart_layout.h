// Where every mark of a bar chart goes, in pixels of the chart window: the axis, each
// bar's rectangle, its tick and label staggered below the axis, and its value text
// above the bar, stepped aside when it would sit on its neighbour's.
#pragma once

#include "statistics/report_tables.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QString>
#include <functional>

namespace clinora::reports {

struct ChartLayout
{
    static constexpr int kAxisY = 328;
    static constexpr int kAxisLeft = 32;
    static constexpr int kAxisRight = 582;
    static constexpr int kHeight = 451;
    static constexpr int kTallHeight = 523;
    static constexpr int kWidth = 760;

    struct Bar
    {
        int x = 0;   // left edge
        int top = 0; // the axis for a bar of 0
        int width = 10;
        int height() const { return kAxisY - top; }
        QString label;
        bool hasLabel = false;
        QLine tick;     // from the axis down to the label
        QPoint labelAt; // top-left of the label
        QString text;   // the cell as the table shows it
        QPoint textAt;  // top-left of the value text
        bool steppedAside = false;
        QLine connector; // from the stepped value text down to the bar
    };

    int windowHeight = kHeight;
    double scale = 0; // pixels per unit; 0 when every bar is 0
    QLine axis{kAxisLeft, kAxisY, kAxisRight, kAxisY};
    QList<Bar> bars;
};

ChartLayout layoutChart(const ChartData &data);

// How the bars' names fit below the axis. Side by side, staggered as laid out, when each
// is narrower than the room to the next bar and ends inside the window; otherwise turned to read downwards
// from the axis, cut to the room below it, and named only every few bars when a turned line is thicker than
// the room between two bars, so that no name runs into another or off the window.
struct LabelPlan
{
    bool turned = false;
    int every = 1; // the turned names of bars 1, 1 + every, 1 + 2 x every ...
    int room = 0;  // the most a turned name may take, in pixels
    bool shows(int index) const { return index % every == 0; } // index from 0
};
LabelPlan planLabels(const ChartLayout &layout, const std::function<int(const QString &)> &textWidth,
                     int lineHeight);

// The forward diagonals that hatch a bar ("/", every 8 pixels along the window, so that
// neighbouring bars line up), each cut to the bar's rectangle. Drawn as lines, they
// keep their spacing on a printer's page as on the screen.
QList<QLine> hatching(const ChartLayout::Bar &bar);

} // namespace clinora::reports
