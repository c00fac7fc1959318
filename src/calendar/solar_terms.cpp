#include "solar_terms.h"

#include "calendar_text.h"
#include "civil_date.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::array<SolarTerm, SolarTermCount> Table{{
    {u"小寒", 0},
    {u"大寒", 21208},
    {u"立春", 42467},
    {u"雨水", 63836},
    {u"惊蛰", 85337},
    {u"春分", 107014},
    {u"清明", 128867},
    {u"谷雨", 150921},
    {u"立夏", 173149},
    {u"小满", 195551},
    {u"芒种", 218072},
    {u"夏至", 240693},
    {u"小暑", 263343},
    {u"大暑", 285989},
    {u"立秋", 308563},
    {u"处暑", 331033},
    {u"白露", 353350},
    {u"秋分", 375494},
    {u"寒露", 397447},
    {u"霜降", 419210},
    {u"立冬", 440795},
    {u"小雪", 462224},
    {u"大雪", 483532},
    {u"冬至", 504758},
}};

// SolarTermOf searches the offsets, so they must grow through the table.
static_assert(std::ranges::is_sorted(Table, std::ranges::less{}, &SolarTerm::offsetMinutes)
                  && std::ranges::none_of(Table, [](const SolarTerm &term) { return term.name.isEmpty(); }),
              "every term named, in order of its offset");

constexpr double YearLengthMinutes = 525948.76;
constexpr double MinutesPerDay = 1440;
// The base moment 1900-01-06 02:05, counted from the midnight that starts its day.
constexpr qint64 BaseJulianDay = 2415026;
constexpr double BaseMinuteOfDay = 2 * 60 + 5;

// Minutes from the midnight of the base day to the moment of a term.
double minutesFromBaseMidnight(int year, int row)
{
    return YearLengthMinutes * (year - 1900) + Table[row].offsetMinutes + BaseMinuteOfDay;
}

qint64 julianDayOfTerm(int year, int row)
{
    return BaseJulianDay + qint64(std::floor(minutesFromBaseMidnight(year, row) / MinutesPerDay));
}

} // namespace

const std::array<SolarTerm, SolarTermCount> &SolarTermTable()
{
    return Table;
}

QDebug operator<<(QDebug debug, const SolarTermTime &time)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "SolarTermTime(" << time.date.toString(Qt::ISODate) << ", "
                    << qSetRealNumberPrecision(12) << time.minuteOfDay << ')';
    return debug;
}

SolarTermTime SolarTermMoment(int year, int row)
{
    const double minutes = minutesFromBaseMidnight(year, row);
    const double days = std::floor(minutes / MinutesPerDay);
    return {QDate::fromJulianDay(BaseJulianDay + qint64(days)), minutes - days * MinutesPerDay};
}

QString SolarTermOf(QDate date)
{
    if (!date.isValid())
        return {};
    const int year = CivilDateOf(date).year;
    // Offsets grow through the year: find the first term that could still
    // fall on this day or later, then test it and the next by their day.
    const double dayStartOffset = (date.toJulianDay() - BaseJulianDay) * MinutesPerDay
        - minutesFromBaseMidnight(year, 0);
    const auto first = std::lower_bound(Table.begin(), Table.end(), dayStartOffset - MinutesPerDay,
                                        [](const SolarTerm &term, double offset) {
                                            return term.offsetMinutes < offset;
                                        });
    const int firstRow = int(first - Table.begin());
    for (int row = firstRow; row < std::min(firstRow + 2, SolarTermCount); ++row) {
        if (julianDayOfTerm(year, row) == date.toJulianDay())
            return StaticText(Table[row].name);
    }
    return {};
}
