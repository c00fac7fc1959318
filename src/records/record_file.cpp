#include "record_file.h"

#include <QFile>

namespace {

// True when the file is empty or its last byte ends a line.
bool endsWithLineEnd(QFile &file)
{
    const qint64 size = file.size();
    if (size == 0)
        return true;
    char last = 0;
    return file.seek(size - 1) && file.getChar(&last) && last == '\n';
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
