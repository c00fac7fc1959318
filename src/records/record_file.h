#pragma once

#include "divination_record.h"

#include <QString>

class QIODevice;

// A record file holds one record per line, oldest first; a record's number is
// its 1-based line number. Every operation opens, uses and closes the file.

// Appends the record line to the file, creating the file when it is missing.
// When the file's last line has no line end (another program wrote it), one
// is written first so the two records stay apart. A failed write (unwritable
// folder, full disk) returns false and takes back what it wrote, so the file
// keeps its earlier records unchanged.
bool AppendRecord(const QString &path, const DivinationRecord &record);
// Writes the record line to an open device; false when not all of it went.
bool AppendRecord(QIODevice &device, const DivinationRecord &record);
