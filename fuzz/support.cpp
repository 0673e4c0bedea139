#include "support.h"

#include "core/installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace clinora::fuzz {

const QString &workDir()
{
    // Made once per process: a folder per input would cost more than most readers. In
    // memory where the system offers it, since the writers wait for the disk.
    static const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                  : QDir::tempPath();
    static const QTemporaryDir dir(base + QStringLiteral("/clinora-fuzz-XXXXXX"));
    static const QString path = dir.path();
    if (!dir.isValid())
        fail("cannot make the work folder");
    return path;
}

QString folder(const QString &name, bool install)
{
    const QString path = workDir() + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(path);
        if (install)
            installDataDirectory(path);
    }
    return path;
}

QByteArray bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write the input", path);
}

void writeFile(const QString &path, const std::uint8_t *data, std::size_t size)
{
    writeFile(path, bytes(data, size));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read back", path);
    return file.readAll();
}

void installFile(const QString &name, const QString &path)
{
    writeFile(path, readFile(QStringLiteral(":/install/") + name));
}

QList<QByteArray> split(const QByteArray &input, int parts)
{
    QList<QByteArray> result;
    qsizetype from = 0;
    while (result.size() < parts - 1) {
        const qsizetype at = input.indexOf(kSeparator, from);
        if (at < 0)
            break;
        result << input.mid(from, at - from);
        from = at + qsizetype(sizeof kSeparator) - 1;
    }
    result << input.mid(from);
    while (result.size() < parts)
        result << QByteArray();
    return result;
}

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "FAULT: %s %s\n", what, qPrintable(detail));
    std::abort();
}

void quietQt()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            std::abort();
        }
    });
}

} // namespace clinora::fuzz

#include "agenda/demo_clinic.h"
#include "app/context.h"
#include "app/session.h"
#include "platform/clock.h"
#include "platform/null_printer.h"

namespace clinora::fuzz {

AppContext &demoClinic(const QString &name)
{
    static FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    static QuietDialogs dialogs;
    static NullPrinter printer;
    static std::unique_ptr<AppContext> context;
    if (!context) {
        const QString dir = workDir() + QLatin1Char('/') + name;
        const QString drives = folder(QStringLiteral("drives"));
        createDemoClinic(dir, drives, clock);
        context = std::make_unique<AppContext>(Paths(dir, drives), clock, dialogs, printer);
        // The start moves into the data folder; the fuzzer's own folders are relative to
        // where it was started.
        const QString started = QDir::currentPath();
        session::startUp(*context);
        QDir::setCurrent(started);
        context->settings.load(context->file(QStringLiteral("Automatica.Txt")));
        context->DMMedicos.open();
    }
    return *context;
}

} // namespace clinora::fuzz
