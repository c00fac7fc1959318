#include "ui/art/trigram_art.h"

#include "ui/art/ornament_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

using namespace ArtPalette;

constexpr qreal DegreesToRadians = std::numbers::pi / 180.0;

// Unit vector from the centre towards figure `index`, clockwise from the top.
QPointF FigureDirection(int index)
{
    const qreal angle = (-90.0 + 45.0 * index) * DegreesToRadians;
    return {std::cos(angle), std::sin(angle)};
}

// A round sheet under the compass ring; the corners stay clear, so the
// ornaments of the panel the picture stands on show there.
void PaintPaper(QPainter &painter, qreal size)
{
    QRadialGradient paper(QPointF(size / 2, size / 2), size * 0.75);
    paper.setColorAt(0.0, QColor(0xFB, 0xF5, 0xE4));
    paper.setColorAt(1.0, QColor(0xEF, 0xE2, 0xC2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(paper);
    painter.drawEllipse(QPointF(size / 2, size / 2), size / 2, size / 2);
}

// The yin-yang symbol, the light half on the left with its head at the top:
// yang grows from 震 through 离 to 乾 on the left of the Earlier Heaven circle.
void PaintTaiji(QPainter &painter, QPointF centre, qreal radius)
{
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    QPainterPath leftHalf;
    leftHalf.addRect(QRectF(centre.x() - radius, centre.y() - radius, radius, 2 * radius));
    QPainterPath upperHead;
    upperHead.addEllipse(centre - QPointF(0, radius / 2), radius / 2, radius / 2);
    QPainterPath lowerHead;
    lowerHead.addEllipse(centre + QPointF(0, radius / 2), radius / 2, radius / 2);
    const QPainterPath light = (disc.intersected(leftHalf).united(upperHead)).subtracted(lowerHead);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    painter.drawPath(disc);
    painter.setBrush(QColor(0xFD, 0xF8, 0xEA));
    painter.drawPath(light);
    const qreal eye = radius * 0.16;
    painter.setBrush(Ink);
    painter.drawEllipse(centre - QPointF(0, radius / 2), eye, eye);
    painter.setBrush(QColor(0xFD, 0xF8, 0xEA));
    painter.drawEllipse(centre + QPointF(0, radius / 2), eye, eye);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Lacquer, radius * 0.06));
    painter.drawEllipse(centre, radius, radius);
}

// One trigram figure: three bars across the ray of its position, the
// bottom line innermost; a yin line is broken in the middle.
void PaintFigure(QPainter &painter, const ArrangementGeometry &geometry, int index,
                 const TrigramRow &trigram)
{
    const QPointF direction = FigureDirection(index);
    const QPointF across(-direction.y(), direction.x());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    for (int line = 0; line < LinesPerTrigram; ++line) {
        const QPointF middle = geometry.centre + direction * geometry.lineRadii[line];
        const bool yang = trigram.lines[line] == u'1';
        const qreal half = geometry.lineLength / 2;
        const qreal innerEnd = yang ? 0 : geometry.yinGap / 2;
        for (const qreal side : {-1.0, 1.0}) {
            const QPointF from = middle + across * (side * innerEnd);
            const QPointF to = middle + across * (side * half);
            const QPointF thickness = direction * (geometry.lineThickness / 2);
            QPainterPath bar;
            bar.moveTo(from - thickness);
            bar.lineTo(to - thickness);
            bar.lineTo(to + thickness);
            bar.lineTo(from + thickness);
            bar.closeSubpath();
            painter.drawPath(bar);
        }
    }
}

void PaintCompassRing(QPainter &painter, QPointF centre, qreal inner, qreal outer, qreal size)
{
    QPainterPath ring;
    ring.addEllipse(centre, outer, outer);
    QPainterPath hole;
    hole.addEllipse(centre, inner, inner);
    ring = ring.subtracted(hole);
    QRadialGradient lacquer(centre, outer);
    lacquer.setColorAt(inner / outer, Lacquer);
    lacquer.setColorAt(1.0, LacquerDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(lacquer);
    painter.drawPath(ring);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Gold, size * 0.005));
    painter.drawEllipse(centre, outer - size * 0.008, outer - size * 0.008);
    painter.drawEllipse(centre, inner + size * 0.008, inner + size * 0.008);

    // Gold studs between the compass words mark the other four directions.
    const qreal middle = (inner + outer) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    for (int i = 0; i < 8; ++i) {
        const QPointF at = centre + FigureDirection(i) * middle;
        if (i % 2 == 1)
            painter.drawEllipse(at, size * 0.008, size * 0.008);
    }
    const QFont font = ArtSerifFont(size * 0.046);
    painter.setBrush(GoldLight);
    const auto &words = ArrangementCompassWords();
    for (int i = 0; i < 4; ++i) {
        const QPointF at = centre + FigureDirection(2 * i) * middle;
        painter.drawPath(CentredTextPath(QString::fromUtf16(words[i]), font, at));
    }
}

void PaintCaption(QPainter &painter, const QString &caption, qreal size)
{
    const QFont font = ArtSerifFont(size * 0.045);
    const qreal x = size * 0.93;
    const qreal step = size * 0.05;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    for (int i = 0; i < caption.size(); ++i) {
        const QPointF at(x, size * 0.07 + step * i);
        painter.drawPath(CentredTextPath(caption.mid(i, 1), font, at));
    }
}

// A small square seal with 易 in the lower left corner.
void PaintSeal(QPainter &painter, qreal size)
{
    const QRectF seal(size * 0.075, size * 0.855, size * 0.07, size * 0.07);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Vermilion);
    painter.drawRoundedRect(seal, size * 0.008, size * 0.008);
    painter.setBrush(QColor(0xFB, 0xF1, 0xDC));
    painter.drawPath(CentredTextPath(QStringLiteral("易"), ArtSerifFont(size * 0.05), seal.center()));
}

} // namespace

ArrangementGeometry ArrangementGeometryFor(int size)
{
    const qreal s = size;
    return {QPointF(s / 2, s / 2), {s * 0.235, s * 0.272, s * 0.309}, s * 0.145, s * 0.024,
            s * 0.03};
}

QImage TrigramArrangementPicture(const TrigramArrangement &arrangement, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const ArrangementGeometry geometry = ArrangementGeometryFor(size);
    PaintPaper(painter, s);
    PaintCompassRing(painter, geometry.centre, s * 0.35, s * 0.435, s);

    // A faint disc behind the figures keeps them on one field.
    painter.setPen(QPen(QColor(Lacquer.red(), Lacquer.green(), Lacquer.blue(), 90), s * 0.004));
    painter.setBrush(QColor(0xFF, 0xFB, 0xF0, 120));
    painter.drawEllipse(geometry.centre, s * 0.343, s * 0.343);
    painter.drawEllipse(geometry.centre, s * 0.2, s * 0.2);

    PaintTaiji(painter, geometry.centre, s * 0.118);
    const QFont nameFont = ArtSerifFont(s * 0.05);
    for (int i = 0; i < TrigramCount; ++i) {
        const TrigramRow *trigram = TrigramNamed(QStringView(arrangement.clockwiseFromTop[i]));
        if (!trigram)
            continue;
        PaintFigure(painter, geometry, i, *trigram);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Lacquer);
        painter.drawPath(CentredTextPath(QString::fromUtf16(trigram->name), nameFont,
                                         geometry.centre + FigureDirection(i) * (s * 0.165)));
    }
    PaintCaption(painter, QString::fromUtf16(arrangement.caption), s);
    PaintSeal(painter, s);
    return image;
}

QImage CloseWindowButtonPicture()
{
    constexpr int width = 97;
    constexpr int height = 25;
    QImage image = TransparentCanvas(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(0.5, 0.5, width - 1, height - 1);
    QLinearGradient lacquer(plate.topLeft(), plate.bottomLeft());
    lacquer.setColorAt(0.0, Vermilion);
    lacquer.setColorAt(1.0, LacquerDark);
    painter.setPen(QPen(GoldDark, 1));
    painter.setBrush(lacquer);
    painter.drawRoundedRect(plate, 5, 5);
    painter.setPen(QPen(QColor(Gold.red(), Gold.green(), Gold.blue(), 150), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(plate.adjusted(2, 2, -2, -2), 3.5, 3.5);

    const QPointF cross(15, height / 2.0);
    painter.setPen(QPen(GoldLight, 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(cross + QPointF(-4.5, -4.5), cross + QPointF(4.5, 4.5));
    painter.drawLine(cross + QPointF(-4.5, 4.5), cross + QPointF(4.5, -4.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(GoldLight);
    painter.drawPath(CentredTextPath(QStringLiteral("关闭窗口"), ArtSerifFont(13),
                                     QPointF(57, height / 2.0)));
    return image;
}
