#include "calendar_tables.h"

#include "astronomy.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace CalendarTables {
namespace {

constexpr double ChinaStandardTimeOffsetDays = 8.0 / 24;
constexpr int MinutesPerDay = 24 * 60;
constexpr int TermsPerYear = 24;
constexpr int WinterSolsticeRow = 23;

// A moment as a Julian day counted in China Standard Time from midnight: its
// whole part is the Julian day number of the date the moment falls on.
double ChinaJulianDay(double jde)
{
    return Astronomy::UniversalTime(jde) + 0.5 + ChinaStandardTimeOffsetDays;
}

qint64 FirstDayOfYear(int year)
{
    return QDate(year, 1, 1).toJulianDay();
}

// The China Standard Time days of the principal terms, the multiples of 30°
// (大寒 300°, 雨水 330° … 冬至 270°), from `firstYear` to `lastYear`, in order.
std::vector<qint64> PrincipalTermDays(int firstYear, int lastYear)
{
    std::vector<qint64> days;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int row = 1; row < TermsPerYear; row += 2)
            days.push_back(ChinaDayOf(SolarTermMoment(year, row)));
    }
    return days;
}

qint64 NewMoonDay(int lunation)
{
    return ChinaDayOf(Astronomy::NewMoonMoment(lunation));
}

// The lunation whose day starts the month containing `day`.
int LunationOfMonthContaining(qint64 day)
{
    int lunation = Astronomy::LunationNear(double(day));
    while (NewMoonDay(lunation) > day)
        --lunation;
    while (NewMoonDay(lunation + 1) <= day)
        ++lunation;
    return lunation;
}

bool ContainsAny(const std::vector<qint64> &sortedDays, qint64 from, qint64 until)
{
    const auto first = std::lower_bound(sortedDays.begin(), sortedDays.end(), from);
    return first != sortedDays.end() && *first < until;
}

qint32 EntryOf(std::vector<LunarMonth>::const_iterator first, std::vector<LunarMonth>::const_iterator end)
{
    const int count = int(end - first);
    qint32 entry = 0;
    for (auto month = first; month != end; ++month) {
        const qint64 length = (month + 1)->firstJulianDay - month->firstJulianDay;
        if (length != 29 && length != 30)
            throw std::logic_error("a lunar month of neither 29 nor 30 days");
        if (length == 30)
            entry |= 1 << (count - 1 - int(month - first));
        if (month->leap)
            entry |= month->number << 16;
    }
    return entry;
}

QString FormatSolarTermRow(int year)
{
    QStringList halves;
    for (int half = 0; half < 2; ++half) {
        QStringList minutes;
        for (int row = half * 12; row < half * 12 + 12; ++row)
            minutes << QString::number(SolarTermMinuteOfYear(year, row));
        halves << minutes.join(QStringLiteral(", "));
    }
    return QStringLiteral("    {{%1,\n      %2}}, // %3\n").arg(halves[0], halves[1]).arg(year);
}

} // namespace

qint64 ChinaDayOf(double jde)
{
    return qint64(std::floor(ChinaJulianDay(jde)));
}

double SolarTermMoment(int year, int row)
{
    const double longitude = std::fmod(285.0 + 15.0 * row, 360.0);
    // 小寒 falls on 5 or 6 January and the terms follow about 15.2 days apart.
    const double guess = double(QDate(year, 1, 6).toJulianDay()) + 15.2 * row;
    return Astronomy::SolarLongitudeMoment(longitude, guess);
}

int SolarTermMinuteOfYear(int year, int row)
{
    const double minutes = (ChinaJulianDay(SolarTermMoment(year, row)) - double(FirstDayOfYear(year))) * MinutesPerDay;
    const double rounded = std::round(minutes);
    const bool crossesMidnight = std::floor(rounded / MinutesPerDay) != std::floor(minutes / MinutesPerDay);
    return int(crossesMidnight ? std::floor(minutes) : rounded);
}

std::vector<LunarMonth> AstronomicalLunarMonths(int firstYear, int lastYear)
{
    const std::vector<qint64> principalDays = PrincipalTermDays(firstYear - 1, lastYear + 2);
    std::vector<LunarMonth> months;
    // One pass per span from the eleventh month to the next eleventh month.
    for (int year = firstYear - 1; year <= lastYear; ++year) {
        const int first = LunationOfMonthContaining(ChinaDayOf(SolarTermMoment(year, WinterSolsticeRow)));
        const int end = LunationOfMonthContaining(ChinaDayOf(SolarTermMoment(year + 1, WinterSolsticeRow)));
        bool leapToPlace = end - first == 13;
        int number = 11;
        for (int lunation = first; lunation < end; ++lunation) {
            const qint64 start = NewMoonDay(lunation);
            const bool leap = leapToPlace && lunation != first
                && !ContainsAny(principalDays, start, NewMoonDay(lunation + 1));
            if (leap)
                leapToPlace = false;
            else if (lunation != first)
                number = number % 12 + 1;
            months.push_back({start, number, leap});
        }
    }
    return months;
}

std::vector<LunarYearRow> AstronomicalLunarYears()
{
    const std::vector<LunarMonth> months = AstronomicalLunarMonths(FirstYear, LastYear + 1);
    const auto isFirstMonth = [](const LunarMonth &month) { return month.number == 1 && !month.leap; };
    std::vector<LunarYearRow> years;
    auto start = std::find_if(months.begin(), months.end(), isFirstMonth);
    while (start != months.end()) {
        const auto next = std::find_if(start + 1, months.end(), isFirstMonth);
        if (next == months.end())
            break;
        const int lunarYear = QDate::fromJulianDay(start->firstJulianDay).year();
        if (lunarYear >= FirstYear && lunarYear <= LastYear)
            years.push_back({lunarYear, EntryOf(start, next)});
        start = next;
    }
    return years;
}

const std::vector<PublishedYear> &PublishedYears()
{
    // Until 1929 the calendar counted its days at Beijing's own meridian,
    // 14 minutes behind UTC+8, so a new moon just after midnight UTC+8 began
    // its month a day earlier.
    static const std::vector<PublishedYear> years{
        {1914, 334501, "new moon 1914-11-18 00:02 UTC+8, the day before in Beijing local time"},
        {1915, 2900, "new moon 1916-02-04 00:05 UTC+8, the day before in Beijing local time"},
        {1916, 3434, "new moon 1916-02-04 00:05 UTC+8, the day before in Beijing local time"},
        {1920, 1175, "new moon 1920-11-11 00:05 UTC+8, the day before in Beijing local time"},
        {2057, 1714, "new moon 2057-09-28 at 23:59 UTC+8, within a minute of midnight; published 九月 starts 09-29"},
    };
    return years;
}

std::vector<LunarYearRow> LunarYearTableRows()
{
    std::vector<LunarYearRow> rows = AstronomicalLunarYears();
    for (const PublishedYear &published : PublishedYears()) {
        for (LunarYearRow &row : rows) {
            if (row.lunarYear == published.lunarYear)
                row.entry = published.entry;
        }
    }
    return rows;
}

QString RenderSolarTermTable()
{
    QString text = QStringLiteral(
        "// Generated by calendar-tablegen from the astronomy in src/calendar/tablegen;\n"
        "// do not edit. Regenerate with: cmake --build build --target calendar-tables\n"
        "//\n"
        "// One row per year from %1 to %2: the minutes from 1 January 00:00 China\n"
        "// Standard Time (UTC+8) to each of the year's 24 solar terms, 小寒 first\n"
        "// and 冬至 last, the moments the Sun's apparent longitude reaches 285°,\n"
        "// 300° … 270°.\n"
        "constexpr std::array<std::array<qint32, 24>, %3> SolarTermMinutes{{\n")
                       .arg(FirstYear)
                       .arg(LastYear)
                       .arg(LastYear - FirstYear + 1);
    for (int year = FirstYear; year <= LastYear; ++year)
        text += FormatSolarTermRow(year);
    return text + QStringLiteral("}};\n");
}

QString RenderLunarYearTable()
{
    const std::vector<LunarYearRow> rows = LunarYearTableRows();
    QString text = QStringLiteral(
        "// Generated by calendar-tablegen from the astronomy in src/calendar/tablegen;\n"
        "// do not edit. Regenerate with: cmake --build build --target calendar-tables\n"
        "//\n"
        "// One entry per lunar year: months from the China Standard Time days of\n"
        "// the new moons, the leap month by the principal terms; where the\n"
        "// published calendar differs, its year stands, with the reason.\n"
        "constexpr std::array<LunarYearEntry, %1> Table{{\n")
                       .arg(rows.size());
    for (const LunarYearRow &row : rows) {
        text += QStringLiteral("    {%1, %2},").arg(row.lunarYear).arg(row.entry);
        for (const PublishedYear &published : PublishedYears()) {
            if (published.lunarYear == row.lunarYear)
                text += QStringLiteral(" // published: ") + QString::fromUtf8(published.reason);
        }
        text += u'\n';
    }
    return text + QStringLiteral("}};\n");
}

} // namespace CalendarTables
