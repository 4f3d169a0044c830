// SPDX-License-Identifier: GPL-3.0-or-later
// Block-definition files (".prm"): the blocks, counts and dwell times of both
// scans of an entry, written and read back; and the recognition of 9809
// files, which are left alone.
//
// Format: "N count", "U unit", the active scan's blocks as "B i start points
// time" and its end line "B k end 0 0", then "QN count" with "QB ..." lines
// for the quick scan and "SN count" with "SB ..." lines for the step scan.
// Starts are in the file's unit.
#pragma once

#include <QString>

struct Entry;

namespace BlockFile {

enum class Kind { Normal, Format9809, Unreadable };
Kind kindOf(const QString &path);

struct Result
{
    bool ok = false;
    QString path;  // the file written or read
    QString error; // why it failed, for the operator
};

// Writes e's blocks to path; ".prm" is added when the name has no suffix.
Result write(const QString &path, const Entry &e);

// Loads a normal block file into e (both block sets, the remembered counts
// and times of both scans). A 9809 file is recognised and leaves e alone
// (ok); a file that cannot be read leaves e alone and says why.
Result load(const QString &path, Entry &e);

} // namespace BlockFile
