#pragma once

#include "records/divination_record.h"

#include <QString>

#include <optional>

class QIODevice;

// A record file holds one record per line, oldest first; a record's number is
// its 1-based line number. Lines end with CR LF, LF or CR alone. Every
// operation opens, uses and closes the file, and only a regular file is read:
// a folder, a device or a FIFO is no record file. A record file reached
// through a symbolic link is the link's target for every operation.
//
// The program and ravezaz-cli may write the same file at once. Every writer
// holds an advisory lock on the file (flock) while it changes it: an append
// is one write at the end (O_APPEND), so two appends never mix, and a delete
// keeps the lock from its first read until the new file has replaced the old
// one, so no record appended meanwhile is lost. A writer that finds the file
// replaced while it waited for the lock starts again on the new file.

// Appends the record line to the file, creating the file when it is missing.
// When the file's last line has no line end (another program wrote it), one
// is written first so the two records stay apart. A failed write (unwritable
// folder, full disk) returns false and takes back only what it wrote, so the
// file keeps every other record unchanged.
[[nodiscard]] bool AppendRecord(const QString &path, const DivinationRecord &record);
// Writes the record line to an open device; false when not all of it went.
[[nodiscard]] bool AppendRecord(QIODevice &device, const DivinationRecord &record);

// Number of records, or nothing when the file cannot be opened or read.
std::optional<qint64> CountRecords(const QString &path);

// The listing of records first..last (1-based, inclusive; `last` may lie past
// the end of the file): for each record a space, "№<", its number, ">", the
// stored line (ListedLine) and CR LF. Nothing when the file cannot be opened
// or read.
std::optional<QString> ListRecords(const QString &path, qint64 first, qint64 last);

// A stored line as a listing shows it: the line as it stands, except that a
// line longer than LongestStoredLine bytes is cut there and ends with "…".
QString ListedLine(const QByteArray &line, bool cut);

enum class RecordFileStatus {
    Done,
    FileUnreadable, // missing or unreadable
    NotRecordFile,  // a folder, device, FIFO or socket
    RecordNotFound,
    RecordChanged, // the record is no longer the line the caller expected
    WriteFailed,
};

// Done for a readable regular file, NotRecordFile for anything else that
// exists, FileUnreadable otherwise: tells the readers' failures apart.
RecordFileStatus ProbeRecordFile(const QString &path);

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
// (WriteFailed) leaves the old file as it was; it keeps the old file's mode,
// and its owner where the process may set it. When no line is left the file
// is removed. A missing record leaves the file untouched (RecordNotFound).
// With `expectedLine` (the line as ListRecords showed it), the record is
// deleted only when its line still reads so; otherwise another program has
// changed the file since it was listed, and nothing is deleted
// (RecordChanged). Control characters count as equal in that comparison, so
// a line copied from ravezaz-cli's output, where they are shown as U+FFFD,
// still matches.
[[nodiscard]] RecordDeletion DeleteRecord(const QString &path, qint64 number,
                                          const std::optional<QString> &expectedLine = std::nullopt);

// Copies the file byte for byte, replacing `destination` only once the copy
// is complete; false when either file fails.
[[nodiscard]] bool CopyRecordFile(const QString &path, const QString &destination);
