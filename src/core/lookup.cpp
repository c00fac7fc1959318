#include "core/lookup.h"

#include "texts/hexagram_texts.h"

namespace {

using EntryOf = QString (*)(int number);

void Lookup(CurrentCast &cast, EntryOf entryOf)
{
    cast.lookupName.clear();
    cast.lookupNumber.clear();
    cast.lookupText.clear();
    const int number = HexagramNumberOf(cast.lookupLines);
    if (number == 0)
        return;
    cast.lookupName = HexagramNameOf(number);
    cast.lookupNumber = QString::number(number);
    cast.lookupText = entryOf(number);
}

} // namespace

void LookupHexagram(CurrentCast &cast)
{
    Lookup(cast, HexagramText);
}

void LookupHexagramTranslation(CurrentCast &cast)
{
    Lookup(cast, HexagramTranslation);
}
