// A record file of any content: counted, listed, read record by record,
// searched, appended to and deleted from. The records found are checked against the
// file's lines split independently of the reader.

#include "fileformat/gbk_codec.h"
#include "fileformat/line_scanner.h"
#include "fuzz_check.h"
#include "record_round_trip.h"
#include "records/divination_record.h"
#include "records/record_file.h"
#include "records/record_search.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// The lines of a record file as a reader sees them: ended by CR LF, LF or
// CR, a last line without a line end counted, each cut to the longest line
// read.
QList<QByteArray> LinesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        line.truncate(LongestStoredLine);
    return lines;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
            "the test file is written");
}

// Records a deletion leaves: every line but the deleted one, less the empty
// lines before the first line with text.
qint64 RecordsLeftAfterDeleting(QList<QByteArray> lines, qsizetype index)
{
    lines.removeAt(index);
    qsizetype leadingEmpty = 0;
    while (leadingEmpty < lines.size() && lines[leadingEmpty].isEmpty())
        ++leadingEmpty;
    return lines.size() - leadingEmpty;
}

// Records in the file, or none when it was removed.
qint64 RecordsInFile(const QString &path)
{
    if (!QFile::exists(path))
        return 0;
    const std::optional<qint64> count = CountRecords(path);
    Require(count.has_value(), "an existing record file is counted");
    return *count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("filelog.kdf"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    WriteFile(path, bytes);
    const QList<QByteArray> lines = LinesOf(bytes);
    const qint64 count = lines.size();

    Require(CountRecords(path) == count, "every line is counted as a record");
    Require(ListRecords(path, 1, count + 1).has_value(), "the listing is made");
    for (const qint64 number : {qint64(0), count + 1})
        Require(ReadRecord(path, number).status == RecordFileStatus::RecordNotFound, "numbers outside the file find nothing");
    for (const qint64 number : {qint64(1), count / 2 + 1, count}) {
        if (number > count)
            break;
        const RecordReading reading = ReadRecord(path, number);
        Require(reading.status == RecordFileStatus::Done, "every record inside the file is found");
        Require(reading.record == ParseRecordLine(DecodeGbk(lines[number - 1])), "a record is read from its own line");
    }

    // The search, which looks at the bytes first, finds exactly the records
    // whose fields hold the text: here a piece of a name and of a matter of
    // the file, which may be cut inside a character's bytes.
    if (count > 0) {
        const DivinationRecord middle = ParseRecordLine(DecodeGbk(lines[count / 2]));
        for (const QString &text : {middle.divinerName.left(2), middle.matterText.mid(1, 3)}) {
            QList<qint64> holding;
            for (qint64 number = 1; number <= count; ++number) {
                if (RecordHoldsText(ParseRecordLine(DecodeGbk(lines[number - 1])), text))
                    holding.append(number);
            }
            const RecordSearch search = FindRecords(path, text);
            Require(search.status == RecordFileStatus::Done && search.numbers == holding,
                    "the search finds every record that holds the text and no other");
            const auto past = std::upper_bound(holding.cbegin(), holding.cend(), count / 2);
            const qint64 next = past != holding.cend() ? *past : holding.value(0, 0);
            Require(FindNextRecord(path, text, count / 2).number.value_or(0) == next,
                    "the next record found is the first one past the middle, or the first of all");
        }
    }

    if (count > 0) {
        const RecordDeletion deletion = DeleteRecord(path, count / 2 + 1);
        Require(deletion.status == RecordFileStatus::Done, "a record inside the file is deleted");
        Require(deletion.recordsLeft == RecordsLeftAfterDeleting(lines, count / 2), "deleting takes one record");
        Require(RecordsInFile(path) == deletion.recordsLeft, "the file holds the records the deletion reported");
    }

    WriteFile(path, bytes);
    const DivinationRecord appended = lines.isEmpty() ? DivinationRecord{} : ParseRecordLine(DecodeGbk(lines[0]));
    Require(AppendRecord(path, appended), "a record is appended");
    Require(CountRecords(path) == count + 1, "appending adds one record after the others");
    if (WritesBackExactly(appended))
        Require(ReadRecord(path, count + 1).record == appended, "the appended record is the last one");
    return 0;
}
