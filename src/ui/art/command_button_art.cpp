#include "ui/art/command_button_art.h"

#include "ui/art/fonts.h"
#include "ui/art/panel_kit.h"

#include <QPainterPath>

#include <array>
#include <cmath>

namespace {

constexpr int Width = 64;
constexpr int Height = 52;

// Each icon is drawn in a 24 x 24 box with its origin at the box's top-left.
using IconPainter = void (*)(QPainter &, const QColor &);

QPen IconPen(const QColor &colour, qreal width = 1.6)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A bundle of yarrow stalks, fanned and tied.
void PaintCastIcon(QPainter &painter, const QColor &colour)
{
    painter.setPen(IconPen(colour, 1.3));
    for (int i = -3; i <= 3; ++i) {
        const qreal spread = i * 2.2;
        painter.drawLine(QPointF(12 + i * 0.6, 22), QPointF(12 + spread, 2 + std::abs(i) * 0.8));
    }
    painter.setPen(IconPen(colour, 2.4));
    painter.drawLine(QPointF(8.5, 16), QPointF(15.5, 16));
}

// A writing brush over a broken and an unbroken line.
void PaintManualEntryIcon(QPainter &painter, const QColor &colour)
{
    painter.setPen(IconPen(colour, 2.2));
    painter.drawLine(QPointF(1, 15), QPointF(9, 15));
    painter.drawLine(QPointF(1, 21), QPointF(3.5, 21));
    painter.drawLine(QPointF(6.5, 21), QPointF(9, 21));
    painter.setPen(IconPen(colour, 2.0));
    painter.drawLine(QPointF(22, 2), QPointF(14, 14));
    QPainterPath tip;
    tip.moveTo(14.8, 12.2);
    tip.cubicTo(QPointF(16.5, 15), QPointF(13, 20), QPointF(11, 22));
    tip.cubicTo(QPointF(11, 19), QPointF(11.2, 15.5), QPointF(12.6, 12.6));
    tip.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(tip);
}

// A thread-bound book with its title slip.
void PaintRecordsIcon(QPainter &painter, const QColor &colour)
{
    painter.setPen(IconPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(3, 2, 18, 20), 1.5, 1.5);
    for (int i = 0; i < 4; ++i)
        painter.drawPoint(QPointF(6, 5.5 + i * 4.5));
    painter.drawRect(QRectF(13, 4.5, 5, 11));
}

// The trigram 乾 inside an octagon.
void PaintTrigramsIcon(QPainter &painter, const QColor &colour)
{
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = M_PI / 8 + i * M_PI / 4;
        octagon << QPointF(12 + 11 * std::cos(angle), 12 + 11 * std::sin(angle));
    }
    painter.setPen(IconPen(colour, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(octagon);
    painter.setPen(IconPen(colour, 2.2));
    for (int i = 0; i < 3; ++i)
        painter.drawLine(QPointF(7, 8 + i * 4), QPointF(17, 8 + i * 4));
}

// A printer with a sheet coming out.
void PaintPrintIcon(QPainter &painter, const QColor &colour)
{
    painter.setPen(IconPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(6.5, 2, 11, 6));
    painter.drawRoundedRect(QRectF(2, 8, 20, 9), 2, 2);
    painter.drawRect(QRectF(6.5, 14, 11, 8));
    painter.drawLine(QPointF(9, 17.5), QPointF(15, 17.5));
    painter.drawLine(QPointF(9, 20), QPointF(13, 20));
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(18.5, 11), 0.8, 0.8);
}

// A calendar page with its rings and a grid of days.
void PaintCalendarIcon(QPainter &painter, const QColor &colour)
{
    painter.setPen(IconPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(2.5, 4.5, 19, 17), 2, 2);
    painter.drawLine(QPointF(2.5, 9), QPointF(21.5, 9));
    painter.drawLine(QPointF(7, 2), QPointF(7, 6.5));
    painter.drawLine(QPointF(17, 2), QPointF(17, 6.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            painter.drawRect(QRectF(5 + column * 4, 11.5 + row * 3.3, 2, 2));
}

// A question mark in a ring.
void PaintHelpIcon(QPainter &painter, const QColor &colour)
{
    painter.setPen(IconPen(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    QPainterPath mark;
    mark.moveTo(8.3, 9);
    mark.cubicTo(QPointF(8.3, 5), QPointF(15.7, 5), QPointF(15.7, 9));
    mark.cubicTo(QPointF(15.7, 11.5), QPointF(12, 12), QPointF(12, 15));
    painter.setPen(IconPen(colour, 2.0));
    painter.drawPath(mark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(12, 18.3), 1.3, 1.3);
}

// A gear wheel.
void PaintOptionsIcon(QPainter &painter, const QColor &colour)
{
    QPainterPath gear;
    constexpr int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal radius = (i % 2 == 0) ? 11 : 8.2;
        const qreal start = i * M_PI / teeth - M_PI / (teeth * 2.6);
        const qreal end = i * M_PI / teeth + M_PI / (teeth * 2.6);
        const QPointF a(12 + radius * std::cos(start), 12 + radius * std::sin(start));
        const QPointF b(12 + radius * std::cos(end), 12 + radius * std::sin(end));
        if (i == 0)
            gear.moveTo(a);
        else
            gear.lineTo(a);
        gear.lineTo(b);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(12, 12), 3.6, 3.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(gear.subtracted(hole));
}

struct IconRow {
    CommandIcon icon;
    IconPainter paint;
};

constexpr std::array<IconRow, 8> IconRows{{
    {CommandIcon::Cast, PaintCastIcon},
    {CommandIcon::ManualEntry, PaintManualEntryIcon},
    {CommandIcon::Records, PaintRecordsIcon},
    {CommandIcon::Trigrams, PaintTrigramsIcon},
    {CommandIcon::Print, PaintPrintIcon},
    {CommandIcon::Calendar, PaintCalendarIcon},
    {CommandIcon::Help, PaintHelpIcon},
    {CommandIcon::Options, PaintOptionsIcon},
}};

struct LookColours {
    QColor top;
    QColor bottom;
    QColor border;
    QColor icon;
    QColor caption;
};

LookColours ColoursOf(ButtonLook look)
{
    switch (look) {
    case ButtonLook::Hover:
        return {QColor(0xbe, 0x45, 0x2c), QColor(0x84, 0x22, 0x14), ArtPalette::GoldLight, QColor(0xff, 0xe8, 0xa8),
                QColor(0xff, 0xf4, 0xd8)};
    case ButtonLook::Pressed:
        return {QColor(0x6a, 0x18, 0x0e), QColor(0x8e, 0x2a, 0x1a), ArtPalette::Gold, ArtPalette::Gold,
                QColor(0xf0, 0xdc, 0xb0)};
    case ButtonLook::Disabled:
        return {QColor(0x9c, 0x92, 0x86), QColor(0x74, 0x6b, 0x62), QColor(0xb4, 0xaa, 0x9c), QColor(0xcc, 0xc4, 0xb8),
                QColor(0xd6, 0xce, 0xc2)};
    case ButtonLook::Normal:
        break;
    }
    return {ArtPalette::Lacquer, ArtPalette::LacquerDark, ArtPalette::Gold, ArtPalette::Gold,
            QColor(0xf6, 0xe7, 0xc1)};
}

} // namespace

QImage CommandButtonPicture(CommandIcon icon, const QString &caption, ButtonLook look)
{
    QImage image = TransparentCanvas(Width, Height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const LookColours colours = ColoursOf(look);
    const qreal press = look == ButtonLook::Pressed ? 1 : 0;

    const QRectF tile(1, 1, Width - 2, Height - 2);
    QLinearGradient body(tile.topLeft(), tile.bottomLeft());
    body.setColorAt(0.0, colours.top);
    body.setColorAt(1.0, colours.bottom);
    painter.setPen(QPen(colours.border, 1.2));
    painter.setBrush(body);
    painter.drawRoundedRect(tile, 7, 7);
    painter.setPen(QPen(QColor(255, 240, 210, look == ButtonLook::Disabled ? 30 : 60), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(tile.adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);

    for (const IconRow &row : IconRows) {
        if (row.icon != icon)
            continue;
        painter.save();
        painter.translate((Width - 24) / 2.0 + press, 4 + press);
        row.paint(painter, colours.icon);
        painter.restore();
    }

    painter.setFont(SansFont(12, QFont::Medium));
    painter.setPen(colours.caption);
    painter.drawText(QRectF(press, 30 + press, Width, 18), Qt::AlignCenter, caption);
    return image;
}
