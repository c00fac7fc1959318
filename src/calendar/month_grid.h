#pragma once

#include "calendar/rgb_colour.h"

#include <QDate>
#include <QDebug>
#include <QString>

#include <array>

// The month grid of the calendar window: where its 31 day cells and their
// lunar labels sit, and what each cell shows.

// A place on the calendar window in twips (1/1440 inch).
struct TwipPoint {
    int left = 0;
    int top = 0;

    friend bool operator==(const TwipPoint &, const TwipPoint &) = default;
};

QDebug operator<<(QDebug debug, const TwipPoint &point);

namespace MonthGridLayout {
inline constexpr int CellCount = 31;
inline constexpr int ColumnCount = 7;
inline constexpr int SundayColumnLeft = 240;
inline constexpr int ColumnStep = 720;
inline constexpr int HeaderTop = 840;
inline constexpr int FirstRowTop = 1140;
inline constexpr int RowStep = 540;
// A lunar label sits this far below its day cell.
inline constexpr int LabelDrop = 240;
inline constexpr int CellWidth = 660;
inline constexpr int CellHeight = 240;
} // namespace MonthGridLayout

// The colour of the solar-term line, which the cells of term days share.
inline constexpr RgbColour SolarTermColour{0, 0, 192};

// Left edge of weekday column 0 (Sunday) to 6 (Saturday): the header and
// the cells below it.
constexpr int WeekdayColumnLeft(int column)
{
    return MonthGridLayout::SundayColumnLeft + column * MonthGridLayout::ColumnStep;
}

struct GridCellPlace {
    TwipPoint number;  // the day-number cell
    TwipPoint label;   // the lunar label under it
    int column = 0;    // 0 Sunday .. 6 Saturday

    friend bool operator==(const GridCellPlace &, const GridCellPlace &) = default;
};

// Places the cells of a month whose first day has weekday `firstWeekday`
// (1 Sunday .. 7 Saturday): day 1 under its weekday, each next day one
// column to the right, and after Saturday back to Sunday one row lower.
std::array<GridCellPlace, MonthGridLayout::CellCount> PlaceMonthCells(int firstWeekday);

// What one day cell and its lunar label show.
struct GridCell {
    QDate date;
    RgbColour numberColour = CalendarColour::Black;
    QString numberTooltip;  // "农历:" and the lunar text; empty out of range
    QString lunarText;      // the month-and-day text; empty out of range
    QString labelText;
    RgbColour labelColour = CalendarColour::Black;
    bool labelBold = false;
    QString labelTooltip;   // on solar-term days the term and its moment

    friend bool operator==(const GridCell &, const GridCell &) = default;
};

QDebug operator<<(QDebug debug, const GridCell &cell);

struct MonthGrid {
    // Cell i shows monthStart + i; cells past the month's end are filled
    // too, and the window hides them.
    std::array<GridCell, MonthGridLayout::CellCount> cells;
    // The month's solar terms, one "立春：2月4日" per line.
    QString solarTermList;
};

// Fills the cells of the month that starts on `monthStart`. A label shows,
// by precedence, a lunar festival, a Gregorian festival, a solar term, or
// else the lunar day's name (the month's name on its first day). Day numbers
// take the festival colours, then red on Sundays and green on Saturdays
// (a red number stays red).
MonthGrid FillMonthGrid(QDate monthStart);
