#pragma once

#include "core/resolution.h"

#include <QString>

// What a screen reader reads of a shown cast, as text: the pictures of the
// main window's cast frames put into words.

// "本卦 乾，六爻：阳阳阳阳阳阳，变爻：九三": the frame's caption, the
// hexagram's name, its lines from the bottom up as 阳 and 阴 and, when
// `withChangingLines`, its changing lines by their names (初九, 六二 … 上六)
// or "无变爻".
QString SpokenHexagram(const QString &caption, const HexagramView &hexagram, bool withChangingLines);

// "成卦时间：…，姓名：…，占筮事由：…，变爻推论规则：…".
QString SpokenCastDetails(const CastResolution &cast);
