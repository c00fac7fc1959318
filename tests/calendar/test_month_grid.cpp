#include "calendar/month_grid.h"

#include <QTest>

namespace {

using namespace CalendarColour;

constexpr RgbColour DarkBlue = SolarTermColour;

const GridCell &CellOn(const MonthGrid &grid, QDate date)
{
    return grid.cells[date.day() - 1];
}
// A cell of a grid that ends with the statement would dangle.
const GridCell &CellOn(MonthGrid &&grid, QDate date) = delete;

} // namespace

class MonthGridTest : public QObject {
    Q_OBJECT

private slots:
    void labelsFollowTheirPrecedence_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("label");
        QTest::addColumn<RgbColour>("labelColour");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<RgbColour>("numberColour");

        QTest::newRow("lunar day name") << QDate(2006, 2, 13) << QStringLiteral("十六") << Black << false << Black;
        QTest::newRow("month name on the first day") << QDate(2006, 2, 28) << QStringLiteral("二月") << Black
                                                     << false << Black;
        QTest::newRow("leap month name") << QDate(2006, 8, 24) << QStringLiteral("闰七月") << Black << false << Black;
        QTest::newRow("leap month day is no festival") << QDate(2006, 9, 7) << QStringLiteral("十五") << Black
                                                       << false << Black;
        QTest::newRow("solar term over the day name, Saturday green")
            << QDate(2006, 2, 4) << QStringLiteral("立春") << DarkBlue << true << Green;
        QTest::newRow("Gregorian festival colours the number") << QDate(2006, 3, 8) << QStringLiteral("妇女节")
                                                               << Blue << false << Red;
        QTest::newRow("blue number turns green on Saturday") << QDate(2006, 4, 22) << QStringLiteral("地球日")
                                                             << Blue << false << Green;
        QTest::newRow("Gregorian festival over a solar term keeps the bold")
            << QDate(2020, 6, 5) << QStringLiteral("环境日") << Blue << true << Blue;
        QTest::newRow("later row wins: 助残日 over 电信日") << QDate(2009, 5, 17) << QStringLiteral("助残日") << Blue
                                                          << false << Red;
        QTest::newRow("National Day on a Sunday") << QDate(2006, 10, 1) << QStringLiteral("国庆节") << Blue << false
                                                  << Red;
        QTest::newRow("National Day over the first Monday") << QDate(2007, 10, 1) << QStringLiteral("国庆节")
                                                            << Blue << false << Red;
        QTest::newRow("first Monday of October") << QDate(2006, 10, 2) << QStringLiteral("住房日") << Blue << false
                                                 << Blue;
        QTest::newRow("lunar festival over Gregorian") << QDate(2020, 10, 1) << QStringLiteral("中秋节") << Red
                                                       << true << Red;
        QTest::newRow("Spring Festival reddens a weekday number") << QDate(2008, 2, 7) << QStringLiteral("春节")
                                                                  << Red << true << Red;
        QTest::newRow("Spring Festival on a Sunday") << QDate(2006, 1, 29) << QStringLiteral("春节") << Red << true
                                                     << Red;
        QTest::newRow("eve on the 29th before 正月初一") << QDate(2006, 1, 28) << QStringLiteral("除夕") << Red << true
                                                       << Green;
        QTest::newRow("中元节 in black over a solar term") << QDate(2006, 8, 8) << QStringLiteral("中元节") << Black << true << Black;
        QTest::newRow("lunar festival without a label shows the day") << QDate(2006, 2, 2)
                                                                     << QStringLiteral("初五") << Black << false
                                                                     << Black;
        QTest::newRow("before the table: Gregorian only") << QDate(1900, 1, 1) << QStringLiteral("元旦") << Blue
                                                          << false << Red;
        QTest::newRow("before the table: nothing") << QDate(1900, 1, 2) << QString() << Black << false << Black;
        QTest::newRow("first day of the table") << QDate(1900, 1, 31) << QStringLiteral("春节") << Red << true
                                                << Red;
        QTest::newRow("end of the old table") << QDate(2050, 1, 24) << QStringLiteral("初二") << Black << false
                                              << Black;
        QTest::newRow("last day of the range") << QDate(2100, 12, 31) << QStringLiteral("腊月") << Black << false
                                               << Black;
        QTest::newRow("after the range") << QDate(2101, 1, 4) << QString() << Black << false << Black;
    }

    void labelsFollowTheirPrecedence()
    {
        QFETCH(QDate, date);
        QFETCH(QString, label);
        QFETCH(RgbColour, labelColour);
        QFETCH(bool, bold);
        QFETCH(RgbColour, numberColour);

        const MonthGrid grid = FillMonthGrid(QDate(date.year(), date.month(), 1));
        const GridCell &cell = CellOn(grid, date);
        QCOMPARE(cell.date, date);
        QCOMPARE(cell.labelText, label);
        QCOMPARE(cell.labelColour, labelColour);
        QCOMPARE(cell.labelBold, bold);
        QCOMPARE(cell.numberColour, numberColour);
    }

    void february2006()
    {
        const MonthGrid grid = FillMonthGrid(QDate(2006, 2, 1));
        QCOMPARE(grid.solarTermList, QStringLiteral("立春：2月4日\n雨水：2月19日"));

        const GridCell &springBegins = CellOn(grid, QDate(2006, 2, 4));
        QCOMPARE(springBegins.labelTooltip, QStringLiteral("立春（2月4日 07:27）"));
        QCOMPARE(springBegins.lunarText, QStringLiteral("正月初七"));
        QCOMPARE(springBegins.numberTooltip, QStringLiteral("农历:正月初七"));
        QCOMPARE(CellOn(grid, QDate(2006, 2, 19)).labelText, QStringLiteral("雨水"));
        QCOMPARE(CellOn(grid, QDate(2006, 2, 5)).labelTooltip, QString());

        // Cells past the 28th carry March's first days for the hidden cells.
        QCOMPARE(grid.cells[28].date, QDate(2006, 3, 1));
        QCOMPARE(grid.cells[28].lunarText, QStringLiteral("二月初二"));
        QCOMPARE(grid.cells[28].labelText, QStringLiteral("龙抬头"));
    }

    // 立春 2009 fell at 00:50 on 4 February; the mean-year formula had put it
    // on the 3rd.
    void february2009()
    {
        const MonthGrid grid = FillMonthGrid(QDate(2009, 2, 1));
        QCOMPARE(grid.solarTermList, QStringLiteral("立春：2月4日\n雨水：2月18日"));
        QCOMPARE(CellOn(grid, QDate(2009, 2, 4)).labelTooltip, QStringLiteral("立春（2月4日 00:50）"));
        QCOMPARE(CellOn(grid, QDate(2009, 2, 3)).labelText, QStringLiteral("初九"));
    }

    void outOfRangeDaysHaveNoLunarTooltip()
    {
        const MonthGrid grid = FillMonthGrid(QDate(1900, 1, 1));
        QCOMPARE(grid.cells[29].lunarText, QString());
        QCOMPARE(grid.cells[29].numberTooltip, QString());
        QCOMPARE(grid.cells[30].numberTooltip, QStringLiteral("农历:正月初一"));
        QCOMPARE(grid.solarTermList, QStringLiteral("小寒：1月6日\n大寒：1月20日"));
    }
};

QTEST_MAIN(MonthGridTest)
#include "test_month_grid.moc"
