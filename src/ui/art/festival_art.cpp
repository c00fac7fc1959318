#include "ui/art/festival_art.h"

#include "ui/art/ornament_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

using namespace ArtPalette;

constexpr qreal Pi = std::numbers::pi;

const QColor BannerNavy(0, 0, 120);
const QColor FlagRed(0xDE, 0x29, 0x10);
const QColor FlagYellow(0xFF, 0xDE, 0x00);
const QColor LanternRed(0xD7, 0x1E, 0x1E);

const NewYearBannerLayout bannerPlaces{
    QRect(148, 14, 160, 110), QRect(88, 122, 281, 64), QRect(150, 186, 157, 44),
    QRect(110, 232, 237, 24), QRect(90, 258, 277, 36),
};

// Draws each frame of an animation with `paintFrame(painter, frame)`.
FestivalAnimation Animate(int width, int height, int frameCount, int intervalMs,
                          const std::function<void(QPainter &, int)> &paintFrame)
{
    FestivalAnimation animation{{}, intervalMs};
    for (int frame = 0; frame < frameCount; ++frame) {
        QImage image = TransparentCanvas(width, height);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        paintFrame(painter, frame);
        painter.end();
        animation.frames.push_back(image);
    }
    return animation;
}

// --- Lanterns, bursts, sparkles ----------------------------------------------

// A round red lantern hanging from `top` by a cord, `width` across.
void PaintLantern(QPainter &painter, QPointF top, qreal width, qreal cord)
{
    painter.save();
    const qreal height = width * 0.82;
    const QPointF centre = top + QPointF(0, cord + height / 2);
    painter.setPen(QPen(GoldDark, 1.2));
    painter.drawLine(top, top + QPointF(0, cord));

    QRadialGradient glow(centre, width * 0.9);
    glow.setColorAt(0.0, QColor(255, 190, 80, 90));
    glow.setColorAt(1.0, QColor(255, 190, 80, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, width * 0.9, width * 0.9);

    QRadialGradient body(centre - QPointF(width * 0.15, height * 0.15), width * 0.6);
    body.setColorAt(0.0, QColor(0xFF, 0x6A, 0x3A));
    body.setColorAt(0.6, LanternRed);
    body.setColorAt(1.0, QColor(0x8A, 0x0C, 0x0C));
    painter.setBrush(body);
    painter.drawEllipse(centre, width / 2, height / 2);
    // Ribs of the frame.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xF2, 0xB8, 0x40, 170), qMax(0.8, width * 0.025)));
    for (const qreal rib : {0.18, 0.36})
        painter.drawEllipse(centre, width * rib, height / 2);
    painter.drawLine(centre - QPointF(0, height / 2), centre + QPointF(0, height / 2));
    // Gold caps and the tassel.
    const QRectF cap(centre.x() - width * 0.2, centre.y() - height / 2 - height * 0.08, width * 0.4, height * 0.12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    painter.drawRoundedRect(cap, 1.5, 1.5);
    painter.drawRoundedRect(cap.translated(0, height * 0.96), 1.5, 1.5);
    const QPointF tasselTop = centre + QPointF(0, height / 2 + height * 0.08);
    painter.setPen(QPen(LanternRed, qMax(1.0, width * 0.05)));
    for (int strand = -2; strand <= 2; ++strand)
        painter.drawLine(tasselTop, tasselTop + QPointF(strand * width * 0.03, height * 0.42));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    painter.drawEllipse(tasselTop + QPointF(0, height * 0.04), width * 0.06, width * 0.06);
    painter.restore();
}

// One firework burst at `age` 0 (just opened) to 1 (faded out).
void PaintBurst(QPainter &painter, QPointF centre, qreal radius, qreal age, const QColor &colour, int rays)
{
    const qreal spread = radius * (1 - std::pow(1 - age, 2.2));
    const int alpha = int(255 * (1 - age * age));
    painter.save();
    if (age < 0.25) {
        QRadialGradient flash(centre, radius * 0.5);
        flash.setColorAt(0.0, QColor(255, 255, 230, int(220 * (1 - age * 4))));
        flash.setColorAt(1.0, QColor(255, 255, 230, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(flash);
        painter.drawEllipse(centre, radius * 0.5, radius * 0.5);
    }
    // An outer ring of long trails and an inner ring of short ones.
    for (const qreal ring : {1.0, 0.55}) {
        for (int ray = 0; ray < rays; ++ray) {
            const qreal angle = 2 * Pi * (ray + (ring < 1 ? 0.5 : 0)) / rays + age * 0.3;
            const QPointF direction(std::cos(angle), std::sin(angle));
            // Sparks sag a little as they fall.
            const QPointF sag(0, age * age * radius * 0.25 * ring);
            const QPointF tip = centre + direction * spread * ring + sag;
            const QPointF tail = centre + direction * spread * ring * 0.45 + sag * 0.5;
            QLinearGradient trail(tail, tip);
            QColor faint = colour;
            faint.setAlpha(0);
            QColor bright = colour;
            bright.setAlpha(alpha);
            trail.setColorAt(0.0, faint);
            trail.setColorAt(1.0, bright);
            painter.setPen(QPen(QBrush(trail), 2.0 * ring, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(tail, tip);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 252, 230, alpha));
            const qreal spark = (1.6 * (1 - age) + 0.6) * ring;
            painter.drawEllipse(tip, spark, spark);
        }
    }
    painter.restore();
}

// A four-pointed twinkle, `strength` 0 (off) to 1.
void PaintTwinkle(QPainter &painter, QPointF at, qreal size, qreal strength, const QColor &colour)
{
    if (strength <= 0)
        return;
    QColor tint = colour;
    tint.setAlphaF(std::min<qreal>(1.0, strength));
    const qreal arm = size * (0.5 + strength / 2);
    const qreal waist = arm * 0.22;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawPath(Polygon({at + QPointF(0, -arm), at + QPointF(waist, -waist), at + QPointF(arm, 0),
                              at + QPointF(waist, waist), at + QPointF(0, arm), at + QPointF(-waist, waist),
                              at + QPointF(-arm, 0), at + QPointF(-waist, -waist)}));
    painter.restore();
}

// Twinkle strength of sparkle `index` in `frame` of `frameCount`.
qreal TwinkleStrength(int index, int frame, int frameCount)
{
    const qreal phase = qreal(frame) / frameCount + index * 0.37;
    return std::max(0.0, std::sin(2 * Pi * phase));
}

// --- Flags -------------------------------------------------------------------

constexpr int FlagWidth = 84;
constexpr int FlagHeight = 56;

QImage NationalFlag()
{
    QImage flag(FlagWidth, FlagHeight, QImage::Format_ARGB32_Premultiplied);
    flag.fill(FlagRed);
    QPainter painter(&flag);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FlagYellow);
    // The flag is laid out on a 30 × 20 grid; each small star points one
    // tip at the centre of the large one.
    const qreal unit = FlagWidth / 30.0;
    const QPointF bigCentre(5 * unit, 5 * unit);
    painter.drawPath(StarPath(bigCentre, 3 * unit));
    for (const QPointF &grid : {QPointF(10, 2), QPointF(12, 4), QPointF(12, 7), QPointF(10, 9)}) {
        const QPointF centre = grid * unit;
        const QPointF towards = bigCentre - centre;
        const qreal rotation = std::atan2(towards.y(), towards.x()) * 180 / Pi + 90;
        painter.drawPath(StarPath(centre, unit, rotation));
    }
    return flag;
}

// Hammer and sickle in a 10 × 10 box.
QPainterPath HammerAndSickle()
{
    std::vector<QPointF> blade;
    for (const qreal degrees : {105.0, 45.0, -15.0, -75.0, -125.0, -160.0})
        blade.push_back(QPointF(5.2, 4.8) + QPointF(std::cos(degrees * Pi / 180), std::sin(degrees * Pi / 180)) * 3.4);
    const QPointF handleTop = blade.front();
    const QPointF along = QPointF(-1, -1) / std::sqrt(2.0);
    const QPointF across(-along.y(), along.x());
    const QPointF head(3.3, 3.6);
    return Unite({Tube(blade, 1.5, 0.25), Limb({handleTop, handleTop + QPointF(-1.7, 1.9)}, 1.2),
                  Limb({QPointF(8.8, 9.0), head + along * -0.2}, 1.05),
                  Polygon({head + across * 1.9 + along * 0.75, head - across * 1.9 + along * 0.75,
                           head - across * 1.9 - along * 0.55, head + across * 1.9 - along * 0.55})});
}

QImage PartyFlag()
{
    QImage flag(FlagWidth, FlagHeight, QImage::Format_ARGB32_Premultiplied);
    flag.fill(FlagRed);
    QPainter painter(&flag);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FlagYellow);
    const qreal scale = FlagHeight * 0.42 / 10;
    painter.drawPath(QTransform().translate(FlagWidth * 0.07, FlagHeight * 0.07).scale(scale, scale).map(HammerAndSickle()));
    return flag;
}

// Draws the flat flag as cloth waving on a pole at the left, `phase` 0..1.
void PaintFlagOnPole(QPainter &painter, const QImage &flat, qreal phase)
{
    const QPointF hoist(16, 10);
    painter.save();
    painter.setPen(Qt::NoPen);
    QLinearGradient pole(QPointF(11, 0), QPointF(15, 0));
    pole.setColorAt(0.0, GoldDark);
    pole.setColorAt(0.5, GoldLight);
    pole.setColorAt(1.0, GoldDark);
    painter.setBrush(pole);
    painter.drawRect(QRectF(11.5, 8, 3.5, 80));
    painter.setBrush(Gold);
    painter.drawEllipse(QPointF(13.25, 7), 3.6, 3.6);
    for (int x = 0; x < flat.width(); ++x) {
        const qreal u = qreal(x) / flat.width();
        const qreal wave = 2 * Pi * (u * 1.2 - phase);
        const qreal lift = 4.5 * u * std::sin(wave);
        const qreal slope = std::cos(wave) * std::min(1.0, u * 3);
        const QRectF slice(hoist.x() + x, hoist.y() + lift, 1.02, flat.height());
        painter.drawImage(slice, flat, QRectF(x, 0, 1, flat.height()));
        const QColor shade = slope > 0 ? QColor(0, 0, 0, int(70 * slope)) : QColor(255, 255, 255, int(-45 * slope));
        painter.fillRect(slice, shade);
    }
    painter.restore();
}

// The flag waving through one period, with sparkles beside it.
FestivalAnimation FlagAnimation(const QImage &flag, const QColor &sparkle)
{
    constexpr int frames = 10;
    return Animate(120, 90, frames, 100, [&flag, &sparkle](QPainter &painter, int frame) {
        PaintFlagOnPole(painter, flag, qreal(frame) / frames);
        for (int i = 0; i < 4; ++i)
            PaintTwinkle(painter, QPointF(108 - (i % 2) * 8, 12 + i * 20), 5, TwinkleStrength(i, frame, frames), sparkle);
    });
}

// --- Spring Festival ---------------------------------------------------------

QPainterPath CarpBody()
{
    // A carp leaping to the upper left, its body bent in an arc.
    QPainterPath body;
    body.moveTo(0, 0);
    body.cubicTo(14, -16, 46, -14, 66, 4);
    body.cubicTo(56, 0, 50, 2, 44, 12);
    body.cubicTo(30, 14, 10, 12, 0, 0);
    return body;
}

void PaintCarp(QPainter &painter, QPointF at, qreal scale, qreal degrees)
{
    painter.save();
    painter.translate(at);
    painter.rotate(degrees);
    painter.scale(scale, scale);
    const QPainterPath body = CarpBody();
    // Tail fin, forked.
    QPainterPath tail;
    tail.moveTo(60, 3);
    tail.cubicTo(70, -10, 82, -14, 90, -10);
    tail.cubicTo(80, -2, 78, 6, 86, 18);
    tail.cubicTo(76, 16, 66, 12, 60, 6);
    QLinearGradient fin(60, -10, 90, 18);
    fin.setColorAt(0.0, QColor(0xF0, 0x6A, 0x1A));
    fin.setColorAt(1.0, QColor(0xF8, 0xC0, 0x40));
    painter.setPen(QPen(QColor(0x9A, 0x30, 0x10), 0.8));
    painter.setBrush(fin);
    painter.drawPath(tail);
    painter.drawPath(Polygon({{22, -10}, {34, -22}, {46, -18}, {48, -8}}));
    painter.drawPath(Polygon({{26, 12}, {30, 22}, {38, 13}}));

    QLinearGradient scales(0, -14, 0, 14);
    scales.setColorAt(0.0, QColor(0xE0, 0x30, 0x18));
    scales.setColorAt(0.55, QColor(0xF2, 0x7A, 0x22));
    scales.setColorAt(1.0, QColor(0xF8, 0xD0, 0x70));
    painter.setBrush(scales);
    painter.drawPath(body);
    // Rows of scales.
    painter.save();
    painter.setClipPath(body);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xA8, 0x26, 0x10, 150), 0.8));
    for (int column = 0; column < 7; ++column)
        for (int row = -2; row <= 2; ++row)
            painter.drawArc(QRectF(14 + column * 6.5 + (row % 2) * 3.2, row * 5.0 - 3, 7, 7), -90 * 16, 180 * 16);
    painter.restore();
    // Gill, eye and barbel.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x9A, 0x30, 0x10), 1));
    painter.drawArc(QRectF(6, -8, 12, 16), -70 * 16, 140 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(7, -3), 2.6, 2.6);
    painter.setBrush(Ink);
    painter.drawEllipse(QPointF(7.3, -3), 1.4, 1.4);
    painter.setPen(QPen(QColor(0x9A, 0x30, 0x10), 0.9, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath barbel(QPointF(1, 2));
    barbel.cubicTo(-4, 6, -6, 12, -2, 16);
    painter.drawPath(barbel);
    painter.restore();
}

void PaintLotusLeaf(QPainter &painter, QPointF centre, qreal rx, qreal ry)
{
    painter.save();
    QRadialGradient leaf(centre - QPointF(rx * 0.2, ry * 0.3), rx * 1.1);
    leaf.setColorAt(0.0, QColor(0x7C, 0xB8, 0x5A));
    leaf.setColorAt(1.0, QColor(0x2E, 0x6E, 0x3A));
    painter.setPen(QPen(QColor(0x24, 0x50, 0x28), 1));
    painter.setBrush(leaf);
    painter.drawEllipse(centre, rx, ry);
    painter.setPen(QPen(QColor(0xC8, 0xE0, 0x9A, 150), 0.8));
    for (int vein = 0; vein < 9; ++vein) {
        const qreal angle = 2 * Pi * vein / 9;
        painter.drawLine(centre, centre + QPointF(std::cos(angle) * rx * 0.9, std::sin(angle) * ry * 0.9));
    }
    painter.restore();
}

void PaintLotusFlower(QPainter &painter, QPointF base, qreal size)
{
    painter.save();
    painter.translate(base);
    painter.scale(size / 40, size / 40);
    QLinearGradient petal(0, -36, 0, 0);
    petal.setColorAt(0.0, QColor(0xF0, 0x5A, 0x8A));
    petal.setColorAt(1.0, QColor(0xFC, 0xE0, 0xE8));
    painter.setPen(QPen(QColor(0xB8, 0x30, 0x60), 0.8));
    painter.setBrush(petal);
    // Outer petals first, the upright middle petal last.
    for (const qreal degrees : {-62.0, 62.0, -34.0, 34.0, 0.0}) {
        painter.save();
        painter.rotate(degrees);
        QPainterPath leaf(QPointF(0, 0));
        leaf.cubicTo(-11, -10, -9, -26, 0, -36);
        leaf.cubicTo(9, -26, 11, -10, 0, 0);
        painter.drawPath(leaf);
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF4, 0xC8, 0x30));
    painter.drawEllipse(QPointF(0, -4), 5, 3);
    painter.restore();
}

// The red lacquer mount of the New Year print.
void PaintRedFrame(QPainter &painter, const QRectF &box)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    QLinearGradient lacquer(box.topLeft(), box.bottomRight());
    lacquer.setColorAt(0.0, Vermilion);
    lacquer.setColorAt(1.0, Lacquer);
    painter.setBrush(lacquer);
    painter.drawRoundedRect(box, 6, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Gold, 1.4));
    painter.drawRoundedRect(box.adjusted(3, 3, -3, -3), 4, 4);
    painter.restore();
}

} // namespace

const NewYearBannerLayout &NewYearBannerPlaces()
{
    return bannerPlaces;
}

QImage NewYearBannerPicture()
{
    QImage image(NewYearBannerWidth, NewYearBannerHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(BannerNavy);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(0, 0, NewYearBannerWidth, NewYearBannerHeight);

    QRadialGradient night(whole.center() - QPointF(0, 40), whole.width() * 0.7);
    night.setColorAt(0.0, QColor(0x18, 0x1C, 0xA0));
    night.setColorAt(1.0, QColor(0, 0, 0x60));
    painter.fillRect(whole, night);

    // Stars scattered over the sky, away from the text places.
    for (int i = 0; i < 46; ++i) {
        const QPointF at(std::fmod(i * 97.3 + 13, whole.width() - 20) + 10, std::fmod(i * 61.7 + 7, whole.height() - 20) + 10);
        const qreal size = 1.2 + (i % 4) * 0.7;
        if (bannerPlaces.greeting.contains(at.toPoint()) || bannerPlaces.year.contains(at.toPoint())
            || bannerPlaces.english.contains(at.toPoint()))
            continue;
        PaintTwinkle(painter, at, size * 1.6, 0.45 + (i % 3) * 0.2, GoldLight);
    }

    // Gold frame with corner brackets.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Gold, 3));
    painter.drawRect(whole.adjusted(6, 6, -6, -6));
    painter.setPen(QPen(GoldDark, 1));
    painter.drawRect(whole.adjusted(11, 11, -11, -11));
    painter.setPen(QPen(GoldLight, 2.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QPointF &corner : {whole.topLeft(), whole.topRight(), whole.bottomLeft(), whole.bottomRight()}) {
        const qreal sx = corner.x() < 1 ? 1 : -1;
        const qreal sy = corner.y() < 1 ? 1 : -1;
        const QPointF inner = corner + QPointF(sx * 15, sy * 15);
        const std::array<QPointF, 3> bracket{{inner + QPointF(sx * 28, 0), inner, inner + QPointF(0, sy * 28)}};
        painter.drawPolyline(bracket.data(), int(bracket.size()));
        painter.drawRect(QRectF(inner + QPointF(sx * 5, sy * 5), QSizeF(sx * 6, sy * 6)).normalized());
    }

    // A plum branch in blossom across the lower left corner.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x4A, 0x2A, 0x1A));
    painter.drawPath(Unite({Tube({{14, 300}, {40, 282}, {62, 276}, {92, 256}}, 7, 2),
                            Tube({{40, 282}, {46, 262}, {60, 248}}, 4, 1.5),
                            Tube({{62, 276}, {84, 280}, {104, 274}}, 3.5, 1.2)}));
    for (const QPointF &blossom : {QPointF(44, 266), QPointF(58, 250), QPointF(70, 270), QPointF(90, 258),
                                   QPointF(100, 275), QPointF(30, 290), QPointF(82, 280)}) {
        painter.setBrush(QColor(0xF7, 0xA8, 0xC0));
        for (int petal = 0; petal < 5; ++petal) {
            const qreal angle = 2 * Pi * petal / 5;
            painter.drawEllipse(blossom + QPointF(std::cos(angle), std::sin(angle)) * 3.2, 3, 3);
        }
        painter.setBrush(QColor(0xF4, 0xD0, 0x40));
        painter.drawEllipse(blossom, 1.6, 1.6);
    }

    PaintLantern(painter, QPointF(58, 12), 54, 26);
    PaintLantern(painter, QPointF(whole.width() - 58, 12), 54, 26);
    PaintLantern(painter, QPointF(104, 12), 34, 12);
    PaintLantern(painter, QPointF(whole.width() - 104, 12), 34, 12);
    return image;
}

FestivalAnimation NewYearFireworksAnimation()
{
    struct Burst {
        QPointF centre;
        qreal radius;
        qreal phase;
        QColor colour;
    };
    const std::array<Burst, 3> bursts{{{{44, 44}, 34, 0.0, GoldLight},
                                       {{116, 40}, 32, 0.36, QColor(0xFF, 0x70, 0x80)},
                                       {{82, 70}, 30, 0.68, QColor(0x8C, 0xE8, 0xFF)}}};
    constexpr int frames = 14;
    return Animate(160, 110, frames, 110, [&bursts](QPainter &painter, int frame) {
        for (const Burst &burst : bursts) {
            const qreal age = std::fmod(qreal(frame) / frames + burst.phase, 1.0) / 0.85;
            if (age < 1)
                PaintBurst(painter, burst.centre, burst.radius, age, burst.colour, 18);
        }
    });
}

QImage YouthDayBadgePicture()
{
    constexpr int size = 72;
    QImage image = TransparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    // Sun rays behind the medallion.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    for (int ray = 0; ray < 24; ++ray) {
        const qreal angle = 2 * Pi * ray / 24;
        const QPointF out(std::cos(angle), std::sin(angle));
        const QPointF side(-out.y(), out.x());
        painter.drawPath(Polygon({centre + out * 35.5, centre + out * 27 + side * 3, centre + out * 27 - side * 3}));
    }
    PaintGlossyDisc(painter, centre, 29, Vermilion, GoldDark);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(GoldLight, 1));
    painter.drawEllipse(centre, 24.5, 24.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FlagYellow);
    painter.drawPath(StarPath(centre + QPointF(0, -14.5), 6));
    painter.setBrush(GoldLight);
    painter.drawPath(CentredTextPath(QStringLiteral("五四"), ArtSerifFont(19), centre + QPointF(0, 3)));
    painter.drawPath(CentredTextPath(QStringLiteral("青年节"), ArtSerifFont(8.5), centre + QPointF(0, 17)));
    return image;
}

QImage ArmyDayBadgePicture()
{
    constexpr int size = 80;
    QImage image = TransparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0 + 3);
    painter.setPen(Qt::NoPen);
    QLinearGradient rim(0, 0, size, size);
    rim.setColorAt(0.0, GoldLight);
    rim.setColorAt(1.0, GoldDark);
    painter.setBrush(rim);
    painter.drawPath(StarPath(centre, 39));
    QRadialGradient red(centre - QPointF(6, 8), 34);
    red.setColorAt(0.0, QColor(0xF0, 0x40, 0x30));
    red.setColorAt(1.0, QColor(0xA8, 0x10, 0x10));
    painter.setBrush(red);
    painter.drawPath(StarPath(centre, 33.5));
    // Raised facets: each point lit on one side.
    painter.setBrush(QColor(255, 255, 255, 40));
    for (int point = 0; point < 5; ++point) {
        const qreal angle = (point * 72 - 90) * Pi / 180;
        const qreal side = (point * 72 - 54) * Pi / 180;
        painter.drawPath(Polygon({centre, centre + QPointF(std::cos(angle), std::sin(angle)) * 33.5,
                                  centre + QPointF(std::cos(side), std::sin(side)) * 12.8}));
    }
    painter.setBrush(rim);
    painter.drawEllipse(centre + QPointF(0, 1), 14.5, 14.5);
    painter.setBrush(QColor(0xC8, 0x18, 0x14));
    painter.drawEllipse(centre + QPointF(0, 1), 12.5, 12.5);
    painter.setBrush(GoldLight);
    painter.drawPath(CentredTextPath(QStringLiteral("八一"), ArtSerifFont(12.5), centre + QPointF(0, 1)));
    return image;
}

FestivalAnimation PartyAnniversaryAnimation()
{
    return FlagAnimation(PartyFlag(), GoldLight);
}

FestivalAnimation NationalDayAnimation()
{
    return FlagAnimation(NationalFlag(), FlagYellow);
}

FestivalAnimation MidAutumnAnimation()
{
    constexpr int width = 120;
    constexpr int height = 90;
    constexpr int frames = 16;
    return Animate(width, height, frames, 150, [](QPainter &painter, int frame) {
        const QRectF card(0.5, 0.5, width - 1, height - 1);
        QPainterPath cardShape;
        cardShape.addRoundedRect(card, 8, 8);
        QLinearGradient sky(card.topLeft(), card.bottomLeft());
        sky.setColorAt(0.0, QColor(0x0E, 0x16, 0x3C));
        sky.setColorAt(1.0, QColor(0x2A, 0x2E, 0x6A));
        painter.setPen(QPen(Gold, 1.2));
        painter.setBrush(sky);
        painter.drawPath(cardShape);
        painter.setClipPath(cardShape);

        for (int i = 0; i < 6; ++i)
            PaintTwinkle(painter, QPointF(12 + i * 17, 10 + (i * 23) % 34), 3, TwinkleStrength(i, frame, frames), GoldLight);

        const QPointF moon(80, 38);
        const qreal pulse = 0.5 + 0.5 * std::sin(2 * Pi * frame / frames);
        QRadialGradient halo(moon, 36);
        halo.setColorAt(0.0, QColor(255, 230, 150, int(110 + 50 * pulse)));
        halo.setColorAt(1.0, QColor(255, 230, 150, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(moon, 36, 36);
        QRadialGradient face(moon - QPointF(6, 6), 26);
        face.setColorAt(0.0, QColor(0xFF, 0xF6, 0xD0));
        face.setColorAt(1.0, QColor(0xF4, 0xC8, 0x5A));
        painter.setBrush(face);
        painter.drawEllipse(moon, 22, 22);
        // The jade rabbit on the moon.
        painter.setBrush(QColor(0xD8, 0xA8, 0x48, 150));
        painter.drawPath(Unite({Oval(84, 44, 7, 5), Oval(77, 40, 3.8, 3.4), Oval(76, 33, 1.5, 4.5, -15),
                                Oval(79, 33, 1.5, 4.5, 10), Oval(90, 42, 2, 2)}));

        // Clouds drifting across, wrapping round.
        const qreal drift = std::fmod(frame * 140.0 / frames, 140.0);
        painter.setBrush(QColor(0xE8, 0xE4, 0xF8, 215));
        for (const qreal start : {0.0, 70.0}) {
            const qreal x = std::fmod(start + drift, 140.0) - 20;
            painter.drawPath(Unite({Oval(x, 58, 14, 5), Oval(x - 7, 55, 6, 5), Oval(x + 5, 53, 7, 6)}));
        }

        // An osmanthus branch from the upper left.
        painter.setBrush(QColor(0x5A, 0x3A, 0x22));
        painter.drawPath(Tube({{-2, 6}, {16, 14}, {30, 30}, {40, 36}}, 4, 1.5));
        painter.setBrush(QColor(0x3E, 0x7A, 0x3A));
        for (const QPointF &leaf : {QPointF(12, 18), QPointF(24, 16), QPointF(28, 34), QPointF(38, 28)})
            painter.drawPath(Oval(leaf.x(), leaf.y(), 6, 2.6, leaf.x() * 7));
        painter.setBrush(QColor(0xFF, 0xC2, 0x30));
        for (const QPointF &flower : {QPointF(18, 12), QPointF(20, 20), QPointF(32, 24), QPointF(34, 36), QPointF(42, 34)})
            painter.drawEllipse(flower, 1.9, 1.9);

        // A mooncake on a plate in the lower left.
        painter.setBrush(QColor(0xF0, 0xE6, 0xD0));
        painter.drawEllipse(QPointF(26, 78), 20, 6);
        QRadialGradient crust(QPointF(24, 70), 14);
        crust.setColorAt(0.0, QColor(0xE8, 0xA8, 0x50));
        crust.setColorAt(1.0, QColor(0xA8, 0x60, 0x20));
        painter.setBrush(crust);
        painter.drawEllipse(QPointF(26, 72), 13, 8);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x8A, 0x48, 0x14), 1));
        painter.drawEllipse(QPointF(26, 71.5), 7.5, 4.2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x8A, 0x48, 0x14));
        painter.drawPath(CentredTextPath(QStringLiteral("月"), ArtSerifFont(6), QPointF(26, 71.5)));
    });
}

FestivalAnimation ChristmasTreeAnimation()
{
    constexpr int frames = 8;
    return Animate(80, 100, frames, 160, [](QPainter &painter, int frame) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x6A, 0x3E, 0x1E));
        painter.drawRect(QRectF(35, 80, 10, 12));
        painter.setBrush(QColor(0xB0, 0x20, 0x20));
        painter.drawRoundedRect(QRectF(28, 88, 24, 9), 2, 2);
        const std::array<QRectF, 3> tiers{{{14, 54, 52, 30}, {19, 36, 42, 26}, {25, 18, 30, 22}}};
        for (const QRectF &tier : tiers) {
            QLinearGradient needles(tier.topLeft(), tier.bottomRight());
            needles.setColorAt(0.0, QColor(0x3C, 0x9A, 0x48));
            needles.setColorAt(1.0, QColor(0x16, 0x5A, 0x2A));
            painter.setBrush(needles);
            QPainterPath tree(QPointF(tier.center().x(), tier.top()));
            tree.lineTo(tier.right(), tier.bottom() - 3);
            tree.quadTo(tier.center().x(), tier.bottom() + 3, tier.left(), tier.bottom() - 3);
            tree.closeSubpath();
            painter.drawPath(tree);
        }
        // A garland and the lights along it, lit in turn.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Gold, 1.2));
        std::array<QPainterPath, 3> garlands;
        const std::array<QLineF, 3> spans{{{30, 33, 50, 37}, {24, 50, 56, 56}, {19, 70, 62, 77}}};
        for (size_t i = 0; i < spans.size(); ++i) {
            garlands[i].moveTo(spans[i].p1());
            garlands[i].quadTo(spans[i].center() + QPointF(0, 7), spans[i].p2());
            painter.drawPath(garlands[i]);
        }
        painter.setPen(Qt::NoPen);
        const std::array<QColor, 4> bulbs{QColor(0xFF, 0x40, 0x40), QColor(0xFF, 0xD8, 0x40), QColor(0x50, 0xA0, 0xFF),
                                          QColor(0xFF, 0x80, 0xE0)};
        int bulb = 0;
        for (const QPainterPath &garland : garlands) {
            for (const qreal t : {0.08, 0.36, 0.64, 0.92}) {
                const QPointF at = garland.pointAtPercent(t);
                const bool lit = (bulb + frame) % 3 != 0;
                QColor colour = bulbs[bulb % bulbs.size()];
                if (lit) {
                    QRadialGradient glow(at, 5);
                    glow.setColorAt(0.0, QColor(colour.red(), colour.green(), colour.blue(), 170));
                    glow.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
                    painter.setBrush(glow);
                    painter.drawEllipse(at, 5, 5);
                } else {
                    colour = colour.darker(170);
                }
                painter.setBrush(colour);
                painter.drawEllipse(at, 2, 2);
                ++bulb;
            }
        }
        const qreal shine = 0.6 + 0.4 * std::sin(2 * Pi * frame / frames);
        PaintTwinkle(painter, QPointF(40, 16), 11, shine, QColor(0xFF, 0xF0, 0xA0));
        painter.setBrush(FlagYellow);
        painter.drawPath(StarPath(QPointF(40, 17), 7));
    });
}

FestivalAnimation ChristmasBellsAnimation()
{
    constexpr int frames = 12;
    return Animate(80, 100, frames, 110, [](QPainter &painter, int frame) {
        const qreal swing = 14 * std::sin(2 * Pi * frame / frames);
        const QPointF knot(40, 22);
        for (const qreal side : {-1.0, 1.0}) {
            painter.save();
            painter.translate(knot);
            painter.rotate(side * 26 + swing * (side < 0 ? 1.0 : 0.8));
            painter.translate(0, 4);
            painter.scale(0.86, 0.86);
            QPainterPath bell(QPointF(-4, 8));
            bell.cubicTo(-4, 2, 4, 2, 4, 8);
            bell.cubicTo(12, 14, 12, 34, 22, 42);
            bell.lineTo(-22, 42);
            bell.cubicTo(-12, 34, -12, 14, -4, 8);
            QLinearGradient gold(-20, 0, 20, 0);
            gold.setColorAt(0.0, GoldDark);
            gold.setColorAt(0.35, GoldLight);
            gold.setColorAt(1.0, GoldDark);
            painter.setPen(QPen(QColor(0x7A, 0x52, 0x10), 1));
            painter.setBrush(gold);
            painter.drawPath(bell);
            painter.drawRoundedRect(QRectF(-24, 40, 48, 6), 3, 3);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x7A, 0x52, 0x10));
            painter.drawEllipse(QPointF(-swing * 0.3, 49), 5, 5);
            painter.restore();
        }
        // Holly and the bow that ties the bells.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1E, 0x7A, 0x34));
        painter.drawPath(Oval(30, 16, 10, 4, -25));
        painter.drawPath(Oval(50, 16, 10, 4, 25));
        painter.setBrush(QColor(0xC8, 0x14, 0x1C));
        painter.drawPath(Unite({Oval(32, 22, 8, 5, 20), Oval(48, 22, 8, 5, -20),
                                Tube({{38, 24}, {34, 34}, {30, 42}}, 4, 3), Tube({{42, 24}, {46, 34}, {50, 42}}, 4, 3)}));
        painter.setBrush(QColor(0xE0, 0x20, 0x28));
        painter.drawEllipse(knot, 4, 4);
        for (const QPointF &berry : {QPointF(36, 12), QPointF(41, 10), QPointF(45, 13)})
            painter.drawEllipse(berry, 2.2, 2.2);
        for (int i = 0; i < 3; ++i)
            PaintTwinkle(painter, QPointF(12 + i * 28, 88 - (i % 2) * 10), 4, TwinkleStrength(i, frame, frames), GoldLight);
    });
}

QImage LotusCarpPicture()
{
    constexpr int width = 300;
    constexpr int height = 170;
    QImage image = TransparentCanvas(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0.5, 0.5, width - 1, height - 1);
    PaintRedFrame(painter, box);
    const QRectF paper = box.adjusted(8, 8, -8, -8);
    QLinearGradient ground(paper.topLeft(), paper.bottomLeft());
    ground.setColorAt(0.0, QColor(0xFC, 0xF3, 0xDC));
    ground.setColorAt(1.0, QColor(0xF2, 0xE2, 0xBC));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRect(paper);
    painter.setClipRect(paper);

    // Water with ripples.
    QLinearGradient water(0, 112, 0, paper.bottom());
    water.setColorAt(0.0, QColor(0x8C, 0xC8, 0xC0));
    water.setColorAt(1.0, QColor(0x3E, 0x8E, 0x98));
    QPainterPath surface(QPointF(paper.left(), 118));
    for (qreal x = paper.left(); x < paper.right() + 20; x += 20) {
        surface.quadTo(x + 5, 113, x + 10, 118);
        surface.quadTo(x + 15, 123, x + 20, 118);
    }
    surface.lineTo(paper.right() + 20, paper.bottom());
    surface.lineTo(paper.left(), paper.bottom());
    surface.closeSubpath();
    painter.setBrush(water);
    painter.drawPath(surface);
    painter.setPen(QPen(QColor(255, 255, 255, 140), 1));
    painter.setBrush(Qt::NoBrush);
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 6; ++i)
            painter.drawArc(QRectF(20 + i * 46 + row * 17, 128 + row * 10, 22, 6), 0, 180 * 16);

    // Lotus stems, leaves and flowers.
    painter.setPen(QPen(QColor(0x3A, 0x6E, 0x32), 2.2));
    painter.drawLine(QPointF(232, 120), QPointF(226, 66));
    painter.drawLine(QPointF(262, 122), QPointF(258, 96));
    painter.drawLine(QPointF(60, 122), QPointF(64, 92));
    PaintLotusLeaf(painter, QPointF(262, 102), 26, 9);
    PaintLotusLeaf(painter, QPointF(62, 120), 34, 10);
    PaintLotusLeaf(painter, QPointF(150, 126), 28, 8);
    PaintLotusFlower(painter, QPointF(226, 68), 40);
    PaintLotusFlower(painter, QPointF(64, 94), 30);
    // A bud.
    painter.setPen(QPen(QColor(0x3A, 0x6E, 0x32), 1.8));
    painter.drawLine(QPointF(200, 122), QPointF(196, 92));
    painter.setPen(QPen(QColor(0xB8, 0x30, 0x60), 0.8));
    QLinearGradient bud(0, 74, 0, 94);
    bud.setColorAt(0.0, QColor(0xF0, 0x5A, 0x8A));
    bud.setColorAt(1.0, QColor(0xFC, 0xE0, 0xE8));
    painter.setBrush(bud);
    QPainterPath budShape(QPointF(196, 93));
    budShape.cubicTo(186, 86, 190, 78, 196, 72);
    budShape.cubicTo(202, 78, 206, 86, 196, 93);
    painter.drawPath(budShape);

    // The carp leaping out of the water, with a splash.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 170));
    for (const QPointF &drop : {QPointF(176, 110), QPointF(184, 101), QPointF(170, 102), QPointF(190, 108)})
        painter.drawEllipse(drop, 2.4, 3.2);
    PaintCarp(painter, QPointF(108, 70), 1.25, -18);

    // The inscription down the upper left corner and a seal.
    painter.setClipping(false);
    painter.setBrush(Ink);
    const QFont font = ArtSerifFont(16);
    const QString inscription = QStringLiteral("莲年有余");
    for (int i = 0; i < inscription.size(); ++i)
        painter.drawPath(CentredTextPath(inscription.mid(i, 1), font, QPointF(26, 26 + i * 19)));
    painter.setBrush(Vermilion);
    painter.drawRoundedRect(QRectF(18, 102, 16, 16), 2, 2);
    painter.setBrush(QColor(0xFB, 0xF1, 0xDC));
    painter.drawPath(CentredTextPath(QStringLiteral("福"), ArtSerifFont(11), QPointF(26, 110)));
    return image;
}

QImage LanternPairPicture()
{
    constexpr int width = 120;
    constexpr int height = 150;
    QImage image = TransparentCanvas(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A carved beam the lanterns hang from.
    QLinearGradient beam(0, 2, 0, 12);
    beam.setColorAt(0.0, Vermilion);
    beam.setColorAt(1.0, LacquerDark);
    painter.setPen(QPen(Gold, 1));
    painter.setBrush(beam);
    painter.drawRoundedRect(QRectF(4, 3, width - 8, 9), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    painter.drawEllipse(QPointF(8, 7.5), 4, 4);
    painter.drawEllipse(QPointF(width - 8, 7.5), 4, 4);
    constexpr qreal lanternWidth = 54;
    const std::array<std::pair<qreal, qreal>, 2> hangings{{{32, 20}, {88, 46}}};
    const std::array<QString, 2> words{QStringLiteral("春"), QStringLiteral("福")};
    for (size_t i = 0; i < hangings.size(); ++i) {
        const auto [x, cord] = hangings[i];
        PaintLantern(painter, QPointF(x, 12), lanternWidth, cord);
        const QPainterPath word =
            CentredTextPath(words[i], ArtSerifFont(21), QPointF(x, 12 + cord + lanternWidth * 0.41));
        painter.setPen(QPen(QColor(0x7A, 0x08, 0x08), 2.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(word);
        painter.setPen(Qt::NoPen);
        painter.setBrush(GoldLight);
        painter.drawPath(word);
    }
    return image;
}

QImage FortuneDiamondPicture()
{
    constexpr int size = 120;
    QImage image = TransparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const qreal reach = size / 2.0 - 2;
    const auto diamond = [&centre](qreal r) {
        return Polygon({centre + QPointF(0, -r), centre + QPointF(r, 0), centre + QPointF(0, r), centre + QPointF(-r, 0)});
    };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawPath(diamond(reach).translated(1.5, 2));
    QRadialGradient paper(centre - QPointF(12, 16), reach * 1.3);
    paper.setColorAt(0.0, QColor(0xF0, 0x3A, 0x2A));
    paper.setColorAt(1.0, QColor(0xA8, 0x10, 0x10));
    painter.setBrush(paper);
    painter.drawPath(diamond(reach));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Gold, 2));
    painter.drawPath(diamond(reach - 6));
    painter.setPen(QPen(GoldDark, 0.8));
    painter.drawPath(diamond(reach - 10));
    // Auspicious dots in the four corners of the paper.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    for (const QPointF &direction : {QPointF(0, -1), QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0)})
        painter.drawPath(StarPath(centre + direction * (reach - 18), 4.5));
    QLinearGradient ink(0, 30, 0, 90);
    ink.setColorAt(0.0, QColor(0x30, 0x18, 0x10));
    ink.setColorAt(1.0, Ink);
    painter.setBrush(ink);
    painter.drawPath(CentredTextPath(QStringLiteral("福"), ArtSerifFont(54), centre));
    return image;
}
