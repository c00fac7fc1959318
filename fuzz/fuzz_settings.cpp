// The settings file: whatever is in it, the options read from it are
// written back so that the next run reads the same options.

#include "fuzz_check.h"
#include "shell/settings.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {

Settings ReadFrom(const QByteArray &bytes)
{
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    Settings settings;
    ReadSettings(file, settings);
    return settings;
}

// The writer stores '"' as '“'; every other text comes back as it was.
bool HoldsQuote(const Settings &settings)
{
    return settings.divinerName.contains(u'"');
}

// Far longer than any settings file; keeps the rewritten line, in which an
// invalid byte grows to four, under the length the reader takes.
constexpr size_t LongestInput = 8192;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > LongestInput)
        return 0;
    const Settings first = ReadFrom(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    QBuffer rewritten;
    rewritten.open(QIODevice::WriteOnly);
    Require(WriteSettings(rewritten, first), "settings are written to memory");
    if (!HoldsQuote(first))
        Require(ReadFrom(rewritten.data()) == first, "written settings read back unchanged");
    return 0;
}
