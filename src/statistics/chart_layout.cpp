#include "statistics/chart_layout.h"

#include <algorithm>
#include <cmath>

namespace clinora::reports {

ChartLayout layoutChart(const ChartData &data)
{
    ChartLayout layout;
    const int n = static_cast<int>(data.bars.size());
    const bool vertical = data.orientation == Orientation::Vertical;
    // The horizontal chart spaces its bars as the row's columns, the name included.
    const double spacing = 550.0 / (n + 1);
    double largest = 0;
    for (const ChartBar &bar : data.bars)
        largest = std::max(largest, bar.value);
    // Bars of 0 everywhere have no scale: they stay flat on the axis.
    layout.scale = largest > 0 ? 250.2 / largest : 0;
    const int counted = vertical ? n : data.nonEmpty();
    if (counted > 20)
        layout.windowHeight = ChartLayout::kTallHeight;
    const int period = counted <= 20 ? 5 : (counted >= 30 ? 10 : 8);
    // Narrow enough to leave a pixel between neighbours however many bars there are.
    const int width = std::clamp(static_cast<int>(std::floor(spacing)) - 1, 1, 10);
    const int axis = ChartLayout::kAxisY;
    int step = 0;
    int previousTextY = 0;
    for (int k = 1; k <= n; ++k) {
        const ChartBar &source = data.bars[k - 1];
        ChartLayout::Bar bar;
        bar.x = static_cast<int>(std::lround(k * spacing + ChartLayout::kAxisLeft));
        bar.width = width;
        const double height = layout.scale * std::max(0.0, source.value);
        bar.top = static_cast<int>(std::lround(axis - height));
        step = step + 1 == period ? 1 : step + 1;
        const int middle = bar.x + width / 2;
        bar.label = source.label;
        bar.hasLabel = !source.label.isEmpty();
        if (bar.hasLabel) {
            bar.tick = QLine(middle, axis, middle, axis + 15 * step);
            bar.labelAt = QPoint(middle, axis + 15 * step - 5);
        }
        bar.text = source.text;
        int y = bar.top - 15;
        if (bar.top < axis && std::abs(bar.top - (previousTextY + 15)) < 10) {
            bar.steppedAside = true;
            bar.connector = QLine(middle, y, middle, bar.top);
            y -= 10;
        }
        bar.textAt = QPoint(bar.x, y);
        previousTextY = y;
        layout.bars << bar;
    }
    return layout;
}

LabelPlan planLabels(const ChartLayout &layout, const std::function<int(const QString &)> &textWidth,
                     int lineHeight)
{
    LabelPlan plan;
    int spacing = ChartLayout::kAxisRight - ChartLayout::kAxisLeft;
    for (qsizetype k = 1; k < layout.bars.size(); ++k)
        spacing = std::min(spacing, layout.bars[k].x - layout.bars[k - 1].x);
    spacing = std::max(1, spacing);
    // A staggered name wider than the room to the next bar is crossed by that bar's
    // tick, which runs down past it to its own name.
    for (const ChartLayout::Bar &bar : layout.bars) {
        if (!bar.hasLabel)
            continue;
        const int wide = textWidth(bar.label);
        plan.turned = plan.turned || wide > spacing - 2 || bar.labelAt.x() + wide > ChartLayout::kWidth - 2;
    }
    if (!plan.turned)
        return plan;
    plan.every = std::max(1, (lineHeight + spacing - 1) / spacing);
    plan.room = layout.windowHeight - ChartLayout::kAxisY - 12;
    return plan;
}

QList<QLine> hatching(const ChartLayout::Bar &bar)
{
    constexpr int kStep = 8;
    QList<QLine> lines;
    const int left = bar.x;
    const int right = bar.x + bar.width;
    const int top = bar.top;
    const int bottom = ChartLayout::kAxisY;
    if (bar.height() <= 0)
        return lines;
    // The line x + y = c runs up to the right; c steps over the window's grid.
    int c = left + top;
    c += (kStep - c % kStep) % kStep;
    for (; c <= right + bottom; c += kStep) {
        const int x0 = std::max(left, c - bottom);
        const int x1 = std::min(right, c - top);
        if (x0 <= x1)
            lines << QLine(x0, c - x0, x1, c - x1);
    }
    return lines;
}

} // namespace clinora::reports
