#pragma once

#include "core/hexagram.h"

#include <QString>
#include <QStringView>

#include <array>

// The picture codes of both hexagrams of a cast, line 1 first.
struct ChangedLinePictures {
    std::array<QString, LinesPerHexagram> primary;
    std::array<QString, LinesPerHexagram> resulting;

    bool operator==(const ChangedLinePictures &) const = default;
};

// Derives the picture codes from the two line strings alone: a line whose
// character differs between them is a changing line and gets the doubled
// (red) code in both hexagrams. An empty resulting string gives no resulting
// codes, and any position holding something other than "1" or "0" gets an
// empty code, so a damaged stored line string never picks a picture.
ChangedLinePictures ChangedLinePicturesOf(QStringView primaryLines, QStringView resultingLines);
