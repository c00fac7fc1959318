#include "ui/art/tips_art.h"

#include "ui/art/festival_art.h"
#include "ui/art/ornament_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

using namespace ArtPalette;

constexpr int Width = 120;
constexpr int Height = 150;

struct GroupedName {
    QStringView name;
    TipsPictureGroup group;
};

// The festival names, as the evaluation writes them, that have a picture
// of their own.
constexpr std::array GroupedNames{
    GroupedName{u"春节（大年初一）", TipsPictureGroup::SpringFestival},
    GroupedName{u"除夕", TipsPictureGroup::SpringFestival},
    GroupedName{u"元宵节", TipsPictureGroup::SpringFestival},
    GroupedName{u"元旦", TipsPictureGroup::SpringFestival},
    GroupedName{u"中秋节", TipsPictureGroup::MidAutumn},
    GroupedName{u"七夕节", TipsPictureGroup::MidAutumn},
    GroupedName{u"国庆节", TipsPictureGroup::National},
    GroupedName{u"中国共产党建党日", TipsPictureGroup::National},
    GroupedName{u"建军节", TipsPictureGroup::National},
    GroupedName{u"五四青年节", TipsPictureGroup::National},
    GroupedName{u"五一国际劳动节", TipsPictureGroup::National},
    GroupedName{u"香港回归纪念日", TipsPictureGroup::National},
    GroupedName{u"澳门回归纪念日", TipsPictureGroup::National},
    GroupedName{u"孙中山诞辰纪念日", TipsPictureGroup::National},
    GroupedName{u"毛泽东诞辰纪念日", TipsPictureGroup::National},
    GroupedName{u"圣诞节", TipsPictureGroup::Christmas},
    GroupedName{u"情人节", TipsPictureGroup::Family},
    GroupedName{u"三八妇女节", TipsPictureGroup::Family},
    GroupedName{u"母亲节", TipsPictureGroup::Family},
    GroupedName{u"父亲节", TipsPictureGroup::Family},
    GroupedName{u"国际家庭日", TipsPictureGroup::Family},
    GroupedName{u"国际儿童节", TipsPictureGroup::Family},
    GroupedName{u"感恩节", TipsPictureGroup::Family},
    GroupedName{u"教师节", TipsPictureGroup::Family},
    GroupedName{u"植树节", TipsPictureGroup::Nature},
    GroupedName{u"世界湿地日", TipsPictureGroup::Nature},
    GroupedName{u"世界森林日", TipsPictureGroup::Nature},
    GroupedName{u"世界水日", TipsPictureGroup::Nature},
    GroupedName{u"世界气象日", TipsPictureGroup::Nature},
    GroupedName{u"世界地球日", TipsPictureGroup::Nature},
    GroupedName{u"国际生物多样性日", TipsPictureGroup::Nature},
    GroupedName{u"世界环境日", TipsPictureGroup::Nature},
    GroupedName{u"防治荒漠化和干旱日", TipsPictureGroup::Nature},
    GroupedName{u"全国土地日", TipsPictureGroup::Nature},
    GroupedName{u"国际臭氧层保护日", TipsPictureGroup::Nature},
    GroupedName{u"世界动物日", TipsPictureGroup::Nature},
    GroupedName{u"世界粮食日", TipsPictureGroup::Nature},
    GroupedName{u"全国爱耳日", TipsPictureGroup::Health},
    GroupedName{u"世界防治结核病日", TipsPictureGroup::Health},
    GroupedName{u"世界卫生日", TipsPictureGroup::Health},
    GroupedName{u"世界红十字日", TipsPictureGroup::Health},
    GroupedName{u"国际护士节", TipsPictureGroup::Health},
    GroupedName{u"全国学生营养日", TipsPictureGroup::Health},
    GroupedName{u"世界无烟日", TipsPictureGroup::Health},
    GroupedName{u"全国助残日", TipsPictureGroup::Health},
    GroupedName{u"全国爱眼日", TipsPictureGroup::Health},
    GroupedName{u"国际反毒品日", TipsPictureGroup::Health},
    GroupedName{u"全国爱牙日", TipsPictureGroup::Health},
    GroupedName{u"全国高血压日", TipsPictureGroup::Health},
    GroupedName{u"世界精神卫生日", TipsPictureGroup::Health},
    GroupedName{u"国际盲人节", TipsPictureGroup::Health},
    GroupedName{u"世界传统医药日", TipsPictureGroup::Health},
};

TipsPictureGroup GroupOfEntry(QStringView entry)
{
    entry = entry.trimmed();
    if (entry.isEmpty())
        return TipsPictureGroup::Traditional;
    const bool lunar = entry.front() == u'★';
    const QStringView name = entry.mid(1);
    for (const GroupedName &grouped : GroupedNames) {
        if (grouped.name == name)
            return grouped.group;
    }
    return lunar ? TipsPictureGroup::Traditional : TipsPictureGroup::World;
}

// A heart with its notch at `top` and its point `size` × 0.9 below it; the
// lobes reach `size` × 0.55 to either side.
QPainterPath HeartPath(QPointF top, qreal size)
{
    QPainterPath heart;
    heart.moveTo(top);
    heart.cubicTo(top + QPointF(0, -size * 0.35), top + QPointF(-size * 0.55, -size * 0.45),
                  top + QPointF(-size * 0.55, size * 0.05));
    heart.cubicTo(top + QPointF(-size * 0.55, size * 0.45), top + QPointF(-size * 0.1, size * 0.6),
                  top + QPointF(0, size * 0.9));
    heart.cubicTo(top + QPointF(size * 0.1, size * 0.6), top + QPointF(size * 0.55, size * 0.45),
                  top + QPointF(size * 0.55, size * 0.05));
    heart.cubicTo(top + QPointF(size * 0.55, -size * 0.45), top + QPointF(0, -size * 0.35), top);
    heart.closeSubpath();
    return heart;
}

void PaintGlossyHeart(QPainter &painter, QPointF top, qreal size, const QColor &light, const QColor &dark)
{
    const QPainterPath heart = HeartPath(top, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawPath(heart.translated(1.5, 2));
    QRadialGradient body(top + QPointF(-size * 0.22, size * 0.1), size * 0.9);
    body.setColorAt(0.0, light);
    body.setColorAt(1.0, dark);
    painter.setBrush(body);
    painter.setPen(QPen(dark.darker(130), 1.2));
    painter.drawPath(heart);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawPath(Oval(top.x() - size * 0.28, top.y() + size * 0.05, size * 0.09, size * 0.16, -30));
}

// Heart balloons on curling strings, tied with a red bow.
QImage FamilyPicture()
{
    QImage image = TransparentCanvas(Width, Height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF knot(60, 128);
    struct Balloon {
        QPointF top;
        qreal size;
        QColor light;
        QColor dark;
    };
    const std::array<Balloon, 3> balloons{{
        {{34, 38}, 50, QColor(0xFF, 0x9C, 0xB4), QColor(0xD8, 0x3A, 0x66)},
        {{86, 30}, 52, QColor(0xFF, 0x6A, 0x5A), QColor(0xB8, 0x14, 0x1E)},
        {{60, 12}, 46, QColor(0xFF, 0xD0, 0x70), QColor(0xD8, 0x88, 0x1A)},
    }};
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(GoldDark, 1.2));
    for (const Balloon &balloon : balloons) {
        const QPointF end = balloon.top + QPointF(0, balloon.size * 0.9);
        painter.drawPath(SmoothCurve({end, (end + knot) / 2 + QPointF(6, 0), knot}));
    }
    for (const Balloon &balloon : balloons)
        PaintGlossyHeart(painter, balloon.top, balloon.size, balloon.light, balloon.dark);
    // The bow that ties the strings.
    painter.setPen(QPen(LacquerDark, 1));
    painter.setBrush(Vermilion);
    painter.drawPath(Polygon({knot, knot + QPointF(-16, -8), knot + QPointF(-16, 9)}));
    painter.drawPath(Polygon({knot, knot + QPointF(16, -8), knot + QPointF(16, 9)}));
    painter.drawPath(Polygon({knot, knot + QPointF(-8, 18), knot + QPointF(-3, 19)}));
    painter.drawPath(Polygon({knot, knot + QPointF(8, 18), knot + QPointF(3, 19)}));
    painter.setBrush(Gold);
    painter.drawEllipse(knot, 4, 4);
    return image;
}

// A round tree on a green hill under a small sun, with drops of water.
QImage NaturePicture()
{
    QImage image = TransparentCanvas(Width, Height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The sun behind the tree.
    QRadialGradient sun(QPointF(96, 24), 18);
    sun.setColorAt(0.0, GoldLight);
    sun.setColorAt(1.0, QColor(0xF2, 0x9A, 0x1E));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sun);
    painter.drawEllipse(QPointF(96, 24), 15, 15);
    // The hill.
    QPainterPath hill;
    hill.moveTo(0, Height);
    hill.lineTo(0, 122);
    hill.cubicTo(30, 104, 90, 104, Width, 120);
    hill.lineTo(Width, Height);
    hill.closeSubpath();
    QLinearGradient grass(0, 104, 0, Height);
    grass.setColorAt(0.0, QColor(0x7C, 0xC0, 0x4A));
    grass.setColorAt(1.0, QColor(0x2F, 0x7A, 0x2C));
    painter.setBrush(grass);
    painter.drawPath(hill);
    // The trunk and its branches.
    QLinearGradient bark(52, 0, 68, 0);
    bark.setColorAt(0.0, QColor(0x8A, 0x5A, 0x2E));
    bark.setColorAt(1.0, QColor(0x5A, 0x36, 0x18));
    painter.setBrush(bark);
    painter.drawPath(Tube({{60, 116}, {59, 92}, {60, 70}}, 14, 8));
    painter.drawPath(Limb({{60, 86}, {48, 72}, {40, 64}}, 4));
    painter.drawPath(Limb({{60, 82}, {72, 70}, {80, 62}}, 4));
    // The crown: overlapping rounds from dark to light.
    const std::array<std::pair<QPointF, qreal>, 7> leaves{{
        {{38, 58}, 20}, {{82, 56}, 20}, {{60, 40}, 24}, {{46, 36}, 18},
        {{76, 34}, 18}, {{60, 62}, 18}, {{60, 24}, 16},
    }};
    for (const auto &[centre, radius] : leaves) {
        QRadialGradient leaf(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.2);
        leaf.setColorAt(0.0, QColor(0x9A, 0xD8, 0x5A));
        leaf.setColorAt(1.0, QColor(0x2E, 0x7D, 0x3A));
        painter.setBrush(leaf);
        painter.drawEllipse(centre, radius, radius);
    }
    // Drops of water at the foot of the tree.
    painter.setBrush(QColor(0x3A, 0x8E, 0xD8));
    for (const QPointF drop : {QPointF(26, 104), QPointF(94, 102), QPointF(84, 92)}) {
        QPainterPath shape;
        shape.moveTo(drop + QPointF(0, -7));
        shape.cubicTo(drop + QPointF(5, -1), drop + QPointF(5, 4), drop + QPointF(0, 4));
        shape.cubicTo(drop + QPointF(-5, 4), drop + QPointF(-5, -1), drop + QPointF(0, -7));
        painter.drawPath(shape);
    }
    return image;
}

// A red heart with a white cross, over the line of a pulse.
QImage HealthPicture()
{
    QImage image = TransparentCanvas(Width, Height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintGlossyHeart(painter, QPointF(60, 30), 104, QColor(0xFF, 0x6E, 0x64), QColor(0xC0, 0x12, 0x1A));
    const QPointF centre(60, 62);
    painter.setPen(QPen(QColor(0xB0, 0x10, 0x18), 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(centre.x() - 7, centre.y() - 22, 14, 44), 2, 2);
    painter.drawRoundedRect(QRectF(centre.x() - 22, centre.y() - 7, 44, 14), 2, 2);
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(centre.x() - 6, centre.y() - 6, 12, 12));
    // The pulse runs across under the heart.
    QPainterPath pulse;
    pulse.moveTo(4, 132);
    for (const QPointF point : {QPointF(36, 132), QPointF(44, 118), QPointF(52, 146), QPointF(62, 110),
                                QPointF(70, 138), QPointF(76, 132), QPointF(116, 132)})
        pulse.lineTo(point);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Jade, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(pulse);
    return image;
}

// The globe with its lines of longitude and latitude in a laurel wreath.
QImage WorldPicture()
{
    QImage image = TransparentCanvas(Width, Height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(60, 66);
    constexpr qreal radius = 42;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(centre + QPointF(1.5, 2), radius, radius);
    QRadialGradient sea(centre - QPointF(14, 16), radius * 1.4);
    sea.setColorAt(0.0, QColor(0x8C, 0xCC, 0xF4));
    sea.setColorAt(1.0, QColor(0x1C, 0x5C, 0xA8));
    painter.setBrush(sea);
    painter.drawEllipse(centre, radius, radius);
    QPainterPath globe;
    globe.addEllipse(centre, radius, radius);
    painter.save();
    painter.setClipPath(globe);
    painter.setBrush(QColor(0x5E, 0xA8, 0x4A));
    painter.drawPath(Unite({Oval(42, 50, 16, 12, 20), Oval(50, 66, 9, 16, -10), Oval(80, 48, 12, 8, -20),
                            Oval(84, 78, 12, 14, 10)}));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 120), 1));
    for (const qreal width : {0.35, 0.75})
        painter.drawEllipse(centre, radius * width, radius);
    painter.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    for (const qreal height : {-0.5, 0.0, 0.5}) {
        const qreal y = centre.y() + radius * height;
        const qreal half = radius * std::sqrt(1 - height * height);
        painter.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x12, 0x3E, 0x78), 1.2));
    painter.drawEllipse(centre, radius, radius);
    // The wreath: a stem on either side from under the globe up its flank,
    // with leaves along it, each lying along the stem.
    constexpr qreal wreath = radius + 9;
    for (const int side : {-1, 1}) {
        QPainterPath stem;
        for (int degrees = 8; degrees <= 150; degrees += 2) {
            const qreal phi = degrees * std::numbers::pi / 180;
            const QPointF at(centre.x() + side * wreath * std::sin(phi), centre.y() + wreath * std::cos(phi));
            if (stem.isEmpty())
                stem.moveTo(at);
            else
                stem.lineTo(at);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(GoldDark, 1.6));
        painter.drawPath(stem);
        painter.setPen(QPen(GoldDark, 0.8));
        painter.setBrush(Gold);
        for (int i = 0; i < 7; ++i) {
            const qreal degrees = 22 + i * 20;
            const qreal phi = degrees * std::numbers::pi / 180;
            for (const int lean : {-1, 1}) {
                const qreal reach = wreath + lean * 5;
                const QPointF at(centre.x() + side * reach * std::sin(phi), centre.y() + reach * std::cos(phi));
                // 180 - side × (φ - 90) turns the leaf along the stem; the
                // inner and outer leaf of a pair lean apart.
                painter.drawPath(Oval(at.x(), at.y(), 3.2, 7.5, 180 - side * (degrees - 90) + lean * side * 20));
            }
        }
    }
    // The ribbon where the stems cross.
    painter.setPen(QPen(Vermilion, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(centre.x() - 7, centre.y() + wreath + 2), QPointF(centre.x() + 7, centre.y() + wreath + 2));
    return image;
}

} // namespace

TipsPictureGroup TipsPictureGroupOf(const QStringList &entries)
{
    TipsPictureGroup chosen = TipsPictureGroup::Traditional;
    for (const QString &entry : entries)
        chosen = std::min(chosen, GroupOfEntry(entry));
    return chosen;
}

QImage TipsPicture(TipsPictureGroup group)
{
    switch (group) {
    case TipsPictureGroup::SpringFestival:
    case TipsPictureGroup::Traditional:
        return LanternPairPicture();
    case TipsPictureGroup::MidAutumn:
        return MidAutumnAnimation().frames.front();
    case TipsPictureGroup::National:
        return NationalDayAnimation().frames.front();
    case TipsPictureGroup::Christmas:
        return ChristmasTreeAnimation().frames.front();
    case TipsPictureGroup::Family:
        return FamilyPicture();
    case TipsPictureGroup::Nature:
        return NaturePicture();
    case TipsPictureGroup::Health:
        return HealthPicture();
    case TipsPictureGroup::World:
        return WorldPicture();
    }
    return LanternPairPicture();
}
