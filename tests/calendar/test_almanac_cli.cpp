#include "cli_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// Runs `ravezaz-cli almanac` and checks what a script would read.
class AlmanacCliTest : public QObject {
    Q_OBJECT

    static CliResult run(const QStringList &args) { return RunCli(QStringList{QStringLiteral("almanac")} + args); }

    // The per-user data folder of the runs: empty unless a test writes a
    // holidays.txt into it, so the tester's own file never takes part.
    QTemporaryDir dataHome_;

    static QString HuangliHeader()
    {
        return QStringLiteral("yi\tji\tday_officer\tday_god\tday_god_luck\tday_nayin\tmansion\tmansion_luck\t"
                              "clash_animal\tsha\tpengzu\txishen\tfushen\tcaishen\ttaishen\thou\tbazi_year\t"
                              "bazi_month\tholiday\tworkday");
    }

    QString UserHolidayFile() const { return dataHome_.filePath(QStringLiteral("Ravezaz/Ravezaz/holidays.txt")); }

    static QString Header()
    {
        return QStringLiteral("date\tin_range\tlunar_year\tlunar_month\tlunar_day\tmonth_day_text\tyear_text\t"
                              "month_pillar\tday_pillar\tnayin\tstar_sign\tweekday\tsolar_term\t"
                              "gregorian_festivals\tlunar_festivals\tlunar_line");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dataHome_.isValid());
        qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    }

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
        // Long ranges are described in pieces side by side: every day once,
        // in order.
        QDate expected(1900, 1, 1);
        for (const QString &row : rows.sliced(1)) {
            QCOMPARE(row.count(u'\t'), 15);
            QCOMPARE(row.section(u'\t', 0, 0), expected.toString(Qt::ISODate));
            expected = expected.addDays(1);
        }
    }

    void printsALongRangeAsOneJsonArray()
    {
        const CliResult result = run({QStringLiteral("--from"), QStringLiteral("2000-01-01"), QStringLiteral("--to"),
                                      QStringLiteral("2019-12-31"), QStringLiteral("--format"), QStringLiteral("json")});
        QCOMPARE(result.exitCode, 0);
        QJsonParseError error;
        const QJsonArray days = QJsonDocument::fromJson(result.out.toUtf8(), &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(days.size(), QDate(2000, 1, 1).daysTo(QDate(2019, 12, 31)) + 1);
        QDate expected(2000, 1, 1);
        for (const QJsonValue &day : days) {
            QCOMPARE(day[u"date"].toString(), expected.toString(Qt::ISODate));
            expected = expected.addDays(1);
        }
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

    // The columns --huangli adds after the others, as the published almanac
    // and the State Council's notices give them.
    void printsTheDayAlmanac_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("cells");
        QTest::newRow("2026-12-11")
            << "2026-12-11"
            << "安床 祭祀 祈福 求嗣 冠笄 伐木 架马 动土 开池 开厕 结网 入殓 除服 成服\t安门 栽种 作灶 治病\t危\t勾陈\t"
               "黑道\t天上火\t亢\t凶\t牛\t西\t己不破券二比并亡 未不服药毒气入肠\t东北\t正北\t正北\t占门厕 外正东\t"
               "鹖鴠不鸣\t丙午\t庚子\t\t";
        QTest::newRow("make-up working Sunday")
            << "2026-09-20"
            << "祭祀 出行 沐浴 扫舍 安葬 馀事勿取\t动土 破土 置产 掘井\t建\t玉堂\t黄道\t山下火\t房\t吉\t兔\t东\t"
               "丁不剃头头必生疮 酉不会客醉坐颠狂\t正南\t东南\t西南\t仓库门 房内北\t群鸟养羞\t丙午\t丁酉\t国庆节\t1";
        QTest::newRow("holiday day off")
            << "2026-10-01"
            << "冠笄 沐浴 出行 修造 动土 移徙 入宅 破土 安葬\t嫁娶 开市 祭祀 祈福 斋醮 纳采 修坟\t闭\t白虎\t黑道\t"
               "大驿土\t奎\t凶\t虎\t南\t戊不受田田主不祥 申不安床鬼祟入房\t东南\t东北\t正北\t房床炉 房内中\t"
               "蛰虫坯户\t丙午\t丁酉\t国庆节\t0";
        QTest::newRow("before the almanac's first day")
            << "1900-01-30" << "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    }
    void printsTheDayAlmanac()
    {
        QFETCH(QString, date);
        QFETCH(QString, cells);
        const CliResult result = run({date, QStringLiteral("--huangli")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], Header() + u'\t' + HuangliHeader());
        QCOMPARE(lines[1].count(u'\t'), 35);
        QCOMPARE(lines[1].section(u'\t', 16), cells);
    }

    void printsTheDayAlmanacAsJson()
    {
        const CliResult result = run({QStringLiteral("--from"), QStringLiteral("2026-09-30"), QStringLiteral("--to"),
                                      QStringLiteral("2026-10-01"), QStringLiteral("--format"), QStringLiteral("json"),
                                      QStringLiteral("--huangli")});
        QCOMPARE(result.exitCode, 0);
        QJsonParseError error;
        const QJsonArray days = QJsonDocument::fromJson(result.out.toUtf8(), &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(days.size(), 2);
        const QJsonObject ordinary = days[0].toObject();
        QCOMPARE(ordinary.size(), 36);
        QCOMPARE(ordinary[u"holiday"].toString(), QString());
        QVERIFY(ordinary[u"workday"].isString());
        QCOMPARE(ordinary[u"workday"].toString(), QString());
        const QJsonObject holiday = days[1].toObject();
        QCOMPARE(holiday[u"yi"].toArray(),
                 QJsonArray::fromStringList(QStringLiteral("冠笄 沐浴 出行 修造 动土 移徙 入宅 破土 安葬").split(u' ')));
        QCOMPARE(holiday[u"ji"].toArray().size(), 7);
        QCOMPARE(holiday[u"pengzu"].toString(), QStringLiteral("戊不受田田主不祥 申不安床鬼祟入房"));
        QCOMPARE(holiday[u"holiday"].toString(), QStringLiteral("国庆节"));
        QVERIFY(holiday[u"workday"].isDouble());
        QCOMPARE(holiday[u"workday"].toInt(), 0);
    }

    void printsTheWholeRangeWithTheAlmanac()
    {
        const CliResult result = run({QStringLiteral("--from"), QStringLiteral("1900-01-01"), QStringLiteral("--to"),
                                      QStringLiteral("2100-12-31"), QStringLiteral("--huangli")});
        QCOMPARE(result.exitCode, 0);
        const QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + 73414);
        for (const QString &row : rows)
            QCOMPARE(row.count(u'\t'), 35);
        QCOMPARE(rows[31].section(u'\t', 16, 16), QStringLiteral("平治道涂 馀事勿取"));
    }

    // holidays.txt in the per-user data folder adds days after the shipped
    // table; a bad line is skipped and named with its number on stderr.
    void readsTheUsersHolidayFile()
    {
        QVERIFY(QDir().mkpath(QFileInfo(UserHolidayFile()).path()));
        QFile file(UserHolidayFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# 2027\n2027-02-06 春节 休\n2027-02-07 春节 放\n");
        file.close();
        const CliResult result = run({QStringLiteral("--from"), QStringLiteral("2027-02-06"), QStringLiteral("--to"),
                                      QStringLiteral("2027-02-07"), QStringLiteral("--huangli")});
        QFile::remove(UserHolidayFile());
        QCOMPARE(result.exitCode, 0);
        const QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1].section(u'\t', 34), QStringLiteral("春节\t0"));
        QCOMPARE(rows[2].section(u'\t', 34), QStringLiteral("\t"));
        QCOMPARE(result.err, UserHolidayFile() + QStringLiteral("：第3行：第三栏应为“休”或“班”：2027-02-07 春节 放\n"));
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
        QTest::newRow("almanac in ics") << QStringList{"2006-01-01", "--format", "ics", "--huangli"};
        QTest::newRow("almanac twice") << QStringList{"2006-01-01", "--huangli", "--huangli"};
        QTest::newRow("start twice") << QStringList{"--from", "2024-02-01", "--from", "2024-02-02", "--to", "2024-02-02"};
        QTest::newRow("format twice") << QStringList{"2006-01-01", "--format", "json", "--format", "tsv"};
        QTest::newRow("empty date") << QStringList{""};
        QTest::newRow("empty range") << QStringList{"--from", "", "--to", ""};
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
