#include "ui/art/line_pictures.h"
#include "ui/art/main_background_art.h"
#include "ui/art/window_panel_art.h"
#include "ui/widgets/window_shape.h"

#include <QTest>

class MainPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void linePicturesHaveTheirExactShapeAndColour_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("broken");
        QTest::addColumn<QColor>("colour");

        QTest::newRow("1: black bar") << QStringLiteral("1") << false << QColor(0, 0, 0);
        QTest::newRow("0: broken black bar") << QStringLiteral("0") << true << QColor(0, 0, 0);
        QTest::newRow("11: red bar") << QStringLiteral("11") << false << QColor(248, 0, 0);
        QTest::newRow("00: broken red bar") << QStringLiteral("00") << true << QColor(248, 0, 0);
    }

    void linePicturesHaveTheirExactShapeAndColour()
    {
        QFETCH(QString, code);
        QFETCH(bool, broken);
        QFETCH(QColor, colour);

        const QImage picture = LinePicture(code);
        QCOMPARE(picture.size(), QSize(64, 5));
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool inGap = broken && x >= 23 && x < 41;
                const QColor pixel = picture.pixelColor(x, y);
                if (inGap) {
                    QCOMPARE(pixel.alpha(), 0);
                } else {
                    QCOMPARE(pixel.alpha(), 255);
                    QCOMPARE(pixel.rgb(), colour.rgb());
                }
            }
        }
    }

    void unknownLineCodeHasNoPicture()
    {
        QVERIFY(LinePicture(u"10").isNull());
        QVERIFY(LinePicture(u"").isNull());
    }

    // White inside a background would punch a hole into the window; every
    // row of the outline must be one unbroken run.
    void backgroundsAreSolidInsideTheirOutline_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::newRow("main window") << MainBackgroundPicture();
        QTest::newRow("splash") << SplashPicture();
        QTest::newRow("about window") << WindowPanelPicture(470, 380, 36, QStringLiteral("关于本软件"));
    }

    void backgroundsAreSolidInsideTheirOutline()
    {
        QFETCH(QImage, picture);
        const WindowOutline outline = ShapeWindowFromBitmap(picture);
        QCOMPARE(outline.status, ShapeStatus::Shaped);
        for (int y = 0; y + 1 < picture.height(); ++y) {
            const QRegion row = outline.region.intersected(QRect(0, y, picture.width(), 1));
            QCOMPARE(row.rectCount(), 1);
        }
        const QRect bounds = outline.region.boundingRect();
        QCOMPARE(bounds, QRect(0, 0, picture.width() - 1, picture.height() - 1));
    }

    void backgroundsAreTheSameAtEveryStart()
    {
        QCOMPARE(MainBackgroundPicture(), MainBackgroundPicture());
    }
};

QTEST_MAIN(MainPicturesTest)
#include "test_main_pictures.moc"
