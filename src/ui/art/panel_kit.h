#pragma once

#include "ui/art/ornament_kit.h"

#include <QColor>
#include <QPainter>
#include <QRectF>

// Painting helpers of the main window's pictures, on top of the shared
// palette: lacquer panels, parchment, fret corners and gold titles.
// Fills `shape` with a lacquer gradient running from top to bottom.
void PaintLacquer(QPainter &painter, const QPainterPath &shape, const QRectF &bounds);

// Fills `shape` with parchment: a soft radial shading and fine fibres drawn
// from a fixed seed, so the picture is the same at every start.
void PaintParchment(QPainter &painter, const QPainterPath &shape, const QRectF &bounds, quint32 seed);

// A key-fret (hui) ornament in the corner of `frame`, `size` pixels on a
// side; `corner` 0..3 is top-left, top-right, bottom-right, bottom-left.
void PaintFretCorner(QPainter &painter, const QRectF &frame, int corner, qreal size, const QColor &colour);

// A thin rule with a small lozenge in its middle.
void PaintOrnamentRule(QPainter &painter, qreal left, qreal right, qreal y, const QColor &colour);

// A small taiji disc of the given radius around `centre`.
void PaintTaiji(QPainter &painter, const QPointF &centre, qreal radius, const QColor &dark, const QColor &light);

// Text drawn with a gold gradient and a dark shadow, for titles on lacquer.
void PaintGoldText(QPainter &painter, const QRectF &box, int flags, const QString &text, const QFont &font);
