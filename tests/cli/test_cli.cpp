#include "cli_run.h"

#include <QTest>

// Runs the built ravezaz-cli and checks what a script would see.
class CliTest : public QObject {
    Q_OBJECT

    static CliResult run(const QStringList &args) { return RunCli(args); }

private slots:
    void hexagramPrintsNumberNameAndText_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("firstTextLine");
        QTest::newRow("乾") << "111111" << "1\t乾\t111111" << "乾：元、亨、利、贞。";
        QTest::newRow("未济") << "010101" << "64\t未济\t010101" << "未济：亨，小狐汔济，濡其尾，无攸利。";
    }
    void hexagramPrintsNumberNameAndText()
    {
        QFETCH(QString, lines);
        QFETCH(QString, head);
        QFETCH(QString, firstTextLine);
        const CliResult result = run({QStringLiteral("hexagram"), lines});
        QCOMPARE(result.exitCode, 0);
        const QStringList rows = result.out.split(u'\n');
        QCOMPARE(rows[0], head);
        QCOMPARE(rows[1], firstTextLine);
        QVERIFY(!result.out.contains(u'\r'));
    }

    void hexagramPrintsTranslationOnRequest()
    {
        const CliResult result = run({QStringLiteral("hexagram"), QStringLiteral("111111"), QStringLiteral("--translation")});
        QCOMPARE(result.exitCode, 0);
        const QStringList rows = result.out.split(u'\n');
        QCOMPARE(rows[0], QStringLiteral("1\t乾\t111111"));
        QVERIFY(rows[1].startsWith(QStringLiteral("111111  乾（一）：元、亨、利、贞。（")));
        QVERIFY(rows[9].startsWith(QStringLiteral("【用九】")));
        QVERIFY(!result.out.contains(u'\r'));
    }

    void unknownLinesExitWithTwo_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::newRow("short") << "11111";
        QTest::newRow("letters") << "abcdef";
    }
    void unknownLinesExitWithTwo()
    {
        QFETCH(QString, lines);
        const CliResult result = run({QStringLiteral("hexagram"), lines});
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.err, QStringLiteral("未知卦象: ") + lines + u'\n');
        QVERIFY(result.out.isEmpty());
    }

    void helpListsCommands()
    {
        const CliResult result = run({QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains(QStringLiteral("hexagram LINES")));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
