#include "platform/cups_print_system.h"

#include <cups/cups.h>

#include <future>
#include <memory>
#include <optional>
#include <thread>

namespace clinora {

namespace {

// Runs the work on a thread of its own and waits for its answer up to the limit. When
// the limit passes the thread is left to end by itself: it holds nothing but copies.
template <typename T, typename Work>
std::optional<T> withinLimit(Work work, std::chrono::milliseconds limit)
{
    auto promise = std::make_shared<std::promise<T>>();
    std::future<T> answer = promise->get_future();
    std::thread([promise, work = std::move(work)]() mutable { promise->set_value(work()); }).detach();
    if (answer.wait_for(limit) != std::future_status::ready)
        return std::nullopt;
    return answer.get();
}

// A connection to the print server (the one CUPS_SERVER or the client configuration
// names), closed when it goes.
class Connection
{
public:
    explicit Connection(int msec)
        : m_http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, msec,
                              nullptr))
    {
    }
    ~Connection()
    {
        if (m_http)
            httpClose(m_http);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *get() const { return m_http; }

private:
    http_t *m_http;
};

QString lastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

QString option(const cups_dest_t *dest, const char *name)
{
    const char *value = cupsGetOption(name, dest->num_options, dest->options);
    return value ? QString::fromUtf8(value) : QString();
}

PrinterState askState(const QByteArray &name, int msec)
{
    PrinterState result;
    result.printer = QString::fromUtf8(name);
    const Connection connection(msec);
    if (!connection.get()) {
        result.kind = PrinterState::Kind::NotRunning;
        result.detail = lastError();
        return result;
    }
    cups_dest_t *dest = cupsGetNamedDest(connection.get(), name.isEmpty() ? nullptr : name.constData(), nullptr);
    if (!dest) {
        if (cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
            result.kind = PrinterState::Kind::NotRunning;
            result.detail = lastError();
            return result;
        }
        // A printer asked for by name that is gone is as good as none.
        cups_dest_t *dests = nullptr;
        const int count = name.isEmpty() ? cupsGetDests2(connection.get(), &dests) : 0;
        cupsFreeDests(count, dests);
        result.kind = count > 0 ? PrinterState::Kind::NoDefault : PrinterState::Kind::NoPrinter;
        return result;
    }
    result.printer = QString::fromUtf8(dest->name);
    result.detail = option(dest, "printer-state-message");
    if (option(dest, "printer-is-accepting-jobs") == QLatin1String("false"))
        result.kind = PrinterState::Kind::NotAccepting;
    else if (option(dest, "printer-state").toInt() == IPP_PSTATE_STOPPED)
        result.kind = PrinterState::Kind::Stopped;
    else
        result.kind = PrinterState::Kind::Ready;
    cupsFreeDests(1, dest);
    return result;
}

Submission send(const QByteArray &printer, const QByteArray &file, const QByteArray &title,
                const PrintOptions &options, int msec)
{
    const Connection connection(msec);
    if (!connection.get())
        return {Submission::Kind::Refused, lastError()};
    int count = 0;
    cups_option_t *list = nullptr;
    for (const auto &[name, value] : options)
        count = cupsAddOption(name.constData(), value.constData(), count, &list);
    const int job = cupsPrintFile2(connection.get(), printer.constData(), file.constData(), title.constData(),
                                   count, list);
    cupsFreeOptions(count, list);
    if (job <= 0)
        return {Submission::Kind::Refused, lastError()};
    return {Submission::Kind::Queued, {}};
}

} // namespace

CupsPrintSystem::CupsPrintSystem(std::chrono::milliseconds limit) : m_limit(limit)
{
}

int CupsPrintSystem::answerLimitSeconds() const
{
    return static_cast<int>(std::chrono::ceil<std::chrono::seconds>(m_limit).count());
}

PrinterState CupsPrintSystem::state(const QString &printer)
{
    const int msec = static_cast<int>(m_limit.count());
    const std::optional<PrinterState> answer =
        withinLimit<PrinterState>([name = printer.toUtf8(), msec] { return askState(name, msec); }, m_limit);
    if (!answer) {
        PrinterState none;
        none.kind = PrinterState::Kind::NoAnswer;
        none.printer = printer;
        return none;
    }
    return *answer;
}

Submission CupsPrintSystem::submit(const QString &printer, const QString &pdfFile, const QString &title,
                                   const PrintOptions &options)
{
    const int msec = static_cast<int>(m_limit.count());
    const std::optional<Submission> answer = withinLimit<Submission>(
        [printer = printer.toUtf8(), file = pdfFile.toLocal8Bit(), title = title.toUtf8(), options, msec] {
            return send(printer, file, title, options, msec);
        },
        m_limit);
    return answer ? *answer : Submission{Submission::Kind::NoAnswer, {}};
}

} // namespace clinora
