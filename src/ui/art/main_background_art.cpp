#include "ui/art/main_background_art.h"

#include "ui/art/fonts.h"
#include "ui/art/main_window_layout.h"
#include "ui/art/panel_kit.h"

#include <QPainterPath>

namespace {

void PaintHeader(QPainter &painter)
{
    using namespace MainLayout;
    PaintTaiji(painter, QPointF(Border + 22, HeaderHeight / 2 + 1), 11, ArtPalette::LacquerDark, ArtPalette::GoldLight);
    PaintGoldText(painter, QRectF(Border + 42, 4, 300, HeaderHeight - 6), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("周易 · 文王卦"), SerifFont(21, QFont::Bold));
}

void PaintPanel(QPainter &painter)
{
    using namespace MainLayout;
    const QRectF panel(Panel);
    QPainterPath panelShape;
    panelShape.addRoundedRect(panel, 8, 8);

    // A gold bead between lacquer and parchment.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ArtPalette::Gold, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel.adjusted(-2, -2, 2, 2), 10, 10);

    PaintParchment(painter, panelShape, panel, 0x5eed1234u);

    const QRectF inner = panel.adjusted(7, 7, -7, -7);
    painter.setPen(QPen(QColor(0x9a, 0x74, 0x40, 150), 1));
    painter.drawRoundedRect(inner, 5, 5);
    const QRectF fretBox = inner.adjusted(4, 4, -4, -4);
    for (int corner = 0; corner < 4; ++corner)
        PaintFretCorner(painter, fretBox, corner, 15, QColor(0x8c, 0x2c, 0x1c, 190));

    const QColor rule(0x8c, 0x5a, 0x30, 200);
    PaintOrnamentRule(painter, Panel.left() + 40, Panel.right() - 40, UpperRuleY, rule);
    PaintOrnamentRule(painter, Panel.left() + 40, Panel.right() - 40, LowerRuleY, rule);
}

void PaintFrame(QPainter &painter)
{
    using namespace MainLayout;
    // The outline is drawn without anti-aliasing: its edge pixels are either
    // lacquer or white, so the cut is crisp and leaves no pale fringe.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, Width, Height), OuterRadius, OuterRadius);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintLacquer(painter, outline, QRectF(0, 0, Width, Height));

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ArtPalette::GoldDark, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(4.5, 4.5, Width - 9, Height - 9), OuterRadius - 4, OuterRadius - 4);
}

} // namespace

QImage MainBackgroundPicture()
{
    QImage image(MainLayout::Width, MainLayout::Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintFrame(painter);
    PaintHeader(painter);
    PaintPanel(painter);
    return image;
}
