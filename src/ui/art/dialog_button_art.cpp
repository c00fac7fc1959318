#include "ui/art/dialog_button_art.h"

#include "ui/art/ornament_kit.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

constexpr qreal StudRadius = 11;
constexpr QPointF StudCentre(19, DialogButtonHeight / 2.0);

using IconPainter = void (*)(QPainter &, QPointF centre);

void PaintTick(QPainter &painter, QPointF centre)
{
    const std::array<QPointF, 3> check{
        {centre + QPointF(-5, 0.5), centre + QPointF(-1.5, 4), centre + QPointF(5, -4)}};
    painter.drawPolyline(check.data(), int(check.size()));
}

void PaintCross(QPainter &painter, QPointF centre)
{
    painter.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
    painter.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));
}

void PaintQuestion(QPainter &painter, QPointF centre)
{
    QPainterPath mark;
    mark.moveTo(centre + QPointF(-3.6, -2.8));
    mark.cubicTo(centre + QPointF(-3.6, -7), centre + QPointF(3.6, -7), centre + QPointF(3.6, -2.8));
    mark.cubicTo(centre + QPointF(3.6, -0.5), centre + QPointF(0, 0), centre + QPointF(0, 2.6));
    painter.drawPath(mark);
    painter.drawPoint(centre + QPointF(0, 5.6));
}

struct IconRow {
    DialogIcon icon;
    QColor stud;
    IconPainter paint;
};

const std::array<IconRow, 3> IconRows{{
    {DialogIcon::Tick, ArtPalette::Jade, PaintTick},
    {DialogIcon::Cross, ArtPalette::Lacquer, PaintCross},
    {DialogIcon::Question, ArtPalette::GoldDark, PaintQuestion},
}};

struct PlateColours {
    QColor top;
    QColor bottom;
    QColor rim;
    QColor caption;
};

PlateColours ColoursOf(ButtonLook look)
{
    switch (look) {
    case ButtonLook::Hover:
        return {QColor(0xff, 0xf8, 0xe4), ArtPalette::Paper, ArtPalette::Vermilion, ArtPalette::Lacquer};
    case ButtonLook::Pressed:
        return {ArtPalette::PaperDark, QColor(0xd8, 0xc2, 0x92), ArtPalette::GoldDark, ArtPalette::LacquerDark};
    case ButtonLook::Disabled:
        return {QColor(0xe4, 0xe0, 0xd8), QColor(0xcc, 0xc6, 0xbc), QColor(0xb0, 0xa8, 0x9c),
                QColor(0x98, 0x90, 0x86)};
    case ButtonLook::Normal:
        break;
    }
    return {ArtPalette::Paper, ArtPalette::PaperDark, ArtPalette::Gold, ArtPalette::Ink};
}

} // namespace

QImage DialogButtonPicture(DialogIcon icon, const QString &caption, ButtonLook look)
{
    const PlateColours colours = ColoursOf(look);
    QImage image = TransparentCanvas(DialogButtonWidth, DialogButtonHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF plate(1, 1, DialogButtonWidth - 2, DialogButtonHeight - 2);
    QLinearGradient shade(plate.topLeft(), plate.bottomLeft());
    shade.setColorAt(0.0, colours.top);
    shade.setColorAt(1.0, colours.bottom);
    painter.setPen(QPen(colours.rim, 1.6));
    painter.setBrush(shade);
    painter.drawRoundedRect(plate, 7, 7);

    for (const IconRow &row : IconRows) {
        if (row.icon != icon)
            continue;
        const QColor stud = look == ButtonLook::Disabled ? colours.rim : row.stud;
        PaintGlossyDisc(painter, StudCentre, StudRadius, stud, ArtPalette::GoldDark);
        painter.setPen(QPen(QColor(0xfb, 0xf5, 0xe6), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        row.paint(painter, StudCentre);
    }

    const QRectF captionBox(StudCentre.x() + StudRadius + 4, 0,
                            DialogButtonWidth - StudCentre.x() - StudRadius - 10, DialogButtonHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.caption);
    painter.drawPath(CentredTextPath(caption, ArtSerifFont(15), captionBox.center()));
    return image;
}
