// Patient names and telephones are personal data: every folder and file the program
// creates is readable by its user alone, and a data folder others can read is reported.
#pragma once

#include <QFileDevice>
#include <QString>
#include <QStringList>

namespace clinora::privacy {

// The permissions of a new data file: read and write by its owner.
inline constexpr QFileDevice::Permissions kFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// From now on, whatever this process creates (by its own writers, SQLite, the PDF
// writer) is created for its owner only. Called first thing at start.
void restrictNewFiles();

// Creates the folder, and the missing folders above it, for the owner alone. Folders
// that already exist keep their permissions. False when it cannot be created. The
// folders it made, from the top down, are added to created when given.
bool makeFolder(const QString &path, QStringList *created = nullptr);

// What to tell the user about a data folder that other users of the computer can read
// (or enter), with how to fix it; empty when only its owner can.
QString exposure(const QString &dataDir);

} // namespace clinora::privacy
