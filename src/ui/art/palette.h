#pragma once

#include <QColor>

// The program's one palette: the colours its drawn pictures and its windows
// share, red lacquer, gold, paper and ink.
namespace ArtPalette {
inline const QColor LacquerDark{0x5E, 0x10, 0x10};
inline const QColor Lacquer{0x8E, 0x1B, 0x1B};
inline const QColor Vermilion{0xC8, 0x2A, 0x22};
inline const QColor GoldDark{0x9A, 0x70, 0x1E};
inline const QColor Gold{0xD4, 0xA4, 0x37};
inline const QColor GoldLight{0xF4, 0xD9, 0x85};
inline const QColor Paper{0xF6, 0xEC, 0xD2};
inline const QColor PaperDark{0xE6, 0xD3, 0xA8};
inline const QColor Ink{0x2A, 0x1C, 0x14};
inline const QColor Jade{0x2E, 0x7D, 0x5B};
inline const QColor NightBlue{0x17, 0x22, 0x45};
inline const QColor InkSoft{0x5B, 0x4A, 0x3C};
inline const QColor SealRed{0xB0, 0x24, 0x1C};
// Captions beside fields, and headings and counters in the panels' red.
inline const QColor Caption{0x6E, 0x3A, 0x20};
inline const QColor Heading{0xA0, 0x1E, 0x16};
inline const QColor Ivory{0xFB, 0xF5, 0xE6};
// Text on the main window's parchment, the red of its badges and rule, the
// grey face of a hexagram's name, the blue-grey of its about link, and the
// bronze of the splash window's version.
inline const QColor WindowInk{0x2B, 0x22, 0x1C};
inline const QColor Cinnabar{0xA0, 0x2A, 0x1A};
inline const QColor NameGrey{0x80, 0x80, 0x80};
inline const QColor LinkLavender{0x80, 0x80, 0xC0};
inline const QColor Bronze{0x8C, 0x5A, 0x30};
} // namespace ArtPalette
