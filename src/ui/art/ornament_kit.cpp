#include "ornament_kit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

QImage TransparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QFont ArtSerifFont(qreal pixelSize, bool bold)
{
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPainterPath CentredTextPath(const QString &text, const QFont &font, QPointF centre)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), font, text);
    const QRectF ink = path.boundingRect();
    path.translate(centre - ink.center());
    return path;
}

QPainterPath StarPath(QPointF centre, qreal outerRadius, qreal rotation)
{
    // The inner radius of a regular five-pointed star.
    const qreal innerRadius = outerRadius * 0.381966;
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? outerRadius : innerRadius;
        const qreal angle = (rotation + i * 36.0 - 90.0) * std::numbers::pi / 180.0;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

void PaintGlossyDisc(QPainter &painter, QPointF centre, qreal radius, const QColor &body,
                     const QColor &rim)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(rim);
    painter.drawEllipse(centre, radius, radius);
    const qreal inner = radius * 0.82;
    QRadialGradient shade(centre + QPointF(-inner * 0.3, -inner * 0.35), inner * 1.3);
    shade.setColorAt(0.0, body.lighter(150));
    shade.setColorAt(0.55, body);
    shade.setColorAt(1.0, body.darker(160));
    painter.setBrush(shade);
    painter.drawEllipse(centre, inner, inner);
    QRadialGradient shine(centre + QPointF(-inner * 0.3, -inner * 0.45), inner * 0.55);
    shine.setColorAt(0.0, QColor(255, 255, 255, 200));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(shine);
    painter.drawEllipse(centre + QPointF(-inner * 0.3, -inner * 0.45), inner * 0.55, inner * 0.4);
    painter.restore();
}
