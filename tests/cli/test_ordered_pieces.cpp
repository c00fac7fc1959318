// Pieces filled on several threads reach the consumer whole, once each and in
// order, whatever the number of threads and pieces.

#include "cli/ordered_pieces.h"

#include <QTest>

#include <string>

class OrderedPiecesTest : public QObject {
    Q_OBJECT

private slots:
    void consumesEveryPieceInOrder_data()
    {
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("threads");
        QTest::newRow("no pieces") << 0 << 4;
        QTest::newRow("one thread") << 9 << 1;
        QTest::newRow("fewer pieces than threads") << 2 << 8;
        QTest::newRow("pieces a multiple of threads") << 12 << 3;
        QTest::newRow("many pieces on two threads") << 501 << 2;
        QTest::newRow("many pieces on eight threads") << 333 << 8;
    }

    void consumesEveryPieceInOrder()
    {
        QFETCH(int, pieces);
        QFETCH(int, threads);
        // Pieces of unequal size, the later ones smaller, so that helper
        // threads run ahead and must wait for their buffers to come back.
        const auto fill = [&](int piece, Utf8Buffer &buffer) {
            for (int line = 0; line < 1 + (pieces - piece) % 7 * 50; ++line) {
                buffer.AppendNumber(piece);
                buffer += ':';
                buffer.AppendNumber(line);
                buffer += '\n';
            }
        };
        std::string expected;
        for (int piece = 0; piece < pieces; ++piece) {
            Utf8Buffer buffer;
            fill(piece, buffer);
            expected += buffer.View();
        }
        std::string consumed;
        int calls = 0;
        FillPiecesInOrder(pieces, threads, fill, [&](const Utf8Buffer &buffer) {
            consumed += buffer.View();
            ++calls;
        });
        QCOMPARE(calls, pieces);
        QCOMPARE(consumed, expected);
    }
};

QTEST_GUILESS_MAIN(OrderedPiecesTest)
#include "test_ordered_pieces.moc"
