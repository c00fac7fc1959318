#include "ui/art/window_panel_art.h"

#include "ui/art/fonts.h"
#include "ui/art/panel_kit.h"

#include <QPainterPath>

QImage WindowPanelPicture(int width, int height, int headerHeight, const QString &title)
{
    constexpr int border = 10;
    constexpr qreal radius = 16;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width, height), radius, radius);
    PaintLacquer(painter, outline, QRectF(0, 0, width, height));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ArtPalette::GoldDark, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(3.5, 3.5, width - 7, height - 7), radius - 3, radius - 3);

    PaintTaiji(painter, QPointF(border + 18, headerHeight / 2.0 + 1), 9, ArtPalette::LacquerDark,
               ArtPalette::GoldLight);
    PaintGoldText(painter, QRectF(border + 34, 2, width - 2 * border - 40, headerHeight - 4),
                  Qt::AlignLeft | Qt::AlignVCenter, title, SerifFont(17, QFont::Bold));

    const QRectF panel(border, headerHeight, width - 2 * border, height - headerHeight - border);
    painter.setPen(QPen(ArtPalette::Gold, 2));
    painter.drawRoundedRect(panel.adjusted(-2, -2, 2, 2), 8, 8);
    QPainterPath panelShape;
    panelShape.addRoundedRect(panel, 6, 6);
    PaintParchment(painter, panelShape, panel, 0x0b0a7d5u);
    const QRectF inner = panel.adjusted(5, 5, -5, -5);
    painter.setPen(QPen(QColor(0x9a, 0x74, 0x40, 150), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(inner, 4, 4);
    for (int corner = 0; corner < 4; ++corner)
        PaintFretCorner(painter, inner.adjusted(3, 3, -3, -3), corner, 18, QColor(0x8c, 0x2c, 0x1c, 170));
    return image;
}

QImage SplashPicture()
{
    constexpr int width = 420;
    constexpr int height = 250;
    QImage image = WindowPanelPicture(width, height, 36, QStringLiteral("Ravezaz"));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    PaintTaiji(painter, QPointF(86, 118), 40, ArtPalette::Ink, ArtPalette::Ivory);
    painter.setPen(QPen(ArtPalette::GoldDark, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(86, 118), 47, 47);

    painter.setFont(SerifFont(34, QFont::Black));
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawText(QRectF(152, 70, 250, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("周易文王卦"));
    painter.setPen(ArtPalette::Lacquer);
    painter.drawText(QRectF(150, 68, 250, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("周易文王卦"));
    painter.setFont(SerifFont(14));
    painter.setPen(ArtPalette::InkSoft);
    painter.drawText(QRectF(152, 122, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("大衍之数五十，其用四十有九"));
    PaintOrnamentRule(painter, 40, width - 40, 182, QColor(0x8c, 0x5a, 0x30, 200));
    return image;
}
