#include "core/hexagram.h"
#include "core/lookup.h"
#include "fileformat/gbk_codec.h"
#include "texts/hexagram_texts.h"

#include <QRegularExpression>
#include <QTest>

class TextsTest : public QObject {
    Q_OBJECT

    // The judgment and the statements of a classical entry, labels removed.
    static QStringList ClassicalStatements(int number)
    {
        QStringList rows = HexagramText(number).chopped(2).split(QStringLiteral("\r\n"));
        rows.removeAt(1);
        QStringList statements;
        for (const QString &row : rows)
            statements << row.mid(row.indexOf(QStringLiteral("：")) + 1);
        return statements;
    }
    // A translation row is the statement followed by "（translation）".
    static QString StatementBeforeTranslation(const QString &row)
    {
        return row.left(row.indexOf(QStringLiteral("（")));
    }
    static QString WithoutPunctuation(QString text)
    {
        static const QRegularExpression punctuation(QStringLiteral("[，。、：；！？,.;:!? ]"));
        return text.remove(punctuation);
    }
    // The translation in parentheses of one row of a translation entry: the judgment
    // for "卦辞", otherwise the row of that line label.
    static QString TranslationOfRow(int number, const QString &label)
    {
        const QStringList rows = HexagramTranslation(number).split(QStringLiteral("\r\n"));
        QString statement;
        if (label == QStringLiteral("卦辞")) {
            statement = rows[0].mid(rows[0].indexOf(QStringLiteral("：")) + 1);
        } else {
            const QString opening = QStringLiteral("【") + label + QStringLiteral("】");
            for (const QString &row : rows) {
                if (row.startsWith(opening))
                    statement = row.mid(opening.size());
            }
        }
        return statement.mid(StatementBeforeTranslation(statement).size());
    }

private slots:
    void firstEntryIsExact()
    {
        const QString expected = QString::fromUtf16(
            u"乾：元、亨、利、贞。\r\n \r\n初九：潜龙，勿用。\r\n九二：见龙在田，利见大人。\r\n"
            u"九三：君子终日乾乾夕惕，若厉，无咎。\r\n九四：或跃在渊，无咎。\r\n"
            u"九五：飞龙在天，利见大人。\r\n上九：亢龙有悔。\r\n用九：群龙无首，吉。\r\n");
        QCOMPARE(HexagramText(1), expected);
    }

    void everyClassicalEntryHasItsShape_data()
    {
        QTest::addColumn<int>("number");
        for (const HexagramRow &row : HexagramTable())
            QTest::addRow("%d", row.number) << row.number;
    }
    void everyClassicalEntryHasItsShape()
    {
        QFETCH(int, number);
        const QString lines = HexagramLinesOf(number);
        const QString entry = HexagramText(number);
        QVERIFY(entry.endsWith(QStringLiteral("\r\n")));
        QVERIFY(!entry.contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))));
        QVERIFY(IsGbkEncodable(entry));
        QVERIFY(entry.size() >= 81 && entry.size() <= 162);

        const QStringList rows = entry.chopped(2).split(QStringLiteral("\r\n"));
        const int statements = number <= 2 ? 7 : 6;
        QCOMPARE(rows.size(), 2 + statements);
        QVERIFY(rows[0].startsWith(HexagramNameOf(number) + QStringLiteral("：")));
        const QString separator = number == 33 || number == 43 ? QString() : QStringLiteral(" ");
        QCOMPARE(rows[1], separator);
        for (int line = 1; line <= 6; ++line)
            QVERIFY2(rows[1 + line].startsWith(LineLabel(lines, line) + QStringLiteral("：")), qPrintable(rows[1 + line]));
        if (number <= 2)
            QVERIFY(rows[8].startsWith(number == 1 ? QStringLiteral("用九：") : QStringLiteral("用六：")));
    }

    void everyTranslationEntryHasItsShape_data()
    {
        everyClassicalEntryHasItsShape_data();
    }
    void everyTranslationEntryHasItsShape()
    {
        QFETCH(int, number);
        const QString lines = HexagramLinesOf(number);
        const QString entry = HexagramTranslation(number);
        QVERIFY(!entry.endsWith(u'\n'));
        QVERIFY(!entry.contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))));
        QVERIFY(IsGbkEncodable(entry));
        QVERIFY2(entry.size() >= 239 && entry.size() <= 571, qPrintable(QString::number(entry.size())));

        const QStringList rows = entry.split(QStringLiteral("\r\n"));
        const QStringList classical = ClassicalStatements(number);
        QCOMPARE(rows.size(), 1 + classical.size());
        const QString head = lines + QStringLiteral("  ") + HexagramNameOf(number) + QStringLiteral("（")
            + ChineseNumeral(number) + QStringLiteral("）：");
        QVERIFY2(rows[0].startsWith(head), qPrintable(rows[0]));
        QCOMPARE(WithoutPunctuation(StatementBeforeTranslation(rows[0].mid(head.size()))),
                 WithoutPunctuation(classical[0]));
        QVERIFY(rows[1].isEmpty());
        for (int row = 2; row < rows.size(); ++row) {
            const int line = row - 1;
            const QString label = line <= 6 ? LineLabel(lines, line)
                                            : (number == 1 ? QStringLiteral("用九") : QStringLiteral("用六"));
            const QString opening = QStringLiteral("【") + label + QStringLiteral("】");
            QVERIFY2(rows[row].startsWith(opening), qPrintable(rows[row]));
            QVERIFY(rows[row].endsWith(QStringLiteral("）")));
            QCOMPARE(WithoutPunctuation(StatementBeforeTranslation(rows[row].mid(opening.size()))),
                     WithoutPunctuation(classical[row - 1]));
        }
    }

    // The glossary in data/ fixes one rendering for each recurring term; these are the
    // renderings it retired, which once made the two halves of the book read differently.
    void everyTranslationFollowsTheGlossary_data()
    {
        everyClassicalEntryHasItsShape_data();
    }
    void everyTranslationFollowsTheGlossary()
    {
        QFETCH(int, number);
        const QString entry = HexagramTranslation(number);
        const QString judgment = entry.left(entry.indexOf(QStringLiteral("\r\n")));
        QVERIFY2(judgment.contains(QStringLiteral("（") + HexagramNameOf(number) + QStringLiteral("卦象征")),
                 qPrintable(judgment));
        static const QStringList retired = {
            QStringLiteral("懊悔"), QStringLiteral("憾惜"), QStringLiteral("适宜"),
            QStringLiteral("固守下去"), QStringLiteral("没有过错"), QStringLiteral("守持正道"),
        };
        for (const QString &word : retired)
            QVERIFY2(!entry.contains(word), qPrintable(word));
    }

    // Readings where an earlier translation departed from 本义 (the commentary the
    // glossary follows): the entry carries 本义's reading and not the departed one.
    void translationsFollowTheCommentary_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("departure");
        QTest::newRow("乾 用九 all six lines change") << 1 << "用九" << "六爻全变" << "全是阳爻";
        QTest::newRow("坤 用六 all six lines change") << 2 << "用六" << "六爻全变" << "全是阴爻";
        QTest::newRow("坤 judgment 先迷后得，主利") << 2 << "卦辞" << "主于有利" << "随从在后就能找到主人";
        QTest::newRow("坤 六三 无成有终") << 2 << "六三" << "起初虽然没有成就" << "不居其成，而有";
        QTest::newRow("讼 六三 无成 is no success") << 6 << "六三" << "必定没有成功" << "不居其成";
        QTest::newRow("遯 小利贞 the petty keep to the right") << 33 << "卦辞" << "小人利于守正" << "小有利于守正";
        QTest::newRow("既济 亨小 is 小亨") << 63 << "卦辞" << "小有亨通" << "小有利于守正";
        QTest::newRow("乾 九三 厉 is real danger") << 1 << "九三" << "身处危境" << "如同身临危险";
        QTest::newRow("比 元永贞") << 8 << "卦辞" << "元善、长久、正固" << "大而长久";
        QTest::newRow("萃 九五 元永贞") << 45 << "九五" << "元善、长久、正固" << "大而长久";
        QTest::newRow("泰 六五 帝乙归妹") << 11 << "六五" << "帝乙嫁出少女" << "妹妹";
        QTest::newRow("归妹 六五 帝乙归妹") << 54 << "六五" << "帝乙嫁出少女" << "妹妹";
        QTest::newRow("临 初九 咸 is 皆") << 19 << "初九" << "咸：皆" << "以感化的方式";
        QTest::newRow("豫 六五 贞疾 is lasting illness") << 16 << "六五" << "贞疾：常疾" << "守正却";
        QTest::newRow("家人 九五 假 is 至") << 37 << "九五" << "假：至" << "感化";
        QTest::newRow("恒 九三 或 is someone") << 32 << "九三" << "不知是谁" << "或许";
        QTest::newRow("解 六五 孚 is 验") << 40 << "六五" << "孚：验" << "解脱困境";
        QTest::newRow("益 六三 helped through hardship") << 42 << "六三" << "警戒震动" << "救助凶灾";
        QTest::newRow("中孚 初九 虞 is 度") << 61 << "初九" << "虞：度" << "安守诚信";
        QTest::newRow("中孚 九二 好爵") << 61 << "九二" << "好的爵位" << "美酒";
        QTest::newRow("中孚 六三 敌 is 上九") << 61 << "六三" << "上九" << "进攻";
        QTest::newRow("坎 行有尚") << 29 << "卦辞" << "必定有功" << "推崇";
        QTest::newRow("颐 judgment adds no verdict on a person") << 27 << "卦辞" << "所养之道" << "为人";
        QTest::newRow("震 六二 亿 without 大量") << 51 << "六二" << "“亿”字本义说未详" << "大量";
        QTest::newRow("困 九二 no added condition") << 47 << "九二" << "在道义上没有灾祸" << "守中自处";
        QTest::newRow("困 九五 赤绂") << 47 << "九五" << "赤绂无从施用" << "臣下所困";
        QTest::newRow("节 六三 无咎 is no one to blame") << 60 << "六三" << "无所归咎" << "悔悟改过";
        QTest::newRow("未济 上九 有孚 is self-trust") << 64 << "上九" << "过于自信" << "即使心怀诚信";
    }
    void translationsFollowTheCommentary()
    {
        QFETCH(int, number);
        QFETCH(QString, label);
        QFETCH(QString, reading);
        QFETCH(QString, departure);
        const QString translation = TranslationOfRow(number, label);
        QVERIFY2(translation.contains(reading), qPrintable(translation));
        QVERIFY2(!translation.contains(departure), qPrintable(translation));
    }

    // The received text and 本义 punctuate 既济's judgment "亨小，利贞".
    void jiJiJudgmentKeepsTheReceivedPunctuation()
    {
        QVERIFY(HexagramText(63).startsWith(QStringLiteral("既济：亨小，利贞，初吉终乱。\r\n")));
    }

    void translationLookupFollowsTheLineString()
    {
        const std::optional<HexagramEntry> found = FindHexagramTranslation(QStringLiteral("010101"));
        QVERIFY(found);
        QCOMPARE(found->name, QStringLiteral("未济"));
        QCOMPARE(found->number, 64);
        QVERIFY(found->text.startsWith(QStringLiteral("010101  未济（六十四）：")));
        QVERIFY(!FindHexagramTranslation(QStringLiteral("01010")));
    }

    void lineLabelsFollowTheLineString_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("乾") << "111111" << QStringList{"初九", "九二", "九三", "九四", "九五", "上九"};
        QTest::newRow("未济") << "010101" << QStringList{"初六", "九二", "六三", "九四", "六五", "上九"};
    }
    void lineLabelsFollowTheLineString()
    {
        QFETCH(QString, lines);
        QFETCH(QStringList, labels);
        for (int line = 1; line <= 6; ++line)
            QCOMPARE(LineLabel(lines, line), labels[line - 1]);
        QVERIFY(LineLabel(lines, 7).isEmpty());
        QVERIFY(LineLabel(QStringLiteral("11x111"), 3).isEmpty());
    }

    void chineseNumerals_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("numeral");
        QTest::newRow("1") << 1 << "一";
        QTest::newRow("10") << 10 << "十";
        QTest::newRow("11") << 11 << "十一";
        QTest::newRow("19") << 19 << "十九";
        QTest::newRow("20") << 20 << "二十";
        QTest::newRow("33") << 33 << "三十三";
        QTest::newRow("60") << 60 << "六十";
        QTest::newRow("64") << 64 << "六十四";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("65") << 65 << "";
    }
    void chineseNumerals()
    {
        QFETCH(int, number);
        QFETCH(QString, numeral);
        QCOMPARE(ChineseNumeral(number), numeral);
    }

    void numbersOutsideTheTableGiveNothing()
    {
        QVERIFY(HexagramText(0).isEmpty());
        QVERIFY(HexagramText(65).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TextsTest)
#include "test_texts.moc"
