#pragma once

#include "core/cast_result.h"
#include "core/divination_record.h"

#include <QString>

#include <array>

// One hexagram as the main window shows it.
struct HexagramView {
    QString number;
    QString name;
    QString lines;
    QString text;
    // Picture codes of lines 1..6: "1", "0", or "11", "00" for a line that
    // takes part in a change.
    std::array<QString, LinesPerHexagram> pictures;

    bool operator==(const HexagramView &) const = default;
};

// The number, name, lines and classical text of the hexagram of `lines`;
// number, name and text are empty when the string names none. The pictures
// are left to the caller.
HexagramView HexagramViewOf(const QString &lines);

// Everything the main window shows of a resolved cast.
struct CastResolution {
    HexagramView primary;
    // The line string and pictures are always filled; number, name and text
    // only when a line changes.
    HexagramView resulting;
    // The resulting hexagram's frame is shown only when a line changes.
    bool resultingShown = false;
    int changingLineCount = 0;
    // "变k爻" or "未变爻".
    QString changingLineField;
    QString ruleText;
    int ruleHelpTopic = 0;
    QString castTime;
    QString divinerName;
    QString matterText;

    bool operator==(const CastResolution &) const = default;
};

// What a finished cast comes to: what the main window shows and the record
// to append. Appending is left to the caller, after the result is shown.
struct ResolvedCast {
    CastResolution resolution;
    DivinationRecord record;

    bool operator==(const ResolvedCast &) const = default;
};

// Resolves a finished cast, by stalks or entered by hand: looks up the
// resulting hexagram (when lines change) and the primary one, and builds the
// record. Without changing lines the record's resulting-hexagram fields are
// empty and the resulting hexagram is not shown.
ResolvedCast ResolveCast(const CastResult &cast);
