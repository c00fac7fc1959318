#pragma once

#include <QImage>
#include <QRect>

#include <vector>

// The festival decorations of the main window. Badges and animations lie on
// a transparent ground so they sit on the window's parchment; the New Year
// banner is a panel of its own on the banner's navy.

// A looping animation: its frames, all of one size, and the time each shows.
struct FestivalAnimation {
    std::vector<QImage> frames;
    int frameIntervalMs;
};

// The New Year banner, 457 × 320 on navy RGB(0, 0, 120): gold frame,
// red lanterns, plum blossom, stars. The places below are left clear for the
// banner's labels and its fireworks.
inline constexpr int NewYearBannerWidth = 457;
inline constexpr int NewYearBannerHeight = 320;
struct NewYearBannerLayout {
    QRect fireworks;
    QRect greeting; // "新年好!"
    QRect year;
    QRect stars;
    QRect english; // "Happy New Year"
};
const NewYearBannerLayout &NewYearBannerPlaces();
QImage NewYearBannerPicture();

// Bursts of fireworks, 160 × 110.
FestivalAnimation NewYearFireworksAnimation();

// The Youth Day badge, 72 × 72: 五四 on a red medallion with a star.
QImage YouthDayBadgePicture();

// The Army Day badge, 80 × 80: a red star edged in gold with 八一.
QImage ArmyDayBadgePicture();

// A red flag with hammer and sickle waving on its pole, 120 × 90.
FestivalAnimation PartyAnniversaryAnimation();

// The national flag waving on its pole, 120 × 90.
FestivalAnimation NationalDayAnimation();

// The full moon over drifting clouds and osmanthus, 120 × 90.
FestivalAnimation MidAutumnAnimation();

// A Christmas tree with twinkling lights, 80 × 100.
FestivalAnimation ChristmasTreeAnimation();
// Two swinging bells with a red bow, 80 × 100.
FestivalAnimation ChristmasBellsAnimation();

// A New Year print of a carp leaping among lotus (莲年有余), 300 × 170.
QImage LotusCarpPicture();
// A pair of red lanterns, 120 × 150.
QImage LanternPairPicture();
// 福 on a red diamond, 120 × 120.
QImage FortuneDiamondPicture();
