#pragma once

#include "core/hexagram.h"

#include <QString>

#include <array>

// The one record of the cast in hand. The casting engine and manual entry fill
// it, the resolution completes it, the record writer stores it, and the
// translation viewer and print layouts read it. Lines are numbered 1 (bottom)
// to 6 (top); index 0 of the arrays is line 1.
struct CurrentCast {
    // Stalk counters, used while casting.
    int stalksInPlay = 0;
    int leftPile = 0;
    int hungStalk = 0;
    int rightPile = 0;

    // Line results: 6, 7, 8 or 9 once cast, 0 before.
    std::array<int, LinesPerHexagram> lineValue{};
    std::array<int, LinesPerHexagram> changedLineValue{};

    // The cast itself.
    int changingLineCount = 0;
    QString primaryLines;
    QString resultingLines;
    QString divinerName;
    QString matterText;
    QString castTime;
    int castingSpeed = 0;

    // Fields kept for the record line. The three resulting-hexagram fields
    // are refreshed only by a cast with changing lines and are read only
    // together with changingLineCount > 0.
    QString recordPrimaryNumber;
    QString recordPrimaryLines;
    QString recordPrimaryName;
    QString recordResultingNumber;
    QString recordResultingLines;
    QString recordResultingName;
};
