#include "ui/art/ornament_kit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <numbers>
#include <utility>

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

QPainterPath Oval(qreal cx, qreal cy, qreal rx, qreal ry, qreal degrees)
{
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), rx, ry);
    return QTransform().translate(cx, cy).rotate(degrees).map(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath SmoothCurve(const std::vector<QPointF> &points)
{
    QPainterPath path(points.front());
    const size_t n = points.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        const QPointF before = points[i == 0 ? 0 : i - 1];
        const QPointF from = points[i];
        const QPointF to = points[i + 1];
        const QPointF after = points[i + 2 < n ? i + 2 : n - 1];
        path.cubicTo(from + (to - before) / 6, to - (after - from) / 6, to);
    }
    return path;
}

QPainterPath Limb(const std::vector<QPointF> &points, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(SmoothCurve(points)).simplified();
}

// Built as a union of short segments so sharp bends never leave holes.
QPainterPath Tube(const std::vector<QPointF> &points, qreal startWidth, qreal endWidth)
{
    const QPainterPath spine = SmoothCurve(points);
    constexpr int samples = 40;
    auto edges = [&](int i) {
        const qreal t = qreal(i) / samples;
        const QPointF at = spine.pointAtPercent(t);
        const qreal angle = spine.angleAtPercent(t) * std::numbers::pi / 180.0;
        const QPointF normal(std::sin(angle), std::cos(angle));
        const qreal half = (startWidth + (endWidth - startWidth) * t) / 2;
        return std::pair{at + normal * half, at - normal * half};
    };
    const QPointF start = spine.pointAtPercent(0);
    QPainterPath tube = Oval(start.x(), start.y(), startWidth / 2, startWidth / 2);
    auto previous = edges(0);
    for (int i = 1; i <= samples; ++i) {
        const auto next = edges(i);
        tube = tube.united(Polygon({previous.first, next.first, next.second, previous.second}));
        previous = next;
    }
    const QPointF end = spine.pointAtPercent(1);
    return tube.united(Oval(end.x(), end.y(), endWidth / 2, endWidth / 2));
}

QPainterPath Unite(std::initializer_list<QPainterPath> parts)
{
    QPainterPath all;
    for (const QPainterPath &part : parts)
        all = all.united(part);
    return all;
}
