// One stored record line: decoded from GBK, split into its fields and written
// back. The line arrives as the file reader hands it over: without its line
// end.

#include "divination_record.h"
#include "fuzz_check.h"
#include "gbk_codec.h"
#include "record_round_trip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray line = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype lineEnd = line.indexOf('\n');
    if (lineEnd >= 0)
        line.truncate(lineEnd);
    if (line.endsWith('\r'))
        line.chop(1);

    const DivinationRecord record = ParseRecordLine(DecodeGbk(line));
    const QByteArray written = FormatRecordLine(record);
    Require(written.endsWith("\r\n") && written.count('\n') == 1, "a record is written as exactly one line");
    if (WritesBackExactly(record))
        Require(ParseRecordLine(DecodeGbk(written.chopped(2))) == record, "a written record reads back unchanged");
    return 0;
}
