#include "ui/widgets/window_shape.h"

#include <cstring>
#include <functional>

namespace {

using PixelTest = std::function<bool(const uchar *row, int x)>;

bool IsWhite16(const uchar *row, int x)
{
    quint16 word;
    std::memcpy(&word, row + 2 * x, sizeof word);
    return (word & 0x7FFF) == 0x7FFF;
}

bool IsWhite24(const uchar *row, int x)
{
    const uchar *pixel = row + 3 * x;
    return pixel[0] == 0xFF && pixel[1] == 0xFF && pixel[2] == 0xFF;
}

bool IsWhite32(const uchar *row, int x)
{
    quint32 value;
    std::memcpy(&value, row + 4 * x, sizeof value);
    return (value & 0xFFFFFF) == 0xFFFFFF;
}

PixelTest WhiteTestFor(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 15:
    case 16:
        return IsWhite16;
    case 24:
        return IsWhite24;
    case 32:
        return IsWhite32;
    default:
        return {};
    }
}

} // namespace

WindowOutline ShapeWindowFromBitmap(const QImage &picture)
{
    const PixelTest isWhite = WhiteTestFor(picture.depth());
    if (!isWhite)
        return {ShapeStatus::UnsupportedDepth, {}};

    const int width = picture.width();
    QRegion outline;
    for (int y = 0; y + 1 < picture.height(); ++y) {
        const uchar *row = picture.constScanLine(y);
        int x = 0;
        while (x < width) {
            while (x < width && isWhite(row, x))
                ++x;
            const int start = x;
            while (x < width && !isWhite(row, x))
                ++x;
            int end = x;
            if (start < width) {
                if (end >= width)
                    end = width - 1;
                if (end > start)
                    outline += QRect(start, y, end - start, 1);
            }
        }
    }
    if (outline.isEmpty())
        return {ShapeStatus::NoOpaquePixel, {}};
    return {ShapeStatus::Shaped, outline};
}

QImage PictureAtScreenDepth(const QImage &picture, int depth)
{
    switch (depth) {
    case 15:
        return picture.convertToFormat(QImage::Format_RGB555);
    case 16:
        return picture.convertToFormat(QImage::Format_RGB16);
    case 24:
        return picture.convertToFormat(QImage::Format_RGB888);
    case 32:
        return picture.convertToFormat(QImage::Format_RGB32);
    case 1:
        return picture.convertToFormat(QImage::Format_Mono);
    default:
        return picture.convertToFormat(QImage::Format_Indexed8);
    }
}
