#pragma once

#include "divination_record.h"

#include <QString>

#include <optional>

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

// Number of records, or nothing when the file cannot be opened or read.
std::optional<qint64> CountRecords(const QString &path);

// The listing of records first..last (1-based, inclusive; `last` may lie past
// the end of the file): for each record a space, "№<", its number, ">", the
// stored line exactly as it stands, and CR LF. Nothing when the file cannot
// be opened or read.
std::optional<QString> ListRecords(const QString &path, qint64 first, qint64 last);

enum class RecordFileStatus {
    Done,
    FileUnreadable,
    RecordNotFound,
    WriteFailed,
};

struct RecordReading {
    RecordFileStatus status;
    DivinationRecord record; // labels stripped; missing fields empty
};
// Record `number`; RecordNotFound when the file has fewer lines or number < 1.
RecordReading ReadRecord(const QString &path, qint64 number);

struct RecordDeletion {
    RecordFileStatus status;
    qint64 recordsLeft = 0; // records in the file afterwards, when it was read
};
// Rewrites the file without record `number`, each kept line ended by CR LF;
// empty lines before the first kept line with text are dropped. The new file
// replaces the old one only once it is completely written, so a failure
// (WriteFailed) leaves the old file as it was. When no line is left the file
// is removed. A missing record leaves the file untouched (RecordNotFound).
RecordDeletion DeleteRecord(const QString &path, qint64 number);

// Copies the file byte for byte, replacing `destination` only once the copy
// is complete; false when either file fails.
bool CopyRecordFile(const QString &path, const QString &destination);
