#pragma once

#include <QImage>
#include <QStringList>

// The groups of festivals the today's-tips window has a picture for.
enum class TipsPictureGroup {
    SpringFestival, // 春节, 除夕, 元宵节, 元旦: the 春/福 lanterns
    MidAutumn,      // 中秋节, 七夕节: the full moon over clouds and osmanthus
    National,       // national, Party, army, youth and labour days, returns: the national flag
    Christmas,      // 圣诞节: the Christmas tree
    Family,         // love, women, mothers, fathers, children, teachers: heart balloons
    Nature,         // trees, water, earth, climate, animals, food: a tree on a green hill
    Health,         // health and care days: a heart with a white cross and a pulse
    World,          // the other international and memorial days: the globe in a laurel wreath
    Traditional,    // the other lunar days: the lanterns
};

// The group whose picture suits a day's festival entries (" ★name" lunar,
// " ☆name" Gregorian): of several, the one listed first above. A name
// outside every group counts as Traditional when lunar, World when Gregorian.
TipsPictureGroup TipsPictureGroupOf(const QStringList &entries);

// The picture of a group, on a transparent ground: the lanterns 120 × 150,
// the first frames of the main window's flag and moon animations 120 × 90,
// the Christmas tree 80 × 100, the other pictures 120 × 150.
QImage TipsPicture(TipsPictureGroup group);
