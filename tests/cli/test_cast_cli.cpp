#include "cli_run.h"
#include "core/changing_line_rules.h"
#include "core/hexagram.h"
#include "fileformat/gbk_codec.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Runs `ravezaz-cli cast` and checks what a script would see.
class CastCliTest : public QObject {
    Q_OBJECT

    struct Result {
        int exitCode;
        QStringList lines;
        QString err;
    };
    static Result Run(const QStringList &args)
    {
        const CliResult result = RunCli(QStringList{QStringLiteral("cast")} + args);
        return {result.exitCode, result.out.split(u'\n', Qt::SkipEmptyParts), result.err};
    }

    static QString HexagramLine(const QString &lines)
    {
        const int number = HexagramNumberOf(lines);
        return QString::number(number) + u' ' + HexagramNameOf(number) + u' ' + lines;
    }

private slots:
    void castPrintsAConsistentResult_data()
    {
        QTest::addColumn<QString>("seed");
        for (const char *seed : {"1", "42", "20060716", "18446744073709551615"})
            QTest::newRow(seed) << seed;
    }
    void castPrintsAConsistentResult()
    {
        QFETCH(QString, seed);
        const Result result = Run({QStringLiteral("--seed"), seed});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines.size(), 4);
        QCOMPARE(Run({QStringLiteral("--seed"), seed}).lines, result.lines);

        const QRegularExpressionMatch values =
            QRegularExpression(QStringLiteral("^values: ([6-9]) ([6-9]) ([6-9]) ([6-9]) ([6-9]) ([6-9])$")).match(result.lines[0]);
        QVERIFY2(values.hasMatch(), qPrintable(result.lines[0]));
        std::array<int, LinesPerHexagram> lineValues{};
        int changing = 0;
        for (int i = 0; i < LinesPerHexagram; ++i) {
            lineValues[i] = values.captured(i + 1).toInt();
            changing += IsChangingLine(lineValues[i]);
        }
        const CastLineStrings strings = BuildLineStrings(lineValues);
        QCOMPARE(result.lines[1], "primary: " + HexagramLine(strings.primary));
        QCOMPARE(result.lines[2], changing ? "resulting: " + HexagramLine(strings.resulting) : QStringLiteral("resulting: -"));
        QCOMPARE(result.lines[3], "rule: " + ChangingLineRule(changing));
    }

    void recordIsAppendedAsTheProgramWritesIt()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("filelog.kdf"));
        const QStringList args{QStringLiteral("--seed"), QStringLiteral("5"), QStringLiteral("--name"),
                               QStringLiteral("张三丰"), QStringLiteral("--matter"), QStringLiteral("问行程"),
                               QStringLiteral("--record"), path};
        const Result first = Run(args);
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(Run(args).exitCode, 0);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.endsWith("\r\n"));
        const QStringList lines = DecodeGbk(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QString &line = lines.first();
        QVERIFY2(QRegularExpression(QStringLiteral("^\"时间:\\d{4}-\\d{1,2}-\\d{1,2} \\d{1,2}:\\d\\d:\\d\\d\","
                                                   "\"姓名:张三丰\",\"占筮事由:问行程\",\"卦序号:\\d+\",\"卦象:[01]{6}\","))
                     .match(line)
                     .hasMatch(),
                 qPrintable(line));
        const QString primary = first.lines[1].section(u' ', 1);
        const QString resulting = first.lines[2].section(u' ', 1);
        const QStringList shown = primary.split(u' ');
        QVERIFY(line.contains(QStringLiteral("\"卦序号:%1\",\"卦象:%2\",\"卦名:%3\"").arg(shown[0], shown[2], shown[1])));
        if (resulting == u"-") {
            QVERIFY(line.endsWith(QStringLiteral("\"未变爻\",\"\",\"\",\"\"")));
        } else {
            const QStringList changed = resulting.split(u' ');
            QVERIFY(line.endsWith(QStringLiteral("\",\"%1\",\"%2\",\"%3\"").arg(changed[0], changed[2], changed[1])));
        }
    }

    // The fields are recorded as the casting window records them: cut to its
    // limits, and with line breaks and other control characters as spaces, so
    // one cast is always one record line.
    void fieldsAreRecordedAsTheWindowWouldTakeThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("matter");
        QTest::addColumn<QString>("recorded");
        QTest::newRow("cut to the limits") << QStringLiteral("一二三四五六七八九十") << QStringLiteral("  ")
                                           << QStringLiteral("\"姓名:一二三四五六七八九\",\"占筮事由:某事云云\"");
        QTest::newRow("control characters") << QStringLiteral("a\nb") << QStringLiteral("问\r\n行程\x1b")
                                            << QStringLiteral("\"姓名:a b\",\"占筮事由:问  行程 \"");
        QTest::newRow("a character cut in two at the limit")
            << QStringLiteral("一二三四五六七八😀") << QStringLiteral("𠀀问")
            << QStringLiteral("\"姓名:一二三四五六七八\",\"占筮事由:𠀀问\"");
    }
    void fieldsAreRecordedAsTheWindowWouldTakeThem()
    {
        QFETCH(QString, name);
        QFETCH(QString, matter);
        QFETCH(QString, recorded);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("fields.kdf"));
        QCOMPARE(Run({QStringLiteral("--name"), name, QStringLiteral("--matter"), matter, QStringLiteral("--record"), path})
                     .exitCode,
                 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count('\n'), 1);
        QCOMPARE(bytes.count('\r'), 1);
        const QString line = DecodeGbk(bytes);
        QVERIFY2(line.contains(recorded), qPrintable(line));
    }

    void unwritableRecordFileIsReported()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("missing/filelog.kdf"));
        const Result result = Run({QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--record"), path});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines.size(), 4);
        QVERIFY(result.err.contains(path));
        QVERIFY(!QFile::exists(path));
    }

    void simulateCountsEveryLine()
    {
        const Result result = Run({QStringLiteral("--simulate"), QStringLiteral("6001"), QStringLiteral("--seed"), QStringLiteral("9")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines.size(), 4);
        int total = 0;
        for (int i = 0; i < 4; ++i) {
            const QStringList columns = result.lines[i].split(u'\t');
            QCOMPARE(columns.size(), 2);
            QCOMPARE(columns[0], QString::number(i + 6));
            QVERIFY(columns[1].toInt() > 0);
            total += columns[1].toInt();
        }
        QCOMPARE(total, 6001);
        QCOMPARE(Run({QStringLiteral("--simulate"), QStringLiteral("6001"), QStringLiteral("--seed"), QStringLiteral("9")}).lines,
                 result.lines);
    }

    void badArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("seed not a number") << QStringList{"--seed", "x"};
        QTest::newRow("negative seed") << QStringList{"--seed", "-1"};
        QTest::newRow("seed without value") << QStringList{"--seed"};
        QTest::newRow("unknown option") << QStringList{"--speed", "3"};
        QTest::newRow("stray word") << QStringList{"now"};
        QTest::newRow("option twice") << QStringList{"--name", "a", "--name", "b"};
        QTest::newRow("simulate count missing") << QStringList{"--simulate"};
        QTest::newRow("simulate negative") << QStringList{"--simulate", "-6"};
        QTest::newRow("simulate with record") << QStringList{"--simulate", "6", "--record", "x.kdf"};
        QTest::newRow("simulate more than ten million") << QStringList{"--simulate", "10000001"};
        QTest::newRow("simulate the largest int") << QStringList{"--simulate", "2147483647"};
    }
    void badArgumentsExitWithTwo()
    {
        QFETCH(QStringList, args);
        const Result result = Run(args);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.lines.isEmpty());
        QVERIFY(result.err.contains(QStringLiteral("ravezaz-cli cast")));
    }
};

QTEST_GUILESS_MAIN(CastCliTest)
#include "test_cast_cli.moc"
