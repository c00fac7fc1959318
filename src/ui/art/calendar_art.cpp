#include "ui/art/calendar_art.h"

#include "ui/art/ornament_kit.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

using namespace ArtPalette;

QPainterPath Eye(qreal x, qreal y, qreal radius = 2.4)
{
    return Oval(x, y, radius, radius);
}

// A paper cut: the solid shape with its cut-outs (eyes, stripes, markings).
struct PaperCut {
    QPainterPath solid;
    QPainterPath cuts;
};

PaperCut Rat()
{
    return {Unite({Oval(54, 58, 25, 16, -8), Oval(27, 53, 15, 10, 18), Polygon({{14, 50}, {4, 60}, {18, 62}}),
                   Oval(33, 40, 8, 8), Limb({{77, 64}, {90, 70}, {97, 56}, {92, 42}}, 3.2),
                   Oval(40, 73, 6, 3.5), Oval(66, 73, 7, 3.5)}),
            Unite({Eye(23, 51), Oval(33, 40, 4, 4), Limb({{48, 52}, {56, 48}, {64, 52}}, 1.6)})};
}

PaperCut Ox()
{
    return {Unite({Oval(58, 52, 27, 15), Oval(48, 42, 14, 8, -10), Oval(24, 50, 11, 13, 10),
                   Oval(17, 61, 9, 7), Limb({{22, 40}, {14, 36}, {10, 26}}, 4),
                   Limb({{28, 39}, {34, 32}, {36, 22}}, 4), Oval(34, 44, 6, 3, 20),
                   Limb({{40, 62}, {40, 82}}, 6), Limb({{48, 62}, {49, 82}}, 6),
                   Limb({{72, 62}, {72, 82}}, 6), Limb({{79, 60}, {81, 82}}, 6),
                   Limb({{84, 48}, {89, 58}, {89, 70}}, 2.6), Oval(89, 72, 3, 4)}),
            Unite({Eye(21, 47), Oval(15, 62, 1.8, 1.8), Limb({{52, 46}, {60, 50}, {68, 46}}, 1.6)})};
}

PaperCut Tiger()
{
    return {Unite({Oval(56, 56, 28, 13), Oval(24, 48, 14, 13), Oval(15, 36, 5, 5), Oval(30, 35, 5, 5),
                   Oval(14, 57, 8, 6), Limb({{36, 62}, {34, 82}}, 7), Limb({{46, 64}, {48, 82}}, 7),
                   Limb({{70, 62}, {68, 82}}, 7), Limb({{80, 60}, {84, 82}}, 7),
                   Limb({{82, 52}, {94, 46}, {96, 32}, {90, 24}}, 4.5)}),
            Unite({Eye(19, 46), Eye(28, 46), Limb({{20, 39}, {28, 39}}, 1.4), Limb({{19, 42}, {29, 42}}, 1.2),
                   Limb({{24, 38}, {24, 42}}, 1.2), Limb({{50, 45}, {54, 54}, {50, 62}}, 2),
                   Limb({{60, 44}, {64, 54}, {60, 64}}, 2), Limb({{70, 45}, {74, 54}, {70, 62}}, 2)})};
}

PaperCut Rabbit()
{
    return {Unite({Oval(58, 62, 23, 16, -10), Oval(34, 46, 12, 11), Oval(40, 24, 4.8, 15, 22),
                   Oval(31, 22, 4.8, 15, 4), Oval(81, 55, 6, 6), Oval(68, 75, 14, 5),
                   Oval(40, 74, 7, 4)}),
            Unite({Eye(30, 44), Oval(40, 24, 1.8, 10, 22), Limb({{50, 60}, {58, 56}, {66, 60}}, 1.6)})};
}

// Three claws at the end of a leg.
QPainterPath Claws(QPointF foot)
{
    return Unite({Limb({foot, foot + QPointF(-4, -2)}, 1.8), Limb({foot, foot + QPointF(-4, 2)}, 1.8),
                  Limb({foot, foot + QPointF(-1, 4.5)}, 1.8)});
}

PaperCut Dragon()
{
    const std::vector<QPointF> spinePoints{{30, 44}, {42, 60}, {58, 52}, {72, 40}, {86, 50}, {96, 64}};
    constexpr qreal startWidth = 16;
    constexpr qreal endWidth = 5;
    const QPainterPath spine = SmoothCurve(spinePoints);
    // Fins stand along the back, on the left of the direction of travel.
    QPainterPath fins;
    for (qreal t = 0.1; t < 0.9; t += 0.1) {
        const QPointF at = spine.pointAtPercent(t);
        const qreal angle = spine.angleAtPercent(t) * std::numbers::pi / 180.0;
        const QPointF up(-std::sin(angle), -std::cos(angle));
        const QPointF along(std::cos(angle), -std::sin(angle));
        const qreal half = (startWidth + (endWidth - startWidth) * t) / 2;
        const QPointF base = at + up * (half - 1);
        fins = fins.united(Polygon({base - along * 3.2, base + up * 6 - along * 2.5, base + along * 3.2}));
    }
    return {Unite({Tube(spinePoints, startWidth, endWidth), fins, Oval(22, 40, 12, 10, -5),
                   Polygon({{14, 33}, {0, 35}, {4, 40}, {14, 40}}), Polygon({{13, 44}, {2, 50}, {6, 52}, {18, 48}}),
                   Oval(3, 35, 3, 3), Tube({{26, 31}, {32, 22}, {42, 17}}, 5, 2),
                   Tube({{21, 31}, {21, 21}, {28, 14}}, 4, 1.6), Tube({{30, 36}, {38, 31}, {46, 34}}, 6, 2),
                   Limb({{4, 38}, {-2, 46}, {2, 54}}, 1.8), Limb({{40, 62}, {36, 72}, {30, 74}}, 5),
                   Claws({30, 74}), Limb({{74, 46}, {80, 58}, {76, 66}}, 5), Claws({76, 66}),
                   Polygon({{93, 61}, {104, 54}, {100, 68}}), Polygon({{95, 64}, {101, 74}, {91, 70}})}),
            Unite({Eye(20, 36, 2.4), Limb({{44, 54}, {50, 52}}, 1.6), Limb({{58, 48}, {64, 44}}, 1.6),
                   Limb({{72, 44}, {78, 46}}, 1.6), Limb({{82, 52}, {86, 56}}, 1.4)})};
}

PaperCut Snake()
{
    QPainterPath scales;
    for (const QPointF &at : {QPointF(66, 30), QPointF(58, 52), QPointF(42, 56), QPointF(62, 72),
                              QPointF(76, 66)})
        scales = scales.united(Polygon({at + QPointF(-2.5, 0), at + QPointF(0, -2.5), at + QPointF(2.5, 0),
                                        at + QPointF(0, 2.5)}));
    return {Unite({Tube({{34, 22}, {56, 22}, {68, 36}, {50, 48}, {34, 56}, {44, 72}, {66, 74}, {84, 62},
                         {92, 70}},
                        13, 3),
                   Oval(28, 22, 10, 7, -8), Limb({{19, 23}, {12, 24}}, 1.2), Limb({{12, 24}, {9, 21}}, 1.2),
                   Limb({{12, 24}, {9, 27}}, 1.2)}),
            Unite({Eye(28, 20, 2), scales})};
}

PaperCut Horse()
{
    return {Unite({Oval(56, 52, 24, 12, -4), Tube({{40, 48}, {33, 34}, {27, 22}}, 15, 9),
                   Oval(19, 27, 11, 6, 139), Polygon({{24, 17}, {27, 7}, {30, 18}}),
                   Tube({{29, 15}, {37, 26}, {44, 40}}, 7, 3),
                   Tube({{80, 47}, {92, 49}, {96, 62}, {92, 76}}, 6, 2),
                   Limb({{38, 58}, {30, 64}, {24, 60}}, 5), Limb({{44, 60}, {40, 72}, {34, 80}}, 5),
                   Limb({{72, 58}, {78, 70}, {76, 82}}, 5), Limb({{78, 56}, {88, 66}, {94, 74}}, 5)}),
            Unite({Eye(21, 24, 1.8)})};
}

PaperCut Goat()
{
    QPainterPath fleece = Oval(58, 54, 24, 14);
    for (const QPointF &at : {QPointF(40, 44), QPointF(50, 40), QPointF(62, 40), QPointF(74, 44),
                              QPointF(82, 54), QPointF(74, 64), QPointF(60, 67), QPointF(46, 66),
                              QPointF(36, 58)})
        fleece = fleece.united(Oval(at.x(), at.y(), 7, 7));
    return {Unite({fleece, Oval(24, 44, 7, 11, 25), Oval(20, 53, 5, 4.5), Oval(34, 40, 6, 2.4, -15),
                   Tube({{26, 34}, {34, 24}, {44, 26}, {46, 36}}, 6, 2), Oval(20, 60, 2.4, 5), Limb({{42, 68}, {41, 86}}, 4.5),
                   Limb({{50, 68}, {51, 86}}, 4.5), Limb({{68, 68}, {68, 86}}, 4.5),
                   Limb({{76, 66}, {78, 86}}, 4.5), Oval(87, 48, 4, 3)}),
            Unite({Eye(24, 41, 2), Oval(50, 50, 3.2, 3.2), Oval(62, 52, 3.2, 3.2), Oval(72, 56, 3.2, 3.2),
                   Oval(56, 60, 3.2, 3.2)})};
}

PaperCut Monkey()
{
    return {Unite({Oval(52, 62, 15, 19), Oval(46, 34, 13, 12), Oval(33, 34, 5, 6), Oval(59, 32, 5, 6),
                   Limb({{42, 52}, {34, 60}, {28, 50}}, 5), Limb({{60, 54}, {70, 48}, {74, 38}}, 5),
                   Oval(74, 32, 7, 7), Polygon({{74, 25}, {80, 20}, {78, 27}}),
                   Limb({{44, 78}, {36, 84}}, 6), Limb({{58, 78}, {64, 84}}, 6),
                   Limb({{64, 72}, {80, 80}, {92, 70}, {90, 58}, {84, 56}}, 3.2)}),
            Unite({Oval(46, 37, 8, 7), Eye(42, 31, 1.8), Eye(50, 31, 1.8)})};
}

PaperCut Rooster()
{
    return {Unite({Oval(50, 58, 21, 16, -12), Oval(33, 36, 9, 9), Limb({{36, 44}, {40, 52}}, 9),
                   Oval(28, 26, 3.5, 3.5), Oval(33, 24, 4, 4), Oval(38, 26, 3.5, 3.5),
                   Polygon({{24, 34}, {16, 37}, {24, 40}}), Oval(27, 44, 3, 4.5),
                   Limb({{66, 52}, {78, 34}, {90, 30}, {94, 44}}, 5), Limb({{66, 56}, {84, 46}, {94, 58}}, 4),
                   Limb({{64, 62}, {80, 62}, {88, 72}}, 3.5), Limb({{46, 72}, {44, 84}}, 2.6),
                   Limb({{56, 72}, {58, 84}}, 2.6), Limb({{38, 85}, {50, 85}}, 2.2),
                   Limb({{52, 85}, {64, 85}}, 2.2)}),
            Unite({Eye(31, 34, 1.9), Limb({{42, 58}, {50, 64}, {60, 60}}, 1.6),
                   Limb({{44, 52}, {52, 56}, {60, 54}}, 1.4)})};
}

PaperCut Dog()
{
    return {Unite({Oval(56, 54, 24, 12), Oval(27, 42, 12, 10), Oval(15, 46, 8, 5.5, 10),
                   Oval(33, 44, 5, 9, 15), Limb({{38, 52}, {44, 48}}, 10),
                   Limb({{38, 60}, {36, 82}}, 6), Limb({{46, 62}, {48, 82}}, 6),
                   Limb({{68, 62}, {66, 82}}, 6), Limb({{76, 60}, {80, 82}}, 6),
                   Limb({{78, 48}, {88, 40}, {86, 30}, {80, 32}}, 4.5)}),
            Unite({Eye(23, 39, 2.1), Oval(9, 44, 1.8, 1.8), Limb({{50, 48}, {58, 52}, {66, 48}}, 1.6)})};
}

PaperCut Pig()
{
    return {Unite({Oval(56, 56, 30, 20), Oval(26, 50, 13, 13), Oval(14, 56, 7, 8),
                   Polygon({{28, 40}, {36, 28}, {40, 42}}), Limb({{40, 72}, {40, 82}}, 7),
                   Limb({{50, 74}, {50, 82}}, 7), Limb({{68, 74}, {68, 82}}, 7),
                   Limb({{76, 72}, {78, 82}}, 7),
                   Limb({{85, 50}, {92, 46}, {94, 52}, {89, 54}, {92, 58}}, 2.4)}),
            Unite({Eye(24, 46, 2.1), Oval(12, 54, 1.6, 2.4), Oval(16, 54, 1.6, 2.4),
                   Limb({{50, 44}, {58, 40}, {66, 44}}, 1.6)})};
}

using PaperCutMaker = PaperCut (*)();
const std::array<PaperCutMaker, ZodiacAnimalCount> zodiacCuts{
    Rat, Ox, Tiger, Rabbit, Dragon, Snake, Horse, Goat, Monkey, Rooster, Dog, Pig};

// The signs of the zodiac as Unicode symbols, 牡羊座 first.
const std::array<char16_t, StarSignCount> starSignSymbols{
    u'\u2648', u'\u2649', u'\u264A', u'\u264B', u'\u264C', u'\u264D',
    u'\u264E', u'\u264F', u'\u2650', u'\u2651', u'\u2652', u'\u2653'};

// --- Medallion ---------------------------------------------------------------

constexpr qreal MedallionRadius = 48;
constexpr qreal FieldRadius = 40;

// A red rim of sixteen scallops, like the edge of a window paper cut.
QPainterPath ScallopedRim()
{
    QPainterPath rim;
    rim.addEllipse(QPointF(50, 50), MedallionRadius - 4, MedallionRadius - 4);
    for (int i = 0; i < 16; ++i) {
        const qreal angle = i * std::numbers::pi / 8;
        rim = rim.united(Oval(50 + std::cos(angle) * (MedallionRadius - 5),
                              50 + std::sin(angle) * (MedallionRadius - 5), 5, 5));
    }
    return rim;
}

// Draws a medallion of side `size`: the rim, then `field` paints the inside
// in the 100 × 100 design box.
QImage Medallion(int size, const QColor &rim, const std::function<void(QPainter &)> &field)
{
    QImage image = TransparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);
    painter.setPen(Qt::NoPen);
    QRadialGradient lacquer(QPointF(42, 40), MedallionRadius * 1.2);
    lacquer.setColorAt(0.0, rim.lighter(125));
    lacquer.setColorAt(1.0, rim.darker(130));
    painter.setBrush(lacquer);
    painter.drawPath(ScallopedRim());
    painter.setBrush(Gold);
    painter.drawEllipse(QPointF(50, 50), FieldRadius + 2.2, FieldRadius + 2.2);
    field(painter);
    return image;
}

// Scales the paper cut to fill the field and centres it.
QTransform FitToField(const QPainterPath &solid)
{
    const QRectF box = solid.boundingRect();
    const qreal scale = std::min(62.0 / box.width(), 56.0 / box.height());
    return QTransform()
        .translate(50, 51)
        .scale(scale, scale)
        .translate(-box.center().x(), -box.center().y());
}

} // namespace

QImage ZodiacPicture(int animal, int size)
{
    if (animal < 1 || animal > ZodiacAnimalCount)
        return {};
    const PaperCut cut = zodiacCuts[animal - 1]();
    return Medallion(size, Vermilion, [&cut](QPainter &painter) {
        QRadialGradient paper(QPointF(44, 42), FieldRadius * 1.2);
        paper.setColorAt(0.0, QColor(0xFD, 0xF6, 0xE3));
        paper.setColorAt(1.0, PaperDark);
        painter.setBrush(paper);
        painter.drawEllipse(QPointF(50, 50), FieldRadius, FieldRadius);
        const QTransform fit = FitToField(cut.solid);
        painter.setBrush(QColor(0xB8, 0x1C, 0x1C));
        painter.drawPath(fit.map(cut.solid.subtracted(cut.cuts)));
    });
}

QImage StarSignPicture(int sign, int size)
{
    if (sign < 1 || sign > StarSignCount)
        return {};
    return Medallion(size, Lacquer, [sign](QPainter &painter) {
        QRadialGradient night(QPointF(44, 40), FieldRadius * 1.2);
        night.setColorAt(0.0, QColor(0x2C, 0x3E, 0x78));
        night.setColorAt(1.0, NightBlue);
        painter.setBrush(night);
        painter.drawEllipse(QPointF(50, 50), FieldRadius, FieldRadius);
        // A few stars, placed differently for every sign.
        painter.setBrush(GoldLight);
        for (int i = 0; i < 6; ++i) {
            const qreal angle = (sign * 47 + i * 61) * std::numbers::pi / 180.0;
            const qreal radius = 27 + (i * 5 + sign * 3) % 9;
            const QPointF at(50 + std::cos(angle) * radius, 50 + std::sin(angle) * radius);
            painter.drawPath(StarPath(at, i % 2 == 0 ? 3.2 : 2.2, 10.0 * sign));
        }
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(54);
        QLinearGradient gold(0, 30, 0, 70);
        gold.setColorAt(0.0, GoldLight);
        gold.setColorAt(1.0, Gold);
        painter.setBrush(gold);
        painter.drawPath(CentredTextPath(QString(QChar(starSignSymbols[sign - 1])), font, QPointF(50, 50)));
    });
}
