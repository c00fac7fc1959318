#include "core/lookup.h"

#include "core/hexagram.h"
#include "texts/hexagram_texts.h"

namespace {

using EntryOf = QString (*)(int number);

std::optional<HexagramEntry> Find(const QString &lines, EntryOf entryOf)
{
    const int number = HexagramNumberOf(lines);
    if (number == 0)
        return std::nullopt;
    return HexagramEntry{number, HexagramNameOf(number), lines, entryOf(number)};
}

} // namespace

std::optional<HexagramEntry> FindHexagram(const QString &lines)
{
    return Find(lines, HexagramText);
}

std::optional<HexagramEntry> FindHexagramTranslation(const QString &lines)
{
    return Find(lines, HexagramTranslation);
}
