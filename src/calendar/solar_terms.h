#pragma once

#include <QDate>
#include <QDebug>
#include <QString>
#include <QStringView>

#include <array>

// The 24 solar terms of a Gregorian year, from 小寒 to 冬至. Each term is the
// moment the Sun's apparent longitude reaches its multiple of 15°, in China
// Standard Time, read from a table made by src/calendar/tablegen for the
// years 1900 to 2100.
inline constexpr int SolarTermCount = 24;
inline constexpr int FirstSolarTermYear = 1900;
inline constexpr int LastSolarTermYear = 2100;

const std::array<QStringView, SolarTermCount> &SolarTermNames();

// The moment of a term to the minute; an invalid date for a year the table
// does not cover.
struct SolarTermTime {
    QDate date;
    int minuteOfDay = 0;

    friend bool operator==(const SolarTermTime &, const SolarTermTime &) = default;
};

QDebug operator<<(QDebug debug, const SolarTermTime &time);

// Moment of term `row` (0 小寒 .. 23 冬至) of Gregorian year `year`.
SolarTermTime SolarTermMoment(int year, int row);

// The term that falls on a date, its row (0 小寒 .. 23 冬至) and its minute of
// that day; an empty name when none does.
struct SolarTermOfDay {
    QString name;
    int row = -1;
    int minuteOfDay = 0;

    friend bool operator==(const SolarTermOfDay &, const SolarTermOfDay &) = default;
};

SolarTermOfDay SolarTermOn(QDate date);

// Name of the term that falls on `date`, or an empty text.
QString SolarTermOf(QDate date);

// The Sun's apparent longitude at term `row`, in degrees: 285 for 小寒.
constexpr int SolarTermLongitude(int row)
{
    return (285 + 15 * row) % 360;
}

// "00:50": the time of day of a term.
QString SolarTermClockText(int minuteOfDay);

// The tooltip of a term's day: 立春（2月4日 00:50）.
QString SolarTermTooltip(QDate date, const SolarTermOfDay &term);
