#include "calendar/almanac.h"
#include "calendar/civil_date.h"
#include "calendar/date_evaluation.h"
#include "calendar/day_names.h"
#include "calendar/festivals.h"
#include "calendar/lunar_date.h"
#include "calendar/solar_terms.h"

#include <QTest>


using Decorations = QList<DecorationRequest>;
using Sounds = QList<FestivalSound>;

using namespace CalendarColour;

class CalendarTest : public QObject {
    Q_OBJECT

    static QDate day(const char *iso) { return QDate::fromString(QLatin1String(iso), Qt::ISODate); }

    static QString JoinedNames(const GregorianFestivalList &festivals)
    {
        QStringList names;
        for (const GregorianFestival *festival : festivals)
            names << festival->name.toString();
        return names.join(u'|');
    }

private slots:
    void convertsToLunar_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<LunarDate>("expected");
        const auto row = [](const char *name, const char *date, int year, int month, int dayOfMonth,
                            const char16_t *text) {
            QTest::newRow(name) << day(date) << LunarDate{year, month, dayOfMonth, QString::fromUtf16(text)};
        };
        row("range start", "1900-01-31", 1900, 1, 1, u"正月初一");
        row("first leap month", "1900-09-24", 1900, -8, 1, u"闰八月初一");
        row("short twelfth month ends", "2006-01-28", 2005, 12, 29, u"腊月廿九");
        row("new year after it", "2006-01-29", 2006, 1, 1, u"正月初一");
        row("leap sixth 2017", "2017-07-23", 2017, -6, 1, u"闰六月初一");
        row("leap fourth 2020", "2020-05-23", 2020, -4, 1, u"闰四月初一");
        row("leap second 2023", "2023-03-22", 2023, -2, 1, u"闰二月初一");
        row("2033 eighth month is no leap seventh", "2033-08-25", 2033, 8, 1, u"八月初一");
        row("2033 mid-autumn", "2033-09-08", 2033, 8, 15, u"八月十五");
        row("2033 eleventh month", "2033-11-22", 2033, 11, 1, u"冬月初一");
        row("2033 leap eleventh starts", "2033-12-22", 2033, -11, 1, u"闰冬月初一");
        row("2033 leap eleventh ends", "2034-01-19", 2033, -11, 29, u"闰冬月廿九");
        row("2033 twelfth month", "2034-01-20", 2033, 12, 1, u"腊月初一");
        row("end of the old table", "2050-01-22", 2049, 12, 29, u"腊月廿九");
        row("2057 eighth month ends as published", "2057-09-28", 2057, 8, 30, u"八月三十");
        row("2057 ninth month starts as published", "2057-09-29", 2057, 9, 1, u"九月初一");
        row("1914 as published", "1914-11-17", 1914, 10, 1, u"十月初一");
        row("range end", "2100-12-31", 2100, 12, 1, u"腊月初一");
    }
    void convertsToLunar()
    {
        QFETCH(QDate, date);
        QFETCH(LunarDate, expected);
        QCOMPARE(ConvertToLunar(date), expected);
    }

    // Walks the whole range: every day is the next day of the same month or
    // the first day of the next month, months have 29 or 30 days, a leap
    // month repeats the month before it, and years follow each other.
    void conversionAdvancesOneDayAtATime()
    {
        LunarDate previous = ConvertToLunar(FirstLunarConvertibleDate);
        int leapYears = 0;
        for (QDate date = FirstLunarConvertibleDate.addDays(1); date <= LastLunarConvertibleDate;
             date = date.addDays(1)) {
            const LunarDate current = ConvertToLunar(date);
            QCOMPARE(current.monthDayText, FormatLunarMonthDay(current.lunarMonth, current.lunarDay));
            if (current.lunarDay != 1) {
                QCOMPARE(current.lunarDay, previous.lunarDay + 1);
                QCOMPARE(current.lunarMonth, previous.lunarMonth);
            } else if (previous.lunarDay != 29 && previous.lunarDay != 30) {
                QFAIL(qPrintable(date.toString(Qt::ISODate)
                                 + QStringLiteral(" follows a month of %1 days").arg(previous.lunarDay)));
            } else if (current.lunarMonth == 1) {
                QCOMPARE(current.lunarYear, previous.lunarYear + 1);
                QCOMPARE(previous.lunarMonth, 12);
            } else if (current.lunarMonth < 0) {
                QCOMPARE(current.lunarMonth, -previous.lunarMonth);
                ++leapYears;
            } else {
                QCOMPARE(current.lunarYear, previous.lunarYear);
                QCOMPARE(current.lunarMonth, std::abs(previous.lunarMonth) + 1);
            }
            previous = current;
        }
        QCOMPARE(previous.lunarYear, 2100);
        QCOMPARE(leapYears, 74);
        QCOMPARE(FirstLunarConvertibleDate.daysTo(LastLunarConvertibleDate) + 1, 73384);
    }

    void rangeTest_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("convertible");
        QTest::newRow("day before start") << day("1900-01-30") << false;
        QTest::newRow("start") << day("1900-01-31") << true;
        QTest::newRow("end of the old table") << day("2050-01-23") << true;
        QTest::newRow("end") << day("2100-12-31") << true;
        QTest::newRow("day after end") << day("2101-01-01") << false;
        QTest::newRow("invalid") << QDate() << false;
    }
    void rangeTest()
    {
        QFETCH(QDate, date);
        QFETCH(bool, convertible);
        QCOMPARE(IsLunarConvertible(date), convertible);
        QCOMPARE(ConvertToLunar(date).lunarYear != 0, convertible);
    }

    void formatsMonthDay_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("dayOfMonth");
        QTest::addColumn<QString>("text");
        QTest::newRow("leap fourth") << -4 << 1 << QStringLiteral("闰四月初一");
        QTest::newRow("eleventh") << 11 << 15 << QStringLiteral("冬月十五");
        QTest::newRow("twelfth") << 12 << 23 << QStringLiteral("腊月廿三");
        QTest::newRow("thirtieth") << 1 << 30 << QStringLiteral("正月三十");
        QTest::newRow("tenth and twentieth") << 10 << 20 << QStringLiteral("十月二十");
        QTest::newRow("no month or day") << 0 << 0 << QStringLiteral("*月*");
        QTest::newRow("past the tables") << 13 << 31 << QStringLiteral("*月*");
    }
    void formatsMonthDay()
    {
        QFETCH(int, month);
        QFETCH(int, dayOfMonth);
        QFETCH(QString, text);
        QCOMPARE(FormatLunarMonthDay(month, dayOfMonth), text);
    }

    void looksAheadOneDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("next");
        QTest::newRow("eve of 2050") << day("2050-01-22") << QStringLiteral("正月初一");
        QTest::newRow("eve of 2006") << day("2006-01-28") << QStringLiteral("正月初一");
        QTest::newRow("29th before a 30th") << day("2007-02-16") << QStringLiteral("腊月三十");
        QTest::newRow("last day of the range") << day("2100-12-31") << QStringLiteral("腊月初二");
        QTest::newRow("out of range") << day("2101-01-01") << QString();
    }
    void looksAheadOneDay()
    {
        QFETCH(QDate, date);
        QFETCH(QString, next);
        QCOMPARE(MonthDayTextOfNextDay(date), next);
    }

    void describesLunarDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("yearText");
        QTest::addColumn<QString>("monthPillar");
        QTest::addColumn<QString>("dayPillar");
        QTest::addColumn<QString>("nayin");
        QTest::newRow("range start") << day("1900-01-31") << "庚子(鼠)年" << "戊寅月" << "甲辰日" << "[壁上土]";
        QTest::newRow("lunar 1999 in 2000") << day("2000-01-01") << "己卯(兔)年" << "丙子月" << "戊午日" << "[城头土]";
        QTest::newRow("2006-07-16") << day("2006-07-16") << "丙戌(狗)年" << "乙未月" << "丙午日" << "[屋上土]";
        QTest::newRow("fourth month 2020") << day("2020-05-22") << "庚子(鼠)年" << "辛巳月" << "乙丑日" << "[壁上土]";
        QTest::newRow("leap fourth 2020") << day("2020-05-23") << "庚子(鼠)年" << "辛巳月" << "丙寅日" << "[壁上土]";
        QTest::newRow("2033 leap eleventh") << day("2033-12-22") << "癸丑(牛)年" << "甲子月" << "丁未日" << "[桑柘木]";
        QTest::newRow("end of the old table") << day("2050-01-22") << "己巳(蛇)年" << "丁丑月" << "壬寅日" << "[大林木]";
        QTest::newRow("range end") << day("2100-12-31") << "庚申(猴)年" << "己丑月" << "丁未日" << "[石柳木]";
    }
    void describesLunarDay()
    {
        QFETCH(QDate, date);
        QFETCH(QString, yearText);
        QFETCH(QString, monthPillar);
        QFETCH(QString, dayPillar);
        QFETCH(QString, nayin);
        const LunarDayInfo info = DescribeLunarDay(date);
        QCOMPARE(info.lunar, ConvertToLunar(date));
        QCOMPARE(info.yearText, yearText);
        QCOMPARE(info.monthPillarText, monthPillar);
        QCOMPARE(info.dayPillarText, dayPillar);
        QCOMPARE(NayinOfYear(YearCycleIndex(info.lunar.lunarYear)), nayin);
    }

    void namesStarSign_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("dayOfMonth");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<int>("picture");
        QTest::newRow("03-20") << 3 << 20 << "双鱼座" << 12;
        QTest::newRow("03-21") << 3 << 21 << "牡羊座" << 1;
        QTest::newRow("06-21") << 6 << 21 << "双子座" << 3;
        QTest::newRow("06-22") << 6 << 22 << "巨蟹座" << 4;
        QTest::newRow("11-21") << 11 << 21 << "天蝎座" << 8;
        QTest::newRow("11-22") << 11 << 22 << "射手座" << 9;
        QTest::newRow("12-31") << 12 << 31 << "摩羯座" << 10;
        QTest::newRow("01-19") << 1 << 19 << "摩羯座" << 10;
        QTest::newRow("01-20") << 1 << 20 << "水瓶座" << 11;
        QTest::newRow("02-29") << 2 << 29 << "双鱼座" << 12;
    }
    void namesStarSign()
    {
        QFETCH(int, month);
        QFETCH(int, dayOfMonth);
        QFETCH(QString, sign);
        QFETCH(int, picture);
        const StarSign &found = StarSignOf(month, dayOfMonth);
        QCOMPARE(found.name.toString(), sign);
        QCOMPARE(found.picture, picture);
    }

    void namesWeekday_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<RgbColour>("colour");
        QTest::newRow("Sunday") << day("2006-07-16") << 1 << "星期日" << Red;
        QTest::newRow("Monday") << day("2006-07-17") << 2 << "星期一" << CalendarColour::DefaultText;
        QTest::newRow("Friday") << day("2006-07-21") << 6 << "星期五" << Blue;
        QTest::newRow("Saturday") << day("2006-07-22") << 7 << "星期六" << Green;
    }
    void namesWeekday()
    {
        QFETCH(QDate, date);
        QFETCH(int, number);
        QFETCH(QString, name);
        QFETCH(RgbColour, colour);
        QCOMPARE(WeekdayNumberOf(date), number);
        QCOMPARE(WeekdayNameOf(date), name);
        const DateEvaluation evaluation = EvaluateSelectedDate(date, date, true);
        QCOMPARE(evaluation.weekdayText, name);
        QCOMPARE(evaluation.weekdayColour, colour);
    }

    void civilDateMatchesQDate()
    {
        for (QDate date = day("1899-01-01"); date <= day("2051-12-31"); date = date.addDays(1)) {
            const CivilDate civil = CivilDateOf(date);
            QCOMPARE(QDate(civil.year, civil.month, civil.day), date);
        }
        for (const char *far : {"0001-01-01", "0400-02-29", "1600-03-01", "9999-12-31"}) {
            const CivilDate civil = CivilDateOf(day(far));
            QCOMPARE(QDate(civil.year, civil.month, civil.day), day(far));
        }
    }

    void findsSolarTerm_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("term");
        QTest::newRow("first term of the table") << day("1900-01-06") << "小寒";
        QTest::newRow("day before it") << day("1900-01-05") << "";
        QTest::newRow("day after it") << day("1900-01-07") << "";
        QTest::newRow("立春 2006") << day("2006-02-04") << "立春";
        QTest::newRow("夏至 2006") << day("2006-06-21") << "夏至";
        QTest::newRow("day after 夏至") << day("2006-06-22") << "";
        QTest::newRow("between terms") << day("2006-07-16") << "";
        // Days the mean-year formula got wrong.
        QTest::newRow("立春 2009 on the 4th") << day("2009-02-04") << "立春";
        QTest::newRow("not on the 3rd") << day("2009-02-03") << "";
        QTest::newRow("大雪 2012 on the 7th") << day("2012-12-07") << "大雪";
        QTest::newRow("not on the 6th") << day("2012-12-06") << "";
        QTest::newRow("立春 1910 at 00:27") << day("1910-02-05") << "立春";
        QTest::newRow("白露 1960 at 23:45") << day("1960-09-07") << "白露";
        QTest::newRow("冬至 2050 at 00:38") << day("2050-12-22") << "冬至";
        QTest::newRow("立春 2099 at 21:09") << day("2099-02-03") << "立春";
        QTest::newRow("冬至 2100") << day("2100-12-22") << "冬至";
        QTest::newRow("after the table") << day("2101-01-05") << "";
        QTest::newRow("before the table") << day("1899-12-22") << "";
        QTest::newRow("invalid") << QDate() << "";
    }
    void findsSolarTerm()
    {
        QFETCH(QDate, date);
        QFETCH(QString, term);
        QCOMPARE(SolarTermOf(date), term);
    }

    void readsTermMoment_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("row");
        QTest::addColumn<SolarTermTime>("moment");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("小寒 1900") << 1900 << 0 << SolarTermTime{day("1900-01-06"), 2 * 60 + 4}
                                 << "小寒（1月6日 02:04）";
        QTest::newRow("立春 2009") << 2009 << 2 << SolarTermTime{day("2009-02-04"), 50} << "立春（2月4日 00:50）";
        QTest::newRow("冬至 2100") << 2100 << 23 << SolarTermTime{day("2100-12-22"), 3 * 60 + 50}
                                 << "冬至（12月22日 03:50）";
        QTest::newRow("立秋 1915 at 23:47") << 1915 << 14 << SolarTermTime{day("1915-08-08"), 23 * 60 + 48}
                                          << "立秋（8月8日 23:48）";
        QTest::newRow("year after the table") << 2101 << 0 << SolarTermTime{} << "";
        QTest::newRow("no such row") << 2006 << 24 << SolarTermTime{} << "";
    }
    void readsTermMoment()
    {
        QFETCH(int, year);
        QFETCH(int, row);
        QFETCH(SolarTermTime, moment);
        QFETCH(QString, tooltip);
        QCOMPARE(SolarTermMoment(year, row), moment);
        const SolarTermOfDay term = SolarTermOn(moment.date);
        QCOMPARE(term.minuteOfDay, moment.minuteOfDay);
        QCOMPARE(term.row, moment.date.isValid() ? row : -1);
        QCOMPARE(term.name.isEmpty() ? QString() : SolarTermTooltip(moment.date, term), tooltip);
    }

    // Each year has its 24 terms, in order, 小寒 in early January and 冬至
    // in late December, on 24 different days.
    void everyYearHasItsTerms()
    {
        for (int year = FirstSolarTermYear; year <= LastSolarTermYear; ++year) {
            QDate previous;
            for (int row = 0; row < SolarTermCount; ++row) {
                const SolarTermTime moment = SolarTermMoment(year, row);
                QCOMPARE(moment.date.year(), year);
                QVERIFY(!previous.isValid() || previous.daysTo(moment.date) >= 13);
                QCOMPARE(SolarTermOf(moment.date), SolarTermNames()[row].toString());
                previous = moment.date;
            }
            QVERIFY(SolarTermMoment(year, 0).date.day() <= 7);
            QVERIFY(SolarTermMoment(year, 23).date.day() >= 21);
        }
    }

    void findsGregorianFestivals_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("names");
        QTest::newRow("second Sunday of May") << day("2006-05-14") << "母亲节";
        QTest::newRow("May starting on Sunday") << day("2011-05-08") << "世界红十字日|母亲节";
        QTest::newRow("third Sunday of May") << day("2006-05-21") << "全国助残日";
        QTest::newRow("third Sunday of June") << day("2006-06-18") << "父亲节";
        QTest::newRow("third Tuesday of September") << day("2006-09-19") << "国际和平日";
        QTest::newRow("first Monday of October") << day("2006-10-02") << "世界人居(住房)日";
        QTest::newRow("fourth Thursday of November") << day("2006-11-23") << "感恩节";
        QTest::newRow("November starting on Friday") << day("2019-11-28") << "感恩节";
        QTest::newRow("Thursday before it") << day("2019-11-21") << "";
        QTest::newRow("mother's day in its bound year") << day("1913-05-11") << "";
        QTest::newRow("mother's day after it") << day("1914-05-10") << "母亲节";
        QTest::newRow("07-01 of 1996") << day("1996-07-01") << "中国共产党建党日";
        QTest::newRow("07-01 of 1997") << day("1997-07-01") << "中国共产党建党日|香港回归纪念日";
        QTest::newRow("03-08 of 1909") << day("1909-03-08") << "";
        QTest::newRow("03-08 of 1910") << day("1910-03-08") << "三八妇女节";
        QTest::newRow("unbounded row") << day("1900-01-01") << "元旦";
        QTest::newRow("invalid date") << QDate() << "";
    }
    void findsGregorianFestivals()
    {
        QFETCH(QDate, date);
        QFETCH(QString, names);
        QCOMPARE(JoinedNames(GregorianFestivalsOf(date)), names);
    }

    void findsLunarFestival_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("name");
        QTest::newRow("春节") << "正月初一" << "正月初二" << "春节（大年初一）";
        QTest::newRow("中秋") << "八月十五" << "八月十六" << "中秋节";
        QTest::newRow("leap month has none") << "闰八月十五" << "闰八月十六" << "";
        QTest::newRow("29th before new year") << "腊月廿九" << "正月初一" << "除夕";
        QTest::newRow("29th before a 30th") << "腊月廿九" << "腊月三十" << "";
        QTest::newRow("30th") << "腊月三十" << "正月初一" << "除夕";
        QTest::newRow("empty") << "" << "" << "";
    }
    void findsLunarFestival()
    {
        QFETCH(QString, text);
        QFETCH(QString, next);
        QFETCH(QString, name);
        const LunarFestival *festival = LunarFestivalOf(text, next);
        QCOMPARE(festival ? festival->name.toString() : QString(), name);
    }

    void evaluatesTexts_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("lunarLine");
        QTest::addColumn<RgbColour>("lineColour");
        QTest::addColumn<QString>("gregorian");
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<QString>("gregorianMusic");
        QTest::addColumn<QString>("lunarMusic");
        QTest::newRow("new year") << day("2006-01-29") << "农历:丙戌(狗)年 正月初一 过年好!" << Red << ""
                                  << " ★春节（大年初一）" << "" << "春节";
        QTest::newRow("short-month eve") << day("2006-01-28") << "农历:乙酉(鸡)年 腊月廿九 除夕" << Red << ""
                                         << " ★除夕" << "" << "除夕";
        QTest::newRow("29th before a 30th") << day("2007-02-16") << "农历:丙戌(狗)年 腊月廿九" << CalendarColour::DefaultText
                                            << "" << "" << "" << "";
        QTest::newRow("30th eve") << day("2007-02-17") << "农历:丙戌(狗)年 腊月三十 除夕" << Red << "" << " ★除夕"
                                  << "" << "除夕";
        QTest::newRow("first month, no row") << day("2006-02-09") << "农历:丙戌(狗)年 正月十二" << Red << "" << ""
                                             << "" << "正月";
        QTest::newRow("first month row") << day("2006-02-05") << "农历:丙戌(狗)年 正月初八 顺星" << Red << ""
                                         << " ★顺星(祭星)" << "" << "正月";
        QTest::newRow("default-coloured row") << day("2007-08-27") << "农历:丁亥(猪)年 七月十五 中元节"
                                              << CalendarColour::DefaultText << "" << " ★中元节" << "" << "";
        QTest::newRow("leap month gets no festival") << day("2006-09-07") << "农历:丙戌(狗)年 闰七月十五"
                                                     << CalendarColour::DefaultText << "" << "" << "" << "";
        QTest::newRow("both calendars") << day("2020-10-01") << "农历:庚子(鼠)年 八月十五 中秋节" << Red
                                        << " ☆国庆节" << " ★中秋节" << "国庆节" << "中秋节";
        QTest::newRow("2033 mid-autumn") << day("2033-09-08") << "农历:癸丑(牛)年 八月十五 中秋节" << Red
                                         << " ☆国际扫盲日" << " ★中秋节" << "" << "中秋节";
        QTest::newRow("2033 double ninth") << day("2033-10-01") << "农历:癸丑(牛)年 九月初九 重阳节" << Red
                                           << " ☆国庆节" << " ★重阳节" << "国庆节" << "";
        QTest::newRow("2033 ancestors' day") << day("2033-10-23") << "农历:癸丑(牛)年 十月初一 祭祖日"
                                             << CalendarColour::DefaultText << "" << " ★祭祖日" << "" << "";
        QTest::newRow("two Gregorian rows") << day("2006-07-01") << "农历:丙戌(狗)年 六月初六 龙晒衣" << Red
                                            << " ☆中国共产党建党日 ☆香港回归纪念日" << " ★龙晒衣" << "建党日" << "";
        QTest::newRow("before the table") << day("1900-01-01") << "双击查看万年历(L)" << CalendarColour::DefaultText
                                          << " ☆元旦" << "" << "元旦" << "";
        QTest::newRow("after the table") << day("2101-01-01") << "双击查看万年历(L)" << CalendarColour::DefaultText
                                         << " ☆元旦" << "" << "元旦" << "";
        QTest::newRow("eve at the end of the old table") << day("2050-01-22") << "农历:己巳(蛇)年 腊月廿九 除夕"
                                                         << Red << "" << " ★除夕" << "" << "除夕";
        QTest::newRow("last day of the range") << day("2100-12-31") << "农历:庚申(猴)年 腊月初一" << CalendarColour::DefaultText
                                               << "" << "" << "" << "";
        QTest::newRow("eve in 2100") << day("2100-02-08") << "农历:己未(羊)年 腊月三十 除夕" << Red << ""
                                     << " ★除夕" << "" << "除夕";
        QTest::newRow("plain day") << day("2006-07-16") << "农历:丙戌(狗)年 六月廿一" << CalendarColour::DefaultText << ""
                                   << "" << "" << "";
    }
    void evaluatesTexts()
    {
        QFETCH(QDate, date);
        QFETCH(QString, lunarLine);
        QFETCH(RgbColour, lineColour);
        QFETCH(QString, gregorian);
        QFETCH(QString, lunar);
        QFETCH(QString, gregorianMusic);
        QFETCH(QString, lunarMusic);
        const DateEvaluation evaluation = EvaluateSelectedDate(date, day("2006-07-16"), true);
        QCOMPARE(evaluation.lunarLineText, lunarLine);
        QCOMPARE(evaluation.lunarLineColour, lineColour);
        QCOMPARE(evaluation.gregorianFestivalText, gregorian);
        QCOMPARE(evaluation.lunarFestivalText, lunar);
        QCOMPARE(evaluation.gregorianMusicName, gregorianMusic);
        QCOMPARE(evaluation.lunarMusicName, lunarMusic);
        QCOMPARE(evaluation.selectedLunarText, IsLunarConvertible(date) ? ConvertToLunar(date).monthDayText : QString());
        QCOMPARE(evaluation.lunarInRange, IsLunarConvertible(date));
    }

    void evaluatesSoundsAndDecorations_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<Sounds>("sounds");
        QTest::addColumn<Decorations>("decorations");
        QTest::addColumn<int>("bannerYear");
        using enum FestivalDecoration;
        using enum FestivalSound;
        QTest::newRow("new year") << day("2006-01-29") << Sounds{Firecrackers}
                                  << Decorations{{SpringFestival, QStringLiteral("莲年有余  狗年大吉")}} << 0;
        QTest::newRow("lantern festival") << day("2006-02-12") << Sounds{GongsAndDrums, Firecrackers}
                                          << Decorations{{SpringFestival, QStringLiteral("莲年有余  狗年大吉")}} << 0;
        QTest::newRow("eve") << day("2006-01-28") << Sounds{Firecrackers} << Decorations{{SpringFestival, {}}} << 0;
        QTest::newRow("New Year's Day") << day("2006-01-01") << Sounds{}
                                        << Decorations{{NewYearBanner, QStringLiteral("恭贺2007年元旦!")}} << 2007;
        QTest::newRow("youth day") << day("2006-05-04") << Sounds{}
                                   << Decorations{{YouthDayBadge, QStringLiteral("今天是五四青年节")}} << 0;
        QTest::newRow("party anniversary") << day("2006-07-01") << Sounds{}
                                           << Decorations{{PartyAnniversary, QStringLiteral("中国共产党建党85周年")}} << 0;
        QTest::newRow("army day") << day("2006-08-01") << Sounds{}
                                  << Decorations{{ArmyDayBadge, QStringLiteral("中国人民解放军建军79周年")}} << 0;
        QTest::newRow("mid-autumn and national day")
            << day("2020-10-01") << Sounds{}
            << Decorations{{MidAutumn, QStringLiteral("中秋节快乐!")}, {NationalDay, QStringLiteral("庆祝国庆71周年!")}}
            << 0;
        QTest::newRow("christmas") << day("2006-12-25") << Sounds{}
                                   << Decorations{{Christmas, QStringLiteral("圣诞快乐!")}} << 0;
        QTest::newRow("plain day") << day("2006-07-16") << Sounds{} << Decorations{} << 0;
    }
    void evaluatesSoundsAndDecorations()
    {
        QFETCH(QDate, date);
        QFETCH(Sounds, sounds);
        QFETCH(Decorations, decorations);
        QFETCH(int, bannerYear);
        const DateEvaluation evaluation = EvaluateSelectedDate(date, day("2007-03-05"), true);
        QCOMPARE(evaluation.sounds, sounds);
        QCOMPARE(evaluation.decorations, decorations);
        QCOMPARE(evaluation.newYearBannerYear, bannerYear);
    }

    void decidesTodaysTips_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("due");
        QTest::newRow("festival, on") << day("2006-01-29") << true << true;
        QTest::newRow("another festival, on") << day("2006-12-25") << true << true;
        QTest::newRow("festival, off") << day("2006-01-29") << false << false;
        QTest::newRow("plain day, on") << day("2006-07-16") << true << false;
        QTest::newRow("out of range festival") << day("1900-01-01") << true << true;
    }
    void decidesTodaysTips()
    {
        QFETCH(QDate, date);
        QFETCH(bool, allowed);
        QFETCH(bool, due);
        QCOMPARE(EvaluateSelectedDate(date, date, allowed).todayTipsDue, due);
    }

    void namesSoundFiles()
    {
        QCOMPARE(FestivalSoundFile(FestivalSound::Firecrackers), QStringLiteral("/festival/爆竹.mp3"));
        QCOMPARE(FestivalSoundFile(FestivalSound::GongsAndDrums), QStringLiteral("/festival/锣鼓.mp3"));
    }

    void describesAlmanacDay()
    {
        const AlmanacDay inRange = DescribeAlmanacDay(day("2006-01-29"), day("2006-07-16"));
        QCOMPARE(inRange.lunarDay, DescribeLunarDay(day("2006-01-29")));
        QCOMPARE(inRange.nayin, QStringLiteral("[屋上土]"));
        QCOMPARE(inRange.starSign, QStringLiteral("水瓶座"));
        QCOMPARE(inRange.weekday, QStringLiteral("星期日"));
        QCOMPARE(inRange.lunarLine, QStringLiteral("农历:丙戌(狗)年 正月初一 过年好!"));

        const AlmanacDay outside = DescribeAlmanacDay(day("1900-01-06"), day("2006-07-16"));
        QVERIFY(!outside.inRange);
        QCOMPARE(outside.lunarDay, LunarDayInfo());
        QVERIFY(outside.nayin.isEmpty());
        QCOMPARE(outside.solarTerm, QStringLiteral("小寒"));
        QCOMPARE(outside.starSign, QStringLiteral("摩羯座"));
    }
};

QTEST_GUILESS_MAIN(CalendarTest)
#include "test_calendar.moc"
