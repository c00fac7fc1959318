#include "calendar/month_grid.h"

#include "calendar/calendar_text.h"
#include "calendar/day_names.h"
#include "calendar/festivals.h"
#include "calendar/lunar_date.h"
#include "calendar/solar_terms.h"

#include <algorithm>

namespace {

constexpr int SundayColumn = 0;
constexpr int SaturdayColumn = 6;
constexpr QStringView FirstDayName = u"初一";
constexpr QStringView LunarTooltipPrefix = u"农历:";

// The calendar tries the first-Monday-of-October row before the 国庆节 row,
// so National Day keeps its label when 10-01 is a Monday.
bool TriedBeforeFixedDays(const GregorianFestival *festival)
{
    return festival->date.day == 0 && festival->date.month == 10;
}

void ApplySolarTerm(GridCell &cell, QString &termList)
{
    const SolarTermOfDay term = SolarTermOn(cell.date);
    if (term.name.isEmpty())
        return;
    cell.labelText = term.name;
    cell.labelColour = SolarTermColour;
    cell.labelBold = true;
    cell.labelTooltip = SolarTermTooltip(cell.date, term);
    if (!termList.isEmpty())
        termList += QLatin1Char('\n');
    termList += JoinTexts({term.name, u"：", QString::number(cell.date.month()), u"月",
                           QString::number(cell.date.day()), u"日"});
}

void ApplyGregorianFestivals(GridCell &cell)
{
    GregorianFestivalList festivals = GregorianFestivalsOf(cell.date);
    std::stable_partition(festivals.begin(), festivals.end(), TriedBeforeFixedDays);
    for (const GregorianFestival *festival : festivals) {
        if (festival->cellLabel.isEmpty())
            continue;
        cell.numberColour = festival->numberColour;
        cell.labelColour = festival->labelColour;
        cell.labelText = festival->cellLabel.toString();
    }
}

void ApplyWeekendColour(GridCell &cell, int column)
{
    if (column == SundayColumn)
        cell.numberColour = CalendarColour::Red;
    else if (column == SaturdayColumn && cell.numberColour != CalendarColour::Red)
        cell.numberColour = CalendarColour::Green;
}

void ApplyLunarFestival(GridCell &cell)
{
    const LunarFestival *festival = LunarFestivalOnDate(cell.date, cell.lunarText);
    if (!festival || festival->cellLabel.isEmpty())
        return;
    cell.labelColour = festival->cellLabelColour;
    if (festival->cellNumberRecoloured)
        cell.numberColour = festival->cellLabelColour;
    cell.labelText = festival->cellLabel.toString();
    cell.labelBold = true;
}

// The month's name on the first day of a lunar month, else the day's name.
QString ShortLunarText(const QString &lunarText)
{
    if (lunarText.contains(FirstDayName))
        return lunarText.chopped(FirstDayName.size());
    return lunarText.right(FirstDayName.size());
}

} // namespace

QDebug operator<<(QDebug debug, const GridCell &cell)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "GridCell(" << cell.date.toString(Qt::ISODate) << ", number " << cell.numberColour << ' '
                    << cell.numberTooltip << ", lunar " << cell.lunarText << ", label " << cell.labelText << ' '
                    << cell.labelColour << (cell.labelBold ? " bold " : " ") << cell.labelTooltip << ')';
    return debug;
}

MonthGrid FillMonthGrid(QDate monthStart)
{
    MonthGrid grid;
    const int firstColumn = WeekdayNumberOf(monthStart) - 1;
    for (int i = 0; i < MonthGridCellCount; ++i) {
        GridCell &cell = grid.cells[i];
        cell.date = monthStart.addDays(i);
        ApplySolarTerm(cell, grid.solarTermList);
        ApplyGregorianFestivals(cell);
        ApplyWeekendColour(cell, (firstColumn + i) % WeekdayCount);
        if (IsLunarConvertible(cell.date)) {
            cell.lunarText = ConvertToLunar(cell.date).monthDayText;
            cell.numberTooltip = JoinTexts({LunarTooltipPrefix, cell.lunarText});
            ApplyLunarFestival(cell);
        }
        if (cell.labelText.isEmpty() && !cell.lunarText.isEmpty())
            cell.labelText = ShortLunarText(cell.lunarText);
    }
    return grid;
}
