#pragma once

#include "calendar/month_grid.h"

#include <QDebug>

#include <array>

// Where the calendar window's 31 day cells and their lunar labels sit, in
// the twips (1/1440 inch) the window was laid out in.

// A place on the calendar window in twips.
struct TwipPoint {
    int left = 0;
    int top = 0;

    friend bool operator==(const TwipPoint &, const TwipPoint &) = default;
};

QDebug operator<<(QDebug debug, const TwipPoint &point);

namespace MonthGridLayout {
inline constexpr int CellCount = MonthGridCellCount;
inline constexpr int ColumnCount = WeekdayCount;
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
