#pragma once

#include <QImage>
#include <QRect>

#include <vector>

// The pictures of the casting window.

inline constexpr int CastingBackgroundWidth = 600;
inline constexpr int CastingBackgroundHeight = 440;

// Where the casting window's background offers room for the controls, in
// pixels of the background.
struct CastingLayout {
    QRect banner;      // the title plaque standing on the top edge; the banner picture is it
    QRect tray;        // the bamboo tray: stalk animation, heap counters, lamp, change message
    QRect entryPanel;  // paper panel: name, matter, speed
    QRect valuePanel;  // paper panel: the two value rows, changing lines, progress
    QRect quotePanel;  // paper strip along the bottom: the quotations and the commands
    QRect closeButton; // the close picture's place, on the upper right of the frame
};
const CastingLayout &CastingBackgroundLayout();

// The shaping picture: a red lacquer tray with a title plaque, gold meander
// border, a bamboo mat and paper panels. Pure white (#FFFFFF) exactly
// outside its outline and nowhere inside, so the window is cut from it.
QImage CastingBackgroundPicture();

// The title plaque with 推演卦体 in gold, the size of `banner`.
QImage CastingBannerPicture();

// The ten frames of the stalk animation, 76 × 76 each: the bundle is
// divided in two, one stalk is hung, each heap is counted off by fours and
// its remainder laid aside, then the stalks are gathered again.
inline constexpr int StalkFrameSize = 76;
inline constexpr int StalkFrameCount = 10;
std::vector<QImage> StalkAnimationFrames();

// The status lamp, 15 × 15, in the order of its picture group.
enum class LampColour { Grey, Yellow, Red, Green };
inline constexpr int LampSize = 15;
QImage LampPicture(LampColour colour);

// Round lacquer buttons, 22 × 22: slower (minus), faster (plus), close
// (cross) and finish (check mark on jade).
inline constexpr int RoundButtonSize = 22;
QImage SlowerButtonPicture();
QImage FasterButtonPicture();
QImage CastingCloseButtonPicture();
QImage CastingFinishButtonPicture();
