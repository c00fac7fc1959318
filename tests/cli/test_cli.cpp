#include "cli_run.h"
#include "file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

// Runs the built ravezaz-cli and checks what a script would see.
class CliTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    static CliResult run(const QStringList &args) { return RunCli(args); }

    // Runs the CLI with its standard output sent to `outputPath`.
    static CliResult runInto(const QStringList &args, const QString &outputPath)
    {
        QProcess process;
        process.setStandardOutputFile(outputPath);
        process.start(QStringLiteral(RAVEZAZ_CLI), args);
        process.waitForFinished(60000);
        return {process.exitCode(), QString(), QString::fromUtf8(process.readAllStandardError())};
    }

    static QString writeFailure(int error)
    {
        return QStringLiteral("无法写入输出：") + QString::fromLocal8Bit(std::strerror(error)) + u'\n';
    }

    // A record file of `count` copies of one stored cast.
    QString recordFile(int count) const
    {
        QFile fixture(QStringLiteral(RAVEZAZ_FIXTURES "/records/three-casts.kdf"));
        if (!fixture.open(QIODevice::ReadOnly))
            return {};
        const QByteArray line = fixture.readLine();
        const QString path = dir_.filePath(QStringLiteral("casts-%1.kdf").arg(count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(line.repeated(count));
        return path;
    }

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

    // Output that cannot be written is an error, never a success.
    void outputToAFullDeviceFails_data()
    {
        QTest::addColumn<QStringList>("args");
        const QString records = QStringLiteral("RECORDS");
        QTest::newRow("records count") << QStringList{"records", records, "count"};
        QTest::newRow("records list") << QStringList{"records", records, "list", "1", "3"};
        QTest::newRow("records show") << QStringList{"records", records, "show", "2"};
        QTest::newRow("records find") << QStringList{"records", records, "find", "乾"};
        QTest::newRow("records delete") << QStringList{"records", records, "delete", "1"};
        QTest::newRow("almanac one day") << QStringList{"almanac", "2024-02-10"};
        QTest::newRow("almanac tsv") << QStringList{"almanac", "--from", "1900-01-31", "--to", "2100-12-31"};
        QTest::newRow("almanac json") << QStringList{"almanac", "2024-02-10", "--format", "json"};
        QTest::newRow("almanac ics") << QStringList{"almanac", "2024-02-10", "--format", "ics"};
        QTest::newRow("hexagram") << QStringList{"hexagram", "111111"};
        QTest::newRow("cast") << QStringList{"cast", "--seed", "1"};
        QTest::newRow("cast --simulate") << QStringList{"cast", "--simulate", "10", "--seed", "1"};
        QTest::newRow("--help") << QStringList{"--help"};
    }
    void outputToAFullDeviceFails()
    {
        QFETCH(QStringList, args);
        args.replaceInStrings(QStringLiteral("RECORDS"), recordFile(3));
        const CliResult result = runInto(args, QStringLiteral("/dev/full"));
        QCOMPARE(result.err, writeFailure(ENOSPC));
        QCOMPARE(result.exitCode, 1);
    }

    // A disk that fills part way through: the lines before are written,
    // and the command still fails.
    void outputCutShortByAFullDiskFails_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("list of 1,000 records") << QStringList{"records", "RECORDS", "list", "1", "1000"};
        QTest::newRow("almanac of a year") << QStringList{"almanac", "--from", "2024-01-01", "--to", "2024-12-31"};
    }
    void outputCutShortByAFullDiskFails()
    {
        QFETCH(QStringList, args);
        args.replaceInStrings(QStringLiteral("RECORDS"), recordFile(1000));
        const QString output = dir_.filePath(QStringLiteral("output.txt"));
        QFile::remove(output);
        constexpr rlim_t room = 20000;
        CliResult result;
        {
            const FileSizeLimit limit(room);
            result = runInto(args, output);
        }
        QCOMPARE(QFileInfo(output).size(), qint64(room));
        QCOMPARE(result.err, writeFailure(EFBIG));
        QCOMPARE(result.exitCode, 1);
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
