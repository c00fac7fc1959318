#pragma once

#include <QFont>

// Classical texts and big names are set in a serif face, everything else in
// a sans face. Both are asked for by name: a generic family falls back to a
// Latin-only face on Linux and shows Chinese as boxes.
QFont SerifFont(int pixelSize, QFont::Weight weight = QFont::Normal);
QFont SansFont(int pixelSize, QFont::Weight weight = QFont::Normal);
