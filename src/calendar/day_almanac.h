#pragma once

#include <QDate>
#include <QDebug>
#include <QString>
#include <QStringList>

#include <optional>

// The days the traditional almanac (黄历) is given for: the lunar range.
inline constexpr QDate DayAlmanacFirstDate = QDate::fromJulianDay(2415051); // 1900-01-31
inline constexpr QDate DayAlmanacLastDate = QDate::fromJulianDay(2488434);  // 2100-12-31

// What the almanac says of one day. Its month is the month of the solar
// terms: it begins on the day of a 节 (立春, 惊蛰 … 小寒), not on the first
// day of a lunar month.
struct DayAlmanac {
    QDate date;
    QStringList suitable;       // 宜, in the almanac's order; "诸事不宜" or "无" as it says
    QStringList unsuitable;     // 忌, likewise; "馀事勿取" among them where it says so
    QString dayOfficer;         // 建除十二值星: 建 … 闭
    QString dayGod;             // 值神: 青龙 … 勾陈
    QString dayGodPath;         // "黄道" or "黑道"
    QString dayNayin;           // the day's 纳音: 海中金 … 大海水
    QString mansion;            // 二十八宿: 角 … 轸
    QString mansionLuck;        // "吉" or "凶"
    QString clashAnimal;        // the animal the day clashes with
    QString shaDirection;       // 煞: 东, 南, 西 or 北
    QString pengzuStem;         // 彭祖百忌 of the day's stem
    QString pengzuBranch;       // and of its branch
    QString joyGodDirection;    // 喜神
    QString fortuneGodDirection; // 福神
    QString wealthGodDirection; // 财神
    QString fetusGod;           // 胎神: 占门厕 外正东
    QString phenology;          // 物候, one of the 七十二候
    QString baziYear;           // year pillar, from 立春's day
    QString baziMonth;          // month pillar, from each 节's day

    friend bool operator==(const DayAlmanac &, const DayAlmanac &) = default;
};

QDebug operator<<(QDebug debug, const DayAlmanac &almanac);

// The almanac of a day from DayAlmanacFirstDate to DayAlmanacLastDate;
// nothing for any other day.
std::optional<DayAlmanac> DescribeDayAlmanac(QDate date);

// One line of the almanac below 宜 and 忌, as the calendar window lists it.
struct DayAlmanacLine {
    QString caption;  // 建除, 值神 …
    QString text;     // 危, 勾陈（黑道） …

    friend bool operator==(const DayAlmanacLine &, const DayAlmanacLine &) = default;
};

QDebug operator<<(QDebug debug, const DayAlmanacLine &line);

// The almanac's other entries in the order the window lists them.
inline constexpr int DayAlmanacDetailCount = 10;
QList<DayAlmanacLine> DayAlmanacDetails(const DayAlmanac &almanac);
