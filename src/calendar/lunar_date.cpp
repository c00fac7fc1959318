#include "calendar/lunar_date.h"

#include "calendar/calendar_text.h"

#include <cstdlib>

namespace {

#include "calendar/lunar_year_table.inc"

constexpr bool YearsFollowEachOther()
{
    for (int index = 0; index < LunarYearCount; ++index) {
        if (Table[index].lunarYear != FirstLunarYear + index)
            return false;
    }
    return true;
}
static_assert(Table.size() == LunarYearCount && YearsFollowEachOther(), "one row per lunar year, in order");

constexpr int LeapMonthOf(qint32 entry)
{
    return entry >> 16;
}

constexpr int MonthCountOf(qint32 entry)
{
    return LeapMonthOf(entry) == 0 ? 12 : 13;
}

// Length of the month at 0-based calendar position `position` of the year.
constexpr int MonthLengthAt(qint32 entry, int position)
{
    const int bit = MonthCountOf(entry) - 1 - position;
    return 29 + ((entry >> bit) & 1);
}

// Month number at a calendar position: the leap month repeats the number of
// the month before it, negated, and every later month moves one place back.
constexpr int MonthNumberAt(qint32 entry, int position)
{
    const int leap = LeapMonthOf(entry);
    const int place = position + 1;
    if (leap == 0 || place <= leap)
        return place;
    return place == leap + 1 ? -leap : place - 1;
}

constexpr int CountMonths()
{
    int months = 0;
    for (const LunarYearEntry &year : Table)
        months += MonthCountOf(year.entry);
    return months;
}

constexpr int MonthCount = CountMonths();

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
        for (int position = 0; position < MonthCountOf(year.entry); ++position) {
            starts[index++] = {day, year.lunarYear, MonthNumberAt(year.entry, position)};
            day += MonthLengthAt(year.entry, position);
        }
    }
    starts[index] = {day, FirstLunarYear + LunarYearCount, 1};
    return starts;
}();

constexpr qint64 FirstJulianDay = FirstLunarConvertibleDate.toJulianDay();
constexpr int DayCount = MonthStarts.back().firstDay;
// The day after the range is looked ahead to (除夕), so the table runs on
// past it to the end of its last lunar year.
static_assert(FirstJulianDay + DayCount - 1 > LastLunarConvertibleDate.toJulianDay(),
              "the table must reach past the last convertible day");

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
QStringView NameAt(const std::array<QStringView, Size> &names, qint64 index)
{
    return index > 0 && index < qint64(Size) ? names[index] : names[0];
}

QString BuildMonthDayText(int lunarMonth, int lunarDay)
{
    QString text;
    if (lunarMonth < 0)
        text += u'闰';
    text += NameAt(LunarMonthNames, std::abs(qint64(lunarMonth)));
    text += u'月';
    text += NameAt(LunarDayNames, lunarDay);
    return text;
}

constexpr int NamedMonths = 12;
constexpr int NamedDays = 30;

// Every month-and-day text a conversion can give, built once: leap and
// ordinary months −12..12 by days 1..30.
const QString *CachedMonthDayText(int lunarMonth, int lunarDay)
{
    static const ComposedTexts<(2 * NamedMonths + 1) * NamedDays> texts([](int index) {
        return BuildMonthDayText(index / NamedDays - NamedMonths, index % NamedDays + 1);
    });
    if (std::abs(qint64(lunarMonth)) > NamedMonths || lunarDay < 1 || lunarDay > NamedDays)
        return nullptr;
    return &texts[(lunarMonth + NamedMonths) * NamedDays + lunarDay - 1];
}

// The lunar date `offset` days after 1900-01-31, for 0 <= offset <= DayCount.
LunarDate LunarDateAt(int offset)
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
    return LunarDateAt(int(date.toJulianDay() - FirstJulianDay));
}

QString FormatLunarMonthDay(int lunarMonth, int lunarDay)
{
    if (const QString *cached = CachedMonthDayText(lunarMonth, lunarDay))
        return *cached;
    return BuildMonthDayText(lunarMonth, lunarDay);
}

QString MonthDayTextOfNextDay(QDate date)
{
    if (!IsLunarConvertible(date))
        return {};
    return LunarDateAt(int(date.toJulianDay() - FirstJulianDay) + 1).monthDayText;
}
