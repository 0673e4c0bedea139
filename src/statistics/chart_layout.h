// Where every mark of a bar chart goes, in pixels of the chart window: the axis, each
// bar's rectangle, its tick and label staggered below the axis, and its value text
// above the bar, stepped aside when it would sit on its neighbour's.
#pragma once

#include "statistics/report_tables.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QString>

namespace clinora::reports {

struct ChartLayout
{
    static constexpr int kAxisY = 328;
    static constexpr int kAxisLeft = 32;
    static constexpr int kAxisRight = 582;
    static constexpr int kHeight = 451;
    static constexpr int kTallHeight = 523;

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

// The forward diagonals that hatch a bar ("/", every 8 pixels along the window, so that
// neighbouring bars line up), each cut to the bar's rectangle. Drawn as lines, they
// keep their spacing on a printer's page as on the screen.
QList<QLine> hatching(const ChartLayout::Bar &bar);

} // namespace clinora::reports
