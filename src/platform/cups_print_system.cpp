#include "platform/cups_print_system.h"

#include "platform/cups_functions.h"
#include "platform/modules.h"

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

// libcups, loaded by the first question to the print server and kept for the run (on
// whichever thread asks first); null, with why, when its module cannot be loaded.
struct Loaded
{
    const cups::Functions *functions = nullptr;
    QString error;
};

const Loaded &libcups()
{
    static const Loaded loaded = [] {
        Loaded result;
        using Entry = const cups::Functions *(*)();
        const auto entry = reinterpret_cast<Entry>(modules::entry("clinora_cups", "clinora_cups", &result.error));
        const cups::Functions *found = entry ? entry() : nullptr;
        if (found && found->size != sizeof(cups::Functions))
            result.error = QStringLiteral("o módulo de impressão é de outra versão do Clinora");
        else
            result.functions = found;
        return result;
    }();
    return loaded;
}

// A connection to the print server (the one CUPS_SERVER or the client configuration
// names), closed when it goes.
class Connection
{
public:
    Connection(const cups::Functions &cups, int msec)
        : m_cups(cups),
          m_http(cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1, msec, nullptr))
    {
    }
    ~Connection()
    {
        if (m_http)
            m_cups.close(m_http);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *get() const { return m_http; }

private:
    const cups::Functions &m_cups;
    http_t *m_http;
};

QString lastError(const cups::Functions &cups)
{
    return QString::fromUtf8(cups.lastErrorString());
}

QString option(const cups::Functions &cups, const cups_dest_t *dest, const char *name)
{
    const char *value = cups.getOption(name, dest->num_options, dest->options);
    return value ? QString::fromUtf8(value) : QString();
}

PrinterState askState(const QByteArray &name, int msec)
{
    PrinterState result;
    result.printer = QString::fromUtf8(name);
    if (!libcups().functions) {
        result.kind = PrinterState::Kind::NotRunning;
        result.detail = libcups().error;
        return result;
    }
    const cups::Functions &cups = *libcups().functions;
    const Connection connection(cups, msec);
    if (!connection.get()) {
        result.kind = PrinterState::Kind::NotRunning;
        result.detail = lastError(cups);
        return result;
    }
    cups_dest_t *dest = cups.getNamedDest(connection.get(), name.isEmpty() ? nullptr : name.constData(), nullptr);
    if (!dest) {
        if (cups.lastError() != IPP_STATUS_ERROR_NOT_FOUND) {
            result.kind = PrinterState::Kind::NotRunning;
            result.detail = lastError(cups);
            return result;
        }
        // A printer asked for by name that is gone is as good as none.
        cups_dest_t *dests = nullptr;
        const int count = name.isEmpty() ? cups.getDests(connection.get(), &dests) : 0;
        cups.freeDests(count, dests);
        result.kind = count > 0 ? PrinterState::Kind::NoDefault : PrinterState::Kind::NoPrinter;
        return result;
    }
    result.printer = QString::fromUtf8(dest->name);
    result.detail = option(cups, dest, "printer-state-message");
    if (option(cups, dest, "printer-is-accepting-jobs") == QLatin1String("false"))
        result.kind = PrinterState::Kind::NotAccepting;
    else if (option(cups, dest, "printer-state").toInt() == IPP_PSTATE_STOPPED)
        result.kind = PrinterState::Kind::Stopped;
    else
        result.kind = PrinterState::Kind::Ready;
    cups.freeDests(1, dest);
    return result;
}

Submission send(const QByteArray &printer, const QByteArray &file, const QByteArray &title,
                const PrintOptions &options, int msec)
{
    if (!libcups().functions)
        return {Submission::Kind::Refused, libcups().error};
    const cups::Functions &cups = *libcups().functions;
    const Connection connection(cups, msec);
    if (!connection.get())
        return {Submission::Kind::Refused, lastError(cups)};
    int count = 0;
    cups_option_t *list = nullptr;
    for (const auto &[name, value] : options)
        count = cups.addOption(name.constData(), value.constData(), count, &list);
    const int job = cups.printFile(connection.get(), printer.constData(), file.constData(), title.constData(),
                                   count, list);
    cups.freeOptions(count, list);
    if (job <= 0)
        return {Submission::Kind::Refused, lastError(cups)};
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
