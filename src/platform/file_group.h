// Files that belong together are committed together: each one is staged beside its
// target, a commit list naming them is written, and then all are renamed. A crash or a
// full disk before the list leaves every old file; after it, the next start finishes
// the renames (roll forward), so readers never see half of a group.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace clinora {

class FileGroup
{
public:
    // directory holds the commit list while a commit is under way (the data directory).
    explicit FileGroup(QString directory);

    // Windows-1252 lines with CR LF, as textfile::writeLines writes them.
    void stageLines(const QString &path, const QStringList &lines);
    void stageBytes(const QString &path, const QByteArray &bytes);
    // The source file's bytes, read now.
    void stageCopy(const QString &source, const QString &destination);
    // A target whose new content the caller has already written, synced, at
    // temporaryPath(target): a large file such as a table copy, never held in memory.
    void stageWritten(const QString &target);
    // Where a staged file is written before the renames.
    static QString temporaryPath(const QString &target);

    bool isEmpty() const { return m_files.empty() && m_written.isEmpty(); }
    QStringList targets() const;

    // Writes every staged file beside its target, then renames them all. Throws
    // FileError; before the commit list is written a failure changes nothing.
    void commit();
    // Whether a commit got as far as its list: from then on a failure is finished by
    // the next start, and every staged file must stay for it.
    bool isDecided() const { return m_decided; }

    // The commit list's name inside the directory.
    static QString listName();
    // At start, before any file is read: finishes a commit that was interrupted after
    // its list was written and clears leftover temporaries ("*.novo~") of the
    // directory. Returns the targets it completed.
    static QStringList recover(const QString &directory);

private:
    QString m_directory;
    std::vector<std::pair<QString, QByteArray>> m_files;
    QStringList m_written; // targets whose temporary the caller wrote
    bool m_decided = false;
};

} // namespace clinora
