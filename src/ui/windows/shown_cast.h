#pragma once

#include <QPixmap>
#include <QString>

#include <array>

// One hexagram as the main window shows it.
struct ShownHexagram {
    QString number;
    QString name;
    QString lines;
    QString text;
    // The pictures of lines 1..6.
    std::array<QPixmap, 6> pictures;
};

// Everything the main window shows of the cast, as a print layout copies it.
struct ShownCast {
    QString divinerName;
    QString castTime;
    QString matterText;
    ShownHexagram primary;
    ShownHexagram resulting;
    bool resultingShown = false;
    // The position names of lines 1..6: 初 … 上.
    std::array<QString, 6> linePositions;
    QString ruleText;
};
