#include "core/lookup.h"

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

void Lookup(CurrentCast &cast, const std::optional<HexagramEntry> &found)
{
    cast.lookupName = found ? found->name : QString();
    cast.lookupNumber = found ? QString::number(found->number) : QString();
    cast.lookupText = found ? found->text : QString();
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

void LookupHexagram(CurrentCast &cast)
{
    Lookup(cast, FindHexagram(cast.lookupLines));
}

void LookupHexagramTranslation(CurrentCast &cast)
{
    Lookup(cast, FindHexagramTranslation(cast.lookupLines));
}
