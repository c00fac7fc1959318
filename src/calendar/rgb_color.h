#pragma once

#include <QDebug>

// A colour as the calendar decides it; the windows turn it into a QColor.
struct RgbColor {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend constexpr bool operator==(const RgbColor &, const RgbColor &) = default;
};

inline constexpr RgbColor DefaultTextColor{64, 64, 64};
inline constexpr RgbColor Red{255, 0, 0};
inline constexpr RgbColor Blue{0, 0, 255};
inline constexpr RgbColor Green{0, 128, 0};
inline constexpr RgbColor Black{0, 0, 0};

QDebug operator<<(QDebug debug, const RgbColor &color);
