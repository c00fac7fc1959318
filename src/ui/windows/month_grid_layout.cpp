#include "ui/windows/month_grid_layout.h"

using namespace MonthGridLayout;

QDebug operator<<(QDebug debug, const TwipPoint &point)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "TwipPoint(" << point.left << ", " << point.top << ')';
    return debug;
}

std::array<GridCellPlace, CellCount> PlaceMonthCells(int firstWeekday)
{
    std::array<GridCellPlace, CellCount> places;
    int column = firstWeekday - 1;
    int top = FirstRowTop;
    for (GridCellPlace &place : places) {
        if (column == ColumnCount) {
            column = 0;
            top += RowStep;
        }
        place.column = column;
        place.number = {WeekdayColumnLeft(column), top};
        place.label = {place.number.left, top + LabelDrop};
        ++column;
    }
    return places;
}
