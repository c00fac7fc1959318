#include "calendar/day_almanac.h"
#include "calendar/holidays.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class DayAlmanacTest : public QObject {
    Q_OBJECT

    static QDate day(const char *iso) { return QDate::fromString(QLatin1String(iso), Qt::ISODate); }

    static QStringList words(const char16_t *text)
    {
        return QString::fromUtf16(text).split(u' ', Qt::SkipEmptyParts);
    }

    static QString text(const char16_t *value) { return QString::fromUtf16(value); }

    struct Expected {
        const char16_t *suitable;
        const char16_t *unsuitable;
        const char16_t *officer, *god, *path, *nayin, *mansion, *mansionLuck, *clash, *sha;
        const char16_t *pengzuStem, *pengzuBranch, *joy, *fortune, *wealth, *fetus, *hou, *year, *month;
    };

    static DayAlmanac almanacOf(QDate date, const Expected &e)
    {
        return {date, words(e.suitable), words(e.unsuitable), text(e.officer), text(e.god), text(e.path),
                text(e.nayin), text(e.mansion), text(e.mansionLuck), text(e.clash), text(e.sha),
                text(e.pengzuStem), text(e.pengzuBranch), text(e.joy), text(e.fortune), text(e.wealth),
                text(e.fetus), text(e.hou), text(e.year), text(e.month)};
    }

private slots:
    // Whole days as the published almanac gives them.
    void describesWholeDays_data()
    {
        QTest::addColumn<DayAlmanac>("expected");
        const auto row = [](const char *name, const char *date, const Expected &expected) {
            QTest::newRow(name) << almanacOf(day(date), expected);
        };
        row("2026-12-11", "2026-12-11",
            {u"安床 祭祀 祈福 求嗣 冠笄 伐木 架马 动土 开池 开厕 结网 入殓 除服 成服", u"安门 栽种 作灶 治病",
             u"危", u"勾陈", u"黑道", u"天上火", u"亢", u"凶", u"牛", u"西", u"己不破券二比并亡",
             u"未不服药毒气入肠", u"东北", u"正北", u"正北", u"占门厕 外正东", u"鹖鴠不鸣", u"丙午", u"庚子"});
        row("first day, before 立春", "1900-01-31",
            {u"平治道涂 馀事勿取", u"开光 嫁娶 开仓 出货财 造船 安葬 探病", u"平", u"白虎", u"黑道", u"覆灯火",
             u"箕", u"吉", u"狗", u"南", u"甲不开仓财物耗散", u"辰不哭泣必主重丧", u"东北", u"正北", u"东北",
             u"占门栖 房内东", u"水泽腹坚", u"己亥", u"丁丑"});
        row("last day", "2100-12-31",
            {u"祭祀 祈福 求嗣 斋醮 开光 入学 订盟 冠笄 伐木 修造 动土 起基 放水 交易 开池",
             u"造桥 安门 理发 造庙 栽种 作灶", u"危", u"勾陈", u"黑道", u"天河水", u"亢", u"凶", u"牛", u"西",
             u"丁不剃头头必生疮", u"未不服药毒气入肠", u"正南", u"东南", u"西南", u"仓库厕 房内东", u"麋角解",
             u"庚申", u"戊子"});
        row("立春's day begins the year and the 寅 month", "2026-02-04",
            {u"祭祀 祈福 求嗣 开光 出火 出行 拆卸 修造 动土 入宅 移徙 上梁 挂匾 开池 入殓 安葬 破土 启钻",
             u"嫁娶 作灶 安床", u"危", u"玄武", u"黑道", u"大驿土", u"轸", u"吉", u"兔", u"东",
             u"己不破券二比并亡", u"酉不会客醉坐颠狂", u"东北", u"正北", u"正北", u"占大门 外东北", u"东风解冻",
             u"丙午", u"庚寅"});
    }
    void describesWholeDays()
    {
        QFETCH(DayAlmanac, expected);
        QCOMPARE(DescribeDayAlmanac(expected.date), std::optional<DayAlmanac>(expected));
    }

    // The year turns on 立春's day and the month on each 节's day, whatever
    // the hour of the term; the 候 count five days from the term's day.
    void followsTheSolarTerms_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("officer");
        QTest::addColumn<QString>("hou");
        QTest::newRow("day before 立春") << day("2026-02-03") << "乙巳" << "己丑" << "危" << "水泽腹坚";
        QTest::newRow("立春") << day("2026-02-04") << "丙午" << "庚寅" << "危" << "东风解冻";
        QTest::newRow("day before 惊蛰") << day("2026-03-04") << "丙午" << "庚寅" << "闭" << "草木萌动";
        QTest::newRow("惊蛰 repeats the officer") << day("2026-03-05") << "丙午" << "辛卯" << "闭" << "桃始华";
        QTest::newRow("second 候 of 大雪") << day("2026-12-12") << "丙午" << "庚子" << "成" << "虎始交";
        QTest::newRow("third 候 runs to 冬至") << day("2026-12-21") << "丙午" << "庚子" << "执" << "荔挺出";
        QTest::newRow("冬至") << day("2026-12-22") << "丙午" << "庚子" << "破" << "蚯蚓结";
        QTest::newRow("early January, after 冬至") << day("2027-01-04") << "丙午" << "庚子" << "危" << "水泉动";
        QTest::newRow("小寒 opens 丑 in the old year") << day("2027-01-05") << "丙午" << "辛丑" << "危" << "雁北乡";
    }
    void followsTheSolarTerms()
    {
        QFETCH(QDate, date);
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, officer);
        QFETCH(QString, hou);
        const std::optional<DayAlmanac> almanac = DescribeDayAlmanac(date);
        QVERIFY(almanac);
        QCOMPARE(almanac->baziYear, year);
        QCOMPARE(almanac->baziMonth, month);
        QCOMPARE(almanac->dayOfficer, officer);
        QCOMPARE(almanac->phenology, hou);
    }

    // "诸事不宜", "馀事勿取" and "无" stand in the lists as the almanac gives them.
    void keepsTheAlmanacsOwnWords_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("suitable");
        QTest::addColumn<QStringList>("unsuitable");
        QTest::newRow("诸事不宜") << day("2020-01-01") << words(u"平治道涂 馀事勿取") << words(u"诸事不宜");
        QTest::newRow("无") << day("2020-01-25")
                           << words(u"出行 嫁娶 订盟 纳采 入殓 安床 启钻 安葬 祭祀 裁衣 会亲友 进人口") << words(u"无");
    }
    void keepsTheAlmanacsOwnWords()
    {
        QFETCH(QDate, date);
        QFETCH(QStringList, suitable);
        QFETCH(QStringList, unsuitable);
        const std::optional<DayAlmanac> almanac = DescribeDayAlmanac(date);
        QVERIFY(almanac);
        QCOMPARE(almanac->suitable, suitable);
        QCOMPARE(almanac->unsuitable, unsuitable);
    }

    void givesNothingOutsideItsRange_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::newRow("day before the first") << day("1900-01-30");
        QTest::newRow("day after the last") << day("2101-01-01");
        QTest::newRow("invalid") << QDate();
    }
    void givesNothingOutsideItsRange()
    {
        QFETCH(QDate, date);
        QCOMPARE(DescribeDayAlmanac(date), std::nullopt);
    }

    // The lines the calendar window lists below 宜 and 忌.
    void listsTheDetailsForTheWindow()
    {
        const std::optional<DayAlmanac> almanac = DescribeDayAlmanac(day("2026-12-11"));
        QVERIFY(almanac);
        const QList<DayAlmanacLine> expected{
            {"建除", "危"},
            {"值神", "勾陈（黑道）"},
            {"纳音", "天上火"},
            {"星宿", "亢宿（凶）"},
            {"冲煞", "冲牛 煞西"},
            {"吉神", "喜神东北 福神正北 财神正北"},
            {"胎神", "占门厕 外正东"},
            {"物候", "鹖鴠不鸣"},
            {"彭祖", "己不破券二比并亡 未不服药毒气入肠"},
            {"八字", "丙午年 庚子月（按节气）"},
        };
        QCOMPARE(DayAlmanacDetails(*almanac), expected);
    }

    void namesHolidayDaysForTheGrid_data()
    {
        QTest::addColumn<HolidayDay>("day");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("description");
        QTest::newRow("day off") << HolidayDay{"国庆节", false} << "休" << "国庆节 放假";
        QTest::newRow("make-up working day") << HolidayDay{"春节", true} << "班" << "春节 调休上班";
    }
    void namesHolidayDaysForTheGrid()
    {
        QFETCH(HolidayDay, day);
        QFETCH(QString, mark);
        QFETCH(QString, description);
        QCOMPARE(HolidayMark(day), mark);
        QCOMPARE(HolidayDescription(day), description);
    }

    void shipsTheHolidayNotices_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<std::optional<HolidayDay>>("expected");
        QTest::newRow("first row, a make-up Saturday") << day("2001-12-29") << std::optional(HolidayDay{"元旦节", true});
        QTest::newRow("national day") << day("2026-10-01") << std::optional(HolidayDay{"国庆节", false});
        QTest::newRow("make-up Sunday before it") << day("2026-09-20") << std::optional(HolidayDay{"国庆节", true});
        QTest::newRow("combined holiday") << day("2023-09-29") << std::optional(HolidayDay{"中秋节", false});
        QTest::newRow("ordinary working day") << day("2026-10-09") << std::optional<HolidayDay>();
        QTest::newRow("not yet announced") << day("2027-01-01") << std::optional<HolidayDay>();
    }
    void shipsTheHolidayNotices()
    {
        QFETCH(QDate, date);
        QFETCH(std::optional<HolidayDay>, expected);
        QCOMPARE(ShippedHolidays().DayOf(date), expected);
    }

    void shipsEveryNoticedDay() { QCOMPARE(ShippedHolidays().size(), 860); }

    void readsHolidayLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<HolidayFileProblem>>("problems");
        QTest::addColumn<qsizetype>("days");
        using Problems = QList<HolidayFileProblem>;
        QTest::newRow("LF, comments, blank lines, tabs")
            << QByteArray("# 2027\n\n2027-01-01 元旦节 休\n2027-01-02\t元旦节\t休\n  # note\n") << Problems{} << qsizetype(2);
        QTest::newRow("CR LF and a byte-order mark")
            << QByteArray("\xEF\xBB\xBF" "2027-01-01 元旦节 休\r\n2027-01-04 元旦节 班\r\n") << Problems{} << qsizetype(2);
        QTest::newRow("CR alone, no final line end")
            << QByteArray("2027-01-01 元旦节 休\r2027-01-04 元旦节 班") << Problems{} << qsizetype(2);
        QTest::newRow("two fields")
            << QByteArray("2027-01-01 元旦节 休\n2027-01-02 元旦节\n")
            << Problems{{2, "2027-01-02 元旦节", HolidayFileFault::Shape}} << qsizetype(1);
        QTest::newRow("four fields")
            << QByteArray("2027-01-01 元旦 节 休\n")
            << Problems{{1, "2027-01-01 元旦 节 休", HolidayFileFault::Shape}} << qsizetype(0);
        QTest::newRow("no such day")
            << QByteArray("\n2027-02-30 春节 休\n")
            << Problems{{2, "2027-02-30 春节 休", HolidayFileFault::Date}} << qsizetype(0);
        QTest::newRow("date without leading zeros")
            << QByteArray("2027-2-6 春节 休\n")
            << Problems{{1, "2027-2-6 春节 休", HolidayFileFault::Date}} << qsizetype(0);
        QTest::newRow("neither 休 nor 班")
            << QByteArray("2027-02-06 春节 放假\r\n2027-02-07 春节 休\r\n")
            << Problems{{1, "2027-02-06 春节 放假", HolidayFileFault::Kind}} << qsizetype(1);
        QTest::newRow("GBK bytes")
            << QByteArray("2027-02-06 \xB4\xBA\xBD\xDA \xD0\xDD\n2027-02-07 春节 休\n")
            << Problems{{1, QString::fromUtf8("2027-02-06 \xB4\xBA\xBD\xDA \xD0\xDD"), HolidayFileFault::Encoding}}
            << qsizetype(1);
        QTest::newRow("an escape in the name")
            << QByteArray("2027-01-01\ta\x1B[31mRED\t休\n2027-01-02 元旦\xE2\x80\xAE节 休\n")
            << Problems{{1, QStringLiteral("2027-01-01 a\uFFFD[31mRED 休"), HolidayFileFault::Name},
                        {2, QStringLiteral("2027-01-02 元旦\uFFFD节 休"), HolidayFileFault::Name}}
            << qsizetype(0);
    }
    void readsHolidayLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<HolidayFileProblem>, problems);
        QFETCH(qsizetype, days);
        HolidayTable table;
        QCOMPARE(table.Read(bytes), problems);
        QCOMPARE(table.size(), days);
    }

    void describesProblemsForTheUser_data()
    {
        QTest::addColumn<HolidayFileProblem>("problem");
        QTest::addColumn<QString>("text");
        QTest::newRow("line") << HolidayFileProblem{3, "2027-02-30 春节 休", HolidayFileFault::Date}
                              << "第3行：日期无效：2027-02-30 春节 休";
        QTest::newRow("shape") << HolidayFileProblem{7, "春节", HolidayFileFault::Shape}
                               << "第7行：格式应为“YYYY-MM-DD 节日名 休|班”：春节";
        QTest::newRow("whole file") << HolidayFileProblem{0, "/home/u/holidays.txt", HolidayFileFault::Unreadable}
                                    << "/home/u/holidays.txt：无法读取文件";
    }
    void describesProblemsForTheUser()
    {
        QFETCH(HolidayFileProblem, problem);
        QFETCH(QString, text);
        QCOMPARE(DescribeHolidayFileProblem(problem), text);
    }

    // The user's file comes after the shipped table: it adds later years
    // and corrects a shipped day; a bad line is skipped and reported.
    void readsTheUsersFileAfterTheShippedTable()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath("holidays.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2027-02-06 春节 休\n2026-10-08 国庆节 班\n2027-13-01 春节 休\n");
        file.close();
        const HolidayCalendar calendar = LoadHolidayCalendar(path);
        QCOMPARE(calendar.problems, (QList<HolidayFileProblem>{{3, "2027-13-01 春节 休", HolidayFileFault::Date}}));
        QCOMPARE(calendar.table.DayOf(day("2027-02-06")), std::optional(HolidayDay{"春节", false}));
        QCOMPARE(calendar.table.DayOf(day("2026-10-08")), std::optional(HolidayDay{"国庆节", true}));
        QCOMPARE(calendar.table.DayOf(day("2026-10-01")), std::optional(HolidayDay{"国庆节", false}));
    }

    void reportsAUsersFileItCannotRead_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<HolidayFileFault>("fault");
        QTest::newRow("a folder of that name") << true << HolidayFileFault::Unreadable;
        QTest::newRow("larger than any list of days") << false << HolidayFileFault::TooLarge;
    }
    void reportsAUsersFileItCannotRead()
    {
        QFETCH(bool, folder);
        QFETCH(HolidayFileFault, fault);
        QTemporaryDir base;
        QVERIFY(base.isValid());
        const QString path = base.filePath("holidays.txt");
        if (folder) {
            QVERIFY(QDir(base.path()).mkdir("holidays.txt"));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(LargestHolidayFile + 1));
        }
        const HolidayCalendar calendar = LoadHolidayCalendar(path);
        QCOMPARE(calendar.problems, (QList<HolidayFileProblem>{{0, path, fault}}));
        QCOMPARE(calendar.table.size(), ShippedHolidays().size());
    }

    void acceptsAMissingUsersFile()
    {
        QTemporaryDir folder;
        const HolidayCalendar calendar = LoadHolidayCalendar(folder.filePath("holidays.txt"));
        QVERIFY(calendar.problems.isEmpty());
        QCOMPARE(calendar.table.size(), 860);
    }
};

QTEST_GUILESS_MAIN(DayAlmanacTest)
#include "test_day_almanac.moc"
