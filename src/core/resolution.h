#pragma once

#include "core/current_cast.h"

#include <QDateTime>
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

// Resolves a finished cast by stalks: looks up the resulting hexagram (when
// lines change) and the primary one, fills the record fields and sets
// castTime from `now`.
// The resulting-hexagram record fields keep their earlier values when no line
// changes; they are then neither shown nor written. Appending the record is
// left to the caller, after the result is shown.
CastResolution ResolveCast(CurrentCast &cast, const QDateTime &now);
