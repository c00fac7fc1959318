#include "calendar/almanac.h"

#include "calendar/calendar_text.h"
#include "calendar/civil_date.h"
#include "calendar/date_evaluation.h"
#include "calendar/solar_terms.h"

QDebug operator<<(QDebug debug, const AlmanacDay &day)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "AlmanacDay(" << day.date.toString(Qt::ISODate) << ", " << day.inRange << ", "
                    << day.lunarDay << ", " << day.nayin << ", " << day.starSign << ", " << day.weekday
                    << ", " << day.solarTerm << ", " << day.gregorianFestivals << ", "
                    << day.lunarFestivals << ", " << day.lunarLine << ')';
    return debug;
}

AlmanacDay DescribeAlmanacDay(QDate date)
{
    const CivilDate civil = CivilDateOf(date);
    AlmanacDay day;
    day.date = date;
    day.inRange = IsLunarConvertible(date);
    if (day.inRange) {
        day.lunarDay = DescribeLunarDay(date);
        day.nayin = NayinOfYear(YearCycleIndex(day.lunarDay.lunar.lunarYear));
        const LunarFestival *festival = LunarFestivalOnDate(date, day.lunarDay.lunar);
        day.lunarFestivals = LunarFestivalText(festival);
        day.lunarLine = LunarLineText(day.lunarDay, festival);
    } else {
        day.lunarLine = OutOfRangeLunarLine.toString();
    }
    day.starSign = StaticText(StarSignOf(civil.month, civil.day).name);
    day.weekday = WeekdayNameOf(date);
    day.solarTerm = SolarTermOf(date);
    day.gregorianFestivals = GregorianFestivalText(GregorianFestivalsOf(date));
    return day;
}
