// The settings file: whatever is in it, the options read from it are
// written back so that the next run reads the same options.

#include "core/current_cast.h"
#include "fuzz_check.h"
#include "shell/settings.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {

struct ReadOptions {
    Settings settings;
    QString divinerName;
    int castingSpeed = 0;

    bool operator==(const ReadOptions &) const = default;
};

ReadOptions ReadFrom(const QByteArray &bytes)
{
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    ReadOptions options;
    CurrentCast cast;
    ReadSettings(file, options.settings, cast);
    options.divinerName = cast.divinerName;
    options.castingSpeed = cast.castingSpeed;
    return options;
}

// The writer stores '"' as '“'; every other text comes back as it was.
bool HoldsQuote(const ReadOptions &options)
{
    return options.divinerName.contains(u'"');
}

// Far longer than any settings file; keeps the rewritten line, in which an
// invalid byte grows to four, under the length the reader takes.
constexpr size_t LongestInput = 8192;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > LongestInput)
        return 0;
    const ReadOptions first = ReadFrom(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    QBuffer rewritten;
    rewritten.open(QIODevice::WriteOnly);
    CurrentCast cast;
    cast.divinerName = first.divinerName;
    cast.castingSpeed = first.castingSpeed;
    Require(WriteSettings(rewritten, first.settings, cast), "settings are written to memory");
    if (!HoldsQuote(first))
        Require(ReadFrom(rewritten.data()) == first, "written settings read back unchanged");
    return 0;
}
