#pragma once

#include "texts/trigrams.h"

#include <QImage>
#include <QPointF>

#include <array>

// The pictures of the trigram reference window, drawn from the trigram data
// so the figures are right by construction and sharp at any size.

inline constexpr int TrigramPictureSize = 300;

// Where the trigram figures of an arrangement picture of side `size` lie.
// Figure i of the clockwise order stands on the ray from `centre` turned
// 45°·i clockwise from straight up; its lines are bars across that ray at the
// three `lineRadii`, the bottom line nearest the centre.
struct ArrangementGeometry {
    QPointF centre;
    std::array<qreal, LinesPerTrigram> lineRadii;
    qreal lineLength;
    qreal lineThickness;
    qreal yinGap;
};
ArrangementGeometry ArrangementGeometryFor(int size);

// A square picture of the arrangement: the eight figures with their names
// around a yin-yang symbol, the compass words, the caption written down the
// upper right corner, on light paper.
QImage TrigramArrangementPicture(const TrigramArrangement &arrangement,
                                 int size = TrigramPictureSize);

// The close button of the reference window, 97 × 25: a cross and 关闭窗口.
QImage CloseWindowButtonPicture();
