#include "core/hexagram.h"
#include "core/lookup.h"
#include "fileformat/gbk_codec.h"
#include "texts/hexagram_texts.h"

#include <QSet>
#include <QTest>

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    void tableNamesEveryLineStringOnce()
    {
        QSet<QString> seen;
        for (int i = 0; i < HexagramCount; ++i) {
            const HexagramRow &row = HexagramTable()[i];
            QCOMPARE(row.number, i + 1);
            const QString lines = QString::fromUtf16(row.lines);
            QCOMPARE(lines.size(), 6);
            QVERIFY(lines.count(u'0') + lines.count(u'1') == 6);
            seen.insert(lines);
        }
        QCOMPARE(seen.size(), 64);
    }

    void lookupNamesHexagram_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("乾") << "111111" << "乾" << 1;
        QTest::newRow("未济") << "010101" << "未济" << 64;
        QTest::newRow("豫") << "000100" << "豫" << 16;
        QTest::newRow("革") << "101110" << "革" << 49;
        QTest::newRow("鼎") << "011101" << "鼎" << 50;
        QTest::newRow("遯") << "001111" << "遯" << 33;
    }
    void lookupNamesHexagram()
    {
        QFETCH(QString, lines);
        QFETCH(QString, name);
        QFETCH(int, number);
        const std::optional<HexagramEntry> found = FindHexagram(lines);
        QVERIFY(found);
        QCOMPARE(found->name, name);
        QCOMPARE(found->number, number);
        QVERIFY(found->text.startsWith(name + QStringLiteral("：")));
    }

    void failedLookupFindsNothing_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::newRow("five") << "11111";
        QTest::newRow("seven") << "1111111";
        QTest::newRow("blank") << "11 111";
        QTest::newRow("other digit") << "111112";
        QTest::newRow("full-width digit") << QString::fromUtf16(u"１11111");
        QTest::newRow("leading space") << " 111111";
        QTest::newRow("empty") << "";
    }
    void failedLookupFindsNothing()
    {
        QFETCH(QString, lines);
        QVERIFY(!FindHexagram(lines));
        QVERIFY(!FindHexagramTranslation(lines));
    }

    void lineValuesGiveCharactersAndPictures_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("primary");
        QTest::addColumn<QString>("resulting");
        QTest::addColumn<int>("changed");
        QTest::newRow("6 changing yin") << 6 << "00" << "11" << 9;
        QTest::newRow("7 stable yang") << 7 << "1" << "1" << 7;
        QTest::newRow("8 stable yin") << 8 << "0" << "0" << 8;
        QTest::newRow("9 changing yang") << 9 << "11" << "00" << 6;
    }
    void lineValuesGiveCharactersAndPictures()
    {
        QFETCH(int, value);
        QFETCH(QString, primary);
        QFETCH(QString, resulting);
        QFETCH(int, changed);
        const LinePictureCodes pictures = LinePicturesOf(value);
        QCOMPARE(pictures.primary, primary);
        QCOMPARE(pictures.resulting, resulting);
        QCOMPARE(ChangedLineValue(value), changed);
        QCOMPARE(QString(PrimaryLineCharacter(value)), primary.left(1));
        QCOMPARE(QString(ResultingLineCharacter(value)), resulting.left(1));
    }

    void lineStringsFlipOnlyChangingLines()
    {
        const CastLineStrings mixed = BuildLineStrings({9, 7, 8, 6, 7, 8});
        QCOMPARE(mixed.primary, QStringLiteral("110010"));
        QCOMPARE(mixed.resulting, QStringLiteral("010110"));
        const CastLineStrings stable = BuildLineStrings({7, 8, 8, 7, 7, 8});
        QCOMPARE(stable.resulting, stable.primary);
    }

    void flipAndPositionHelpers()
    {
        QCOMPARE(FlipLineCharacter(u'1'), QChar(u'0'));
        QCOMPARE(FlipLineCharacter(u'0'), QChar(u'1'));
        QCOMPARE(HexagramNameOf(64), QStringLiteral("未济"));
        QVERIFY(HexagramNameOf(65).isEmpty());
        QCOMPARE(LinePositionWord(1), QStringLiteral("初爻"));
        QCOMPARE(LinePositionWord(6), QStringLiteral("上爻"));
    }

    void codecRoundTripsGbkAndKeepsOtherCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "abc,\"1\"" << QByteArray("abc,\"1\"");
        QTest::newRow("gbk") << QString::fromUtf16(u"乾卦") << QByteArray("\xc7\xac\xd8\xd4");
        QTest::newRow("full-width quote") << QString::fromUtf16(u"“") << QByteArray("\xa1\xb0");
    }
    void codecRoundTripsGbkAndKeepsOtherCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(EncodeGb18030(text), bytes);
        QCOMPARE(DecodeGbk(bytes), text);
        QVERIFY(IsGbkEncodable(text));
    }

    void codecKeepsCharactersOutsideGbk()
    {
        const QString text = QString::fromUtf16(u"𫖮€😀");
        QVERIFY(!IsGbkEncodable(text));
        QCOMPARE(DecodeGbk(EncodeGb18030(text)), text);
    }

    void codecDecodesInvalidBytesAsReplacement_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("validStart");
        QTest::addColumn<QString>("validEnd");
        QTest::newRow("byte that starts no character") << QByteArray("a\xff" "b") << "a" << "b";
        QTest::newRow("lead byte cut off at the end") << QByteArray("ab\x81") << "ab" << "";
        QTest::newRow("four-byte sequence cut off at the end") << QByteArray("ab\x81\x30\x81") << "ab" << "";
        QTest::newRow("four-byte sequence cut off after two bytes") << QByteArray("ab\xe1\x31") << "ab" << "";
    }
    void codecDecodesInvalidBytesAsReplacement()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, validStart);
        QFETCH(QString, validEnd);
        const QString text = DecodeGbk(bytes);
        QVERIFY(text.startsWith(validStart));
        QVERIFY(text.endsWith(validEnd));
        QVERIFY(text.contains(QChar(QChar::ReplacementCharacter)));
        // A line reads the same whether its line end follows or the file ends.
        QCOMPARE(DecodeGbk(bytes + "\r\n"), text + QStringLiteral("\r\n"));
    }

    void findGivesTheEntryWithEitherText_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::newRow("乾") << "111111" << 1 << "乾";
        QTest::newRow("未济") << "010101" << 64 << "未济";
        QTest::newRow("遯") << "001111" << 33 << "遯";
    }
    void findGivesTheEntryWithEitherText()
    {
        QFETCH(QString, lines);
        QFETCH(int, number);
        QFETCH(QString, name);
        QCOMPARE(FindHexagram(lines), (HexagramEntry{number, name, lines, HexagramText(number)}));
        QCOMPARE(FindHexagramTranslation(lines), (HexagramEntry{number, name, lines, HexagramTranslation(number)}));
        QVERIFY(HexagramText(number) != HexagramTranslation(number));
    }
};

QTEST_GUILESS_MAIN(CoreTest)
#include "test_core.moc"
