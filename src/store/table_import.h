// Brings the appointment table of the program a clinic used before (Paradox) into a
// table of this program: every row that fits is written, every other one is listed with
// why in a report beside it, and the original files are kept under other names,
// untouched. A crash leaves the old table or the new one, with the originals either way.
#pragma once

#include "store/paradox_table.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace clinora {

struct RejectedRow
{
    int number = 0; // the record's place in the old table, from 1
    Appointment row;
    QString reason;
};

struct CheckedRows
{
    std::vector<Appointment> accepted; // in their stored form, in the order read
    std::vector<RejectedRow> rejected;
};

// The records that fit this program's table (key fields and Paciente filled, texts
// within their widths once their trailing blanks are dropped, a key not taken by an
// earlier record) and the others with why. Plain logic on any records.
CheckedRows checkRecords(const std::vector<paradox::Record> &records);

struct TableImport
{
    QString table;    // the table written
    QStringList kept; // the original files, under the names they are kept by
    QString report;   // the report file
    int read = 0;
    int imported = 0;
    int rejected = 0;
    int incompleteRemarks = 0;
    bool damaged = false; // a damaged chain of blocks: only the readable blocks came in
    int unread = 0;       // records the old table counts that could not be read
};

// Imports the Paradox table at source into a new table at target (the same path, or
// the name this program gives the table). when heads the report. Throws StoreError or
// FileError, with nothing changed, when the old table cannot be read or the new one
// cannot be written.
TableImport importParadoxTable(const QString &source, const QString &target, const QString &when);

} // namespace clinora
