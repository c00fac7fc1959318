#include "cli_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Runs `ravezaz-cli almanac` and checks what a script would read.
class AlmanacCliTest : public QObject {
    Q_OBJECT

    static CliResult run(const QStringList &args) { return RunCli(QStringList{QStringLiteral("almanac")} + args); }

    static QString Header()
    {
        return QStringLiteral("date\tin_range\tlunar_year\tlunar_month\tlunar_day\tmonth_day_text\tyear_text\t"
                              "month_pillar\tday_pillar\tnayin\tstar_sign\tweekday\tsolar_term\t"
                              "gregorian_festivals\tlunar_festivals\tlunar_line");
    }

private slots:
    void printsOneRowPerDate_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("row");
        QTest::newRow("new year") << "2006-01-29"
                                  << "2006-01-29\t1\t2006\t1\t1\t正月初一\t丙戌(狗)年\t庚寅月\t戊午日\t[屋上土]\t水瓶座\t"
                                     "星期日\t\t\t ★春节（大年初一）\t农历:丙戌(狗)年 正月初一 过年好!";
        QTest::newRow("leap month") << "2020-05-23"
                                    << "2020-05-23\t1\t2020\t-4\t1\t闰四月初一\t庚子(鼠)年\t辛巳月\t丙寅日\t[壁上土]\t"
                                       "双子座\t星期六\t\t\t\t农历:庚子(鼠)年 闰四月初一";
        QTest::newRow("both calendars") << "2020-10-01"
                                        << "2020-10-01\t1\t2020\t8\t15\t八月十五\t庚子(鼠)年\t乙酉月\t丁丑日\t[壁上土]\t"
                                           "天秤座\t星期四\t\t ☆国庆节\t ★中秋节\t农历:庚子(鼠)年 八月十五 中秋节";
        QTest::newRow("end of the old table") << "2050-01-22"
                                               << "2050-01-22\t1\t2049\t12\t29\t腊月廿九\t己巳(蛇)年\t丁丑月\t壬寅日\t"
                                                  "[大林木]\t水瓶座\t星期六\t\t\t ★除夕\t农历:己巳(蛇)年 腊月廿九 除夕";
        QTest::newRow("before the table") << "1900-01-01"
                                          << "1900-01-01\t0\t\t\t\t\t\t\t\t\t摩羯座\t星期一\t\t ☆元旦\t\t双击查看万年历(L)";
        QTest::newRow("solar term before the table") << "1900-01-06"
                                                     << "1900-01-06\t0\t\t\t\t\t\t\t\t\t摩羯座\t星期六\t小寒\t\t\t"
                                                        "双击查看万年历(L)";
        QTest::newRow("solar term moved to its true day") << "2012-12-07"
                                                          << "2012-12-07\t1\t2012\t10\t24\t十月廿四\t壬辰(龙)年\t"
                                                             "辛亥月\t壬寅日\t[长流水]\t射手座\t星期五\t大雪\t\t\t"
                                                             "农历:壬辰(龙)年 十月廿四";
        QTest::newRow("last day of the range") << "2100-12-31"
                                               << "2100-12-31\t1\t2100\t12\t1\t腊月初一\t庚申(猴)年\t己丑月\t丁未日\t"
                                                  "[石柳木]\t摩羯座\t星期五\t\t\t\t农历:庚申(猴)年 腊月初一";
    }
    void printsOneRowPerDate()
    {
        QFETCH(QString, date);
        QFETCH(QString, row);
        const CliResult result = run({date});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, Header() + u'\n' + row + u'\n');
        QVERIFY(result.err.isEmpty());
    }

    void printsTheWholeRange()
    {
        const CliResult result = run({QStringLiteral("--from"), QStringLiteral("1900-01-01"), QStringLiteral("--to"),
                                      QStringLiteral("2100-12-31")});
        QCOMPARE(result.exitCode, 0);
        const QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + 73414);
        QVERIFY(rows[1].startsWith(u"1900-01-01\t0\t"));
        QVERIFY(rows[31].startsWith(u"1900-01-31\t1\t1900\t1\t1\t正月初一\t"));
        QVERIFY(rows.last().startsWith(u"2100-12-31\t1\t2100\t12\t1\t腊月初一\t"));
        for (const QString &row : rows)
            QCOMPARE(row.count(u'\t'), 15);
    }

    void printsJson()
    {
        const CliResult result = run({QStringLiteral("--from"), QStringLiteral("1900-01-30"), QStringLiteral("--to"),
                                      QStringLiteral("1900-01-31"), QStringLiteral("--format"), QStringLiteral("json")});
        QCOMPARE(result.exitCode, 0);
        QJsonParseError error;
        const QJsonArray days = QJsonDocument::fromJson(result.out.toUtf8(), &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(days.size(), 2);
        const QJsonObject inRange = days[1].toObject();
        QCOMPARE(inRange.size(), 16);
        QCOMPARE(inRange[u"date"].toString(), QStringLiteral("1900-01-31"));
        QCOMPARE(inRange[u"in_range"].toInt(), 1);
        QCOMPARE(inRange[u"lunar_month"].toInt(), 1);
        QCOMPARE(inRange[u"lunar_festivals"].toString(), QStringLiteral(" ★春节（大年初一）"));
        const QJsonObject outside = days[0].toObject();
        QCOMPARE(outside[u"in_range"].toInt(), 0);
        QVERIFY(outside[u"lunar_year"].isNull());
        QCOMPARE(outside[u"year_text"].toString(), QString());
        QCOMPARE(outside[u"lunar_line"].toString(), QStringLiteral("双击查看万年历(L)"));
    }

    void defaultsToOneDay()
    {
        const CliResult result = run({});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.split(u'\n', Qt::SkipEmptyParts).size(), 2);
    }

    void rejectsBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("short month") << QStringList{"2006-2-03"};
        QTest::newRow("no such day") << QStringList{"2006-02-30"};
        QTest::newRow("letters") << QStringList{"yesterday"};
        QTest::newRow("before 1900") << QStringList{"1899-12-31"};
        QTest::newRow("after 2100") << QStringList{"2101-01-01"};
        QTest::newRow("range end past 2100") << QStringList{"--from", "2100-12-01", "--to", "2101-01-01"};
        QTest::newRow("lunar days outside ics") << QStringList{"2006-01-01", "--lunar-days"};
        QTest::newRow("lunar days twice") << QStringList{"2006-01-01", "--format", "ics", "--lunar-days", "--lunar-days"};
        QTest::newRow("reversed range") << QStringList{"--from", "2006-01-02", "--to", "2006-01-01"};
        QTest::newRow("missing end") << QStringList{"--from", "2006-01-01"};
        QTest::newRow("date and range") << QStringList{"2006-01-01", "--from", "2006-01-01", "--to", "2006-01-02"};
        QTest::newRow("two dates") << QStringList{"2006-01-01", "2006-01-02"};
        QTest::newRow("unknown format") << QStringList{"2006-01-01", "--format", "xml"};
        QTest::newRow("unknown option") << QStringList{"--days", "3"};
    }
    void rejectsBadInput()
    {
        QFETCH(QStringList, args);
        const CliResult result = run(args);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY(!result.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(AlmanacCliTest)
#include "test_almanac_cli.moc"
