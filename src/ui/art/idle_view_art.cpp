#include "ui/art/idle_view_art.h"

#include "ui/art/fonts.h"
#include "ui/art/panel_kit.h"

#include <QPainterPath>
#include <QtMath>

#include <array>
#include <cmath>

namespace {

// The Fuxi (earlier heaven) arrangement, clockwise from the top (south):
// name and lines bottom first.
struct TrigramPlace {
    const char16_t *name;
    const char16_t *lines;
};

constexpr std::array<TrigramPlace, 8> FuxiOrder{{
    {u"乾", u"111"},
    {u"巽", u"011"},
    {u"坎", u"010"},
    {u"艮", u"001"},
    {u"坤", u"000"},
    {u"震", u"100"},
    {u"离", u"101"},
    {u"兑", u"110"},
}};

void PaintTrigram(QPainter &painter, const TrigramPlace &place, qreal innerRadius)
{
    // Drawn pointing up, the bottom line nearest the centre; the caller
    // rotates the painter to the trigram's place.
    constexpr qreal halfWidth = 15;
    constexpr qreal gap = 4;
    painter.setPen(QPen(ArtPalette::Ink, 3.2, Qt::SolidLine, Qt::FlatCap));
    const QString lines = QString::fromUtf16(place.lines);
    for (int i = 0; i < 3; ++i) {
        const qreal y = -(innerRadius + i * 6.5);
        if (lines.at(i) == u'1') {
            painter.drawLine(QPointF(-halfWidth, y), QPointF(halfWidth, y));
        } else {
            painter.drawLine(QPointF(-halfWidth, y), QPointF(-gap, y));
            painter.drawLine(QPointF(gap, y), QPointF(halfWidth, y));
        }
    }
}

void PaintMountains(QPainter &painter, const QRectF &paper)
{
    struct Ridge {
        qreal base;
        qreal height;
        qreal phase;
        int alpha;
    };
    constexpr std::array<Ridge, 3> ridges{{
        {0.62, 0.42, 0.3, 70},
        {0.78, 0.36, 1.7, 120},
        {0.95, 0.26, 3.1, 185},
    }};
    painter.save();
    painter.setClipRect(paper);
    for (const Ridge &ridge : ridges) {
        QPainterPath path;
        const qreal baseY = paper.top() + paper.height() * ridge.base;
        path.moveTo(paper.left(), paper.bottom());
        for (int step = 0; step <= 60; ++step) {
            const qreal t = step / 60.0;
            const qreal x = paper.left() + t * paper.width();
            const qreal shape = std::sin(t * 7.0 + ridge.phase) * 0.5 + std::sin(t * 17.0 + ridge.phase * 2) * 0.22 +
                                std::sin(t * 3.1 + ridge.phase * 0.5) * 0.4;
            path.lineTo(x, baseY - paper.height() * ridge.height * (0.55 + 0.45 * shape));
        }
        path.lineTo(paper.right(), paper.bottom());
        path.closeSubpath();
        QLinearGradient wash(0, baseY - paper.height() * ridge.height, 0, paper.bottom());
        wash.setColorAt(0.0, QColor(0x2b, 0x30, 0x2c, ridge.alpha));
        wash.setColorAt(1.0, QColor(0x2b, 0x30, 0x2c, ridge.alpha / 5));
        painter.fillPath(path, wash);
    }
    painter.restore();
}

void PaintScrollRod(QPainter &painter, const QRectF &rod)
{
    QLinearGradient wood(rod.topLeft(), rod.topRight());
    wood.setColorAt(0.0, QColor(0x3a, 0x1e, 0x10));
    wood.setColorAt(0.45, QColor(0x8a, 0x52, 0x2c));
    wood.setColorAt(1.0, QColor(0x3a, 0x1e, 0x10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(wood);
    painter.drawRoundedRect(rod, 2, 2);
    painter.setBrush(ArtPalette::Gold);
    painter.drawRoundedRect(QRectF(rod.left() - 1, rod.top() - 4, rod.width() + 2, 6), 2, 2);
    painter.drawRoundedRect(QRectF(rod.left() - 1, rod.bottom() - 2, rod.width() + 2, 6), 2, 2);
}

void PaintVerticalText(QPainter &painter, const QString &text, qreal x, qreal top, int size)
{
    painter.setFont(SerifFont(size, QFont::DemiBold));
    painter.setPen(ArtPalette::Ink);
    for (int i = 0; i < text.size(); ++i)
        painter.drawText(QRectF(x, top + i * (size + 3), size + 4, size + 3), Qt::AlignCenter, text.mid(i, 1));
}

void PaintSmallSeal(QPainter &painter, const QRectF &box, const QString &text)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(ArtPalette::SealRed);
    painter.drawRoundedRect(box, 1.5, 1.5);
    painter.setPen(ArtPalette::Ivory);
    painter.setFont(SerifFont(int(box.height() * 0.62), QFont::Bold));
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace

QImage TrigramWheelPicture()
{
    constexpr int size = 190;
    QImage image = TransparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QPointF centre(size / 2.0, size / 2.0);

    QRadialGradient disc(centre, size / 2.0);
    disc.setColorAt(0.0, QColor(0xf7, 0xee, 0xd8));
    disc.setColorAt(0.85, QColor(0xec, 0xdc, 0xb8));
    disc.setColorAt(1.0, QColor(0xd9, 0xc2, 0x92));
    painter.setPen(QPen(ArtPalette::GoldDark, 2));
    painter.setBrush(disc);
    painter.drawEllipse(centre, size / 2.0 - 2, size / 2.0 - 2);
    painter.setPen(QPen(QColor(0x9a, 0x74, 0x40, 160), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, size / 2.0 - 6, size / 2.0 - 6);
    painter.drawEllipse(centre, 36.0, 36.0);

    PaintTaiji(painter, centre, 30, ArtPalette::Ink, ArtPalette::Ivory);

    for (int i = 0; i < int(FuxiOrder.size()); ++i) {
        painter.save();
        painter.translate(centre);
        painter.rotate(i * 45.0);
        PaintTrigram(painter, FuxiOrder[i], 45);
        painter.restore();
        // The names stand upright wherever their trigram points.
        const qreal angle = qDegreesToRadians(i * 45.0);
        const QPointF place = centre + QPointF(std::sin(angle), -std::cos(angle)) * 77;
        painter.setFont(SerifFont(13, QFont::Bold));
        painter.setPen(ArtPalette::SealRed);
        painter.drawText(QRectF(place.x() - 10, place.y() - 9, 20, 18), Qt::AlignCenter,
                         QString::fromUtf16(FuxiOrder[i].name));
    }
    return image;
}

QImage LandscapeScrollPicture()
{
    constexpr int width = 300;
    constexpr int height = 170;
    QImage image = TransparentCanvas(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Silk mounting, then the paper inside it.
    const QRectF mounting(12, 8, width - 24, height - 16);
    QLinearGradient silk(mounting.topLeft(), mounting.bottomLeft());
    silk.setColorAt(0.0, QColor(0xc8, 0xae, 0x7e));
    silk.setColorAt(1.0, QColor(0xa8, 0x8c, 0x5c));
    painter.setPen(QPen(QColor(0x7a, 0x5c, 0x30), 1));
    painter.setBrush(silk);
    painter.drawRect(mounting);
    const QRectF paper = mounting.adjusted(12, 9, -12, -9);
    QPainterPath paperShape;
    paperShape.addRect(paper);
    PaintParchment(painter, paperShape, paper, 0x0a11ce5u);
    painter.setPen(QPen(QColor(0x7a, 0x5c, 0x30, 140), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(paper);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc0, 0x3a, 0x22, 170));
    painter.drawEllipse(QPointF(paper.left() + 52, paper.top() + 30), 12, 12);
    PaintMountains(painter, paper);

    painter.setPen(QPen(QColor(0x2b, 0x22, 0x1c, 200), 1.1, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF &bird : {QPointF(110, 40), QPointF(124, 33), QPointF(133, 45)}) {
        painter.drawLine(bird, bird + QPointF(4, 2.5));
        painter.drawLine(bird + QPointF(4, 2.5), bird + QPointF(8, 0));
    }

    PaintVerticalText(painter, QStringLiteral("易有太极"), paper.right() - 30, paper.top() + 8, 17);
    PaintSmallSeal(painter, QRectF(paper.right() - 48, paper.top() + 74, 14, 14), QStringLiteral("易"));

    PaintScrollRod(painter, QRectF(3, 6, 10, height - 12));
    PaintScrollRod(painter, QRectF(width - 13, 6, 10, height - 12));
    return image;
}

QImage SealPicture()
{
    constexpr int size = 60;
    QImage image = TransparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // A carved stamp: red ground with slightly worn edges, ivory characters.
    QPainterPath stamp;
    stamp.moveTo(4, 5);
    stamp.cubicTo(QPointF(20, 3), QPointF(40, 4.5), QPointF(56, 3.5));
    stamp.cubicTo(QPointF(57, 20), QPointF(55.5, 40), QPointF(56.5, 56));
    stamp.cubicTo(QPointF(40, 57), QPointF(20, 55.5), QPointF(3.5, 56.5));
    stamp.cubicTo(QPointF(4.5, 40), QPointF(3, 20), QPointF(4, 5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ArtPalette::SealRed);
    painter.drawPath(stamp);
    painter.setPen(QPen(ArtPalette::Ivory, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(8.5, 8.5, 43, 43));

    painter.setPen(ArtPalette::Ivory);
    painter.setFont(SerifFont(19, QFont::Black));
    const std::array<const char16_t *, 4> characters{u"文", u"王", u"周", u"易"};
    // Seal script reads in columns from the right: 周易 on the right, 文王 on the left.
    for (int i = 0; i < 4; ++i) {
        const qreal x = i < 2 ? 10 : 30;
        const qreal y = (i % 2 == 0) ? 10 : 30;
        painter.drawText(QRectF(x, y, 20, 20), Qt::AlignCenter, QString::fromUtf16(characters[i]));
    }
    return image;
}
