#pragma once

#include <QRect>

// Where things sit on the main window. The background picture draws its
// bands and rules at these places and the window puts its controls on them.
namespace MainLayout {
inline constexpr int Width = 642;
inline constexpr int Height = 464;
inline constexpr int OuterRadius = 22;
inline constexpr int Border = 12;
inline constexpr int HeaderHeight = 44;

// The parchment panel inside the lacquer frame.
inline constexpr QRect Panel{Border, HeaderHeight, Width - 2 * Border, Height - HeaderHeight - Border};

// The command bar: eight picture buttons between two ornamental rules.
inline constexpr int CommandBarTop = 330;
inline constexpr int CommandButtonWidth = 64;
inline constexpr int CommandButtonHeight = 52;
inline constexpr int CommandButtonGap = 10;
inline constexpr int CommandBarLeft = 30;
inline constexpr int UpperRuleY = 323;
inline constexpr int LowerRuleY = 390;

// The footer lines below the command bar.
inline constexpr int FooterRow1 = 396;
inline constexpr int FooterRow2 = 420;

// The two decorative pictures of the idle view drop by the banner's height
// when the banner is switched off.
inline constexpr int BannerHeight = 23;
inline constexpr int TrigramWheelTop = 82;
inline constexpr int LandscapeScrollTop = 99;
} // namespace MainLayout
