#include "core/changing_line_rules.h"
#include "shell/help_file.h"
#include "texts/hexagram_texts.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

// The help file the build compiled beside the program, read through its own
// context map, and the same file damaged in ways that crash or hang chmlib
// when it is used directly.
class HelpFileTest : public QObject {
    Q_OBJECT

    HelpFile helpFile_;

    static QString helpFilePath() { return QStringLiteral(RAVEZAZ_PROGRAM_DIR "/kdhelp.chm"); }

    static QByteArray HelpFileBytes()
    {
        QFile file(helpFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString page(const QString &entryPath) const
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(helpFile_.Entry(entryPath));
        return utf8.hasError() ? QString() : text;
    }

    static QByteArray U32(quint32 value)
    {
        QByteArray bytes(4, '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    }

private slots:
    void initTestCase()
    {
        helpFile_ = HelpFile::Read(helpFilePath());
        QVERIFY2(!helpFile_.IsEmpty(), qPrintable(helpFilePath()));
    }

    void contextNumberOpensItsTopic_data()
    {
        QTest::addColumn<int>("contextNumber");
        QTest::addColumn<QString>("entryPath");
        QTest::addColumn<QString>("title");
        QTest::newRow("800 manual entry") << 800 << "/manual.htm" << "人工输入卦体";
        QTest::newRow("902 the rules") << 902 << "/rules.htm" << "变爻推论规则";
        QTest::newRow("920 no change") << 920 << "/rule0.htm" << "变爻推论规则：六爻不变";
        QTest::newRow("921 one line") << 921 << "/rule1.htm" << "变爻推论规则：变一爻";
        QTest::newRow("922 two lines") << 922 << "/rule2.htm" << "变爻推论规则：变两爻";
        QTest::newRow("923 three lines") << 923 << "/rule3.htm" << "变爻推论规则：变三爻";
        QTest::newRow("924 four lines") << 924 << "/rule4.htm" << "变爻推论规则：变四爻";
        QTest::newRow("925 five lines") << 925 << "/rule5.htm" << "变爻推论规则：变五爻";
        QTest::newRow("926 six lines") << 926 << "/rule6.htm" << "变爻推论规则：六爻全变";
        QTest::newRow("1100 shuoguazhuan") << 1100 << "/shuogua.htm" << "说卦传";
    }
    void contextNumberOpensItsTopic()
    {
        QFETCH(int, contextNumber);
        QFETCH(QString, entryPath);
        QFETCH(QString, title);
        QCOMPARE(helpFile_.Topic(contextNumber), entryPath);
        const QString text = page(entryPath);
        QVERIFY2(!text.isEmpty(), "the page is UTF-8 text");
        QVERIFY(text.contains(QStringLiteral("charset=utf-8")));
        QVERIFY(text.contains(QStringLiteral("<title>") + title + QStringLiteral("</title>")));
    }

    void eachRulePageQuotesTheRuleItExplains_data()
    {
        QTest::addColumn<int>("changingLines");
        for (int count = 0; count < ChangingLineRuleCount; ++count)
            QTest::addRow("%d changing lines", count) << count;
    }
    void eachRulePageQuotesTheRuleItExplains()
    {
        QFETCH(int, changingLines);
        const QString rule = ChangingLineRule(changingLines);
        const std::optional<int> topic = ChangingLineRuleHelpTopic(rule);
        QVERIFY(topic);
        QVERIFY2(page(helpFile_.Topic(*topic)).contains(QStringLiteral("<p class=\"rule\">") + rule),
                 qPrintable(rule));
        QVERIFY(page(helpFile_.Topic(ChangingLineRulesHelpTopic)).contains(rule));
    }

    void defaultTopicExplainsEveryKeyOfTheMainWindow()
    {
        QCOMPARE(helpFile_.DefaultTopic(), QStringLiteral("/index.htm"));
        const QString text = page(helpFile_.DefaultTopic());
        const QStringList keys{"F1", "F2、L", "F3、A", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
                               "M", "Y", "1", "2"};
        for (const QString &key : keys)
            QVERIFY2(text.contains(QStringLiteral("<td>") + key + QStringLiteral("</td>")), qPrintable(key));
    }

    void shuoguazhuanIsComplete()
    {
        const QString text = page(helpFile_.Topic(1100));
        static const QRegularExpression chapter(QStringLiteral("<h2>第[一二三四五六七八九十]+章</h2>"));
        QCOMPARE(text.count(chapter), 11);
        QVERIFY(text.contains(QStringLiteral("昔者圣人之作《易》也，幽赞于神明而生蓍")));
        QVERIFY(text.contains(QStringLiteral("天地定位，山泽通气，雷风相薄，水火不相射，八卦相错。")));
        QVERIFY(text.contains(QStringLiteral("兑为泽，为少女，为巫，为口舌，为毁折，为附决。其于地也，为刚卤。为妾，为羊。")));
    }

    // A page that quotes a translation quotes the program's own: every row of
    // a "translation" paragraph is a whole row of one of the 64 entries.
    void quotedTranslationsAreTheProgramsOwn()
    {
        QSet<QString> rows;
        for (int number = 1; number <= 64; ++number)
            for (const QString &row : HexagramTranslation(number).split(QStringLiteral("\r\n")))
                rows.insert(row);
        static const QRegularExpression quote(QStringLiteral("<p class=\"translation\">(.*?)</p>"),
                                              QRegularExpression::DotMatchesEverythingOption);
        int quoted = 0;
        for (const QString &entryPath : helpFile_.EntryPaths()) {
            if (!entryPath.endsWith(QStringLiteral(".htm")))
                continue;
            for (const QRegularExpressionMatch &match : quote.globalMatch(page(entryPath))) {
                for (const QString &row : match.captured(1).split(QStringLiteral("<br>"))) {
                    QVERIFY2(rows.contains(row.trimmed()), qPrintable(entryPath + QStringLiteral(": ") + row));
                    ++quoted;
                }
            }
        }
        QVERIFY2(quoted >= 3, "the rule pages quote the translations of 谦 九三 and 恒 六五, 上六");
    }

    // Every link and picture of every page names an entry of the file, and
    // every anchor it jumps to exists on the page it names.
    void everyLinkInsideTheFileLeadsSomewhere()
    {
        static const QRegularExpression reference(QStringLiteral("(href|src)=\"([^\"]+)\""));
        const QStringList entries = helpFile_.EntryPaths();
        int pages = 0;
        for (const QString &entryPath : entries) {
            if (!entryPath.endsWith(QStringLiteral(".htm")))
                continue;
            ++pages;
            const QString folder = entryPath.left(entryPath.lastIndexOf(u'/') + 1);
            for (const QRegularExpressionMatch &match : reference.globalMatch(page(entryPath))) {
                const QString link = match.captured(2);
                const qsizetype hash = link.indexOf(u'#');
                const QString target = hash == 0 ? entryPath : folder + link.left(hash);
                const QString anchor = hash < 0 ? QString() : link.mid(hash + 1);
                QVERIFY2(helpFile_.Contains(target), qPrintable(entryPath + QStringLiteral(" → ") + link));
                if (!anchor.isEmpty())
                    QVERIFY2(page(target).contains(QStringLiteral("name=\"") + anchor + u'"'),
                             qPrintable(entryPath + QStringLiteral(" → ") + link));
                if (match.captured(1) == u"src")
                    QVERIFY2(helpFile_.Entry(target).startsWith("\x89PNG"), qPrintable(target));
            }
        }
        QCOMPARE(pages, 11);
    }

    void contextNumberOutsideTheMapOpensNothing()
    {
        QVERIFY(helpFile_.Topic(0).isEmpty());
        QVERIFY(helpFile_.Topic(927).isEmpty());
        QVERIFY(helpFile_.Topic(-800).isEmpty());
    }

    void mapPathIsResolvedByItsLongestExistingTail_data()
    {
        QTest::addColumn<QByteArray>("writtenPath");
        QTest::addColumn<QString>("topic");
        QTest::newRow("absolute path of the build machine") << QByteArray("/home/a/build/help/pages/rules.htm") << "/rules.htm";
        QTest::newRow("path relative to the project") << QByteArray("rules.htm") << "/rules.htm";
        QTest::newRow("subfolder kept when it exists") << QByteArray("/build/html/rules.htm") << "/html/rules.htm";
        QTest::newRow("backslashes of a Windows compiler") << QByteArray("C:\\help\\html\\rules.htm") << "/html/rules.htm";
        QTest::newRow("anchor kept") << QByteArray("/x/index.htm#keys") << "/index.htm#keys";
        QTest::newRow("no such page") << QByteArray("/x/missing.htm") << "";
        QTest::newRow("empty path") << QByteArray("") << "";
    }
    void mapPathIsResolvedByItsLongestExistingTail()
    {
        QFETCH(QByteArray, writtenPath);
        QFETCH(QString, topic);
        const HelpFile file({{QStringLiteral("/index.htm"), "i"},
                             {QStringLiteral("/rules.htm"), "r"},
                             {QStringLiteral("/html/rules.htm"), "h"},
                             {QStringLiteral("/#IVB"), U32(8) + U32(902) + U32(1)},
                             {QStringLiteral("/#STRINGS"), QByteArray(1, '\0') + writtenPath + '\0'}});
        QCOMPARE(file.Topic(902), topic);
    }

    void damagedContextMapIsReadAsFarAsItHolds_data()
    {
        QTest::addColumn<QByteArray>("ivb");
        QTest::addColumn<QByteArray>("strings");
        QTest::addColumn<QString>("topic800");
        QTest::addColumn<QString>("topic902");
        const QByteArray strings = QByteArray(1, '\0') + "a.htm" + '\0' + "b.htm" + '\0';
        QTest::newRow("whole map") << U32(16) + U32(800) + U32(1) + U32(902) + U32(7) << strings << "/a.htm" << "/b.htm";
        QTest::newRow("empty #IVB") << QByteArray() << strings << "" << "";
        QTest::newRow("#IVB shorter than its count") << U32(16) + U32(800) + U32(1) << strings << "/a.htm" << "";
        QTest::newRow("count cuts the second pair") << U32(8) + U32(800) + U32(1) + U32(902) + U32(7) << strings << "/a.htm" << "";
        QTest::newRow("half a pair at the end") << U32(12) + U32(800) + U32(1) + U32(902) << strings << "/a.htm" << "";
        QTest::newRow("huge count") << U32(0xFFFFFFFF) + U32(800) + U32(1) << strings << "/a.htm" << "";
        QTest::newRow("offset past #STRINGS") << U32(16) + U32(800) + U32(5000) + U32(902) + U32(7) << strings << "" << "/b.htm";
        QTest::newRow("path without its NUL") << U32(16) + U32(800) + U32(1) + U32(902) + U32(7) << strings.chopped(1) << "/a.htm" << "";
        QTest::newRow("no #STRINGS") << U32(16) + U32(800) + U32(1) + U32(902) + U32(7) << QByteArray() << "" << "";
    }
    void damagedContextMapIsReadAsFarAsItHolds()
    {
        QFETCH(QByteArray, ivb);
        QFETCH(QByteArray, strings);
        QFETCH(QString, topic800);
        QFETCH(QString, topic902);
        const HelpFile file({{QStringLiteral("/a.htm"), "a"},
                             {QStringLiteral("/b.htm"), "b"},
                             {QStringLiteral("/#IVB"), ivb},
                             {QStringLiteral("/#STRINGS"), strings}});
        QCOMPARE(file.Topic(800), topic800);
        QCOMPARE(file.Topic(902), topic902);
    }

    void damagedSystemRecordsGiveNoDefaultTopic_data()
    {
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<QString>("defaultTopic");
        const QByteArray version = U32(3);
        const QByteArray title = QByteArray::fromHex("0300") + QByteArray::fromHex("0400") + "abc" + '\0';
        const QByteArray topic = QByteArray::fromHex("0200") + QByteArray::fromHex("0a00") + "index.htm" + '\0';
        QTest::newRow("topic after another record") << version + title + topic << "/index.htm";
        QTest::newRow("no topic record") << version + title << "";
        QTest::newRow("record longer than the data") << version + topic.chopped(4) << "";
        QTest::newRow("only the version") << version << "";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void damagedSystemRecordsGiveNoDefaultTopic()
    {
        QFETCH(QByteArray, system);
        QFETCH(QString, defaultTopic);
        const HelpFile file({{QStringLiteral("/index.htm"), "i"}, {QStringLiteral("/#SYSTEM"), system}});
        QCOMPARE(file.DefaultTopic(), defaultTopic);
    }

    // Each damage below crashes or hangs a program that hands the file to
    // chmlib directly; the reader must return nothing and carry on.
    void damagedFileOpensNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = HelpFileBytes();
        QVERIFY(!good.isEmpty());

        QByteArray lzxWindow = good;
        const qsizetype control = lzxWindow.indexOf("LZXC");
        QVERIFY(control > 0);
        lzxWindow.replace(control + 8, 8, U32(0x4000) + U32(0x8000));

        QByteArray resetBlockLength = good;
        const qsizetype resetTable = resetBlockLength.indexOf(QByteArray::fromHex("0800000028000000"));
        QVERIFY(resetTable > 0);
        resetBlockLength.replace(resetTable + 24, 8, QByteArray(8, '\0'));

        QByteArray directoryLoop = good;
        const qsizetype listing = directoryLoop.indexOf("PMGL");
        QVERIFY(listing > 0);
        directoryLoop.replace(listing + 16, 4, U32(0));

        QByteArray flipped = good;
        for (qsizetype at = good.size() / 3; at < good.size() * 2 / 3; at += 97)
            flipped[at] = char(~flipped[at]);

        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not a help file") << QByteArray("<html>not compiled</html>");
        QTest::newRow("cut after the headers") << good.left(200);
        QTest::newRow("cut to half (garbage pages)") << good.left(good.size() / 2);
        QTest::newRow("LZX window out of range (null pointer in chmlib)") << lzxWindow;
        QTest::newRow("reset block length zero (division by zero in chmlib)") << resetBlockLength;
        QTest::newRow("directory chunk that follows itself (endless in chmlib)") << directoryLoop;
        QTest::newRow("bytes flipped in its middle third") << flipped;
    }
    void damagedFileOpensNothing()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("kdhelp.chm")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        QVERIFY(HelpFile::Read(file.fileName()).IsEmpty());
        QVERIFY(!IsReadableHelpFile(file.fileName()));
    }

    void missingFileOpensNothing()
    {
        QTemporaryDir folder;
        QVERIFY(HelpFile::Read(folder.filePath(QStringLiteral("kdhelp.chm"))).IsEmpty());
        QVERIFY(HelpFile::Read(folder.path()).IsEmpty());
        QVERIFY(!IsReadableHelpFile(folder.filePath(QStringLiteral("kdhelp.chm"))));
    }

    void wholeFileIsReadable()
    {
        QVERIFY(IsReadableHelpFile(helpFilePath()));
    }
};

QTEST_MAIN(HelpFileTest)
#include "test_help_file.moc"
