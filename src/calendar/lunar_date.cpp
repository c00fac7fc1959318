#include "lunar_date.h"

#include "calendar_text.h"

#include <cstdlib>

namespace {

constexpr std::array<LunarYearEntry, LunarYearCount> Table{{
    {1900, 526701},
    {1901, 1198},
    {1902, 2647},
    {1903, 330317},
    {1904, 3366},
    {1905, 3477},
    {1906, 265557},
    {1907, 1386},
    {1908, 2477},
    {1909, 133469},
    {1910, 1198},
    {1911, 398491},
    {1912, 2637},
    {1913, 3365},
    {1914, 334501},
    {1915, 2900},
    {1916, 3434},
    {1917, 135898},
    {1918, 2395},
    {1919, 461111},
    {1920, 1175},
    {1921, 2635},
    {1922, 333387},
    {1923, 1701},
    {1924, 1748},
    {1925, 267701},
    {1926, 694},
    {1927, 2391},
    {1928, 133423},
    {1929, 1175},
    {1930, 396438},
    {1931, 3402},
    {1932, 3749},
    {1933, 331177},
    {1934, 1453},
    {1935, 694},
    {1936, 201326},
    {1937, 2350},
    {1938, 465197},
    {1939, 3221},
    {1940, 3402},
    {1941, 400202},
    {1942, 2901},
    {1943, 1386},
    {1944, 267611},
    {1945, 605},
    {1946, 2349},
    {1947, 137515},
    {1948, 2709},
    {1949, 464533},
    {1950, 1738},
    {1951, 2901},
    {1952, 330421},
    {1953, 1242},
    {1954, 2651},
    {1955, 199255},
    {1956, 1323},
    {1957, 529706},
    {1958, 3733},
    {1959, 1706},
    {1960, 398762},
    {1961, 2741},
    {1962, 1206},
    {1963, 267438},
    {1964, 2647},
    {1965, 1318},
    {1966, 204070},
    {1967, 3477},
    {1968, 461653},
    {1969, 1386},
    {1970, 2413},
    {1971, 330077},
    {1972, 1197},
    {1973, 2637},
    {1974, 268877},
    {1975, 3365},
    {1976, 531109},
    {1977, 2900},
    {1978, 2922},
    {1979, 398042},
    {1980, 2395},
    {1981, 1179},
    {1982, 267415},
    {1983, 2635},
    {1984, 661067},
    {1985, 1701},
    {1986, 1748},
    {1987, 398772},
    {1988, 2742},
    {1989, 2391},
    {1990, 330031},
    {1991, 1175},
    {1992, 1611},
    {1993, 200010},
    {1994, 3749},
    {1995, 527717},
    {1996, 1452},
    {1997, 2742},
    {1998, 332397},
    {1999, 2350},
    {2000, 3222},
    {2001, 268949},
    {2002, 3402},
    {2003, 3493},
    {2004, 133973},
    {2005, 1386},
    {2006, 464219},
    {2007, 605},
    {2008, 2349},
    {2009, 334123},
    {2010, 2709},
    {2011, 2890},
    {2012, 267946},
    {2013, 2773},
    {2014, 592565},
    {2015, 1210},
    {2016, 2651},
    {2017, 395863},
    {2018, 1323},
    {2019, 2707},
    {2020, 265877},
    {2021, 1706},
    {2022, 2773},
    {2023, 133557},
    {2024, 1206},
    {2025, 398510},
    {2026, 2638},
    {2027, 3366},
    {2028, 335142},
    {2029, 3411},
    {2030, 1450},
    {2031, 200042},
    {2032, 2413},
    {2033, 723293}, // 闰十一月. The widely copied 461149 has the same month lengths but puts the leap after the 7th month.
    {2034, 1197},
    {2035, 2637},
    {2036, 399947},
    {2037, 3365},
    {2038, 3410},
    {2039, 334676},
    {2040, 2906},
    {2041, 1389},
    {2042, 133467},
    {2043, 1179},
    {2044, 464023},
    {2045, 2635},
    {2046, 2725},
    {2047, 333477},
    {2048, 1746},
    {2049, 2778},
}};

constexpr bool yearsFollowEachOther()
{
    for (int index = 0; index < LunarYearCount; ++index) {
        if (Table[index].lunarYear != FirstLunarYear + index)
            return false;
    }
    return true;
}
static_assert(yearsFollowEachOther(), "one row per lunar year, in order");

constexpr int leapMonthOf(qint32 entry)
{
    return entry >> 16;
}

constexpr int monthCountOf(qint32 entry)
{
    return leapMonthOf(entry) == 0 ? 12 : 13;
}

// Length of the month at 0-based calendar position `position` of the year.
constexpr int monthLengthAt(qint32 entry, int position)
{
    const int bit = monthCountOf(entry) - 1 - position;
    return 29 + ((entry >> bit) & 1);
}

// Month number at a calendar position: the leap month repeats the number of
// the month before it, negated, and every later month moves one place back.
constexpr int monthNumberAt(qint32 entry, int position)
{
    const int leap = leapMonthOf(entry);
    const int place = position + 1;
    if (leap == 0 || place <= leap)
        return place;
    return place == leap + 1 ? -leap : place - 1;
}

constexpr int countMonths()
{
    int months = 0;
    for (const LunarYearEntry &year : Table)
        months += monthCountOf(year.entry);
    return months;
}

constexpr int MonthCount = countMonths();

// Start of every lunar month of the table, as days after 1900-01-31, laid out
// once at compile time so a conversion never walks the table.
struct MonthStart {
    int firstDay;
    int lunarYear;
    int lunarMonth;
};

// The last row is the day after the table: 正月初一 of the year after it.
constexpr auto MonthStarts = [] {
    std::array<MonthStart, MonthCount + 1> starts{};
    int index = 0;
    int day = 0;
    for (const LunarYearEntry &year : Table) {
        for (int position = 0; position < monthCountOf(year.entry); ++position) {
            starts[index++] = {day, year.lunarYear, monthNumberAt(year.entry, position)};
            day += monthLengthAt(year.entry, position);
        }
    }
    starts[index] = {day, FirstLunarYear + LunarYearCount, 1};
    return starts;
}();

constexpr qint64 FirstJulianDay = FirstLunarConvertibleDate.toJulianDay();
constexpr int DayCount = MonthStarts.back().firstDay;
static_assert(FirstJulianDay + DayCount - 1 == LastLunarConvertibleDate.toJulianDay(),
              "the table must end on the last convertible day");

constexpr std::array<QStringView, 13> LunarMonthNames{
    u"*", u"正", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九", u"十", u"冬", u"腊",
};

constexpr std::array<QStringView, 31> LunarDayNames{
    u"*",    u"初一", u"初二", u"初三", u"初四", u"初五", u"初六", u"初七",
    u"初八", u"初九", u"初十", u"十一", u"十二", u"十三", u"十四", u"十五",
    u"十六", u"十七", u"十八", u"十九", u"二十", u"廿一", u"廿二", u"廿三",
    u"廿四", u"廿五", u"廿六", u"廿七", u"廿八", u"廿九", u"三十",
};

template <std::size_t Size>
QStringView nameAt(const std::array<QStringView, Size> &names, qint64 index)
{
    return index > 0 && index < qint64(Size) ? names[index] : names[0];
}

QString buildMonthDayText(int lunarMonth, int lunarDay)
{
    QString text;
    if (lunarMonth < 0)
        text += u'闰';
    text += nameAt(LunarMonthNames, std::abs(qint64(lunarMonth)));
    text += u'月';
    text += nameAt(LunarDayNames, lunarDay);
    return text;
}

constexpr int NamedMonths = 12;
constexpr int NamedDays = 30;

// Every month-and-day text a conversion can give, built once: leap and
// ordinary months −12..12 by days 1..30.
const QString *cachedMonthDayText(int lunarMonth, int lunarDay)
{
    static const ComposedTexts<(2 * NamedMonths + 1) * NamedDays> texts([](int index) {
        return buildMonthDayText(index / NamedDays - NamedMonths, index % NamedDays + 1);
    });
    if (std::abs(qint64(lunarMonth)) > NamedMonths || lunarDay < 1 || lunarDay > NamedDays)
        return nullptr;
    return &texts[(lunarMonth + NamedMonths) * NamedDays + lunarDay - 1];
}

// The lunar date `offset` days after 1900-01-31, for 0 <= offset <= DayCount.
LunarDate lunarDateAt(int offset)
{
    // Months are close to equal in length, so the proportional guess lands
    // on the right month or next to it.
    int index = int(qint64(offset) * MonthCount / DayCount);
    while (MonthStarts[index].firstDay > offset)
        --index;
    while (index < MonthCount && MonthStarts[index + 1].firstDay <= offset)
        ++index;
    const MonthStart &month = MonthStarts[index];
    const int day = offset - month.firstDay + 1;
    return {month.lunarYear, month.lunarMonth, day, FormatLunarMonthDay(month.lunarMonth, day)};
}

} // namespace

const std::array<LunarYearEntry, LunarYearCount> &LunarYearTable()
{
    return Table;
}

QDebug operator<<(QDebug debug, const LunarDate &date)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "LunarDate(" << date.lunarYear << ", " << date.lunarMonth << ", "
                    << date.lunarDay << ", " << date.monthDayText << ')';
    return debug;
}

bool IsLunarConvertible(QDate date)
{
    return date.isValid() && date >= FirstLunarConvertibleDate && date <= LastLunarConvertibleDate;
}

LunarDate ConvertToLunar(QDate date)
{
    if (!IsLunarConvertible(date))
        return {};
    return lunarDateAt(int(date.toJulianDay() - FirstJulianDay));
}

QString FormatLunarMonthDay(int lunarMonth, int lunarDay)
{
    if (const QString *cached = cachedMonthDayText(lunarMonth, lunarDay))
        return *cached;
    return buildMonthDayText(lunarMonth, lunarDay);
}

QString MonthDayTextOfNextDay(QDate date)
{
    if (!IsLunarConvertible(date))
        return {};
    return lunarDateAt(int(date.toJulianDay() - FirstJulianDay) + 1).monthDayText;
}
