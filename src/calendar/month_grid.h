#pragma once

#include "calendar/rgb_colour.h"

#include <QDate>
#include <QDebug>
#include <QString>

#include <array>

// What the 31 day cells of the calendar window's month grid and their lunar
// labels show. Where they sit is the window's business.

inline constexpr int MonthGridCellCount = 31;
inline constexpr int WeekdayCount = 7;

// The colour of the solar-term line, which the cells of term days share.
inline constexpr RgbColour SolarTermColour{0, 0, 192};

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
    std::array<GridCell, MonthGridCellCount> cells;
    // The month's solar terms, one "立春：2月4日" per line.
    QString solarTermList;
};

// Fills the cells of the month that starts on `monthStart`. A label shows,
// by precedence, a lunar festival, a Gregorian festival, a solar term, or
// else the lunar day's name (the month's name on its first day). Day numbers
// take the festival colours, then red on Sundays and green on Saturdays
// (a red number stays red).
MonthGrid FillMonthGrid(QDate monthStart);
