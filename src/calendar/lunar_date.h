#pragma once

#include <QDate>
#include <QDebug>
#include <QString>

#include <array>

// One lunar year of the conversion table. The entry packs the year:
// bits 16..19 the month followed by a leap month (0 for none), bits 0..12 the
// month lengths in calendar order, first month in the highest bit used, a set
// bit for a 30-day month and a clear bit for a 29-day month.
struct LunarYearEntry {
    int lunarYear;
    qint32 entry;
};

inline constexpr int FirstLunarYear = 1900;
inline constexpr int LunarYearCount = 201;

const std::array<LunarYearEntry, LunarYearCount> &LunarYearTable();

// The first and last Gregorian days the calendar converts: 正月初一 of lunar
// 1900 and the last day of 2100. The table itself runs on to the end of lunar
// 2100, in January 2101.
inline constexpr QDate FirstLunarConvertibleDate = QDate::fromJulianDay(2415051); // 1900-01-31
inline constexpr QDate LastLunarConvertibleDate = QDate::fromJulianDay(2488434); // 2100-12-31

struct LunarDate {
    int lunarYear = 0;
    // 1..12, or the negated month number for a leap month (−8 is 闰八月).
    int lunarMonth = 0;
    int lunarDay = 0;
    QString monthDayText;

    friend bool operator==(const LunarDate &, const LunarDate &) = default;
};

QDebug operator<<(QDebug debug, const LunarDate &date);

// True for FirstLunarConvertibleDate <= date <= LastLunarConvertibleDate.
bool IsLunarConvertible(QDate date);

// The lunar date of a convertible Gregorian date; callers test
// IsLunarConvertible first. Any other date gives an empty LunarDate.
LunarDate ConvertToLunar(QDate date);

// 闰四月初一, 冬月十五, 腊月廿三: "闰" for a negative (leap) month, the month
// name, "月", the day name. A month or day without a name reads "*".
QString FormatLunarMonthDay(int lunarMonth, int lunarDay);

// The month-and-day text of the day after a convertible date; the table
// reaches past the last convertible day, so that day has a next day too.
QString MonthDayTextOfNextDay(QDate date);
