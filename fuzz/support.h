// What every fuzz target shares: a private folder made once per process, the input
// written there as a data file, quiet ports for the logic that asks the user, and the
// rule that a reader may end only with one of the program's own errors.
#pragma once

#include "platform/dialogs.h"
#include "platform/errors.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace clinora::fuzz {

// This process's own folder, made on first use and removed when the process ends.
const QString &workDir();
// A folder below workDir(), made on first use; name "dados" with install holds an
// installed data directory (the installation files and an empty table).
QString folder(const QString &name, bool install = false);

QByteArray bytes(const std::uint8_t *data, std::size_t size);
// Writes the bytes as the file (plain write: the readers do not care how it came).
void writeFile(const QString &path, const QByteArray &bytes);
void writeFile(const QString &path, const std::uint8_t *data, std::size_t size);
QByteArray readFile(const QString &path);
// Copies an installation file (Esp.Txt) over path.
void installFile(const QString &name, const QString &path);

// The input cut at each occurrence of a separator line, for targets that read more than
// one file from one input.
QList<QByteArray> split(const QByteArray &input, int parts);
inline constexpr char kSeparator[] = "\n=====\n";

// Runs a reader. An error of the program (file, conversion, store) is the clear message
// a user would see and ends the run quietly; anything else (a standard exception, a
// crash, a sanitizer report) escapes to the fuzzer as a fault.
template <typename F> bool readsCleanly(F &&read)
{
    try {
        read();
        return true;
    } catch (const Error &) {
        return false;
    }
}

// Stops the fuzzer with a message when a property of a sound result does not hold.
[[noreturn]] void fail(const char *what, const QString &detail = {});
inline void require(bool holds, const char *what, const QString &detail = {})
{
    if (!holds)
        fail(what, detail);
}

// Answers every question with the same answer and shows nothing.
class QuietDialogs final : public Dialogs
{
public:
    explicit QuietDialogs(bool answer = true) : m_answer(answer) {}
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &) override {}
    bool question(const QString &) override { return m_answer; }
    QString input(const QString &, const QString &, const QString &defaultText) override
    {
        return defaultText;
    }

private:
    bool m_answer;
};

// Keeps Qt's warnings off the fuzzer's output (it would drown the figures).
void quietQt();

} // namespace clinora::fuzz

namespace clinora {
class AppContext;
}

namespace clinora::fuzz {

// The demonstration clinic made once per process in folder(name), as of 8 December
// 2026, and a context started on it (register loaded, table open). Its files are the
// ones a clinic in use has.
AppContext &demoClinic(const QString &name = QStringLiteral("clinica"));

} // namespace clinora::fuzz
