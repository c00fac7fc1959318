#pragma once

#include "records/divination_record.h"
#include "records/record_file.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Finding records again by what was asked: a text is looked for in the
// diviner's name, the matter and the names of both hexagrams of each record.
// Latin letters match in either case; every other character matches only
// itself. An empty text finds nothing.

// Whether one record holds `text` in a searched field.
bool RecordHoldsText(const DivinationRecord &record, QStringView text);

struct RecordSearch {
    RecordFileStatus status; // Done, FileUnreadable or NotRecordFile
    QList<qint64> numbers;   // the numbers of the records that hold the text, ascending
};
// Every record of the file that holds `text`. The file is read once, in
// blocks; only the lines whose bytes hold the text are decoded and split
// into fields, so a search through a million records stays well under a
// second.
RecordSearch FindRecords(const QString &path, QStringView text);

struct NextRecordSearch {
    RecordFileStatus status;      // Done, FileUnreadable or NotRecordFile
    std::optional<qint64> number; // nothing when no record holds the text
};
// The record to jump to from record `after`: the first one past it that
// holds `text`, or, when none does, the first one of the file (the search
// wraps round the end of the file). The file is read only as far as it
// must: a text that most records hold is found at once.
NextRecordSearch FindNextRecord(const QString &path, QStringView text, qint64 after);
