#pragma once

#include <QString>
#include <QStringView>

// The two read-only tables of the text corpus, indexed by hexagram number
// 1..64. Entries use CR LF between lines. A number outside 1..64 gives an
// empty text.
QString HexagramText(int number);
QString HexagramTranslation(int number);

// Classical title of line 1..6 for the given line string: "初九", "六二" …
// "上六". Empty when the line string has no '0' or '1' at that position.
QString LineLabel(QStringView lines, int line);

// 1 → "一", 10 → "十", 14 → "十四", 20 → "二十", 64 → "六十四"; empty outside 1..64.
QString ChineseNumeral(int number);
