#include "calendar/solar_terms.h"

#include "calendar/calendar_text.h"
#include "calendar/civil_date.h"

#include <algorithm>

namespace {

#include "calendar/solar_term_table.inc"

static_assert(FirstSolarTermYear + qsizetype(SolarTermMinutes.size()) - 1 == LastSolarTermYear,
              "one row of terms per year");

constexpr std::array<QStringView, SolarTermCount> Names{
    u"小寒", u"大寒", u"立春", u"雨水", u"惊蛰", u"春分", u"清明", u"谷雨",
    u"立夏", u"小满", u"芒种", u"夏至", u"小暑", u"大暑", u"立秋", u"处暑",
    u"白露", u"秋分", u"寒露", u"霜降", u"立冬", u"小雪", u"大雪", u"冬至",
};

constexpr int MinutesPerDay = 24 * 60;

constexpr bool TermsFollowEachOther()
{
    for (const auto &year : SolarTermMinutes) {
        if (!std::ranges::is_sorted(year) || year.front() < 0 || year.back() >= 366 * MinutesPerDay)
            return false;
    }
    return true;
}
static_assert(TermsFollowEachOther(), "every year's terms in order, inside the year");

// Julian day of 1 January of a Gregorian year.
constexpr qint64 JulianDayOfYearStart(int year)
{
    const qint64 before = year - 1;
    return 1721426 + 365 * before + before / 4 - before / 100 + before / 400;
}
static_assert(JulianDayOfYearStart(2000) == 2451545);

const std::array<qint32, SolarTermCount> *TermsOfYear(int year)
{
    if (year < FirstSolarTermYear || year > LastSolarTermYear)
        return nullptr;
    return &SolarTermMinutes[year - FirstSolarTermYear];
}

} // namespace

const std::array<QStringView, SolarTermCount> &SolarTermNames()
{
    return Names;
}

QDebug operator<<(QDebug debug, const SolarTermTime &time)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "SolarTermTime(" << time.date.toString(Qt::ISODate) << ", " << time.minuteOfDay << ')';
    return debug;
}

SolarTermTime SolarTermMoment(int year, int row)
{
    const auto *terms = TermsOfYear(year);
    if (!terms || row < 0 || row >= SolarTermCount)
        return {};
    const qint32 minutes = (*terms)[row];
    return {QDate::fromJulianDay(JulianDayOfYearStart(year) + minutes / MinutesPerDay), minutes % MinutesPerDay};
}

SolarTermOfDay SolarTermOn(QDate date)
{
    if (!date.isValid())
        return {};
    const int year = CivilDateOf(date).year;
    const auto *terms = TermsOfYear(year);
    if (!terms)
        return {};
    const qint64 dayStart = (date.toJulianDay() - JulianDayOfYearStart(year)) * MinutesPerDay;
    const auto term = std::lower_bound(terms->begin(), terms->end(), dayStart);
    if (term == terms->end() || *term >= dayStart + MinutesPerDay)
        return {};
    const int row = int(term - terms->begin());
    return {StaticText(Names[row]), row, int(*term - dayStart)};
}

QString SolarTermOf(QDate date)
{
    return SolarTermOn(date).name;
}

QString SolarTermClockText(int minuteOfDay)
{
    return QStringLiteral("%1:%2")
        .arg(minuteOfDay / 60, 2, 10, QLatin1Char('0'))
        .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
}

QString SolarTermTooltip(QDate date, const SolarTermOfDay &term)
{
    return QStringLiteral("%1（%2月%3日 %4）")
        .arg(term.name)
        .arg(date.month())
        .arg(date.day())
        .arg(SolarTermClockText(term.minuteOfDay));
}
