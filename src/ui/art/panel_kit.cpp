#include "ui/art/panel_kit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

// A small linear congruential generator: the fibres must come out the same
// at every run, so no library randomness is used here.
class FixedNoise {
public:
    explicit FixedNoise(quint32 seed) : state_(seed) {}
    qreal next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / qreal(1 << 24);
    }

private:
    quint32 state_;
};

} // namespace

void PaintLacquer(QPainter &painter, const QPainterPath &shape, const QRectF &bounds)
{
    QLinearGradient body(bounds.topLeft(), bounds.bottomLeft());
    body.setColorAt(0.0, ArtPalette::Lacquer.lighter(112));
    body.setColorAt(0.55, ArtPalette::Lacquer);
    body.setColorAt(1.0, ArtPalette::LacquerDark);
    painter.fillPath(shape, body);

    // A faint sheen across the upper part gives the surface its polish.
    QLinearGradient sheen(bounds.topLeft(), bounds.topRight());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.35, QColor(255, 230, 200, 26));
    sheen.setColorAt(0.7, QColor(255, 255, 255, 0));
    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(QRectF(bounds.left(), bounds.top(), bounds.width(), bounds.height() * 0.45), sheen);
    painter.restore();
}

void PaintParchment(QPainter &painter, const QPainterPath &shape, const QRectF &bounds, quint32 seed)
{
    QRadialGradient shade(bounds.center(), std::max(bounds.width(), bounds.height()) * 0.62);
    shade.setColorAt(0.0, ArtPalette::Paper.lighter(102));
    shade.setColorAt(0.7, ArtPalette::Paper);
    shade.setColorAt(1.0, ArtPalette::PaperDark);
    painter.fillPath(shape, shade);

    painter.save();
    painter.setClipPath(shape);
    painter.setRenderHint(QPainter::Antialiasing, true);
    FixedNoise noise(seed);
    const int fibres = int(bounds.width() * bounds.height() / 90);
    for (int i = 0; i < fibres; ++i) {
        const QPointF start(bounds.left() + noise.next() * bounds.width(),
                            bounds.top() + noise.next() * bounds.height());
        const qreal angle = noise.next() * 2 * M_PI;
        const qreal length = 1.5 + noise.next() * 5;
        const int alpha = 10 + int(noise.next() * 22);
        painter.setPen(QPen(QColor(120, 90, 50, alpha), 0.7));
        painter.drawLine(start, start + QPointF(std::cos(angle) * length, std::sin(angle) * length));
    }
    painter.restore();
}

void PaintFretCorner(QPainter &painter, const QRectF &frame, int corner, qreal size, const QColor &colour)
{
    // The motif is drawn for the top-left corner and mirrored for the others.
    QPainterPath fret;
    fret.moveTo(0, 22);
    fret.lineTo(0, 0);
    fret.lineTo(22, 0);
    fret.moveTo(5, 22);
    fret.lineTo(5, 5);
    fret.lineTo(17, 5);
    fret.lineTo(17, 14);
    fret.lineTo(10, 14);
    fret.lineTo(10, 10);
    fret.moveTo(22, 5);
    fret.lineTo(22, 10);
    fret.moveTo(5, 27);
    fret.lineTo(10, 27);

    const bool right = corner == 1 || corner == 2;
    const bool bottom = corner == 2 || corner == 3;
    QTransform place;
    place.translate(right ? frame.right() : frame.left(), bottom ? frame.bottom() : frame.top());
    const qreal scale = size / 27;
    place.scale(right ? -scale : scale, bottom ? -scale : scale);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(place.map(fret));
    painter.restore();
}

void PaintOrnamentRule(QPainter &painter, qreal left, qreal right, qreal y, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal middle = (left + right) / 2;
    QLinearGradient fade(left, y, right, y);
    QColor clear = colour;
    clear.setAlpha(0);
    fade.setColorAt(0.0, clear);
    fade.setColorAt(0.15, colour);
    fade.setColorAt(0.85, colour);
    fade.setColorAt(1.0, clear);
    painter.setPen(QPen(QBrush(fade), 1.0));
    painter.drawLine(QPointF(left, y), QPointF(middle - 9, y));
    painter.drawLine(QPointF(middle + 9, y), QPointF(right, y));
    QPainterPath lozenge;
    lozenge.moveTo(middle - 7, y);
    lozenge.lineTo(middle, y - 4);
    lozenge.lineTo(middle + 7, y);
    lozenge.lineTo(middle, y + 4);
    lozenge.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(lozenge);
    painter.restore();
}

void PaintTaiji(QPainter &painter, const QPointF &centre, qreal radius, const QColor &dark, const QColor &light)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, radius, radius);

    // The dark half: the left half-disc, with a small disc added at the top
    // and taken away at the bottom, makes the S-curve.
    QPainterPath half;
    half.moveTo(centre.x(), centre.y() - radius);
    half.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 90, 180);
    half.closeSubpath();
    const qreal small = radius / 2;
    QPainterPath upper;
    upper.addEllipse(QPointF(centre.x(), centre.y() - small), small, small);
    QPainterPath lower;
    lower.addEllipse(QPointF(centre.x(), centre.y() + small), small, small);
    painter.setBrush(dark);
    painter.drawPath(half.united(lower).subtracted(upper));

    const qreal dot = radius / 7;
    painter.setBrush(light);
    painter.drawEllipse(QPointF(centre.x(), centre.y() + small), dot, dot);
    painter.setBrush(dark);
    painter.drawEllipse(QPointF(centre.x(), centre.y() - small), dot, dot);
    painter.setPen(QPen(dark, std::max<qreal>(0.8, radius / 18)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void PaintGoldText(QPainter &painter, const QRectF &box, int flags, const QString &text, const QFont &font)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(QColor(40, 8, 4, 170));
    painter.drawText(box.translated(1, 1.5), flags, text);
    QLinearGradient gold(box.topLeft(), box.bottomLeft());
    gold.setColorAt(0.0, ArtPalette::GoldLight);
    gold.setColorAt(0.6, ArtPalette::Gold);
    gold.setColorAt(1.0, ArtPalette::GoldDark);
    painter.setPen(QPen(QBrush(gold), 1));
    painter.drawText(box, flags, text);
    painter.restore();
}
