// One stored record line: decoded from GBK, split into its fields and written
// back. The line arrives as the file reader hands it over: without its line
// end (CR or LF).

#include "fileformat/gbk_codec.h"
#include "fuzz_check.h"
#include "record_round_trip.h"
#include "records/divination_record.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray line = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto lineEnd = std::find_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; });
    line.truncate(lineEnd - line.begin());

    const DivinationRecord record = ParseRecordLine(DecodeGbk(line));
    const QByteArray written = FormatRecordLine(record);
    Require(written.endsWith("\r\n") && written.count('\n') == 1 && written.count('\r') == 1,
            "a record is written as exactly one line");
    if (WritesBackExactly(record))
        Require(ParseRecordLine(DecodeGbk(written.chopped(2))) == record, "a written record reads back unchanged");
    return 0;
}
