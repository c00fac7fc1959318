#pragma once

#include <QDate>
#include <QDebug>
#include <QString>
#include <QStringView>

#include <array>

// The 24 solar terms of a Gregorian year, from 小寒, each with its mean
// offset in minutes from that year's 小寒.
struct SolarTerm {
    QStringView name;
    int offsetMinutes;
};

inline constexpr int SolarTermCount = 24;

const std::array<SolarTerm, SolarTermCount> &SolarTermTable();

// The estimated moment of a term, in local time. The minute of the day keeps
// its fraction, so a term a few seconds before midnight stays on its day.
struct SolarTermTime {
    QDate date;
    double minuteOfDay = 0;

    friend bool operator==(const SolarTermTime &, const SolarTermTime &) = default;
};

QDebug operator<<(QDebug debug, const SolarTermTime &time);

// Moment of term `row` (0..23) of Gregorian year `year` by the mean-year
// formula counted from 1900-01-06 02:05, the 小寒 of 1900.
SolarTermTime SolarTermMoment(int year, int row);

// Name of the term that falls on `date`, or an empty text.
QString SolarTermOf(QDate date);
