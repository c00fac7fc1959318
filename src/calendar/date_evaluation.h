#pragma once

#include "calendar/day_names.h"
#include "calendar/festivals.h"
#include "calendar/rgb_colour.h"

#include <QDate>
#include <QDebug>
#include <QList>
#include <QString>
#include <QStringView>

// A decoration of the main window to switch on, with its tooltip (empty for
// none).
struct DecorationRequest {
    FestivalDecoration decoration = FestivalDecoration::NoDecoration;
    QString tooltip;

    friend bool operator==(const DecorationRequest &, const DecorationRequest &) = default;
};

QDebug operator<<(QDebug debug, const DecorationRequest &request);

// Everything the festival evaluation of one selected date decides; the main
// window and the calendar window only apply it.
struct DateEvaluation {
    QDate selectedDate;
    int weekdayNumber = 0;                  // 1 Sunday .. 7 Saturday
    QString weekdayText;
    RgbColour weekdayColour = CalendarColour::DefaultText;
    bool lunarInRange = false;
    LunarDayInfo lunarDay;                  // empty out of range
    QString lunarLineText;                  // 农历:丙戌(狗)年 正月初一 过年好!
    RgbColour lunarLineColour = CalendarColour::DefaultText;
    QString selectedLunarText;              // month-and-day text, trimmed; empty out of range
    QString gregorianFestivalText;          // " ☆元旦"
    QString lunarFestivalText;              // " ★除夕"
    QString gregorianMusicName;
    QString lunarMusicName;
    QList<FestivalSound> sounds;            // opened in this order, then played once
    QList<DecorationRequest> decorations;
    int newYearBannerYear = 0;              // the current year while the New Year banner shows
    bool todayTipsDue = false;

    friend bool operator==(const DateEvaluation &, const DateEvaluation &) = default;
};

QDebug operator<<(QDebug debug, const DateEvaluation &evaluation);

// The lunar line of the main window for a date the table does not cover.
inline constexpr QStringView OutOfRangeLunarLine = u"双击查看万年历(L)";

// The texts a date shows, shared by the evaluation and the almanac.
// "农历:丙戌(狗)年 正月初一 过年好!": the lunar year, month and day, and the
// festival's suffix when there is one.
QString LunarLineText(const LunarDayInfo &day, const LunarFestival *festival);
// " ★除夕", or empty without a festival.
QString LunarFestivalText(const LunarFestival *festival);
// " ☆元旦" for each festival, in table order.
QString GregorianFestivalText(const GregorianFestivalList &festivals);

// Evaluates the lunar and Gregorian festivals of `selected`. `today` gives
// the year of the New Year banner; a festival makes today's tips due unless
// the user switched them off (`todayTipsAllowed` false).
DateEvaluation EvaluateSelectedDate(QDate selected, QDate today, bool todayTipsAllowed);
