#include "platform/text_file.h"

#include "platform/errors.h"
#include "platform/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace clinora::textfile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are read as the control characters of the
// same number, as Windows itself does, so that a record nobody touched is written back
// byte for byte.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The character of every byte, looked up rather than tested byte by byte.
constexpr std::array<char16_t, 256> kCharacters = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    return table;
}();

// The bytes a text file may not hold (see firstNonText) but NUL, as a C string.
constexpr std::array<char, 0x20 - 5 + 1> kNotText = [] {
    std::array<char, 0x20 - 5 + 1> bytes{};
    std::size_t n = 0;
    for (char b = 1; b < 0x20; ++b) {
        if (b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A)
            bytes[n++] = b;
    }
    bytes[n++] = 0x7F;
    return bytes;
}();
// The bytes where Windows-1252 and Latin-1 differ (0x80 to 0x9F), as a C string.
constexpr std::array<char, 0x20 + 1> kHighBytes = [] {
    std::array<char, 0x20 + 1> bytes{};
    for (std::size_t i = 0; i < 0x20; ++i)
        bytes[i] = static_cast<char>(0x80 + i);
    return bytes;
}();
static_assert(kNotText[kNotText.size() - 2] == 0x7F && kNotText.back() == 0, "each byte once, then the terminator");

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw FileError(QStringLiteral("Arquivo não encontrado: %1").arg(shownPath(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Não foi possível ler o arquivo %1: %2")
                            .arg(shownPath(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Não foi possível ler o arquivo %1: %2")
                            .arg(shownPath(path), file.errorString()));
    return bytes;
}

// Text files hold no control bytes but tab, the line ends, form feed and the old end
// of file mark (Ctrl+Z); anything else means the file is damaged or is not a text
// file of the system. The position of the first such byte, or -1.
qsizetype firstNonText(const QByteArray &bytes)
{
    // The C string search stops at the first of those bytes or at a NUL, which is not
    // text either; past the end it meets the terminator every QByteArray keeps.
    const auto at = static_cast<qsizetype>(std::strcspn(bytes.constData(), kNotText.data()));
    return at < bytes.size() ? at : -1;
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

[[noreturn]] void writeFailed(const QString &path, const QString &reason)
{
    // The system's reason is in English: a full disk, the usual cause, is said in words
    // a receptionist reads, and the system's text stays as the detail.
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() < 64 * 1024)
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1: o disco %2 está cheio. Libere "
                                       "espaço nele e repita a operação.\r\nDetalhe: %3")
                            .arg(shownPath(path), QDir::toNativeSeparators(disk.rootPath()), reason));
    throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(shownPath(path), reason));
}

// Writes a new file beside the target and renames it over the target, so that a
// crash or a full disk leaves the old file or the new one, never half of one.
// (Short writes are checked one by one: a buffered writer can miss them.)
void writeAtomically(const QString &path, const QByteArray &bytes, bool synced = true)
{
    const QString temporary = path + QStringLiteral(".novo~");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered, privacy::kFile))
        writeFailed(path, file.errorString());
    const bool written = file.write(bytes) == bytes.size() && (!synced || ::fsync(file.handle()) == 0);
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                                : QStringLiteral("disco cheio?");
    file.close();
    if (!written) {
        QFile::remove(temporary);
        writeFailed(path, reason);
    }
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        writeFailed(path, why);
    }
}

} // namespace

QByteArray encode(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (QChar c : text)
        *out++ = encodeChar(c);
    return bytes;
}

char encodeChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

char *encodeTo(char *out, QStringView text)
{
    for (QChar c : text)
        *out++ = encodeChar(c);
    return out;
}

void appendEncoded(QByteArray &bytes, QStringView text)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + text.size());
    encodeTo(bytes.data() + at, text);
}

QString decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString::fromLatin1(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    const char16_t *const characters = kCharacters.data();
    for (char16_t *out = reinterpret_cast<char16_t *>(text.data()); in != end; ++in, ++out)
        *out = characters[*in];
    return text;
}

QByteArray readText(const QString &path)
{
    QByteArray bytes = readAll(path);
    if (const qsizetype at = firstNonText(bytes); at >= 0)
        throw DamagedFileError(
            QStringLiteral("O arquivo %1 está danificado: no byte %2 há um caractere que não é "
                           "texto.\r\nEle não foi alterado. Recupere-o da pasta Espelho ou de uma "
                           "cópia de segurança.")
                .arg(shownPath(path))
                .arg(at + 1));
    return bytes;
}

QList<LineSpan> lineSpans(const QByteArray &bytes)
{
    QList<LineSpan> spans;
    spans.reserve(std::count(bytes.cbegin(), bytes.cend(), '\n') + 1);
    forEachLine(bytes, [&spans, begin = bytes.constData()](QByteArrayView line) {
        spans.push_back({line.data() - begin, line.size()});
    });
    return spans;
}

QStringList readLines(const QString &path)
{
    const QByteArray bytes = readText(path);
    QStringList lines;
    qsizetype lineFeeds = 0;
    const char *const end = bytes.constData() + bytes.size();
    for (const char *q = bytes.constData(); (q = static_cast<const char *>(std::memchr(q, '\n', end - q))); ++q)
        ++lineFeeds;
    // Without a byte of 0x80 to 0x9F (most files) the text is Latin-1, decoded by Qt's
    // own routine.
    const bool latin1 =
        std::strcspn(bytes.constData(), kHighBytes.data()) == static_cast<std::size_t>(bytes.size());
    // The list is made at its most lines at once and filled in place, then cut to the
    // lines found (a CR alone also ends a line: there may be more lines than line feeds).
    lines.resize(lineFeeds + 1);
    QString *out = lines.data();
    forEachLine(bytes, [&](QByteArrayView line) {
        if (out == lines.constData() + lines.size()) {
            const qsizetype filled = lines.size();
            lines.resize(filled * 2);
            out = lines.data() + filled;
        }
        // Each line decoded straight from the file's bytes, without a copy of its own.
        *out++ = latin1 ? QString::fromLatin1(line) : decode(line);
    });
    lines.resize(out - lines.constData());
    return lines;
}

QString readFirstLine(const QString &path)
{
    const QStringList lines = readLines(path);
    return lines.isEmpty() ? QString() : lines.first();
}

void writeLines(const QString &path, const QStringList &lines)
{
    writeAtomically(path, encodeLines(lines));
}

void writeHintLines(const QString &path, const QStringList &lines)
{
    writeAtomically(path, encodeLines(lines), false);
}

void writeOneLine(const QString &path, const QString &text)
{
    writeLines(path, {text});
}

void appendLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, privacy::kFile))
        writeFailed(path, file.errorString());
    const qint64 before = file.size();
    const QByteArray bytes = encodeLines(lines);
    if (file.write(bytes) != bytes.size() || ::fsync(file.handle()) != 0) {
        // Never leave half a record at the end of the file.
        const QString reason = file.errorString();
        file.resize(before);
        writeFailed(path, reason);
    }
}

int lineCount(const QString &path)
{
    return static_cast<int>(readLines(path).size());
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    writeAtomically(path, bytes);
}

void copyFile(const QString &source, const QString &destination)
{
    writeAtomically(destination, readAll(source));
}

QString fixed(const QString &text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), QLatin1Char(' '));
}

QString field(const QString &line, int start, int width)
{
    return line.mid(start, width);
}

QString trimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

} // namespace clinora::textfile
