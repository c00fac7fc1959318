#include "ui/art/main_background_art.h"
#include "ui/widgets/window_shape.h"

#include <QTest>

#include <cstring>

Q_DECLARE_METATYPE(QImage::Format)
Q_DECLARE_METATYPE(ShapeStatus)

namespace {

// A picture drawn from rows of 'W' (white) and 'O' (opaque, dark red) in the
// given format.
QImage PictureOf(const QStringList &rows, QImage::Format format)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x] == u'W' ? qRgb(255, 255, 255) : qRgb(140, 30, 20));
    return image.convertToFormat(format);
}

QList<QRect> RectsOf(const QRegion &region)
{
    return QList<QRect>(region.begin(), region.end());
}

// Writes one raw 16-bit word into a pixel of a 16-bit picture.
void SetWord(QImage &image, int x, int y, quint16 word)
{
    std::memcpy(image.scanLine(y) + 2 * x, &word, sizeof word);
}

} // namespace

class WindowShapeTest : public QObject {
    Q_OBJECT

private slots:
    void outlineFollowsTheOpaqueRuns_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<QRect>>("rects");

        const QList<QImage::Format> formats{QImage::Format_RGB16, QImage::Format_RGB555, QImage::Format_RGB888,
                                            QImage::Format_RGB32};
        const QList<const char *> names{"16-bit", "15-bit", "24-bit", "32-bit"};
        for (int i = 0; i < formats.size(); ++i) {
            const QByteArray depth = names[i];
            QTest::newRow(depth + ": inner run, last row left out")
                << formats[i] << QStringList{"WOOW", "WOOW", "OOOO"} << QList<QRect>{QRect(1, 0, 2, 2)};
            QTest::newRow(depth + ": run to the right edge stops one short")
                << formats[i] << QStringList{"WWOOO", "WWWWW"} << QList<QRect>{QRect(2, 0, 2, 1)};
            QTest::newRow(depth + ": only the right column opaque gives nothing")
                << formats[i] << QStringList{"WWWO", "WWWO", "WWWO"} << QList<QRect>{};
            QTest::newRow(depth + ": two runs in a row")
                << formats[i] << QStringList{"OWWOOW", "WWWWWW"}
                << QList<QRect>{QRect(0, 0, 1, 1), QRect(3, 0, 2, 1)};
            QTest::newRow(depth + ": a rounded panel")
                << formats[i] << QStringList{"WOOOOW", "OOOOOO", "WOOOOW", "WWWWWW"}
                << QList<QRect>{QRect(1, 0, 4, 1), QRect(0, 1, 5, 1), QRect(1, 2, 4, 1)};
        }
    }

    void outlineFollowsTheOpaqueRuns()
    {
        QFETCH(QImage::Format, format);
        QFETCH(QStringList, rows);
        QFETCH(QList<QRect>, rects);

        const WindowOutline outline = ShapeWindowFromBitmap(PictureOf(rows, format));

        QRegion expected;
        for (const QRect &rect : rects)
            expected += rect;
        QCOMPARE(outline.status, rects.isEmpty() ? ShapeStatus::NoOpaquePixel : ShapeStatus::Shaped);
        QCOMPARE(RectsOf(outline.region), RectsOf(expected));
    }

    // White is read from the raw pixel as each depth holds it: the top bit
    // of a 16-bit word and the fourth byte of a 32-bit value do not count,
    // and a 24-bit pixel is white only with all three bytes at 0xFF.
    void whiteIsReadFromTheRawPixel_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<bool>("middleCounts");

        QImage word16(3, 2, QImage::Format_RGB16);
        word16.fill(Qt::white);
        SetWord(word16, 1, 0, 0x7FFF);
        QTest::newRow("16-bit word 0x7FFF is white") << word16 << false;
        SetWord(word16, 1, 0, 0xFFFE);
        QTest::newRow("16-bit word 0xFFFE is not") << word16 << true;

        QImage bytes24(3, 2, QImage::Format_RGB888);
        bytes24.fill(Qt::white);
        bytes24.setPixel(1, 0, qRgb(255, 255, 254));
        QTest::newRow("24-bit FF FF FE is not white") << bytes24 << true;

        QImage value32(3, 2, QImage::Format_ARGB32);
        value32.fill(Qt::white);
        value32.setPixel(1, 0, qRgba(255, 255, 255, 0));
        QTest::newRow("32-bit white with a clear fourth byte is white") << value32 << false;
        value32.setPixel(1, 0, qRgb(254, 255, 255));
        QTest::newRow("32-bit FE FF FF is not") << value32 << true;
    }

    void whiteIsReadFromTheRawPixel()
    {
        QFETCH(QImage, picture);
        QFETCH(bool, middleCounts);

        const WindowOutline outline = ShapeWindowFromBitmap(picture);
        QCOMPARE(outline.region.contains(QPoint(1, 0)), middleCounts);
    }

    void otherDepthsAreRefused_data()
    {
        QTest::addColumn<int>("screenDepth");
        QTest::newRow("8-bit display") << 8;
        QTest::newRow("monochrome display") << 1;
    }

    void otherDepthsAreRefused()
    {
        QFETCH(int, screenDepth);
        const QImage picture = PictureAtScreenDepth(PictureOf({"OOO", "OOO"}, QImage::Format_RGB32), screenDepth);
        const WindowOutline outline = ShapeWindowFromBitmap(picture);
        QCOMPARE(outline.status, ShapeStatus::UnsupportedDepth);
        QVERIFY(outline.region.isEmpty());
    }

    void everyReadableDepthKeepsTheSameOutline_data()
    {
        QTest::addColumn<int>("screenDepth");
        for (int depth : {15, 16, 24, 32})
            QTest::newRow(QByteArray::number(depth) + "-bit display") << depth;
    }

    // The main window's background cut at any readable depth: white corners
    // and the last row and column are outside, the panel inside.
    void everyReadableDepthKeepsTheSameOutline()
    {
        QFETCH(int, screenDepth);
        const QImage background = MainBackgroundPicture();
        const WindowOutline outline = ShapeWindowFromBitmap(PictureAtScreenDepth(background, screenDepth));

        QCOMPARE(outline.status, ShapeStatus::Shaped);
        QCOMPARE(outline.region, ShapeWindowFromBitmap(background).region);
        const int right = background.width() - 1;
        const int bottom = background.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(right - 1, 0), QPoint(0, bottom - 1)})
            QVERIFY2(!outline.region.contains(corner), "a white corner of the background is inside");
        QVERIFY(outline.region.contains(QPoint(background.width() / 2, background.height() / 2)));
        QVERIFY(outline.region.contains(QPoint(right - 1, background.height() / 2)));
        QVERIFY(!outline.region.contains(QPoint(right, background.height() / 2)));
        QVERIFY(outline.region.contains(QPoint(background.width() / 2, bottom - 1)));
        QVERIFY(!outline.region.contains(QPoint(background.width() / 2, bottom)));
    }
};

QTEST_MAIN(WindowShapeTest)
#include "test_window_shape.moc"
