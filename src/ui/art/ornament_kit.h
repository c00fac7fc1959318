#pragma once

#include "ui/art/palette.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <initializer_list>
#include <vector>

class QPainter;


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
