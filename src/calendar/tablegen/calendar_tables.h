#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// Makes the calendar's built-in tables from the astronomy: the moments of
// the solar terms and the lunar year table. The program reads the tables as
// generated source; a test makes them again and compares.
namespace CalendarTables {

inline constexpr int FirstYear = 1900;
inline constexpr int LastYear = 2100;

// The Julian day number of the calendar day in China Standard Time (UTC+8)
// on which a moment given in TT falls.
qint64 ChinaDayOf(double jde);

// The moment (JDE) of term `row` of Gregorian year `year`: row 0 is 小寒,
// when the Sun's apparent longitude reaches 285°, each row 15° more, and
// row 23 is 冬至 at 270°.
double SolarTermMoment(int year, int row);

// Minutes from 1 January 00:00 China Standard Time of `year` to term `row`,
// rounded to the nearest minute unless that would carry the term into the
// next day.
int SolarTermMinuteOfYear(int year, int row);

// One lunar month as astronomy gives it: it starts on the China Standard
// Time day of a new moon; the month containing 冬至 is the eleventh, and in a
// year of 13 months between two eleventh months the first month without a
// principal term (冬至, 大寒, 雨水 … every 30°) is the leap month.
struct LunarMonth {
    qint64 firstJulianDay;
    int number;  // 1..12
    bool leap;
};

// The months from the eleventh month of lunar year `firstYear` − 1 to the
// tenth month of lunar year `lastYear` + 1, one span from 冬至 to 冬至 after
// another.
std::vector<LunarMonth> AstronomicalLunarMonths(int firstYear, int lastYear);

// A lunar year as a table entry: bits 16..19 the month followed by a leap
// month (0 for none), bits 0..12 the month lengths in calendar order, first
// month in the highest bit used, a set bit for 30 days.
struct LunarYearRow {
    int lunarYear;
    qint32 entry;
};

// Lunar years FirstYear..LastYear from the astronomical months.
std::vector<LunarYearRow> AstronomicalLunarYears();

// Where the published calendar differs from the astronomy of the months,
// the published year holds.
struct PublishedYear {
    int lunarYear;
    qint32 entry;
    const char *reason;
};
const std::vector<PublishedYear> &PublishedYears();

// The lunar year table as the program holds it: the astronomical years with
// the published ones in their place.
std::vector<LunarYearRow> LunarYearTableRows();

// The generated sources the program includes: solar_term_table.inc and
// lunar_year_table.inc.
QString RenderSolarTermTable();
QString RenderLunarYearTable();

} // namespace CalendarTables
