#pragma once

#include "calendar/lunar_date.h"

#include <QDate>
#include <QDebug>
#include <QString>
#include <QStringView>

// The full description of one convertible date: its lunar date and the
// stem-branch names of its lunar year, lunar month and day.
struct LunarDayInfo {
    LunarDate lunar;
    QString yearText;         // 丙戌(狗)年
    QString monthPillarText;  // 乙未月
    QString dayPillarText;    // 丙午日

    friend bool operator==(const LunarDayInfo &, const LunarDayInfo &) = default;
};

QDebug operator<<(QDebug debug, const LunarDayInfo &info);

// Converts a convertible date and names it. The year and month names follow
// the lunar year and month, not the solar terms: a leap month takes the name
// of the month it repeats.
LunarDayInfo DescribeLunarDay(QDate date);

// Index 0 (甲子) to 59 (癸亥) of a lunar year in the sixty-year cycle.
int YearCycleIndex(int lunarYear);

// Index 0 (甲子) to 59 (癸亥) of a day in the sixty-day cycle.
int DayCycleIndex(QDate date);

// "甲子" … "癸亥": the stem and branch of a cycle index, without a suffix.
QString StemBranchName(int cycleIndex);

// Zodiac animal of a cycle index (鼠 … 猪); the calendar window's animal
// picture is its branch index + 1.
QString ZodiacAnimalOf(int cycleIndex);

// "[海中金]" … "[大海水]": the nayin of the two cycle indexes 2r and 2r + 1.
QString NayinOfYear(int cycleIndex);

struct StarSign {
    int picture;         // 1..12, one picture per sign in the calendar window
    QStringView name;
    int fromMonth;
    int fromDay;
    int toMonth;         // both ends included; 摩羯座 runs over the turn of the year
    int toDay;
};

const StarSign &StarSignOf(int month, int day);

// 1 for Sunday to 7 for Saturday; 0 for an invalid date.
int WeekdayNumberOf(QDate date);
// "星期日" … "星期六"; " * " for an invalid date.
QString WeekdayNameOf(QDate date);
