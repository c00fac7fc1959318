#include "calendar/date_evaluation.h"

#include "calendar/calendar_text.h"
#include "calendar/civil_date.h"
#include "calendar/lunar_date.h"

#include <array>

namespace {

using enum FestivalDecoration;

enum class TooltipNumber {
    NoNumber,
    CurrentYear,     // the year of today, not of the selected date
    YearsSince,      // the selected year minus `sinceYear`
};

struct DecorationTooltip {
    FestivalDecoration decoration;
    QStringView before{};
    TooltipNumber number = TooltipNumber::NoNumber;
    int sinceYear = 0;
    QStringView after{};
};

// The Spring Festival decoration takes its greeting from the whole-month
// rule, and has no tooltip on the eve of the new year.
constexpr std::array<DecorationTooltip, 7> DecorationTooltips{{
    {NewYearBanner, u"恭贺", TooltipNumber::CurrentYear, 0, u"年元旦!"},
    {YouthDayBadge, u"今天是五四青年节"},
    {PartyAnniversary, u"中国共产党建党", TooltipNumber::YearsSince, 1921, u"周年"},
    {ArmyDayBadge, u"中国人民解放军建军", TooltipNumber::YearsSince, 1927, u"周年"},
    {NationalDay, u"庆祝国庆", TooltipNumber::YearsSince, 1949, u"周年!"},
    {Christmas, u"圣诞快乐!"},
    {MidAutumn, u"中秋节快乐!"},
}};

// Indexed by weekday number; index 0 is never used.
constexpr std::array<RgbColour, 8> WeekdayColours{
    CalendarColour::DefaultText, CalendarColour::Red, CalendarColour::DefaultText, CalendarColour::DefaultText,
    CalendarColour::DefaultText, CalendarColour::DefaultText, CalendarColour::Blue, CalendarColour::Green,
};

constexpr QStringView GregorianMark = u" ☆";
constexpr QStringView LunarMark = u" ★";
constexpr QStringView LunarLinePrefix = u"农历:";

DecorationRequest DecorationFor(FestivalDecoration decoration, QDate selected, QDate today)
{
    for (const DecorationTooltip &tooltip : DecorationTooltips) {
        if (tooltip.decoration != decoration)
            continue;
        QString number;
        if (tooltip.number == TooltipNumber::CurrentYear)
            number = QString::number(today.year());
        else if (tooltip.number == TooltipNumber::YearsSince)
            number = QString::number(CivilDateOf(selected).year - tooltip.sinceYear);
        return {decoration, JoinTexts({tooltip.before, number, tooltip.after})};
    }
    return {decoration, {}};
}

void ApplyLunarStep(DateEvaluation &result, QDate date, QDate today)
{
    result.lunarInRange = true;
    result.lunarDay = DescribeLunarDay(date);
    const LunarDate &lunar = result.lunarDay.lunar;
    // Month-and-day texts are built from the name tables without blanks, so
    // there is nothing to trim off them.
    result.selectedLunarText = lunar.monthDayText;

    if (lunar.monthDayText.contains(FirstMonthRule.monthText)) {
        result.lunarLineColour = FirstMonthRule.lineColour;
        const QString greeting = JoinTexts({FirstMonthRule.greetingBeforeAnimal,
                                            ZodiacAnimalOf(YearCycleIndex(lunar.lunarYear)),
                                            FirstMonthRule.greetingAfterAnimal});
        result.decorations.append({FirstMonthRule.decoration, greeting});
        result.lunarMusicName = StaticText(FirstMonthRule.musicName);
    }

    const LunarFestival *festival = LunarFestivalOnDate(date, lunar);
    if (festival) {
        result.lunarLineColour = festival->lineColour;
        result.lunarFestivalText = LunarFestivalText(festival);
        if (!festival->musicName.isEmpty())
            result.lunarMusicName = StaticText(festival->musicName);
        for (FestivalSound sound : festival->sounds) {
            if (sound != FestivalSound::NoSound)
                result.sounds.append(sound);
        }
        if (festival->decoration != NoDecoration)
            result.decorations.append(DecorationFor(festival->decoration, date, today));
    }

    result.lunarLineText = LunarLineText(result.lunarDay, festival);
}

void ApplyGregorianStep(DateEvaluation &result, QDate today)
{
    const GregorianFestivalList festivals = GregorianFestivalsOf(result.selectedDate);
    result.gregorianFestivalText = GregorianFestivalText(festivals);
    for (const GregorianFestival *festival : festivals) {
        if (!festival->musicName.isEmpty())
            result.gregorianMusicName = StaticText(festival->musicName);
        if (festival->decoration == NoDecoration)
            continue;
        result.decorations.append(DecorationFor(festival->decoration, result.selectedDate, today));
        if (festival->decoration == NewYearBanner)
            result.newYearBannerYear = today.year();
    }
}

} // namespace

QString LunarLineText(const LunarDayInfo &day, const LunarFestival *festival)
{
    return JoinTexts({LunarLinePrefix, day.yearText, u" ", day.lunar.monthDayText,
                      festival ? festival->suffix : QStringView()});
}

QString LunarFestivalText(const LunarFestival *festival)
{
    return festival ? JoinTexts({LunarMark, festival->name}) : QString();
}

QString GregorianFestivalText(const GregorianFestivalList &festivals)
{
    QString text;
    for (const GregorianFestival *festival : festivals) {
        text += GregorianMark;
        text += festival->name;
    }
    return text;
}

QDebug operator<<(QDebug debug, const DecorationRequest &request)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "DecorationRequest(" << int(request.decoration) << ", " << request.tooltip << ')';
    return debug;
}

QDebug operator<<(QDebug debug, const DateEvaluation &evaluation)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "DateEvaluation(" << evaluation.selectedDate.toString(Qt::ISODate)
                    << ", weekday " << evaluation.weekdayNumber << ' ' << evaluation.weekdayText << ' '
                    << evaluation.weekdayColour << ", inRange " << evaluation.lunarInRange << ", "
                    << evaluation.lunarDay << ", line " << evaluation.lunarLineText << ' '
                    << evaluation.lunarLineColour << ", selected " << evaluation.selectedLunarText
                    << ", festivals " << evaluation.gregorianFestivalText << " | "
                    << evaluation.lunarFestivalText << ", music " << evaluation.gregorianMusicName
                    << " | " << evaluation.lunarMusicName << ", sounds ";
    for (FestivalSound sound : evaluation.sounds)
        debug << int(sound) << ' ';
    debug << ", decorations " << evaluation.decorations << ", banner year "
          << evaluation.newYearBannerYear << ", tips " << evaluation.todayTipsDue << ')';
    return debug;
}

DateEvaluation EvaluateSelectedDate(QDate selected, QDate today, bool todayTipsAllowed)
{
    DateEvaluation result;
    result.selectedDate = selected;
    result.weekdayNumber = WeekdayNumberOf(selected);
    result.weekdayText = WeekdayNameOf(selected);
    result.weekdayColour = WeekdayColours[result.weekdayNumber];
    if (IsLunarConvertible(selected))
        ApplyLunarStep(result, selected, today);
    else
        result.lunarLineText = OutOfRangeLunarLine.toString();
    ApplyGregorianStep(result, today);
    result.todayTipsDue = todayTipsAllowed
        && !(result.gregorianFestivalText.isEmpty() && result.lunarFestivalText.isEmpty());
    return result;
}
