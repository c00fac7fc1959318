#pragma once

#include <QDate>

// Year, month and day of a date. Describing a day needs them several times,
// and the integer arithmetic below is much cheaper than asking QDate each
// time; it matches QDate's proleptic Gregorian calendar from year 1 on.
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

inline CivilDate CivilDateOf(QDate date)
{
    constexpr qint64 FirstJulianDayOfYearOne = 1721426;
    CivilDate civil;
    if (!date.isValid() || date.toJulianDay() < FirstJulianDayOfYearOne) {
        date.getDate(&civil.year, &civil.month, &civil.day);
        return civil;
    }
    // Days counted from 0000-03-01, so that the leap day ends each 400-year era.
    const qint64 days = date.toJulianDay() - 1721120;
    const qint64 era = days / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    civil.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    civil.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    civil.year = int(yearOfEra + era * 400 + (civil.month <= 2 ? 1 : 0));
    return civil;
}
