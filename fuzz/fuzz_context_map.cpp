// The context map and "#SYSTEM" record of a compiled help file, and the
// resolution of their topic paths to the file's entries. The input is a
// 32-bit little-endian length, that many bytes of "#IVB", and "#STRINGS";
// the whole input also serves as "#SYSTEM".

#include "fuzz_check.h"
#include "shell/help_file.h"

#include <QtEndian>

#include <cstddef>
#include <cstdint>

namespace {

// A resolved topic is an entry of the file, optionally followed by an
// "#anchor".
bool NamesAnEntry(const HelpFile &file, const QString &topic)
{
    if (topic.isEmpty() || file.Contains(topic))
        return true;
    for (qsizetype hash = topic.indexOf(u'#'); hash >= 0; hash = topic.indexOf(u'#', hash + 1))
        if (file.Contains(topic.left(hash)))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype ivbLength = qsizetype(qMin<quint32>(qFromLittleEndian<quint32>(data), quint32(size - 4)));
    const QByteArray ivb = input.mid(4, ivbLength);
    const QByteArray strings = input.mid(4 + ivbLength);

    const QHash<int, QString> map = ParseContextMap(ivb, strings);
    Require(map.size() <= qMax<qsizetype>(ivb.size() - 4, 0) / 8, "no more topics than pairs in the map");

    const HelpFile file({{QStringLiteral("/#IVB"), ivb},
                         {QStringLiteral("/#STRINGS"), strings},
                         {QStringLiteral("/#SYSTEM"), input},
                         {QStringLiteral("/index.htm"), "index"},
                         {QStringLiteral("/html/rule0.htm"), "rule"}});
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        Require(NamesAnEntry(file, file.Topic(entry.key())), "a context number opens an entry of the file");
    Require(NamesAnEntry(file, file.DefaultTopic()), "the default topic is an entry of the file");
    return 0;
}
