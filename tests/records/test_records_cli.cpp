#include "cli_run.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <sys/stat.h>

// Runs `ravezaz-cli records` on copies of the record fixtures.
class RecordsCliTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    static CliResult run(const QStringList &args) { return RunCli(QStringList{QStringLiteral("records")} + args); }

    QString copyOfFixture(const QString &name) const
    {
        const QString path = dir_.filePath(name);
        QFile::remove(path);
        QFile::copy(QStringLiteral(RAVEZAZ_FIXTURES "/records/") + name, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private slots:
    void actionsPrintWhatTheFileHolds_data()
    {
        QTest::addColumn<QStringList>("action");
        QTest::addColumn<QString>("out");
        QTest::newRow("count") << QStringList{"count"} << "3\n";
        QTest::newRow("list") << QStringList{"list", "2", "2"}
                              << " №<2>\"时间:2006-7-17 8:05:09\",\"姓名:李四\",\"占筮事由:问行程\",\"卦序号:2\","
                                 "\"卦象:000000\",\"卦名:坤\",\"未变爻\",\"\",\"\",\"\"\n";
        QTest::newRow("list past the end") << QStringList{"list", "4", "9"} << "";
        QTest::newRow("show") << QStringList{"show", "1"}
                              << "1\t2006-7-16 10:20:30\n2\t张三\n3\t某事云云\n4\t1\n5\t111111\n6\t乾\n"
                                 "7\t变3爻\n8\t12\n9\t000111\n10\t否\n";
        QTest::newRow("find in names of hexagrams") << QStringList{"find", "坤"} << "2\n3\n";
        QTest::newRow("find in a matter") << QStringList{"find", "远行"} << "3\n";
        QTest::newRow("delete") << QStringList{"delete", "2"} << "2\n";
        QTest::newRow("delete while the line reads as listed")
            << QStringList{"delete", "2", "--expect",
                           "\"时间:2006-7-17 8:05:09\",\"姓名:李四\",\"占筮事由:问行程\",\"卦序号:2\","
                           "\"卦象:000000\",\"卦名:坤\",\"未变爻\",\"\",\"\",\"\""}
            << "2\n";
        QTest::newRow("delete while the line reads as list printed it")
            << QStringList{"delete", "2", "--expect",
                           " №<2>\"时间:2006-7-17 8:05:09\",\"姓名:李四\",\"占筮事由:问行程\",\"卦序号:2\","
                           "\"卦象:000000\",\"卦名:坤\",\"未变爻\",\"\",\"\",\"\""}
            << "2\n";
        QTest::newRow("the listed line copied without its leading blank")
            << QStringList{"delete", "2", "--expect",
                           "№<2>\"时间:2006-7-17 8:05:09\",\"姓名:李四\",\"占筮事由:问行程\",\"卦序号:2\","
                           "\"卦象:000000\",\"卦名:坤\",\"未变爻\",\"\",\"\",\"\""}
            << "2\n";
    }
    void actionsPrintWhatTheFileHolds()
    {
        QFETCH(QStringList, action);
        QFETCH(QString, out);
        const CliResult result = run(QStringList{copyOfFixture(QStringLiteral("three-casts.kdf"))} + action);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, out);
        QCOMPARE(result.exitCode, 0);
    }

    void deleteLeavesTheOtherRecords()
    {
        const QString path = copyOfFixture(QStringLiteral("three-casts.kdf"));
        QCOMPARE(run({path, QStringLiteral("delete"), QStringLiteral("1")}).out, QStringLiteral("2\n"));
        QVERIFY(run({path, QStringLiteral("show"), QStringLiteral("1")}).out.contains(QStringLiteral("2\t李四\n")));
        QCOMPARE(run({path, QStringLiteral("delete"), QStringLiteral("1")}).out, QStringLiteral("1\n"));
        QCOMPARE(run({path, QStringLiteral("delete"), QStringLiteral("1")}).out, QStringLiteral("0\n"));
        QVERIFY(!QFile::exists(path));
    }

    void missingThingsExitWithThree_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("action");
        QTest::addColumn<QString>("err");
        const QString noFile = QStringLiteral("没有找到记录文件。\n");
        const QString noRecord = QStringLiteral("没有找到此条记录。\n");
        QTest::newRow("count, no file") << "missing.kdf" << QStringList{"count"} << noFile;
        QTest::newRow("list, no file") << "missing.kdf" << QStringList{"list", "1", "20"} << noFile;
        QTest::newRow("show, no file") << "missing.kdf" << QStringList{"show", "1"} << noFile;
        QTest::newRow("delete, no file") << "missing.kdf" << QStringList{"delete", "1"} << noFile;
        QTest::newRow("show 4 of 3") << "three-casts.kdf" << QStringList{"show", "4"} << noRecord;
        QTest::newRow("show 0") << "three-casts.kdf" << QStringList{"show", "0"} << noRecord;
        QTest::newRow("delete 4 of 3") << "three-casts.kdf" << QStringList{"delete", "4"} << noRecord;
        QTest::newRow("find, no match") << "three-casts.kdf" << QStringList{"find", "赵"}
                                        << QStringLiteral("没有找到含有此文字的记录。\n");
        QTest::newRow("find, no file") << "missing.kdf" << QStringList{"find", "乾"} << noFile;
        const QString noRecordFile = QStringLiteral("不是记录文件。\n");
        QTest::newRow("count, device") << "/dev/zero" << QStringList{"count"} << noRecordFile;
        QTest::newRow("list, device") << "/dev/zero" << QStringList{"list", "1", "20"} << noRecordFile;
        QTest::newRow("show, FIFO") << "fifo" << QStringList{"show", "1"} << noRecordFile;
        QTest::newRow("delete, FIFO") << "fifo" << QStringList{"delete", "1"} << noRecordFile;
        QTest::newRow("find, FIFO") << "fifo" << QStringList{"find", "乾"} << noRecordFile;
        QTest::newRow("count, folder") << "/tmp" << QStringList{"count"} << noRecordFile;
        QTest::newRow("show, folder") << "/tmp" << QStringList{"show", "1"} << noRecordFile;
        QTest::newRow("delete, folder") << "/tmp" << QStringList{"delete", "1"} << noRecordFile;
    }
    void missingThingsExitWithThree()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, action);
        QFETCH(QString, err);
        if (file == u"fifo") {
            file = dir_.filePath(file);
            QFile::remove(file);
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        }
        const QString path = file == u"missing.kdf" ? dir_.filePath(file)
            : file.startsWith(u'/')                 ? file
                                                    : copyOfFixture(file);
        const CliResult result = run(QStringList{path} + action);
        QCOMPARE(result.err, err);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.exitCode, 3);
    }

    // Record 1's line, with or without its marker, does not let record 2 go.
    void deleteOfALineThatChangedDeletesNothing_data()
    {
        QTest::addColumn<bool>("marker");
        QTest::newRow("as listed") << true;
        QTest::newRow("without the marker") << false;
    }
    void deleteOfALineThatChangedDeletesNothing()
    {
        QFETCH(bool, marker);
        const QString path = copyOfFixture(QStringLiteral("three-casts.kdf"));
        const QString first = run({path, QStringLiteral("list"), QStringLiteral("1"), QStringLiteral("1")}).out;
        const QString line = marker ? first.chopped(1) : first.mid(5).trimmed();
        const CliResult result =
            run({path, QStringLiteral("delete"), QStringLiteral("2"), QStringLiteral("--expect"), line});
        QCOMPARE(result.exitCode, 4);
        QCOMPARE(result.err, QStringLiteral("第 2 号记录已不是所给的内容，没有删除任何记录。\n"));
        QCOMPARE(run({path, QStringLiteral("count")}).out, QStringLiteral("3\n"));
    }

    // A crafted file cannot send escape sequences to the terminal.
    // Format characters would reorder or hide the text around them.
    void storedControlCharactersAreNotPrinted_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("action");
        QTest::addColumn<QString>("out");
        const QString escapes = QStringLiteral("terminal-escapes.kdf");
        const QString formats = QStringLiteral("format-characters.kdf");
        QTest::newRow("list, escapes") << escapes << QStringList{"list", "1", "1"}
                                       << " №<1>\"时间:\uFFFD]0;x\uFFFD\uFFFD[2J\",\"姓名:a\uFFFDb\"\n";
        QTest::newRow("show, escapes") << escapes << QStringList{"show", "1"}
                                       << "1\t\uFFFD]0;x\uFFFD\uFFFD[2J\n2\ta\uFFFDb\n3\t\n4\t\n5\t\n6\t\n7\t\n8\t\n9\t\n10\t\n";
        QTest::newRow("list, format characters")
            << formats << QStringList{"list", "1", "1"}
            << " №<1>\"时间:2024-1-1 8:00:00\",\"姓名:张\uFFFD三\uFFFD\",\"占筮事由:a\uFFFDb\uFFFDc\uFFFDd\uFFFDe\"\n";
        QTest::newRow("show, format characters")
            << formats << QStringList{"show", "1"}
            << "1\t2024-1-1 8:00:00\n2\t张\uFFFD三\uFFFD\n3\ta\uFFFDb\uFFFDc\uFFFDd\uFFFDe\n4\t\n5\t\n6\t\n7\t\n8\t\n9\t\n10\t\n";
    }
    void storedControlCharactersAreNotPrinted()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, action);
        QFETCH(QString, out);
        const CliResult result = run(QStringList{copyOfFixture(fixture)} + action);
        QCOMPARE(result.out, out);
        QCOMPARE(result.exitCode, 0);
    }

    // Two writers appending and a third deleting, all at once: every
    // appended record arrives whole and no record is lost or left in pieces.
    // bench/record_writers.sh runs the same with more records.
    void writersAtOnceLoseNoRecord()
    {
        const QString path = dir_.filePath(QStringLiteral("shared.kdf"));
        QFile::remove(path);
        for (int i = 0; i < 30; ++i)
            QCOMPARE(RunCli({QStringLiteral("cast"), QStringLiteral("--matter"), QStringLiteral("旧"),
                             QStringLiteral("--record"), path}).exitCode, 0);
        const QString cli = QStringLiteral(RAVEZAZ_CLI);
        const QString appender = QStringLiteral("for i in $(seq 25); do \"$0\" cast --matter 新 --record \"$1\" >/dev/null || exit 1; done");
        const QString deleter = QStringLiteral("for i in $(seq 20); do \"$0\" records \"$1\" delete 1 >/dev/null || exit 1; done");
        std::array<QProcess, 3> writers;
        const std::array<QString, 3> scripts{appender, appender, deleter};
        for (std::size_t i = 0; i < writers.size(); ++i)
            writers[i].start(QStringLiteral("sh"), {QStringLiteral("-c"), scripts[i], cli, path});
        for (QProcess &writer : writers) {
            QVERIFY(writer.waitForFinished(120000));
            QCOMPARE(writer.exitCode(), 0);
        }
        QCOMPARE(run({path, QStringLiteral("count")}).out, QStringLiteral("60\n"));
        const QStringList lines = run({path, QStringLiteral("list"), QStringLiteral("1"), QStringLiteral("60")})
                                      .out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 60);
        QCOMPARE(lines.filter(QStringLiteral("\"占筮事由:新\"")).size(), 50);
        static const QRegularExpression whole(QStringLiteral("^ №<\\d+>(\"[^\"]*\",){9}\"[^\"]*\"$"));
        for (const QString &line : lines)
            QVERIFY2(whole.match(line).hasMatch(), qPrintable(line));
    }

    void wrongArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no action") << QStringList{"a.kdf"};
        QTest::newRow("unknown action") << QStringList{"a.kdf", "drop", "1"};
        QTest::newRow("letters for a number") << QStringList{"a.kdf", "show", "x"};
        QTest::newRow("list with one number") << QStringList{"a.kdf", "list", "1"};
        QTest::newRow("expect without a line") << QStringList{"a.kdf", "delete", "1", "--expect"};
        QTest::newRow("expect with show") << QStringList{"a.kdf", "show", "1", "--expect", "x"};
        QTest::newRow("find without a text") << QStringList{"a.kdf", "find"};
        QTest::newRow("find an empty text") << QStringList{"a.kdf", "find", ""};
        QTest::newRow("find two texts") << QStringList{"a.kdf", "find", "a", "b"};
    }
    void wrongArgumentsExitWithTwo()
    {
        QFETCH(QStringList, args);
        const CliResult result = run(args);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.startsWith(QStringLiteral("用法: ravezaz-cli records")));
    }
};

QTEST_GUILESS_MAIN(RecordsCliTest)
#include "test_records_cli.moc"
