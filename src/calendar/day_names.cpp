#include "calendar/day_names.h"

#include "calendar/calendar_text.h"

#include <algorithm>
#include <array>

namespace {

constexpr int CycleLength = 60;

constexpr std::array<QStringView, 10> HeavenlyStems{
    u"甲", u"乙", u"丙", u"丁", u"戊", u"己", u"庚", u"辛", u"壬", u"癸",
};

constexpr std::array<QStringView, 12> EarthlyBranches{
    u"子", u"丑", u"寅", u"卯", u"辰", u"巳", u"午", u"未", u"申", u"酉", u"戌", u"亥",
};

constexpr std::array<QStringView, 12> ZodiacAnimals{
    u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇", u"马", u"羊", u"猴", u"鸡", u"狗", u"猪",
};

// Index 0 is never shown: weekday numbers run from 1 (Sunday).
constexpr std::array<QStringView, 8> WeekdayNames{
    u" * ", u"星期日", u"星期一", u"星期二", u"星期三", u"星期四", u"星期五", u"星期六",
};

// Row r names cycle indexes 2r and 2r + 1.
constexpr std::array<QStringView, CycleLength / 2> NayinTable{
    u"[海中金]", // 甲子 乙丑
    u"[炉中火]", // 丙寅 丁卯
    u"[大林木]", // 戊辰 己巳
    u"[路旁土]", // 庚午 辛未
    u"[剑锋金]", // 壬申 癸酉
    u"[山头火]", // 甲戌 乙亥
    u"[涧下水]", // 丙子 丁丑
    u"[城头土]", // 戊寅 己卯
    u"[白腊金]", // 庚辰 辛巳
    u"[杨柳木]", // 壬午 癸未
    u"[泉中水]", // 甲申 乙酉
    u"[屋上土]", // 丙戌 丁亥
    u"[霹雳火]", // 戊子 己丑
    u"[松柏木]", // 庚寅 辛卯
    u"[长流水]", // 壬辰 癸巳
    u"[沙中金]", // 甲午 乙未
    u"[山下火]", // 丙申 丁酉
    u"[平地木]", // 戊戌 己亥
    u"[壁上土]", // 庚子 辛丑
    u"[金箔金]", // 壬寅 癸卯
    u"[佛灯火]", // 甲辰 乙巳
    u"[天河水]", // 丙午 丁未
    u"[大驿土]", // 戊申 己酉
    u"[钗钏金]", // 庚戌 辛亥
    u"[桑柘木]", // 壬子 癸丑
    u"[大溪水]", // 甲寅 乙卯
    u"[沙中土]", // 丙辰 丁巳
    u"[天上火]", // 戊午 己未
    u"[石柳木]", // 庚申 辛酉
    u"[大海水]", // 壬戌 癸亥
};

constexpr std::array<StarSign, 12> StarSignTable{{
    {1, u"牡羊座", 3, 21, 4, 20},
    {2, u"金牛座", 4, 21, 5, 20},
    {3, u"双子座", 5, 21, 6, 21},
    {4, u"巨蟹座", 6, 22, 7, 22},
    {5, u"狮子座", 7, 23, 8, 22},
    {6, u"处女座", 8, 23, 9, 22},
    {7, u"天秤座", 9, 23, 10, 22},
    {8, u"天蝎座", 10, 23, 11, 21},
    {9, u"射手座", 11, 22, 12, 21},
    {10, u"摩羯座", 12, 22, 1, 19},
    {11, u"水瓶座", 1, 20, 2, 19},
    {12, u"双鱼座", 2, 20, 3, 20},
}};

constexpr bool AllNamed(const auto &names)
{
    return std::ranges::none_of(names, [](QStringView name) { return name.isEmpty(); });
}
static_assert(AllNamed(HeavenlyStems) && AllNamed(EarthlyBranches) && AllNamed(ZodiacAnimals)
                  && AllNamed(WeekdayNames) && AllNamed(NayinTable)
                  && std::ranges::none_of(StarSignTable, [](const StarSign &sign) { return sign.name.isEmpty(); }),
              "every name table filled in");

// A day pillar counts from 1888-12-19, a 甲子 day.
constexpr qint64 DayCycleStartJulianDay = 2410991;
// Lunar 1888 is a 戊子 year whose first month is 甲寅, month cycle index 0.
constexpr int MonthCycleStartYear = 1888;

constexpr int Wrap(qint64 value, int length)
{
    const int remainder = int(value % length);
    return remainder < 0 ? remainder + length : remainder;
}

QString StemBranch(int stem, int branch, QStringView suffix)
{
    return JoinTexts({HeavenlyStems[stem], EarthlyBranches[branch], suffix});
}

const QString &YearTextOf(int cycleIndex)
{
    static const ComposedTexts<CycleLength> texts([](int index) {
        return JoinTexts({StemBranch(index % 10, index % 12, u"("), ZodiacAnimals[index % 12], u")年"});
    });
    return texts[cycleIndex];
}

// The month cycle pairs stem k with branch k + 2, so the first month is 寅.
const QString &MonthPillarTextOf(int cycleIndex)
{
    static const ComposedTexts<CycleLength> texts([](int index) {
        return StemBranch(index % 10, (index + 2) % 12, u"月");
    });
    return texts[cycleIndex];
}

const QString &DayPillarTextOf(int cycleIndex)
{
    static const ComposedTexts<CycleLength> texts([](int index) {
        return StemBranch(index % 10, index % 12, u"日");
    });
    return texts[cycleIndex];
}

const QString &StemBranchTextOf(int cycleIndex)
{
    static const ComposedTexts<CycleLength> texts([](int index) { return StemBranch(index % 10, index % 12, {}); });
    return texts[cycleIndex];
}

int MonthCycleIndex(int lunarYear, int lunarMonth)
{
    const int month = lunarMonth < 0 ? -lunarMonth : lunarMonth;
    return Wrap(qint64(lunarYear - MonthCycleStartYear) * 12 + month - 1, CycleLength);
}

int MonthDayKey(int month, int day)
{
    return month * 100 + day;
}

bool SignCovers(const StarSign &sign, int key)
{
    const int from = MonthDayKey(sign.fromMonth, sign.fromDay);
    const int to = MonthDayKey(sign.toMonth, sign.toDay);
    return from <= to ? key >= from && key <= to : key >= from || key <= to;
}

} // namespace

QDebug operator<<(QDebug debug, const LunarDayInfo &info)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "LunarDayInfo(" << info.lunar << ", " << info.yearText << ", "
                    << info.monthPillarText << ", " << info.dayPillarText << ')';
    return debug;
}

LunarDayInfo DescribeLunarDay(QDate date)
{
    LunarDayInfo info;
    info.lunar = ConvertToLunar(date);
    if (info.lunar.lunarYear == 0)
        return info;
    info.yearText = YearTextOf(YearCycleIndex(info.lunar.lunarYear));
    info.monthPillarText = MonthPillarTextOf(MonthCycleIndex(info.lunar.lunarYear, info.lunar.lunarMonth));
    info.dayPillarText = DayPillarTextOf(DayCycleIndex(date));
    return info;
}

int DayCycleIndex(QDate date)
{
    return Wrap(date.toJulianDay() - DayCycleStartJulianDay, CycleLength);
}

QString StemBranchName(int cycleIndex)
{
    return StemBranchTextOf(Wrap(cycleIndex, CycleLength));
}

int YearCycleIndex(int lunarYear)
{
    return Wrap(qint64(lunarYear) - 4, CycleLength);
}

QString ZodiacAnimalOf(int cycleIndex)
{
    return StaticText(ZodiacAnimals[Wrap(cycleIndex, 12)]);
}

QString NayinOfYear(int cycleIndex)
{
    return StaticText(NayinTable[Wrap(cycleIndex, CycleLength) / 2]);
}

const StarSign &StarSignOf(int month, int day)
{
    const int key = MonthDayKey(month, day);
    for (const StarSign &sign : StarSignTable) {
        if (SignCovers(sign, key))
            return sign;
    }
    return StarSignTable.back();
}

int WeekdayNumberOf(QDate date)
{
    // Julian day 0 was a Monday, so a Sunday is one less than a multiple of 7.
    return date.isValid() ? Wrap(date.toJulianDay() + 1, 7) + 1 : 0;
}

QString WeekdayNameOf(QDate date)
{
    return StaticText(WeekdayNames[WeekdayNumberOf(date)]);
}
