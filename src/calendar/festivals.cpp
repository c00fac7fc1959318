#include "calendar/festivals.h"

#include "calendar/civil_date.h"
#include "calendar/day_names.h"
#include "calendar/lunar_date.h"

#include <algorithm>
#include <bit>

namespace {

using namespace CalendarColour;

using enum FestivalDecoration;
using enum FestivalSound;
using enum Weekday;

constexpr FestivalDay On(int month, int day)
{
    return {month, day};
}

constexpr FestivalDay Nth(int ordinal, Weekday weekday, int month)
{
    return {month, 0, ordinal, weekday};
}

constexpr std::array<GregorianFestival, GregorianFestivalCount> GregorianTable{{
    {On(1, 1), NoYearBound, u"元旦", u"元旦", NewYearBanner, u"元旦", Red, Blue},
    {On(2, 2), 1996, u"世界湿地日"},
    {On(2, 14), NoYearBound, u"情人节", {}, NoDecoration, u"情人节", Blue, Blue},
    {On(3, 3), 1999, u"全国爱耳日"},
    {On(3, 8), 1909, u"三八妇女节", {}, NoDecoration, u"妇女节", Red, Blue},
    {On(3, 12), 1978, u"植树节", {}, NoDecoration, u"植树节", Blue, Blue},
    {On(3, 14), NoYearBound, u"国际警察日"},
    {On(3, 15), 1982, u"消费者权益日", {}, NoDecoration, u"消费日", Blue, Blue},
    {On(3, 21), NoYearBound, u"世界森林日"},
    {On(3, 22), 1992, u"世界水日"},
    {On(3, 23), 1960, u"世界气象日", {}, NoDecoration, u"气象日", Blue, Blue},
    {On(3, 24), NoYearBound, u"世界防治结核病日"},
    {On(4, 1), NoYearBound, u"愚人节", {}, NoDecoration, u"愚人节", Blue, Blue},
    {On(4, 7), NoYearBound, u"世界卫生日"},
    {On(4, 22), 1969, u"世界地球日", {}, NoDecoration, u"地球日", Blue, Blue},
    {On(5, 1), 1937, u"五一国际劳动节", u"劳动节", NoDecoration, u"劳动节", Red, Blue},
    {On(5, 4), 1949, u"五四青年节", {}, YouthDayBadge, u"青年节", Blue, Blue},
    {On(5, 8), 1862, u"世界红十字日"},
    {On(5, 12), NoYearBound, u"国际护士节"},
    {On(5, 15), NoYearBound, u"国际家庭日"},
    {On(5, 17), 1968, u"世界电信日", {}, NoDecoration, u"电信日", Blue, Blue},
    {On(5, 18), NoYearBound, u"国际博物馆日"},
    {On(5, 20), NoYearBound, u"全国学生营养日"},
    {On(5, 22), 2000, u"国际生物多样性日"},
    {On(5, 31), NoYearBound, u"世界无烟日"},
    {Nth(2, Sunday, 5), 1913, u"母亲节", {}, NoDecoration, u"母亲节", Blue, Blue},
    {Nth(3, Sunday, 5), 1989, u"全国助残日", {}, NoDecoration, u"助残日", Blue, Blue},
    {On(6, 1), 1949, u"国际儿童节", u"儿童节", NoDecoration, u"儿童节", Red, Blue},
    {On(6, 5), 1972, u"世界环境日", {}, NoDecoration, u"环境日", Blue, Blue},
    {On(6, 6), NoYearBound, u"全国爱眼日"},
    {Nth(3, Sunday, 6), 1933, u"父亲节", {}, NoDecoration, u"父亲节", Blue, Blue},
    {On(6, 17), 1994, u"防治荒漠化和干旱日"},
    {On(6, 23), NoYearBound, u"国际奥林匹克日"},
    {On(6, 25), 1990, u"全国土地日"},
    {On(6, 26), NoYearBound, u"国际反毒品日"},
    {On(7, 1), 1920, u"中国共产党建党日", u"建党日", PartyAnniversary, u"建党日", Red, Blue},
    {On(7, 1), 1996, u"香港回归纪念日"},
    {On(7, 11), 1987, u"世界人口日", {}, NoDecoration, u"人口日", Blue, Blue},
    {On(8, 1), 1926, u"建军节", u"建军节", ArmyDayBadge, u"建军节", Red, Blue},
    {On(9, 8), NoYearBound, u"国际扫盲日"},
    {On(9, 10), 1984, u"教师节", {}, NoDecoration, u"教师节", Blue, Blue},
    {On(9, 16), 1986, u"国际臭氧层保护日"},
    {Nth(3, Tuesday, 9), 1980, u"国际和平日", {}, NoDecoration, u"和平日", Blue, Blue},
    {On(9, 20), 1988, u"全国爱牙日"},
    {On(9, 27), NoYearBound, u"世界旅游日"},
    {On(10, 1), 1948, u"国庆节", u"国庆节", NationalDay, u"国庆节", Red, Blue},
    {On(10, 4), NoYearBound, u"世界动物日"},
    {Nth(1, Monday, 10), 1985, u"世界人居(住房)日", {}, NoDecoration, u"住房日", Blue, Blue},
    {On(10, 8), NoYearBound, u"全国高血压日"},
    {On(10, 9), 1983, u"世界邮政日", {}, NoDecoration, u"邮政日", Blue, Blue},
    {On(10, 10), NoYearBound, u"世界精神卫生日"},
    {On(10, 15), 1983, u"国际盲人节"},
    {On(10, 16), 1980, u"世界粮食日"},
    {On(10, 17), 1992, u"世界消除贫困日"},
    {On(10, 22), 1990, u"世界传统医药日"},
    {On(10, 24), 1946, u"联合国日"},
    {On(11, 8), NoYearBound, u"中国记者日"},
    {On(11, 9), NoYearBound, u"消防宣传日"},
    {On(11, 12), NoYearBound, u"孙中山诞辰纪念日"},
    {Nth(4, Thursday, 11), NoYearBound, u"感恩节", {}, NoDecoration, u"感恩节", Blue, Blue},
    {On(12, 20), 1998, u"澳门回归纪念日"},
    {On(12, 25), NoYearBound, u"圣诞节", u"圣诞节", Christmas, u"圣诞节", Blue, Blue},
    {On(12, 26), NoYearBound, u"毛泽东诞辰纪念日"},
}};

constexpr std::array<LunarFestival, LunarFestivalCount> LunarTable{{
    {u"正月初一", u" 过年好!", u"春节（大年初一）", Red, u"春节", {Firecrackers}, NoDecoration, u"春节", Red, true},
    {u"正月初二", u" 祭财神", u"祭财神(大年初二)", Red, {}, {Firecrackers}},
    {u"正月初三", {}, u"大年初三", Red},
    {u"正月初五", u" 开市", u"破五、开市", Red},
    {u"正月初七", u" 人日", u"人日", Red},
    {u"正月初八", u" 顺星", u"顺星(祭星)", Red},
    {u"正月十五", u" 元宵节", u"元宵节", Red, {}, {GongsAndDrums, Firecrackers}, NoDecoration, u"元宵节", Red},
    {u"二月初二", u" 龙抬头", u"龙抬头", Red, {}, {}, NoDecoration, u"龙抬头", Red},
    {u"五月初五", u" 端午节", u"端午节", Red, {}, {}, NoDecoration, u"端午节", Red},
    {u"六月初六", u" 龙晒衣", u"龙晒衣", Red, {}, {}, NoDecoration, u"龙晒衣", Red},
    {u"七月初七", u" 七夕节", u"七夕节", Red, {}, {}, NoDecoration, u"七夕节", Red},
    {u"七月十五", u" 中元节", u"中元节", CalendarColour::DefaultText, {}, {}, NoDecoration, u"中元节", Black},
    {u"八月十五", u" 中秋节", u"中秋节", Red, u"中秋节", {}, MidAutumn, u"中秋节", Red},
    {u"九月初九", u" 重阳节", u"重阳节", Red, {}, {}, NoDecoration, u"重阳节", Red},
    {u"十月初一", u" 祭祖日", u"祭祖日", CalendarColour::DefaultText},
    {u"腊月初八", u" 腊八节", u"腊八节", Red, {}, {}, NoDecoration, u"腊八节", Red},
    {u"腊月廿四", u" 扫房日", u"扫房日", Red},
    {u"腊月廿三", u" 小年", u"小年(祭灶)", Red, {}, {}, NoDecoration, u"小年", Red},
    {u"腊月廿九", u" 除夕", u"除夕", Red, u"除夕", {Firecrackers}, SpringFestival, u"除夕", Red, false, true},
    {u"腊月三十", u" 除夕", u"除夕", Red, u"除夕", {Firecrackers}, SpringFestival, u"除夕", Red},
}};

static_assert(std::ranges::none_of(LunarTable, [](const LunarFestival &row) { return row.matchText.isEmpty(); }),
              "every lunar festival row filled in");

constexpr QStringView NewYearsDayText = u"正月初一";

struct SoundFile {
    FestivalSound sound;
    QStringView path;
};

constexpr std::array<SoundFile, 2> SoundFiles{{
    {Firecrackers, u"/festival/爆竹.mp3"},
    {GongsAndDrums, u"/festival/锣鼓.mp3"},
}};

// Rows are in month order; the rows of month m start at FirstRowOfMonth[m].
constexpr auto FirstRowOfMonth = [] {
    std::array<int, 14> first{};
    int row = 0;
    for (int month = 1; month <= 13; ++month) {
        first[month] = row;
        while (row < GregorianFestivalCount && GregorianTable[row].date.month == month)
            ++row;
    }
    return first;
}();
static_assert(FirstRowOfMonth[13] == GregorianFestivalCount, "festival rows must be in month order");

// `firstWeekday` is the weekday of the month's first day, 1 Sunday .. 7 Saturday.
bool FallsOn(const FestivalDay &festival, int firstWeekday, int day)
{
    if (festival.day != 0)
        return festival.day == day;
    const int firstMatch = 1 + (int(festival.weekday) - firstWeekday + 7) % 7;
    return day == firstMatch + 7 * (festival.ordinal - 1);
}

// Month-and-day texts mostly differ in their first character; testing it
// first keeps the search through the table short.
bool SameText(QStringView a, QStringView b)
{
    return a.size() == b.size() && (a.isEmpty() || (a.front() == b.front() && a == b));
}

// The rows whose text is `monthDayText`, as bits in table order.
using LunarRows = quint32;
static_assert(LunarFestivalCount <= 32, "one bit per lunar festival row");

LunarRows RowsMatching(QStringView monthDayText)
{
    LunarRows rows = 0;
    for (int row = 0; row < LunarFestivalCount; ++row) {
        if (SameText(LunarTable[row].matchText, monthDayText))
            rows |= LunarRows(1) << row;
    }
    return rows;
}

// Every month and day a conversion gives: leap and ordinary months −12..12
// by days 1..30.
constexpr int NamedMonths = 12;
constexpr int NamedDays = 30;

// The matching rows of every month-and-day text a conversion gives, found
// once from the texts, so that a converted date is matched by its numbers.
LunarRows RowsMatching(const LunarDate &lunar)
{
    static const auto rowsByMonthDay = [] {
        std::array<LunarRows, (2 * NamedMonths + 1) * NamedDays> rows{};
        for (std::size_t index = 0; index < rows.size(); ++index) {
            const int month = int(index) / NamedDays - NamedMonths;
            rows[index] = RowsMatching(FormatLunarMonthDay(month, int(index) % NamedDays + 1));
        }
        return rows;
    }();
    if (lunar.lunarMonth < -NamedMonths || lunar.lunarMonth > NamedMonths || lunar.lunarDay < 1
        || lunar.lunarDay > NamedDays)
        return RowsMatching(lunar.monthDayText);
    return rowsByMonthDay[std::size_t((lunar.lunarMonth + NamedMonths) * NamedDays + lunar.lunarDay - 1)];
}

// The first of the candidate rows that applies; a row kept for the eve of
// the new year asks for the next day's text only when it is reached.
template <typename NextDayText>
const LunarFestival *FindLunarFestival(LunarRows candidates, NextDayText nextDayText)
{
    for (; candidates != 0; candidates &= candidates - 1) {
        const LunarFestival &festival = LunarTable[std::countr_zero(candidates)];
        if (!festival.onlyBeforeNewYear || nextDayText() == NewYearsDayText)
            return &festival;
    }
    return nullptr;
}

} // namespace

QString FestivalSoundFile(FestivalSound sound)
{
    for (const SoundFile &file : SoundFiles) {
        if (file.sound == sound)
            return file.path.toString();
    }
    return {};
}

const std::array<GregorianFestival, GregorianFestivalCount> &GregorianFestivalTable()
{
    return GregorianTable;
}

GregorianFestivalList GregorianFestivalsOf(QDate date)
{
    GregorianFestivalList festivals;
    const auto [year, month, day] = CivilDateOf(date);
    if (month < 1 || month > 12)
        return festivals;
    // The first of the month lies day − 1 days back, a whole number of weeks
    // and (day − 1) mod 7 weekdays earlier.
    const int firstWeekday = (WeekdayNumberOf(date) - 1 - (day - 1) % 7 + 7) % 7 + 1;
    for (int row = FirstRowOfMonth[month]; row < FirstRowOfMonth[month + 1]; ++row) {
        const GregorianFestival &festival = GregorianTable[row];
        if (year > festival.afterYear && FallsOn(festival.date, firstWeekday, day))
            festivals.append(&festival);
    }
    return festivals;
}

const std::array<LunarFestival, LunarFestivalCount> &LunarFestivalTable()
{
    return LunarTable;
}

const LunarFestival *LunarFestivalOf(QStringView monthDayText, QStringView nextMonthDayText)
{
    return FindLunarFestival(RowsMatching(monthDayText), [&] { return nextMonthDayText; });
}

const LunarFestival *LunarFestivalOnDate(QDate date, QStringView monthDayText)
{
    return FindLunarFestival(RowsMatching(monthDayText), [&] { return MonthDayTextOfNextDay(date); });
}

const LunarFestival *LunarFestivalOnDate(QDate date, const LunarDate &lunar)
{
    return FindLunarFestival(RowsMatching(lunar), [&] { return MonthDayTextOfNextDay(date); });
}
