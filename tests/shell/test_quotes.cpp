#include "shell/quotes.h"

#include <QHash>
#include <QTest>

namespace {

QString SayingOf(int row)
{
    return QString::fromUtf16(QuoteTable()[row - 1].saying);
}

QString SourceOf(int row)
{
    return QString::fromUtf16(QuoteTable()[row - 1].source);
}

} // namespace

class QuotesTest : public QObject {
    Q_OBJECT

private slots:
    // Rows whose punctuation or spacing differs from the rest, as the banner
    // must show them.
    void tableKeepsItsTextsExactly_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("saying");
        QTest::addColumn<QString>("source");

        QTest::newRow("row 1") << 1 << QStringLiteral("天行健，君子以自强不息；地势坤，君子以厚德载物。")
                               << QStringLiteral("《象传》");
        QTest::newRow("row 2, source with a leading blank")
            << 2 << QStringLiteral("积善之家，必有余庆；积不善之家，必有余殃。") << QStringLiteral(" 《文言传》");
        QTest::newRow("row 4") << 4 << QStringLiteral("有孚惠心，勿问元吉，有孚惠我德。")
                               << QStringLiteral("《易经·益》");
        QTest::newRow("row 8, ASCII commas and a leading blank")
            << 8 << QStringLiteral("立天之道曰阴与阳,立地之道曰柔与刚,立人之道曰仁与义。")
            << QStringLiteral(" 《说卦传》");
        QTest::newRow("row 10, ASCII commas")
            << 10
            << QStringLiteral("夫大人者,与天地合其德,与日月合其明,与四时合其序,与鬼神合其吉凶。先天而天弗违,后天而奉天时。")
            << QStringLiteral("《文言传》");
        QTest::newRow("row 11") << 11 << QStringLiteral("假我数年，五十以学易，则无大过也。")
                                << QStringLiteral("《论语》");
        QTest::newRow("row 12, ASCII commas")
            << 12
            << QStringLiteral("日往则月来,月往则日来,日月相推而明生焉。寒往则暑来,暑往则寒来,寒暑相推而岁成焉。")
            << QStringLiteral("《系辞传》");
        QTest::newRow("row 14, ASCII commas")
            << 14
            << QStringLiteral("将叛者其辞惭,中心疑者其辞枝,吉人之辞寡,躁人之辞多,诬善之人其辞游,失其守者其辞屈。")
            << QStringLiteral("《系辞传》");
        QTest::newRow("row 21, 遯 not 遁") << 21 << QStringLiteral("君子以独立不惧，遯世无闷。")
                                           << QStringLiteral("《象传》");
        QTest::newRow("row 30") << 30 << QStringLiteral("君子以顺德，积小以高大。") << QStringLiteral("《象传》");
    }

    void tableKeepsItsTextsExactly()
    {
        QFETCH(int, row);
        QFETCH(QString, saying);
        QFETCH(QString, source);
        QCOMPARE(SayingOf(row), saying);
        QCOMPARE(SourceOf(row), source);
    }

    void lastRowRepeatsTheFirst()
    {
        QCOMPARE(SayingOf(31), SayingOf(1));
        QCOMPARE(SourceOf(31), SourceOf(1));
        for (int row = 2; row <= 30; ++row)
            QVERIFY2(SayingOf(row) != SayingOf(1), qPrintable(QStringLiteral("row %1 repeats row 1").arg(row)));
    }

    void drawPicksRowFromTheNumber_data()
    {
        QTest::addColumn<double>("random");
        QTest::addColumn<int>("row");

        QTest::newRow("0 gives row 1") << 0.0 << 1;
        QTest::newRow("just below 1/31 gives row 1") << std::nextafter(1.0 / 31, 0.0) << 1;
        QTest::newRow("1/31 gives row 2") << 1.0 / 31 << 2;
        QTest::newRow("0.5 gives row 16") << 0.5 << 16;
        QTest::newRow("30/31 gives row 31") << 30.0 / 31 << 31;
        QTest::newRow("just below 1 gives row 31") << std::nextafter(1.0, 0.0) << 31;
        QTest::newRow("1 stays on the table") << 1.0 << 31;
        QTest::newRow("a negative number stays on the table") << -0.2 << 1;
    }

    void drawPicksRowFromTheNumber()
    {
        QFETCH(double, random);
        QFETCH(int, row);
        QCOMPARE(&PickQuote(random), &QuoteTable()[row - 1]);
    }

    // Evenly spread draws: every saying once in 31, the first one twice.
    void firstSayingComesTwiceAsOften()
    {
        constexpr int draws = 31 * 100;
        QHash<QString, int> counts;
        for (int i = 0; i < draws; ++i)
            ++counts[QString::fromUtf16(PickQuote((i + 0.5) / draws).saying)];
        QCOMPARE(counts.size(), 30);
        QCOMPARE(counts.value(SayingOf(1)), 200);
        for (int row = 2; row <= 30; ++row)
            QCOMPARE(counts.value(SayingOf(row)), 100);
    }
};

QTEST_GUILESS_MAIN(QuotesTest)
#include "test_quotes.moc"
