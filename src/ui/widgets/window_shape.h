#pragma once

#include <QImage>
#include <QRegion>

// The outline of a borderless window, cut from its background picture: each
// row of the picture but the last becomes one-pixel-high rectangles over its
// runs of non-white pixels. A run that reaches the right edge stops one pixel
// short of it. White is read at the picture's own depth: 15/16 bits, 24 bits
// or 32 bits per pixel; any other depth cannot be read.
enum class ShapeStatus { Shaped, NoOpaquePixel, UnsupportedDepth };

struct WindowOutline {
    ShapeStatus status = ShapeStatus::NoOpaquePixel;
    QRegion region;
};

WindowOutline ShapeWindowFromBitmap(const QImage &picture);

// The picture as the display holds it at `depth` bits per pixel: 15 and 16
// give 16-bit words, 24 three bytes, 32 one 32-bit value; other depths give
// an 8-bit or 1-bit picture, which the outline refuses.
QImage PictureAtScreenDepth(const QImage &picture, int depth);
