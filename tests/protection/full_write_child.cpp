// A program that writes the system over the mirror once, for the test that kills it
// part-way: it prints "begin" just before the write and "end" after it.
#include "app/context.h"
#include "app/session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/null_printer.h"
#include "protection/mirror.h"

#include <QCoreApplication>

#include <cstdio>

using namespace clinora;

namespace {

class QuietDialogs final : public Dialogs
{
public:
    void information(const QString &) override {}
    void warning(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void error(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool question(const QString &) override { return true; }
    QString input(const QString &, const QString &, const QString &d) override { return d; }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(11, 0)));
    QuietDialogs dialogs;
    NullPrinter printer;
    AppContext context(Paths(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])), clock, dialogs,
                       printer);
    session::startUp(context);
    session::createMainWindow(context);
    std::puts("begin");
    std::fflush(stdout);
    const bool written = mirror::writeSystem(context, false);
    std::puts(written ? "end" : "not written");
    std::fflush(stdout);
    return written ? 0 : 1;
}
