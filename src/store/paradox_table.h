// Reads the appointment table of the program a clinic used before this one: a Paradox
// table (Medicos.db, its memo file Medicos.mb beside it), read with pxlib and decoded
// to text field by field.
#pragma once

#include "store/appointment.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace clinora::paradox {

// Whether the file is a Paradox table, told by its header (never by its name).
bool isParadoxTable(const QString &path);

// The file beside another with the same base name and this suffix, in any letter case
// ("Medicos.mb", "MEDICOS.MB"); empty when there is none.
QString companion(const QString &tablePath, const QString &suffix);

// Every file of the table: the .db and, beside it, the files of the same base name that
// belong to it (memo, primary and secondary indexes, checks, views).
QStringList tableFiles(const QString &tablePath);

// One record as read, its texts decoded and cut at their end (trailing blanks stay).
struct Record
{
    int number = 0; // 1 for the first record of the table
    Appointment row;
    // Why the remarks could not be read whole; the row then holds their beginning.
    QString memoProblem;
};

struct Table
{
    int codePage = 0;        // as the header names it
    QString codePageProblem; // a code page this program cannot read (Windows-1252 used)
    QStringList otherFields; // fields that are not the appointment's, left out
    // A damaged chain of data blocks: what is damaged, and how many of the records the
    // header counts were in the blocks that could not be reached (the others are read).
    QString blockDamage;
    int unreadRecords = 0;
    std::vector<Record> records;
};

// The number of records the header counts; StoreError naming the file when it is not a
// readable Paradox table.
int recordCount(const QString &path);

// Reads every record; with a damaged chain of data blocks, those of the blocks it can
// reach, and tells the damage. StoreError naming the file when it is not a readable Paradox
// table (a damaged header), lacks one of the fields Data, Hora, Medico and Paciente, holds one of a type
// that is not text or a whole number, or needs its memo file and it is missing.
Table read(const QString &path);

// The text of a memo field from the field's bytes in the record (the first bytes of the
// text, then the 10-byte pointer into the memo file) and the memo file's bytes. Sets
// problem, and returns the bytes the record holds, when the memo file does not hold
// what the pointer says. Bounded by the sizes given: any bytes may be passed.
QByteArray memoBytes(QByteArrayView field, QByteArrayView memoFile, QString *problem);

} // namespace clinora::paradox
