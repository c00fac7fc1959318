#include "ui/art/program_icon_art.h"

#include <QColor>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Bottom line first: 既济 alternates yang and yin, starting with yang.
constexpr std::array<bool, 6> HexagramLines{true, false, true, false, true, false};

constexpr QRgb SealTop = qRgb(0xcf, 0x3b, 0x2f);
constexpr QRgb SealBottom = qRgb(0x8a, 0x1c, 0x17);
constexpr QRgb Cream = qRgb(0xf7, 0xe6, 0xbf);

// Below this size the inner frame would blur into the lines.
constexpr int SmallestFramedSize = 48;

int Scaled(int size, double fraction)
{
    return std::max(1, int(std::lround(size * fraction)));
}

void DrawSeal(QPainter &painter, int size)
{
    const double inset = size / 32.0;
    const QRectF body(inset, inset, size - 2 * inset, size - 2 * inset);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, QColor(SealTop));
    fill.setColorAt(1, QColor(SealBottom));
    QPainterPath outline;
    outline.addRoundedRect(body, size * 0.19, size * 0.19);
    painter.fillPath(outline, fill);

    if (size < SmallestFramedSize)
        return;
    QColor frameColour(Cream);
    frameColour.setAlpha(190);
    const double frameInset = size * 0.11;
    painter.setPen(QPen(frameColour, size / 48.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(frameInset, frameInset, size - 2 * frameInset, size - 2 * frameInset),
                            size * 0.11, size * 0.11);
}

void DrawHexagram(QPainter &painter, int size)
{
    const bool small = size < SmallestFramedSize;
    const int width = Scaled(size, small ? 0.66 : 0.52);
    const int thickness = Scaled(size, 0.066);
    const int spacing = Scaled(size, small ? 0.05 : 0.052);
    // The gap takes the parity of the width so both halves of a yin line match.
    const int yinGap = Scaled(width, 0.2) + (width - Scaled(width, 0.2)) % 2;
    const int height = 6 * thickness + 5 * spacing;
    const int left = (size - width) / 2;
    const int top = (size - height) / 2;
    const int halfWidth = (width - yinGap) / 2;

    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int line = 0; line < 6; ++line) {
        // Line 1 lies at the bottom.
        const int y = top + (5 - line) * (thickness + spacing);
        if (HexagramLines[line]) {
            painter.fillRect(left, y, width, thickness, QColor(Cream));
        } else {
            painter.fillRect(left, y, halfWidth, thickness, QColor(Cream));
            painter.fillRect(left + width - halfWidth, y, halfWidth, thickness, QColor(Cream));
        }
    }
}

} // namespace

QImage ProgramIconPicture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSeal(painter, size);
    DrawHexagram(painter, size);
    return image;
}

QIcon ProgramIcon(const QString &themeName)
{
    QIcon drawn;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        drawn.addPixmap(QPixmap::fromImage(ProgramIconPicture(size)));
    return QIcon::fromTheme(themeName, drawn);
}
