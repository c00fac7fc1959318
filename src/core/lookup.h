#pragma once

#include <QString>

#include <optional>

// One hexagram found by its line string: its number (1..64), name, lines and
// text (the classical entry or its translation).
struct HexagramEntry {
    int number = 0;
    QString name;
    QString lines;
    QString text;

    bool operator==(const HexagramEntry &) const = default;
};

// The hexagram of a six-character string of '1' (yang) and '0' (yin), bottom
// line first, with its classical entry or its translation; nothing for any
// other string.
std::optional<HexagramEntry> FindHexagram(const QString &lines);
std::optional<HexagramEntry> FindHexagramTranslation(const QString &lines);
