#include "core/hexagram.h"
#include "texts/trigrams.h"

#include <QSet>
#include <QTest>

class TrigramsTest : public QObject {
    Q_OBJECT

    static QString ComplementOf(QString lines)
    {
        for (QChar &line : lines)
            line = FlipLineCharacter(line);
        return lines;
    }

private slots:
    void attributeTextIsExact()
    {
        const QString expected = QString::fromUtf16(
            u"乾：天、父\u3000、马、首、健、金\r\n\r\n"
            u"坤：地、母\u3000、牛、腹、顺、土\r\n\r\n"
            u"震：雷、长男、龙、足、动、木\r\n\r\n"
            u"巽：风、长女、鸡、股、入、木\r\n\r\n"
            u"坎：水、中男、豕、耳、陷、水\r\n\r\n"
            u"离：火、中女、雉、目、丽、火\r\n\r\n"
            u"艮：山、少男、狗、手、止、土\r\n\r\n"
            u"兑：泽、少女、羊、口、说、金 \r\n\r\n");
        QCOMPARE(TrigramAttributeText(), expected);
    }

    // A trigram doubled is the hexagram of the same name: 乾 over 乾 is 乾.
    void linesAgreeWithTheDoubledHexagram_data()
    {
        QTest::addColumn<QString>("name");
        for (const TrigramRow &row : TrigramTable())
            QTest::newRow(QString::fromUtf16(row.name).toUtf8().constData())
                << QString::fromUtf16(row.name);
    }
    void linesAgreeWithTheDoubledHexagram()
    {
        QFETCH(QString, name);
        const TrigramRow *row = TrigramNamed(name);
        QVERIFY(row);
        const QString lines = QString::fromUtf16(row->lines);
        QCOMPARE(HexagramNameOf(HexagramNumberOf(lines + lines)), name);
    }

    void unknownNameHasNoRow()
    {
        QVERIFY(!TrigramNamed(QStringLiteral("泰")));
        QVERIFY(!TrigramNamed(QString()));
    }

    void arrangementsHoldEveryTrigramOnce_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("先天") << 0;
        QTest::newRow("后天") << 1;
    }
    void arrangementsHoldEveryTrigramOnce()
    {
        QFETCH(int, which);
        const TrigramArrangement &arrangement =
            which == 0 ? EarlierHeavenArrangement() : LaterHeavenArrangement();
        QSet<QString> seen;
        for (const char16_t *name : arrangement.clockwiseFromTop) {
            QVERIFY(TrigramNamed(QStringView(name)));
            seen.insert(QString::fromUtf16(name));
        }
        QCOMPARE(seen.size(), TrigramCount);
    }

    // In the Earlier Heaven circle every trigram faces its complement.
    void earlierHeavenOpposesComplements()
    {
        const auto &order = EarlierHeavenArrangement().clockwiseFromTop;
        for (int i = 0; i < TrigramCount / 2; ++i) {
            const QString here = QString::fromUtf16(TrigramNamed(QStringView(order[i]))->lines);
            const QString opposite =
                QString::fromUtf16(TrigramNamed(QStringView(order[i + 4]))->lines);
            QCOMPARE(opposite, ComplementOf(here));
        }
    }

    void captionsAndCompass()
    {
        QCOMPARE(QString::fromUtf16(EarlierHeavenArrangement().caption), QStringLiteral("先天八卦图"));
        QCOMPARE(QString::fromUtf16(LaterHeavenArrangement().caption), QStringLiteral("后天八卦图"));
        QStringList compass;
        for (const char16_t *word : ArrangementCompassWords())
            compass << QString::fromUtf16(word);
        QCOMPARE(compass, (QStringList{QStringLiteral("南"), QStringLiteral("西"),
                                       QStringLiteral("北"), QStringLiteral("东")}));
    }
};

QTEST_MAIN(TrigramsTest)
#include "test_trigrams.moc"
