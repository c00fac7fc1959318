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

AlmanacDay DescribeAlmanacDay(QDate date, QDate today)
{
    DateEvaluation evaluation = EvaluateSelectedDate(date, today, true);
    const CivilDate civil = CivilDateOf(date);
    AlmanacDay day;
    day.date = date;
    day.inRange = evaluation.lunarInRange;
    day.lunarDay = std::move(evaluation.lunarDay);
    if (day.inRange)
        day.nayin = NayinOfYear(YearCycleIndex(day.lunarDay.lunar.lunarYear));
    day.starSign = StaticText(StarSignOf(civil.month, civil.day).name);
    day.weekday = std::move(evaluation.weekdayText);
    day.solarTerm = SolarTermOf(date);
    day.gregorianFestivals = std::move(evaluation.gregorianFestivalText);
    day.lunarFestivals = std::move(evaluation.lunarFestivalText);
    day.lunarLine = std::move(evaluation.lunarLineText);
    return day;
}
