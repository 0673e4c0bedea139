// The one module that reads and writes the data files: 8-bit Windows-1252 text,
// CR LF line ends, fixed-width fields counted in characters, atomic rewrites.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>


namespace clinora::textfile {

QByteArray encode(const QString &text);
// The byte of one character ('?' for one Windows-1252 cannot hold).
char encodeChar(QChar c);
// The same bytes written at out (text.size() of them); returns the end. A file is built
// line by line without a string of its own for every field.
char *encodeTo(char *out, QStringView text);
// The same bytes appended to others.
void appendEncoded(QByteArray &bytes, QStringView text);
QString decode(QByteArrayView bytes);

// Every line of the file; throws FileError when it cannot be read, DamagedFileError
// when it holds bytes that are not text.
QStringList readLines(const QString &path);
// The file's bytes, read and refused as readLines reads and refuses them.
QByteArray readText(const QString &path);
// Each line of a text file's bytes, without its end (CR LF, LF or CR), as a view into
// them: a reader that keeps little of a long file need not make a string of each line.
template <typename Line>
void forEachLine(const QByteArray &bytes, Line &&line)
{
    // One pass over the bytes: the lines of a file of movements are a few bytes each,
    // and a library call per line would cost more than the line.
    const char *const end = bytes.constData() + bytes.size();
    const char *start = bytes.constData();
    for (const char *p = start; p < end; ++p) {
        if (*p != '\r' && *p != '\n')
            continue;
        line(QByteArrayView(start, p - start));
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    if (start < end)
        line(QByteArrayView(start, end - start));
}
// Where each line of those bytes starts and how many bytes it holds, split as
// forEachLine splits them.
struct LineSpan
{
    qsizetype start;
    qsizetype size;
};
QList<LineSpan> lineSpans(const QByteArray &bytes);
// The first line ("" for an empty file); throws FileError when missing.
QString readFirstLine(const QString &path);
// Rewrites the file whole: a crash or a full disk leaves the old file or the new one.
void writeLines(const QString &path, const QStringList &lines);
// The same for a file that only spares work and holds no data (a crash may lose it, or
// leave it empty, and its reader then does the work): not forced to the disk, which
// would cost the wait for it.
void writeHintLines(const QString &path, const QStringList &lines);
// The one-line file writer: the file holds the text as its only line.
void writeOneLine(const QString &path, const QString &text);
// Appends lines, creating the file when it does not exist.
void appendLines(const QString &path, const QStringList &lines);
int lineCount(const QString &path);
// Rewrites a file with these bytes, atomically.
void writeBytes(const QString &path, const QByteArray &bytes);
// Copies a file whole, overwriting the destination atomically.
void copyFile(const QString &source, const QString &destination);

// The text padded with blanks or cut to width characters.
QString fixed(const QString &text, int width);
// Characters [start, start + width) of a line, counted from 0; short lines give
// short or empty fields.
QString field(const QString &line, int start, int width);
// The text without its trailing blanks.
QString trimRight(const QString &text);

} // namespace clinora::textfile
