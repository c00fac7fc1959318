#pragma once

#include <QRect>

// Window layouts are given in twips (1/1440 inch). On a 96 dpi screen a
// pixel is 15 twips; odd values round to the nearest pixel.
inline constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr QPoint TwipsPoint(int left, int top)
{
    return {TwipsToPixels(left), TwipsToPixels(top)};
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}
