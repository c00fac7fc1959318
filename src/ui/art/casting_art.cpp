#include "ui/art/casting_art.h"

#include "ui/art/ornament_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <numbers>

namespace {

using namespace ArtPalette;

constexpr QRgb OutsideWhite = 0xFFFFFFFF;
constexpr QRgb InsideNearWhite = 0xFFFEFEFE;

const QRectF plaqueRect(188, 0, 224, 50);

const CastingLayout layout{
    plaqueRect.toRect(),   QRect(26, 60, 272, 212), QRect(310, 60, 264, 98),
    QRect(310, 168, 264, 104), QRect(26, 284, 548, 130), QRect(567, 31, RoundButtonSize, RoundButtonSize),
};

const QRectF bodyRect(0, 20, CastingBackgroundWidth, CastingBackgroundHeight - 20);

QPainterPath CastingOutline()
{
    QPainterPath body;
    body.addRoundedRect(bodyRect, 24, 24);
    QPainterPath plaque;
    plaque.addRoundedRect(plaqueRect, 12, 12);
    return body.united(plaque);
}

// A small deterministic scatter, so every run draws the same stalks.
qreal Jitter(int seed)
{
    const unsigned value = static_cast<unsigned>(seed) * 2654435761u;
    return ((value >> 8) % 1000) / 1000.0 - 0.5;
}

void PaintLacquerField(QPainter &painter)
{
    QLinearGradient lacquer(bodyRect.topLeft(), bodyRect.bottomLeft());
    lacquer.setColorAt(0.0, Lacquer);
    lacquer.setColorAt(1.0, LacquerDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(lacquer);
    painter.drawPath(CastingOutline());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Gold, 1.6));
    painter.drawRoundedRect(bodyRect.adjusted(4, 4, -4, -4), 20, 20);
}

// One unit of the meander ("回" key) band, drawn along +x with the band
// running from v = 0 (outer edge) to v = 10 (inner edge).
void PaintMeanderUnit(QPainter &painter, qreal u)
{
    const std::array<QPointF, 7> key{{{u, 9}, {u, 1}, {u + 8, 1}, {u + 8, 7}, {u + 3, 7},
                                      {u + 3, 4}, {u + 5.5, 4}}};
    painter.drawPolyline(key.data(), int(key.size()));
}

void PaintMeanderEdge(QPainter &painter, const QTransform &edge, qreal length)
{
    constexpr qreal unit = 10;
    const int units = int(length / unit);
    const qreal start = (length - units * unit) / 2;
    painter.save();
    painter.setTransform(edge, true);
    painter.drawLine(QPointF(start, 9.5), QPointF(start + units * unit, 9.5));
    for (int i = 0; i < units; ++i)
        PaintMeanderUnit(painter, start + i * unit);
    painter.restore();
}

void PaintRosette(QPainter &painter, QPointF centre)
{
    painter.save();
    painter.setPen(QPen(GoldDark, 0.8));
    painter.setBrush(Gold);
    for (int petal = 0; petal < 4; ++petal) {
        const qreal angle = petal * std::numbers::pi / 2 + std::numbers::pi / 4;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * 4.2;
        painter.drawEllipse(at, 3.6, 3.6);
    }
    painter.setBrush(Vermilion);
    painter.drawEllipse(centre, 2.8, 2.8);
    painter.restore();
}

void PaintMeanderBorder(QPainter &painter)
{
    const QRectF band = bodyRect.adjusted(8, 8, -8, -8);
    constexpr qreal corner = 22;
    painter.setPen(QPen(Gold, 1.3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal across = band.width() - 2 * corner;
    const qreal down = band.height() - 2 * corner;
    PaintMeanderEdge(painter, QTransform::fromTranslate(band.left() + corner, band.top()), across);
    PaintMeanderEdge(painter, QTransform::fromTranslate(band.right(), band.top() + corner).rotate(90), down);
    PaintMeanderEdge(painter, QTransform::fromTranslate(band.right() - corner, band.bottom()).rotate(180),
                     across);
    PaintMeanderEdge(painter, QTransform::fromTranslate(band.left(), band.bottom() - corner).rotate(270),
                     down);
    const qreal inset = 14;
    for (const QPointF &at : {QPointF(band.left() + inset, band.top() + inset),
                              QPointF(band.right() - inset, band.top() + inset),
                              QPointF(band.left() + inset, band.bottom() - inset),
                              QPointF(band.right() - inset, band.bottom() - inset)})
        PaintRosette(painter, at);
}

void PaintPlaque(QPainter &painter, const QRectF &plaque)
{
    QLinearGradient lacquer(plaque.topLeft(), plaque.bottomLeft());
    lacquer.setColorAt(0.0, LacquerDark);
    lacquer.setColorAt(1.0, QColor(0x3A, 0x08, 0x08));
    painter.setPen(Qt::NoPen);
    painter.setBrush(lacquer);
    painter.drawRoundedRect(plaque, 12, 12);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Gold, 1.6));
    painter.drawRoundedRect(plaque.adjusted(3, 3, -3, -3), 9, 9);
    painter.setPen(QPen(GoldDark, 0.8));
    painter.drawRoundedRect(plaque.adjusted(6, 6, -6, -6), 6, 6);
}

void PaintPaperPanel(QPainter &painter, const QRectF &panel)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(panel.translated(1.5, 2), 6, 6);
    QLinearGradient paper(panel.topLeft(), panel.bottomRight());
    paper.setColorAt(0.0, QColor(0xFA, 0xF2, 0xDE));
    paper.setColorAt(1.0, PaperDark);
    painter.setBrush(paper);
    painter.setPen(QPen(Gold, 1.5));
    painter.drawRoundedRect(panel, 6, 6);
    painter.setPen(QPen(QColor(Lacquer.red(), Lacquer.green(), Lacquer.blue(), 110), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel.adjusted(3.5, 3.5, -3.5, -3.5), 4, 4);
    painter.restore();
}

void PaintBambooTray(QPainter &painter, const QRectF &tray)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 80));
    painter.drawRoundedRect(tray.translated(1.5, 2), 7, 7);
    QLinearGradient rim(tray.topLeft(), tray.bottomLeft());
    rim.setColorAt(0.0, QColor(0x7A, 0x4E, 0x26));
    rim.setColorAt(1.0, QColor(0x4A, 0x2C, 0x12));
    painter.setBrush(rim);
    painter.setPen(QPen(Gold, 1.5));
    painter.drawRoundedRect(tray, 7, 7);

    const QRectF mat = tray.adjusted(7, 7, -7, -7);
    painter.setClipRect(mat);
    constexpr qreal slat = 7;
    for (qreal x = mat.left(); x < mat.right(); x += slat) {
        QLinearGradient cane(QPointF(x, 0), QPointF(x + slat, 0));
        cane.setColorAt(0.0, QColor(0xC9, 0x9A, 0x52));
        cane.setColorAt(0.45, QColor(0xEB, 0xCB, 0x8A));
        cane.setColorAt(1.0, QColor(0xB8, 0x86, 0x42));
        painter.fillRect(QRectF(x, mat.top(), slat, mat.height()), cane);
    }
    // Binding threads across the canes.
    painter.setPen(QPen(QColor(0x6B, 0x3F, 0x1A, 170), 1.2));
    for (qreal y = mat.top() + 24; y < mat.bottom() - 10; y += 44)
        painter.drawLine(QPointF(mat.left(), y), QPointF(mat.right(), y));
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0x3A, 0x22, 0x0E), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mat);
    painter.restore();
}

// The art is painted with antialiasing, but the window can only be cut
// along whole pixels: every pixel outside the aliased outline becomes pure
// white and no pixel inside stays pure white.
QImage CutToOutline(const QImage &art, const QPainterPath &outline)
{
    QImage mask(art.size(), QImage::Format_ARGB32);
    mask.fill(OutsideWhite);
    {
        QPainter painter(&mask);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPath(outline);
    }
    QImage result = art.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        const QRgb *inside = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        QRgb *pixel = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (inside[x] == OutsideWhite)
                pixel[x] = OutsideWhite;
            else if ((pixel[x] & 0xFFFFFF) == 0xFFFFFF)
                pixel[x] = InsideNearWhite;
        }
    }
    return result;
}

// --- Stalk animation -------------------------------------------------------

enum class BundleKind { Standing, Pile, Aside, Hung };

// What lies on the board in one frame: standing heaps fanned from a base
// point, the pile of stalks counted off by fours, remainders laid aside and
// the hung stalk.
struct Bundle {
    BundleKind kind;
    qreal x;
    int count;
    qreal tilt; // degrees, standing heaps only
};

constexpr qreal StandingBase = 57;
constexpr qreal StalkLength = 38;

using FrameBundles = std::array<Bundle, 4>;
constexpr Bundle None{BundleKind::Standing, 0, 0, 0};

const std::array<FrameBundles, StalkFrameCount> stalkFrames{{
    {{{BundleKind::Standing, 38, 14, 0}, None, None, None}},
    {{{BundleKind::Standing, 31, 7, -6}, {BundleKind::Standing, 45, 7, 6}, None, None}},
    {{{BundleKind::Standing, 21, 7, -10}, {BundleKind::Standing, 55, 7, 10}, None, None}},
    {{{BundleKind::Standing, 21, 7, -10}, {BundleKind::Standing, 55, 6, 10}, {BundleKind::Hung, 38, 1, 0}, None}},
    {{{BundleKind::Standing, 21, 3, -10}, {BundleKind::Standing, 55, 6, 10}, {BundleKind::Hung, 38, 1, 0},
      {BundleKind::Pile, 38, 4, 0}}},
    {{{BundleKind::Aside, 14, 3, 0}, {BundleKind::Standing, 55, 6, 10}, {BundleKind::Hung, 38, 1, 0},
      {BundleKind::Pile, 38, 4, 0}}},
    {{{BundleKind::Aside, 14, 3, 0}, {BundleKind::Standing, 55, 2, 10}, {BundleKind::Hung, 38, 1, 0},
      {BundleKind::Pile, 38, 8, 0}}},
    {{{BundleKind::Aside, 14, 3, 0}, {BundleKind::Aside, 62, 2, 0}, {BundleKind::Hung, 38, 1, 0},
      {BundleKind::Pile, 38, 8, 0}}},
    {{{BundleKind::Standing, 27, 7, -5}, {BundleKind::Standing, 49, 6, 5}, {BundleKind::Hung, 38, 1, 0},
      None}},
    {{{BundleKind::Standing, 36, 8, -3}, {BundleKind::Standing, 41, 6, 3}, None, None}},
}};

void PaintStalk(QPainter &painter, QPointF from, QPointF to)
{
    painter.setPen(QPen(QColor(0x5C, 0x3B, 0x12), 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    QLinearGradient straw(from, to);
    straw.setColorAt(0.0, QColor(0xD9, 0xB0, 0x5C));
    straw.setColorAt(1.0, QColor(0xFB, 0xE7, 0xA8));
    painter.setPen(QPen(QBrush(straw), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
}

void PaintLyingStalks(QPainter &painter, QPointF centre, int count, qreal length, int seed)
{
    for (int i = 0; i < count; ++i) {
        const qreal y = centre.y() - i * 1.8;
        const qreal slant = Jitter(seed + i) * 2.4;
        const qreal shift = Jitter(seed + 31 * i) * 2.5;
        PaintStalk(painter, QPointF(centre.x() - length / 2 + shift, y + slant),
                   QPointF(centre.x() + length / 2 + shift, y - slant));
    }
}

void PaintBundle(QPainter &painter, const Bundle &bundle, int seed)
{
    switch (bundle.kind) {
    case BundleKind::Standing:
        for (int i = 0; i < bundle.count; ++i) {
            const qreal t = bundle.count > 1 ? qreal(i) / (bundle.count - 1) - 0.5 : 0;
            const qreal spread = std::min(26.0, 3.0 * bundle.count);
            const qreal angle = (bundle.tilt + t * spread + Jitter(seed + i) * 3)
                                * std::numbers::pi / 180.0;
            const QPointF base(bundle.x + t * bundle.count * 0.8, StandingBase);
            const qreal length = StalkLength + Jitter(seed + 7 * i) * 5;
            PaintStalk(painter, base, base + QPointF(std::sin(angle), -std::cos(angle)) * length);
        }
        break;
    case BundleKind::Pile: {
        // The counted stalks lie in groups of four side by side.
        const int groups = (bundle.count + 3) / 4;
        for (int group = 0; group < groups; ++group) {
            const qreal x = bundle.x + (group - (groups - 1) / 2.0) * 31;
            const int stalks = std::min(4, bundle.count - 4 * group);
            PaintLyingStalks(painter, QPointF(x, 68), stalks, 26, seed + 5 * group);
        }
        break;
    }
    case BundleKind::Aside:
        PaintLyingStalks(painter, QPointF(bundle.x, 13), bundle.count, 14, seed);
        break;
    case BundleKind::Hung:
        PaintStalk(painter, QPointF(bundle.x - 10, 11), QPointF(bundle.x + 10, 8.5));
        break;
    }
}

QImage StalkFrame(const FrameBundles &bundles)
{
    QImage frame = TransparentCanvas(StalkFrameSize, StalkFrameSize);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF board(0.5, 0.5, StalkFrameSize - 1, StalkFrameSize - 1);
    QRadialGradient lacquer(board.center() - QPointF(8, 12), StalkFrameSize * 0.8);
    lacquer.setColorAt(0.0, QColor(0x7A, 0x1A, 0x16));
    lacquer.setColorAt(1.0, QColor(0x36, 0x08, 0x08));
    painter.setPen(QPen(Gold, 1.2));
    painter.setBrush(lacquer);
    painter.drawRoundedRect(board, 8, 8);
    painter.setPen(QPen(QColor(Gold.red(), Gold.green(), Gold.blue(), 110), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(board.adjusted(3, 3, -3, -3), 6, 6);
    int seed = 11;
    for (const Bundle &bundle : bundles) {
        if (bundle.count > 0)
            PaintBundle(painter, bundle, seed);
        seed += 17;
    }
    return frame;
}

// --- Lamps and round buttons ----------------------------------------------

struct LampRow {
    LampColour colour;
    QColor body;
};
const std::array<LampRow, 4> lampRows{{
    {LampColour::Grey, QColor(0x8C, 0x8C, 0x8C)},
    {LampColour::Yellow, QColor(0xF2, 0xC2, 0x1B)},
    {LampColour::Red, QColor(0xE0, 0x22, 0x1A)},
    {LampColour::Green, QColor(0x22, 0xB0, 0x3C)},
}};

QImage RoundButton(const QColor &body, void (*paintSign)(QPainter &, QPointF))
{
    QImage image = TransparentCanvas(RoundButtonSize, RoundButtonSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(RoundButtonSize / 2.0, RoundButtonSize / 2.0);
    PaintGlossyDisc(painter, centre, RoundButtonSize / 2.0 - 0.5, body, GoldDark);
    painter.setPen(QPen(GoldLight, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    paintSign(painter, centre);
    return image;
}

} // namespace

const CastingLayout &CastingBackgroundLayout()
{
    return layout;
}

QImage CastingBackgroundPicture()
{
    QImage art = TransparentCanvas(CastingBackgroundWidth, CastingBackgroundHeight);
    {
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintLacquerField(painter);
        PaintMeanderBorder(painter);
        PaintPlaque(painter, plaqueRect);
        PaintBambooTray(painter, layout.tray);
        PaintPaperPanel(painter, layout.entryPanel);
        PaintPaperPanel(painter, layout.valuePanel);
        PaintPaperPanel(painter, layout.quotePanel);
    }
    return CutToOutline(art, CastingOutline());
}

QImage CastingBannerPicture()
{
    QImage image = TransparentCanvas(layout.banner.width(), layout.banner.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintPlaque(painter, QRectF(QPointF(0, 0), plaqueRect.size()));
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    painter.setPen(Qt::NoPen);
    QLinearGradient gold(0, 4, 0, image.height() - 4);
    gold.setColorAt(0.0, GoldLight);
    gold.setColorAt(1.0, Gold);
    painter.setBrush(gold);
    painter.drawPath(CentredTextPath(QStringLiteral("推演卦体"), ArtSerifFont(22), centre));
    // A gold diamond either side of the title.
    for (const qreal side : {-1.0, 1.0}) {
        const QPointF at = centre + QPointF(side * 76, 0);
        QPainterPath diamond;
        diamond.moveTo(at + QPointF(0, -5));
        diamond.lineTo(at + QPointF(5, 0));
        diamond.lineTo(at + QPointF(0, 5));
        diamond.lineTo(at + QPointF(-5, 0));
        diamond.closeSubpath();
        painter.drawPath(diamond);
        painter.setPen(QPen(Gold, 1));
        painter.drawLine(at + QPointF(side * 8, 0), at + QPointF(side * 18, 0));
        painter.setPen(Qt::NoPen);
    }
    return image;
}

std::vector<QImage> StalkAnimationFrames()
{
    std::vector<QImage> frames;
    for (const FrameBundles &bundles : stalkFrames)
        frames.push_back(StalkFrame(bundles));
    return frames;
}

QImage LampPicture(LampColour colour)
{
    QImage image = TransparentCanvas(LampSize, LampSize);
    for (const LampRow &row : lampRows) {
        if (row.colour != colour)
            continue;
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintGlossyDisc(painter, QPointF(LampSize / 2.0, LampSize / 2.0), LampSize / 2.0 - 0.3,
                        row.body, QColor(0x3A, 0x2A, 0x1A));
    }
    return image;
}

QImage SlowerButtonPicture()
{
    return RoundButton(Lacquer, [](QPainter &painter, QPointF centre) {
        painter.drawLine(centre + QPointF(-5, 0), centre + QPointF(5, 0));
    });
}

QImage FasterButtonPicture()
{
    return RoundButton(Lacquer, [](QPainter &painter, QPointF centre) {
        painter.drawLine(centre + QPointF(-5, 0), centre + QPointF(5, 0));
        painter.drawLine(centre + QPointF(0, -5), centre + QPointF(0, 5));
    });
}

QImage CastingCloseButtonPicture()
{
    return RoundButton(Lacquer, [](QPainter &painter, QPointF centre) {
        painter.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
        painter.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));
    });
}

QImage CastingFinishButtonPicture()
{
    return RoundButton(Jade, [](QPainter &painter, QPointF centre) {
        const std::array<QPointF, 3> check{
            {centre + QPointF(-5, 0.5), centre + QPointF(-1.5, 4), centre + QPointF(5, -4)}};
        painter.drawPolyline(check.data(), int(check.size()));
    });
}
