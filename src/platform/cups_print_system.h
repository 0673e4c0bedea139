// The print system through libcups. Every question to the print server runs on a
// thread of its own, and the program waits for it only up to the time limit: a server
// that accepts the connection and never answers leaves that thread behind, not the
// window.
#pragma once

#include "platform/print_system.h"

#include <chrono>

namespace clinora {

class CupsPrintSystem final : public PrintSystem
{
public:
    explicit CupsPrintSystem(std::chrono::milliseconds limit = std::chrono::seconds(5));

    PrinterState state(const QString &printer) override;
    Submission submit(const QString &printer, const QString &pdfFile, const QString &title,
                      const PrintOptions &options) override;
    int answerLimitSeconds() const override;

private:
    std::chrono::milliseconds m_limit;
};

} // namespace clinora
