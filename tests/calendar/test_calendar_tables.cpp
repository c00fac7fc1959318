#include "astronomy.h"
#include "calendar/lunar_date.h"
#include "calendar/solar_terms.h"
#include "calendar_tables.h"
#include "vsop87_earth.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <cmath>

// The calendar's tables are generated source: made again here from the
// astronomy, they must equal what the program compiles.
class CalendarTablesTest : public QObject {
    Q_OBJECT

    static QString Committed(const char *name)
    {
        QFile file(QStringLiteral(RAVEZAZ_CALENDAR_SOURCE_DIR "/") + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }

    // The first line where two texts differ, for a readable failure.
    static QString FirstDifference(const QString &generated, const QString &stored)
    {
        const QStringList generatedLines = generated.split(u'\n');
        const QStringList storedLines = stored.split(u'\n');
        for (qsizetype i = 0; i < std::max(generatedLines.size(), storedLines.size()); ++i) {
            const QString made = generatedLines.value(i);
            const QString kept = storedLines.value(i);
            if (made != kept)
                return QStringLiteral("line %1: generated \"%2\", stored \"%3\"").arg(i + 1).arg(made, kept);
        }
        return {};
    }

    static QDateTime ChinaTime(double jde)
    {
        const double jd = Astronomy::UniversalTime(jde) + 0.5 + 8.0 / 24;
        const double day = std::floor(jd);
        const auto seconds = qint64(std::llround((jd - day) * 86400));
        return QDateTime(QDate::fromJulianDay(qint64(day)), QTime(0, 0)).addSecs(seconds);
    }

private slots:
    void generatedSourcesAreUpToDate_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("generated");
        QTest::newRow("solar terms") << "solar_term_table.inc" << CalendarTables::RenderSolarTermTable();
        QTest::newRow("lunar years") << "lunar_year_table.inc" << CalendarTables::RenderLunarYearTable();
    }
    void generatedSourcesAreUpToDate()
    {
        QFETCH(QString, file);
        QFETCH(QString, generated);
        const QString stored = Committed(qPrintable(file));
        QVERIFY2(!stored.isEmpty(), qPrintable(file + QStringLiteral(" is missing")));
        QVERIFY2(generated == stored,
                 qPrintable(file + QStringLiteral(" is out of date (cmake --build build --target calendar-tables): ")
                            + FirstDifference(generated, stored)));
    }

    // Moments published for the solstices and equinoxes of 2024 (UTC+8) and
    // for 立春 2009; the model must reach them to within a minute.
    void termMomentsMatchPublishedTimes_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("row");
        QTest::addColumn<QDateTime>("published");
        const auto at = [](int y, int m, int d, int h, int min) { return QDateTime(QDate(y, m, d), QTime(h, min)); };
        QTest::newRow("立春 2009") << 2009 << 2 << at(2009, 2, 4, 0, 50);
        QTest::newRow("春分 2024") << 2024 << 5 << at(2024, 3, 20, 11, 6);
        QTest::newRow("夏至 2024") << 2024 << 11 << at(2024, 6, 21, 4, 51);
        QTest::newRow("秋分 2024") << 2024 << 17 << at(2024, 9, 22, 20, 44);
        QTest::newRow("冬至 2024") << 2024 << 23 << at(2024, 12, 21, 17, 21);
    }
    void termMomentsMatchPublishedTimes()
    {
        QFETCH(int, year);
        QFETCH(int, row);
        QFETCH(QDateTime, published);
        const QDateTime computed = ChinaTime(CalendarTables::SolarTermMoment(year, row));
        QVERIFY2(std::abs(computed.secsTo(published)) <= 60, qPrintable(computed.toString(Qt::ISODate)));
        const SolarTermTime stored = SolarTermMoment(year, row);
        QCOMPARE(stored.date, published.date());
        QVERIFY(std::abs(stored.minuteOfDay - published.time().msecsSinceStartOfDay() / 60000) <= 1);
    }

    // The whole VSOP87D series of the Earth, as the astronomia library
    // evaluates it with the same nutation and aberration: the Sun's apparent
    // longitude (degrees) at three moments.
    void solarLongitudeMatchesTheWholeTheory_data()
    {
        QTest::addColumn<double>("jde");
        QTest::addColumn<double>("longitude");
        QTest::newRow("1899-12-31 12h") << 2415020.0 << 279.6433853773;
        QTest::newRow("1992-10-13 0h") << 2448908.5 << 199.9059856939;
        QTest::newRow("2100-01-01 0h") << 2488069.5 << 280.6034004134;
    }
    void solarLongitudeMatchesTheWholeTheory()
    {
        QFETCH(double, jde);
        QFETCH(double, longitude);
        const double computed = Astronomy::ApparentSolarLongitude(jde);
        QVERIFY2(std::abs(computed - longitude) < 1e-8, qPrintable(QString::number(computed, 'f', 10)));
    }

    void builtInSeriesIsWhole()
    {
        const Vsop87::EarthSeries &earth = Vsop87::BuiltInEarthSeries();
        const auto sizes = [](const Vsop87::Coordinate &coordinate) {
            QList<qsizetype> counts;
            for (const std::vector<Vsop87::Term> &series : coordinate)
                counts << qsizetype(series.size());
            return counts;
        };
        QCOMPARE(sizes(earth.longitude), (QList<qsizetype>{559, 341, 142, 22, 11, 5}));
        QCOMPARE(sizes(earth.radius), (QList<qsizetype>{526, 292, 139, 27, 10, 3}));
    }

    void seriesTableIsRead()
    {
        const Vsop87::ParsedEarthSeries parsed = Vsop87::ParseEarthSeries(
            u"# comment\n\nL0 2\n1.5 0 0\n0.25 1 2\nL1 1\n3 0 0\nR0 1\n1 0 0\n");
        QCOMPARE(parsed.error, QString());
        QCOMPARE(qsizetype(parsed.series.longitude.size()), 2);
        QCOMPARE(qsizetype(parsed.series.radius.size()), 1);
        // At τ = 0.5: 1.5 + 0.25·cos(2) + 3·0.5.
        QCOMPARE(Vsop87::Evaluate(parsed.series.longitude, 0.5), 1.5 + 0.25 * std::cos(2.0) + 1.5);
    }

    // A damaged table is refused with the line of its first fault.
    void damagedSeriesTableIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("term before a header") << "1 2 3\n" << "line 1: expected a series header such as \"L0 559\"";
        QTest::newRow("unknown coordinate") << "B0 1\n1 2 3\n" << "line 1: expected a series header such as \"L0 559\"";
        QTest::newRow("power skipped") << "L0 1\n1 2 3\nL2 1\n1 2 3\n" << "line 3: series L2 where L1 was due";
        QTest::newRow("more terms than its header")
            << "L0 1\n1 2 3\n4 5 6\nR0 1\n1 0 0\n" << "line 3: expected a series header such as \"L0 559\"";
        QTest::newRow("fewer terms than its header")
            << "L0 2\n1 2 3\nR0 1\n1 0 0\n" << "line 3: expected a term \"A B C\" of three numbers";
        QTest::newRow("not a number") << "L0 1\n1 x 3\n" << "line 2: expected a term \"A B C\" of three numbers";
        QTest::newRow("cut short") << "L0 1\n1 2 3\nR0 2\n1 0 0\n" << "the table ends before the 2 terms of its last series";
        QTest::newRow("no radius") << "L0 1\n1 2 3\n" << "the table needs both the L and the R series";
    }
    void damagedSeriesTableIsRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const Vsop87::ParsedEarthSeries parsed = Vsop87::ParseEarthSeries(text);
        QCOMPARE(parsed.error, error);
        QVERIFY(parsed.series.longitude.empty() && parsed.series.radius.empty());
    }

    // The worked example of the moon-phase tables: the new moon of
    // 1977-02-18 at JDE 2443192.65118.
    void newMoonMatchesWorkedExample()
    {
        QVERIFY(std::abs(Astronomy::NewMoonMoment(-283) - 2443192.65118) < 1e-5);
        QCOMPARE(Astronomy::LunationNear(2443192.65118), -283);
    }

    // A term at a whole minute past 23:59 stays on its day: the stored
    // minute is rounded only while that keeps the day.
    void storedMinuteKeepsTheTermsDay()
    {
        for (int year = CalendarTables::FirstYear; year <= CalendarTables::LastYear; ++year) {
            for (int row = 0; row < SolarTermCount; ++row) {
                const double jde = CalendarTables::SolarTermMoment(year, row);
                const SolarTermTime stored = SolarTermMoment(year, row);
                QCOMPARE(stored.date.toJulianDay(), CalendarTables::ChinaDayOf(jde));
                QCOMPARE(SolarTermOf(stored.date), SolarTermNames()[row].toString());
            }
        }
    }

    // Every published year overrides astronomy that disagrees with it, and
    // astronomy gives every other year, 2033's leap eleventh month included.
    void publishedYearsAreTheOnlyDepartures()
    {
        const std::vector<CalendarTables::LunarYearRow> astronomical = CalendarTables::AstronomicalLunarYears();
        QCOMPARE(int(astronomical.size()), LunarYearCount);
        const auto &published = CalendarTables::PublishedYears();
        for (const CalendarTables::LunarYearRow &row : astronomical) {
            const auto override = std::find_if(published.begin(), published.end(), [&](const auto &year) {
                return year.lunarYear == row.lunarYear;
            });
            const qint32 stored = LunarYearTable()[row.lunarYear - FirstLunarYear].entry;
            if (override == published.end()) {
                QCOMPARE(stored, row.entry);
            } else {
                QVERIFY2(override->entry != row.entry, qPrintable(QString::number(row.lunarYear)));
                QCOMPARE(stored, override->entry);
            }
        }
        QCOMPARE(LunarYearTable()[2033 - FirstLunarYear].entry >> 16, 11);
    }
};

QTEST_GUILESS_MAIN(CalendarTablesTest)
#include "test_calendar_tables.moc"
