#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <initializer_list>
#include <vector>

class QPainter;

// The colours the program's drawn pictures share: red lacquer, gold,
// paper and ink.
namespace ArtPalette {
inline const QColor LacquerDark{0x5E, 0x10, 0x10};
inline const QColor Lacquer{0x8E, 0x1B, 0x1B};
inline const QColor Vermilion{0xC8, 0x2A, 0x22};
inline const QColor GoldDark{0x9A, 0x70, 0x1E};
inline const QColor Gold{0xD4, 0xA4, 0x37};
inline const QColor GoldLight{0xF4, 0xD9, 0x85};
inline const QColor Paper{0xF6, 0xEC, 0xD2};
inline const QColor PaperDark{0xE6, 0xD3, 0xA8};
inline const QColor Ink{0x2A, 0x1C, 0x14};
inline const QColor Jade{0x2E, 0x7D, 0x5B};
inline const QColor NightBlue{0x17, 0x22, 0x45};
} // namespace ArtPalette

// A transparent picture ready to be painted on.
QImage TransparentCanvas(int width, int height);

// Noto Serif CJK SC, the face of every Chinese word drawn into a picture.
QFont ArtSerifFont(qreal pixelSize, bool bold = true);

// `text` as an outline whose ink box is centred on `centre`, so glyphs sit
// exactly where the drawing wants them whatever the font's line metrics.
QPainterPath CentredTextPath(const QString &text, const QFont &font, QPointF centre);

// A five-pointed star; `rotation` in degrees turns its top point clockwise.
QPainterPath StarPath(QPointF centre, qreal outerRadius, qreal rotation = 0);

// A round lacquer stud: rim, body with a highlight, as used for lamps and
// round buttons.
void PaintGlossyDisc(QPainter &painter, QPointF centre, qreal radius, const QColor &body,
                     const QColor &rim);

// Shape building blocks for silhouettes and emblems.
QPainterPath Oval(qreal cx, qreal cy, qreal rx, qreal ry, qreal degrees = 0);
QPainterPath Polygon(std::initializer_list<QPointF> points);
// A smooth curve through the points (Catmull-Rom as cubic Béziers).
QPainterPath SmoothCurve(const std::vector<QPointF> &points);
// A limb, tail or horn: the smooth curve drawn with a round-ended brush.
QPainterPath Limb(const std::vector<QPointF> &points, qreal width);
// A body that narrows along a smooth curve from `startWidth` to `endWidth`.
QPainterPath Tube(const std::vector<QPointF> &points, qreal startWidth, qreal endWidth);
QPainterPath Unite(std::initializer_list<QPainterPath> parts);
