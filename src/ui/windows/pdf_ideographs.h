#pragma once

#include <QByteArray>

// Qt's PDF writer names each glyph, in the font's ToUnicode map, by the
// lowest code point the font draws with it. Noto CJK draws many ideographs
// with the glyph of a Kangxi or supplement radical (行 and ⾏, 龙 and ⻰),
// so the text of such a PDF reads back with radicals. This program never
// prints a radical: `pdf` is returned with every radical in those maps named
// as the ideograph it stands for, added as an incremental update, so the
// page itself is unchanged. A PDF with nothing to rename, or one this does
// not understand, is returned as it is.
QByteArray WithIdeographsForRadicals(const QByteArray &pdf);
