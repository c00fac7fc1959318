#include "cli_run.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        QTest::newRow("delete") << QStringList{"delete", "2"} << "2\n";
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
    }
    void missingThingsExitWithThree()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, action);
        QFETCH(QString, err);
        const QString path = file == u"missing.kdf" ? dir_.filePath(file) : copyOfFixture(file);
        const CliResult result = run(QStringList{path} + action);
        QCOMPARE(result.err, err);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.exitCode, 3);
    }

    void wrongArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no action") << QStringList{"a.kdf"};
        QTest::newRow("unknown action") << QStringList{"a.kdf", "drop", "1"};
        QTest::newRow("letters for a number") << QStringList{"a.kdf", "show", "x"};
        QTest::newRow("list with one number") << QStringList{"a.kdf", "list", "1"};
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
