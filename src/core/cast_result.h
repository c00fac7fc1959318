#pragma once

#include "core/hexagram.h"

#include <QString>

#include <array>

class QDebug;

// A finished cast as a value: what the casting engine, manual entry or a
// recalled record hands to the resolution and to the translation commands.
// Lines are numbered 1 (bottom) to 6 (top); index 0 is line 1.
struct CastResult {
    // 6, 7, 8 or 9 for a cast by stalks; 0 where a cast has no values
    // (manual entry, a recalled record).
    std::array<int, LinesPerHexagram> lineValues{};
    QString primaryLines;
    QString resultingLines;
    QString castTime;
    QString divinerName;
    QString matterText;

    friend bool operator==(const CastResult &, const CastResult &) = default;
};

// The lines whose character differs between the two line strings: the
// changing lines of the cast.
int ChangingLineCount(const CastResult &cast);

QDebug operator<<(QDebug debug, const CastResult &cast);
