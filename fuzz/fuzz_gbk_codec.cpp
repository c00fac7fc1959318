// The GB18030 decoder that reads every record and settings file.

#include "fileformat/gbk_codec.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = DecodeGbk(bytes);
    Require(text.isValidUtf16(), "decoded text holds no lone surrogate");
    // The end of the input is decoded like any other place: a sequence cut
    // off there is not dropped.
    Require(DecodeGbk(bytes + '\n') == text + u'\n', "text decodes the same with a line end after it");
    // What was read, including the replacement characters of invalid bytes,
    // is written and read again without change.
    const QByteArray encoded = EncodeGb18030(text);
    Require(DecodeGbk(encoded) == text, "decoded text survives writing and reading");
    if (IsGbkEncodable(text))
        Require(!encoded.isEmpty() || text.isEmpty(), "encodable text encodes to bytes");
    return 0;
}
