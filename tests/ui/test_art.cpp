#include "ui/art/calendar_art.h"
#include "ui/art/casting_art.h"
#include "ui/art/festival_art.h"
#include "ui/art/picture_cache.h"
#include "ui/art/tips_art.h"
#include "ui/art/trigram_art.h"

#include <QColor>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

bool IsPureWhite(QRgb pixel)
{
    return (pixel | 0xFF000000) == 0xFFFFFFFF;
}

int DistinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            colours.insert(argb.pixel(x, y));
    return colours.size();
}

// Share of pixels a viewer sees: not fully transparent.
double VisibleShare(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int visible = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            visible += qAlpha(argb.pixel(x, y)) > 0 ? 1 : 0;
    return double(visible) / (argb.width() * argb.height());
}

bool IsInk(const QImage &image, QPointF at)
{
    const QRgb pixel = image.pixel(qRound(at.x() - 0.5), qRound(at.y() - 0.5));
    return qGray(pixel) < 90;
}

} // namespace

Q_DECLARE_METATYPE(FestivalAnimation)

class ArtTest : public QObject {
    Q_OBJECT

private slots:
    void cachedPictureIsDrawnOnceAndReadAfterwards();
    void cacheKeyChangesWithVersionAndPixelRatio();
    void everyPictureHasItsSizeAndContent_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QSize>("size");
        const QSize lamp(LampSize, LampSize);
        const QSize round(RoundButtonSize, RoundButtonSize);
        QTest::newRow("casting background")
            << CastingBackgroundPicture() << QSize(CastingBackgroundWidth, CastingBackgroundHeight);
        QTest::newRow("casting banner") << CastingBannerPicture() << CastingBackgroundLayout().banner.size();
        QTest::newRow("grey lamp") << LampPicture(LampColour::Grey) << lamp;
        QTest::newRow("yellow lamp") << LampPicture(LampColour::Yellow) << lamp;
        QTest::newRow("red lamp") << LampPicture(LampColour::Red) << lamp;
        QTest::newRow("green lamp") << LampPicture(LampColour::Green) << lamp;
        QTest::newRow("slower") << SlowerButtonPicture() << round;
        QTest::newRow("faster") << FasterButtonPicture() << round;
        QTest::newRow("close") << CastingCloseButtonPicture() << round;
        QTest::newRow("finish") << CastingFinishButtonPicture() << round;
        const std::vector<QImage> stalks = StalkAnimationFrames();
        for (size_t i = 0; i < stalks.size(); ++i)
            QTest::addRow("stalk frame %zu", i + 1) << stalks[i] << QSize(StalkFrameSize, StalkFrameSize);
        QTest::newRow("先天八卦图") << TrigramArrangementPicture(EarlierHeavenArrangement())
                                  << QSize(TrigramPictureSize, TrigramPictureSize);
        QTest::newRow("后天八卦图") << TrigramArrangementPicture(LaterHeavenArrangement())
                                  << QSize(TrigramPictureSize, TrigramPictureSize);
        QTest::newRow("reference close button") << CloseWindowButtonPicture() << QSize(97, 25);
        QTest::newRow("New Year banner") << NewYearBannerPicture() << QSize(NewYearBannerWidth, NewYearBannerHeight);
        QTest::newRow("Youth Day badge") << YouthDayBadgePicture() << QSize(72, 72);
        QTest::newRow("Army Day badge") << ArmyDayBadgePicture() << QSize(80, 80);
        QTest::newRow("lotus and carp") << LotusCarpPicture() << QSize(300, 170);
        QTest::newRow("lantern pair") << LanternPairPicture() << QSize(120, 150);
        QTest::newRow("fortune diamond") << FortuneDiamondPicture() << QSize(120, 120);
        QTest::newRow("tips: heart balloons") << TipsPicture(TipsPictureGroup::Family) << QSize(120, 150);
        QTest::newRow("tips: tree on a hill") << TipsPicture(TipsPictureGroup::Nature) << QSize(120, 150);
        QTest::newRow("tips: heart and cross") << TipsPicture(TipsPictureGroup::Health) << QSize(120, 150);
        QTest::newRow("tips: globe in a wreath") << TipsPicture(TipsPictureGroup::World) << QSize(120, 150);
        for (int i = 1; i <= ZodiacAnimalCount; ++i)
            QTest::addRow("zodiac %d", i) << ZodiacPicture(i) << QSize(ZodiacPictureSize, ZodiacPictureSize);
        for (int i = 1; i <= StarSignCount; ++i)
            QTest::addRow("star sign %d", i) << StarSignPicture(i) << QSize(StarSignPictureSize, StarSignPictureSize);
    }
    void everyPictureHasItsSizeAndContent()
    {
        QFETCH(QImage, picture);
        QFETCH(QSize, size);
        QCOMPARE(picture.size(), size);
        QVERIFY2(DistinctColours(picture) >= 12, "a flat or nearly flat picture");
        QVERIFY2(VisibleShare(picture) > 0.25, "mostly transparent");
    }

    void stalkFramesAllDiffer()
    {
        const std::vector<QImage> frames = StalkAnimationFrames();
        QCOMPARE(int(frames.size()), StalkFrameCount);
        for (size_t i = 0; i < frames.size(); ++i)
            QVERIFY2(frames[i] != frames[(i + 1) % frames.size()], qPrintable(QString::number(i + 1)));
    }

    // Every festival animation moves: its frames share one size, each shows
    // something, and no frame repeats the one before it.
    void festivalAnimationsMove_data()
    {
        QTest::addColumn<FestivalAnimation>("animation");
        QTest::addColumn<QSize>("size");
        QTest::newRow("fireworks") << NewYearFireworksAnimation() << QSize(160, 110);
        QTest::newRow("Party anniversary") << PartyAnniversaryAnimation() << QSize(120, 90);
        QTest::newRow("National Day") << NationalDayAnimation() << QSize(120, 90);
        QTest::newRow("Mid-Autumn") << MidAutumnAnimation() << QSize(120, 90);
        QTest::newRow("Christmas tree") << ChristmasTreeAnimation() << QSize(80, 100);
        QTest::newRow("Christmas bells") << ChristmasBellsAnimation() << QSize(80, 100);
    }
    void festivalAnimationsMove()
    {
        QFETCH(FestivalAnimation, animation);
        QFETCH(QSize, size);
        QVERIFY(animation.frames.size() >= 6);
        QVERIFY(animation.frameIntervalMs >= 50 && animation.frameIntervalMs <= 500);
        for (size_t i = 0; i < animation.frames.size(); ++i) {
            const QImage &frame = animation.frames[i];
            QCOMPARE(frame.size(), size);
            QVERIFY2(DistinctColours(frame) >= 12, qPrintable(QString::number(i)));
            QVERIFY2(frame != animation.frames[(i + 1) % animation.frames.size()], qPrintable(QString::number(i)));
        }
    }

    // The banner is a solid panel, and the places kept for its labels hold
    // no bright ornament that would fight with the text.
    void newYearBannerKeepsItsTextPlacesClear()
    {
        const QImage banner = NewYearBannerPicture().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < banner.height(); ++y)
            for (int x = 0; x < banner.width(); ++x)
                QCOMPARE(qAlpha(banner.pixel(x, y)), 255);
        const NewYearBannerLayout &places = NewYearBannerPlaces();
        const QRect whole = banner.rect();
        for (const QRect &place : {places.fireworks, places.greeting, places.year, places.stars, places.english}) {
            QVERIFY(whole.contains(place));
            int bright = 0;
            for (int y = place.top(); y <= place.bottom(); ++y)
                for (int x = place.left(); x <= place.right(); ++x)
                    bright += qGray(banner.pixel(x, y)) > 120 ? 1 : 0;
            QVERIFY2(bright * 50 < place.width() * place.height(),
                     qPrintable(QStringLiteral("%1 bright pixels").arg(bright)));
        }
    }

    // Each animal and each sign has a picture of its own, and a number
    // outside the table has none.
    void medallionsAreDistinct_data()
    {
        QTest::addColumn<bool>("zodiac");
        QTest::newRow("zodiac") << true;
        QTest::newRow("star signs") << false;
    }
    void medallionsAreDistinct()
    {
        QFETCH(bool, zodiac);
        const auto picture = [zodiac](int i) { return zodiac ? ZodiacPicture(i) : StarSignPicture(i); };
        QVERIFY(picture(0).isNull());
        QVERIFY(picture(13).isNull());
        QList<QImage> seen;
        for (int i = 1; i <= 12; ++i) {
            const QImage medallion = picture(i);
            QCOMPARE(qAlpha(medallion.pixel(0, 0)), 0);
            QVERIFY2(!seen.contains(medallion), qPrintable(QString::number(i)));
            seen << medallion;
        }
    }

    // The tips window's picture follows the day's festivals: the group listed
    // first wins, and an unlisted name falls back by its calendar.
    void tipsPictureGroupOfTheDay_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<TipsPictureGroup>("group");
        using G = TipsPictureGroup;
        QTest::newRow("国庆") << QStringList{QStringLiteral(" ☆国庆节")} << G::National;
        QTest::newRow("建党日 over 龙晒衣")
            << QStringList{QStringLiteral(" ★龙晒衣"), QStringLiteral(" ☆中国共产党建党日"), QStringLiteral(" ☆香港回归纪念日")}
            << G::National;
        QTest::newRow("中秋 over 国庆") << QStringList{QStringLiteral(" ★中秋节"), QStringLiteral(" ☆国庆节")} << G::MidAutumn;
        QTest::newRow("圣诞") << QStringList{QStringLiteral(" ☆圣诞节")} << G::Christmas;
        QTest::newRow("植树节") << QStringList{QStringLiteral(" ☆植树节")} << G::Nature;
        QTest::newRow("春节") << QStringList{QStringLiteral(" ★春节（大年初一）")} << G::SpringFestival;
        QTest::newRow("情人节") << QStringList{QStringLiteral(" ☆情人节")} << G::Family;
        QTest::newRow("世界卫生日") << QStringList{QStringLiteral(" ☆世界卫生日")} << G::Health;
        QTest::newRow("unlisted lunar") << QStringList{QStringLiteral(" ★重阳节")} << G::Traditional;
        QTest::newRow("unlisted Gregorian") << QStringList{QStringLiteral(" ☆联合国日")} << G::World;
    }
    void tipsPictureGroupOfTheDay()
    {
        QFETCH(QStringList, entries);
        QFETCH(TipsPictureGroup, group);
        QCOMPARE(TipsPictureGroupOf(entries), group);
    }

    // Every group but the lunar ones has a picture of its own.
    void tipsPicturesAreDistinct()
    {
        QCOMPARE(TipsPicture(TipsPictureGroup::Traditional), TipsPicture(TipsPictureGroup::SpringFestival));
        QList<QImage> seen;
        for (int group = int(TipsPictureGroup::SpringFestival); group < int(TipsPictureGroup::Traditional); ++group) {
            const QImage picture = TipsPicture(TipsPictureGroup(group));
            QVERIFY2(!picture.isNull() && !seen.contains(picture), qPrintable(QString::number(group)));
            seen << picture;
        }
    }

    void picturesAreTheSameOnEveryCall()
    {
        QCOMPARE(CastingBackgroundPicture(), CastingBackgroundPicture());
        QCOMPARE(StalkAnimationFrames()[5], StalkAnimationFrames()[5]);
    }

    // The window is cut from the background by its non-white pixels, so
    // every row must be one unbroken run of non-white pixels with pure white
    // on either side: a white pixel inside would punch a hole in the window.
    void castingBackgroundIsWhiteExactlyOutside()
    {
        const QImage background = CastingBackgroundPicture();
        QCOMPARE(background.pixel(0, 0), QRgb(0xFFFFFFFF));
        QCOMPARE(background.pixel(background.width() - 1, background.height() - 1), QRgb(0xFFFFFFFF));
        for (int y = 0; y < background.height(); ++y) {
            int runs = 0;
            bool inside = false;
            for (int x = 0; x < background.width(); ++x) {
                const bool opaque = !IsPureWhite(background.pixel(x, y));
                runs += opaque && !inside ? 1 : 0;
                inside = opaque;
            }
            QVERIFY2(runs == 1, qPrintable(QStringLiteral("row %1 has %2 runs").arg(y).arg(runs)));
        }
        // The outline reaches the body's edges and the plaque's top.
        QVERIFY(!IsPureWhite(background.pixel(0, background.height() / 2)));
        QVERIFY(!IsPureWhite(background.pixel(background.width() / 2, 0)));
        QVERIFY(IsPureWhite(background.pixel(20, 5)));
    }

    void lampsShowTheirColour_data()
    {
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("hue");
        QTest::newRow("grey") << int(LampColour::Grey) << -1;
        QTest::newRow("yellow") << int(LampColour::Yellow) << 48;
        QTest::newRow("red") << int(LampColour::Red) << 2;
        QTest::newRow("green") << int(LampColour::Green) << 130;
    }
    void lampsShowTheirColour()
    {
        QFETCH(int, colour);
        QFETCH(int, hue);
        const QColor centre = LampPicture(LampColour(colour)).pixelColor(LampSize / 2 + 2, LampSize / 2 + 2);
        if (hue < 0) {
            QVERIFY(centre.hsvSaturation() < 30);
        } else {
            QVERIFY(centre.hsvSaturation() > 120);
            QVERIFY2(std::abs(centre.hsvHue() - hue) <= 15, qPrintable(QString::number(centre.hsvHue())));
        }
    }

    // Each figure drawn on the circle matches the trigram data: a yang line
    // is ink across its middle, a yin line is broken there; both have ink
    // towards their ends. Checked at two sizes.
    void arrangementFiguresFollowTheData_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("size");
        QTest::newRow("先天 300") << 0 << 300;
        QTest::newRow("后天 300") << 1 << 300;
        QTest::newRow("先天 640") << 0 << 640;
        QTest::newRow("后天 640") << 1 << 640;
    }
    void arrangementFiguresFollowTheData()
    {
        QFETCH(int, which);
        QFETCH(int, size);
        const TrigramArrangement &arrangement = which == 0 ? EarlierHeavenArrangement() : LaterHeavenArrangement();
        const QImage picture = TrigramArrangementPicture(arrangement, size);
        QCOMPARE(picture.size(), QSize(size, size));
        // The corners are clear: the window's corner ornaments show through.
        for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            QCOMPARE(qAlpha(picture.pixel(corner)), 0);
        const ArrangementGeometry geometry = ArrangementGeometryFor(size);
        for (int i = 0; i < TrigramCount; ++i) {
            const TrigramRow *trigram = TrigramNamed(QStringView(arrangement.clockwiseFromTop[i]));
            QVERIFY(trigram);
            const qreal angle = (-90.0 + 45.0 * i) * std::numbers::pi / 180.0;
            const QPointF outward(std::cos(angle), std::sin(angle));
            const QPointF across(-outward.y(), outward.x());
            for (int line = 0; line < LinesPerTrigram; ++line) {
                const QPointF middle = geometry.centre + outward * geometry.lineRadii[line];
                const bool yang = trigram->lines[line] == u'1';
                const QString where = QStringLiteral("%1 line %2").arg(QString::fromUtf16(trigram->name)).arg(line + 1);
                QVERIFY2(IsInk(picture, middle) == yang, qPrintable(where));
                for (const qreal side : {-0.35, 0.35})
                    QVERIFY2(IsInk(picture, middle + across * (side * geometry.lineLength)), qPrintable(where));
            }
        }
    }
};

void ArtTest::cachedPictureIsDrawnOnceAndReadAfterwards()
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("cache/pictures"));
    int drawings = 0;
    const auto draw = [&drawings] {
        ++drawings;
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(QColor(0xa0, 0x2a, 0x1a));
        picture.setPixel(3, 4, qRgb(0xff, 0xd7, 0x00));
        return picture;
    };
    const QImage drawn = CachedPicture(folder, QStringLiteral("splash-1.0.0-1x"), draw);
    QCOMPARE(drawings, 1);
    const QImage read = CachedPicture(folder, QStringLiteral("splash-1.0.0-1x"), draw);
    QCOMPARE(drawings, 1);
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), drawn);

    // Another key (a new version, another pixel ratio) draws afresh.
    CachedPicture(folder, QStringLiteral("splash-1.0.1-1x"), draw);
    QCOMPARE(drawings, 2);

    // A damaged file is drawn again and replaced.
    QFile damaged(folder + QStringLiteral("/splash-1.0.0-1x.bmp"));
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("BM\x10");
    damaged.close();
    QCOMPARE(CachedPicture(folder, QStringLiteral("splash-1.0.0-1x"), draw), drawn);
    QCOMPARE(drawings, 3);
    CachedPicture(folder, QStringLiteral("splash-1.0.0-1x"), draw);
    QCOMPARE(drawings, 3);

    // A folder that cannot be made still gives the picture, drawn each time.
    QFile blocker(home.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unusable = home.filePath(QStringLiteral("file/pictures"));
    QCOMPARE(CachedPicture(unusable, QStringLiteral("splash"), draw), drawn);
    QCOMPARE(CachedPicture(unusable, QStringLiteral("splash"), draw), drawn);
    QCOMPARE(drawings, 5);
}

void ArtTest::cacheKeyChangesWithVersionAndPixelRatio()
{
    const QString key = PictureCacheKey(QStringLiteral("splash"), QStringLiteral("1.0.0"), 1.0);
    QVERIFY(key.startsWith(QStringLiteral("splash-1.0.0-")));
    QCOMPARE(PictureCacheKey(QStringLiteral("splash"), QStringLiteral("1.0.0"), 1.0), key);
    QVERIFY(PictureCacheKey(QStringLiteral("splash"), QStringLiteral("1.0.1"), 1.0) != key);
    QVERIFY(PictureCacheKey(QStringLiteral("splash"), QStringLiteral("1.0.0"), 2.0) != key);
}

QTEST_MAIN(ArtTest)
#include "test_art.moc"
