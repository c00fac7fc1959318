#pragma once

#include <QDebug>

// A colour as the calendar decides it; the windows turn it into a QColor.
struct RgbColour {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend constexpr bool operator==(const RgbColour &, const RgbColour &) = default;
};

// The colours the calendar's tables name.
namespace CalendarColour {
inline constexpr RgbColour DefaultText{64, 64, 64};
inline constexpr RgbColour Red{255, 0, 0};
inline constexpr RgbColour Blue{0, 0, 255};
inline constexpr RgbColour Green{0, 128, 0};
inline constexpr RgbColour Black{0, 0, 0};
}

QDebug operator<<(QDebug debug, const RgbColour &colour);
