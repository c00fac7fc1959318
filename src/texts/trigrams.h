#pragma once

#include <QString>

#include <array>

// One of the eight trigrams with its classical attributes.
// `lines` holds three characters '1' (yang) or '0' (yin), bottom line first.
struct TrigramRow {
    const char16_t *name;
    const char16_t *lines;
    const char16_t *nature;   // its image in nature
    const char16_t *family;   // its family member
    const char16_t *animal;
    const char16_t *body;     // its part of the body
    const char16_t *quality;
    const char16_t *element;  // its element of the five phases
    const char16_t *lineEnd;  // what follows the element on its line of the reference text
};

inline constexpr int TrigramCount = 8;
inline constexpr int LinesPerTrigram = 3;

// The eight trigrams in the order of the reference text: 乾 坤 震 巽 坎 离 艮 兑.
const std::array<TrigramRow, TrigramCount> &TrigramTable();

// The row of the trigram with that name, or nullptr.
const TrigramRow *TrigramNamed(QStringView name);

// One line of the reference text: "乾：天、父　、马、首、健、金". A one-character
// family member is followed by an ideographic space so the columns line up.
QString TrigramAttributeLine(const TrigramRow &row);

// The whole reference text: every line followed by an empty line, each line
// ending with CR LF.
QString TrigramAttributeText();

// A classical arrangement of the trigrams around a circle: its caption and
// the trigram names clockwise from the top (south).
struct TrigramArrangement {
    const char16_t *caption;
    std::array<const char16_t *, TrigramCount> clockwiseFromTop;
};

const TrigramArrangement &EarlierHeavenArrangement(); // 先天八卦图
const TrigramArrangement &LaterHeavenArrangement();   // 后天八卦图

// The compass words at the top, right, bottom and left of both arrangements:
// south is at the top.
const std::array<const char16_t *, 4> &ArrangementCompassWords();
