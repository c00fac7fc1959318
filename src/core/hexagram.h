#pragma once

#include <QString>
#include <QStringView>

#include <array>

// One row of the King Wen table: number 1..64, name, line string.
// A line string holds six characters '1' (yang) or '0' (yin), bottom line first.
struct HexagramRow {
    int number;
    const char16_t *name;
    const char16_t *lines;
};

inline constexpr int HexagramCount = 64;
inline constexpr int LinesPerHexagram = 6;

const std::array<HexagramRow, HexagramCount> &HexagramTable();

// Number of the hexagram whose line string equals `lines` exactly, or 0.
int HexagramNumberOf(QStringView lines);
// Name of hexagram 1..64, empty for any other number.
QString HexagramNameOf(int number);
// Line string of hexagram 1..64, empty for any other number.
QString HexagramLinesOf(int number);
// "1" becomes "0" and "0" becomes "1"; any other character is returned unchanged.
QChar FlipLineCharacter(QChar line);

// The line model: a cast gives each line one of the values 6, 7, 8, 9.
bool IsLineValue(int value);
bool IsChangingLine(int value);
// 6 becomes 9, 9 becomes 6, 7 and 8 stay.
int ChangedLineValue(int value);
QChar PrimaryLineCharacter(int value);
QChar ResultingLineCharacter(int value);

// Picture codes of a line: "1" and "0" for stable lines, the doubled codes
// "11" and "00" for the red pictures of a line taking part in a change.
struct LinePictureCodes {
    QString primary;
    QString resulting;
};
LinePictureCodes LinePicturesOf(int value);

struct CastLineStrings {
    QString primary;
    QString resulting;
};
// Builds both line strings from line values, bottom line first.
CastLineStrings BuildLineStrings(const std::array<int, LinesPerHexagram> &values);

// On-screen position names of line 1..6: "初" … "上" and "初爻" … "上爻".
QString LinePositionName(int line);
QString LinePositionWord(int line);
