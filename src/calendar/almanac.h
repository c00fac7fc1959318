#pragma once

#include "calendar/day_names.h"

#include <QDate>
#include <QDebug>
#include <QString>

// The days the almanac describes: the lunar range, and the month before it
// for its Gregorian side and solar terms.
inline constexpr QDate AlmanacFirstDate = QDate::fromJulianDay(2415021); // 1900-01-01
inline constexpr QDate AlmanacLastDate = QDate::fromJulianDay(2488434);  // 2100-12-31

// One fully described day: the lunar date and its names, the Gregorian
// names, the solar term, the festival texts and the main window's lunar line.
struct AlmanacDay {
    QDate date;
    bool inRange = false;       // the lunar table covers the date
    LunarDayInfo lunarDay;      // empty out of range
    QString nayin;              // empty out of range
    QString starSign;
    QString weekday;
    QString solarTerm;
    QString gregorianFestivals;
    QString lunarFestivals;
    QString lunarLine;

    friend bool operator==(const AlmanacDay &, const AlmanacDay &) = default;
};

QDebug operator<<(QDebug debug, const AlmanacDay &day);

// The texts are those the main window shows for the date when it is selected.
AlmanacDay DescribeAlmanacDay(QDate date);
