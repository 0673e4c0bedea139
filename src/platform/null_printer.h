// A printer that prints nothing, for contexts that never print (the demonstration
// clinic, the benchmarks).
#pragma once

#include "platform/printer.h"

namespace clinora {

class NullPrinter final : public Printer
{
public:
    bool choose() override { return false; }
    int pageWidth() override { return 2400; }
    int pageHeight() override { return 3394; }
    bool landscape() override { return false; }
    void setLandscape(bool) override {}
    void begin(const QString &) override {}
    void drawText(int, int, const QString &, const PrintFont &, int = 0) override {}
    int lineHeight(const PrintFont &) override { return 60; }
    void newPage() override {}
    PrintOutcome end() override { return PrintOutcome::NotPrinted; }
    PrintOutcome printImage(const QString &, const QImage &) override { return PrintOutcome::NotPrinted; }
    PrintOutcome printDrawing(const QString &, QSize, const std::function<void(QPainter &)> &) override
    {
        return PrintOutcome::NotPrinted;
    }
};

} // namespace clinora
