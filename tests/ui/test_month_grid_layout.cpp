#include "ui/windows/month_grid_layout.h"

#include <QTest>

class MonthGridLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void cellsFollowTheWeekdayColumns_data()
    {
        QTest::addColumn<int>("firstWeekday");
        QTest::addColumn<int>("cell");
        QTest::addColumn<TwipPoint>("number");
        QTest::addColumn<int>("column");

        QTest::newRow("Sunday start, day 1") << 1 << 0 << TwipPoint{240, 1140} << 0;
        QTest::newRow("Sunday start, Saturday 7") << 1 << 6 << TwipPoint{4560, 1140} << 6;
        QTest::newRow("Sunday start, day 8 wraps") << 1 << 7 << TwipPoint{240, 1680} << 0;
        QTest::newRow("Wednesday start, day 1") << 4 << 0 << TwipPoint{2400, 1140} << 3;
        QTest::newRow("Wednesday start, day 28") << 4 << 27 << TwipPoint{1680, 3300} << 2;
        QTest::newRow("Saturday start, day 1") << 7 << 0 << TwipPoint{4560, 1140} << 6;
        QTest::newRow("Saturday start, day 2") << 7 << 1 << TwipPoint{240, 1680} << 0;
        QTest::newRow("Saturday start, day 31 in a sixth row") << 7 << 30 << TwipPoint{960, 3840} << 1;
    }

    void cellsFollowTheWeekdayColumns()
    {
        QFETCH(int, firstWeekday);
        QFETCH(int, cell);
        QFETCH(TwipPoint, number);
        QFETCH(int, column);

        const GridCellPlace place = PlaceMonthCells(firstWeekday)[cell];
        QCOMPARE(place.number, number);
        QCOMPARE(place.column, column);
        QCOMPARE(place.label, (TwipPoint{number.left, number.top + 240}));
    }

    void aMonthStartingOnSaturdayNeedsSixRows()
    {
        // July 2006 starts on a Saturday and has 31 days.
        const auto places = PlaceMonthCells(7);
        QCOMPARE(places[30].number.top - places[0].number.top, 2700);
        QCOMPARE(WeekdayColumnLeft(0), 240);
        QCOMPARE(WeekdayColumnLeft(6), 4560);
    }
};

QTEST_MAIN(MonthGridLayoutTest)
#include "test_month_grid_layout.moc"
