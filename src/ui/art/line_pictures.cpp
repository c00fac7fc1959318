#include "ui/art/line_pictures.h"

#include <QColor>

#include <array>

namespace {

constexpr int LineWidth = 64;
constexpr int LineHeight = 5;
constexpr int BarWidth = 23;
constexpr int GapWidth = 18;

struct LinePictureRow {
    const char16_t *code;
    bool broken;
    QRgb colour;
};

constexpr QRgb Black = 0xFF000000;
constexpr QRgb ChangeRed = 0xFFF80000;

constexpr std::array<LinePictureRow, 4> LinePictureRows{{
    {u"1", false, Black},
    {u"0", true, Black},
    {u"11", false, ChangeRed},
    {u"00", true, ChangeRed},
}};

QImage DrawLine(bool broken, QRgb colour)
{
    QImage image(LineWidth, LineHeight, QImage::Format_ARGB32);
    image.fill(colour);
    if (broken) {
        const int gapStart = BarWidth;
        for (int y = 0; y < LineHeight; ++y)
            for (int x = gapStart; x < gapStart + GapWidth; ++x)
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    }
    return image;
}

} // namespace

QImage LinePicture(QStringView code)
{
    for (const LinePictureRow &row : LinePictureRows) {
        if (code == QStringView(row.code))
            return DrawLine(row.broken, row.colour);
    }
    return {};
}
