// Replaces an SQLite table file safely, as one member of a FileGroup: the new table is
// written beside its target, checked, and renamed over it by the group's commit. Until
// that commit is decided the old table stays where it was; a failure at any step takes
// the staged copy away again and gives the caller its table back.
#pragma once

#include <QString>
#include <functional>

namespace clinora {

class FileGroup;

class TableReplacement
{
public:
    TableReplacement(FileGroup &group, QString target);
    // A staged copy that was never committed is removed.
    ~TableReplacement();
    TableReplacement(const TableReplacement &) = delete;
    TableReplacement &operator=(const TableReplacement &) = delete;

    // write(path) writes the new table at path, cleared first of an earlier attempt
    // (the file and its rollback journal). The copy must then be a database file;
    // it joins the group. Throws what write throws, or FileError for a copy that is
    // missing or not a database; the staged copy is gone then.
    void stage(const std::function<void(const QString &path)> &write);

    // Commits the group. release() first lets go of the target (closes the table);
    // the target's leftover rollback journal is removed, since the engine would play it
    // back into the new file; then the group renames every file. When the commit fails
    // the staged copy is removed (unless the group was decided: the next start renames
    // it into place), reopen() takes the table up again (only after a release), and the
    // error goes on.
    void commit(const std::function<void()> &release = {}, const std::function<void()> &reopen = {});

    const QString &target() const { return m_target; }

private:
    FileGroup &m_group;
    QString m_target;
    QString m_staged;
    bool m_committed = false;
};

} // namespace clinora
