#include "record_file.h"

#include "gbk_codec.h"
#include "line_scanner.h"

#include <QFile>
#include <QSaveFile>

#include <limits>

namespace {

constexpr qsizetype copyBlockSize = 1 << 20;

// True when the file is empty or its last byte ends a line.
bool endsWithLineEnd(QFile &file)
{
    const qint64 size = file.size();
    if (size == 0)
        return true;
    char last = 0;
    return file.seek(size - 1) && file.getChar(&last) && last == '\n';
}

bool writeLine(QIODevice &device, const QByteArray &line)
{
    return device.write(line) == line.size() && device.write("\r\n", 2) == 2;
}

// QSaveFile::commit() does not notice a failure to write out its buffer, and
// would put a cut-off file in place; flushing first catches it.
bool commitSaveFile(QSaveFile &file)
{
    return file.flush() && file.commit();
}

QString listingEntry(qint64 number, const QByteArray &line)
{
    return QStringLiteral(" №<") + QString::number(number) + u'>' + DecodeGbk(line) + QStringLiteral("\r\n");
}

} // namespace

bool AppendRecord(QIODevice &device, const DivinationRecord &record)
{
    const QByteArray line = FormatRecordLine(record);
    return device.write(line) == line.size();
}

bool AppendRecord(const QString &path, const DivinationRecord &record)
{
    // Unbuffered, so a write that fails leaves nothing pending that would
    // stop the file from being cut back.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qint64 originalSize = file.size();
    const bool separate = !endsWithLineEnd(file);
    const bool written = file.seek(originalSize) && (!separate || file.write("\r\n", 2) == 2)
        && AppendRecord(file, record) && file.flush();
    if (!written)
        file.resize(originalSize);
    return written;
}

std::optional<qint64> CountRecords(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    LineScanner scanner(file);
    const qint64 count = scanner.skipLines(std::numeric_limits<qint64>::max());
    if (scanner.failed())
        return std::nullopt;
    return count;
}

std::optional<QString> ListRecords(const QString &path, qint64 first, qint64 last)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    first = qMax<qint64>(first, 1);
    LineScanner scanner(file);
    QString listing;
    if (first <= last && scanner.skipLines(first - 1) == first - 1) {
        QByteArray line;
        for (qint64 number = first; number <= last && scanner.readLine(line); ++number)
            listing += listingEntry(number, line);
    }
    if (scanner.failed())
        return std::nullopt;
    return listing;
}

RecordReading ReadRecord(const QString &path, qint64 number)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {RecordFileStatus::FileUnreadable, {}};
    LineScanner scanner(file);
    QByteArray line;
    const bool found = number >= 1 && scanner.skipLines(number - 1) == number - 1 && scanner.readLine(line);
    if (scanner.failed())
        return {RecordFileStatus::FileUnreadable, {}};
    if (!found)
        return {RecordFileStatus::RecordNotFound, {}};
    return {RecordFileStatus::Done, ParseRecordLine(DecodeGbk(line))};
}

RecordDeletion DeleteRecord(const QString &path, qint64 number)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {RecordFileStatus::FileUnreadable};
    QSaveFile rewritten(path);
    if (!rewritten.open(QIODevice::WriteOnly))
        return {RecordFileStatus::WriteFailed};
    LineScanner scanner(file);
    QByteArray line;
    qint64 lineNumber = 0;
    qint64 kept = 0;
    bool found = false;
    while (scanner.readLine(line)) {
        ++lineNumber;
        if (lineNumber == number) {
            found = true;
            continue;
        }
        if (kept == 0 && line.isEmpty())
            continue;
        if (!writeLine(rewritten, line))
            return {RecordFileStatus::WriteFailed};
        ++kept;
    }
    if (scanner.failed())
        return {RecordFileStatus::FileUnreadable};
    if (!found)
        return {RecordFileStatus::RecordNotFound, lineNumber};
    file.close();
    if (kept == 0) // the unfinished rewrite is discarded with `rewritten`
        return {QFile::remove(path) ? RecordFileStatus::Done : RecordFileStatus::WriteFailed, 0};
    if (!commitSaveFile(rewritten))
        return {RecordFileStatus::WriteFailed};
    return {RecordFileStatus::Done, kept};
}

bool CopyRecordFile(const QString &path, const QString &destination)
{
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile copy(destination);
    if (!copy.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(copyBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(block.data(), block.size());
        if (read < 0)
            return false;
        if (read == 0)
            return commitSaveFile(copy);
        if (copy.write(block.constData(), read) != read)
            return false;
    }
}
