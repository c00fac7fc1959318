#pragma once

#include "calendar/rgb_colour.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <array>
#include <limits>

struct LunarDate;

// Decorations the main window can switch on for a festival.
enum class FestivalDecoration {
    NoDecoration,
    NewYearBanner,
    YouthDayBadge,
    PartyAnniversary,
    ArmyDayBadge,
    NationalDay,
    Christmas,
    MidAutumn,
    SpringFestival,
};

// Festival sound effects, played through the main window's MP3 player.
enum class FestivalSound {
    NoSound,
    Firecrackers,   // 爆竹
    GongsAndDrums,  // 锣鼓
};

// Path of a sound's file relative to the program folder, "/festival/爆竹.mp3".
QString FestivalSoundFile(FestivalSound sound);

// 1 for Sunday to 7 for Saturday, as WeekdayNumberOf counts.
enum class Weekday { Sunday = 1, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };

// A Gregorian festival day: a fixed month and day, or the n-th given weekday
// of the month when `day` is 0.
struct FestivalDay {
    int month = 0;
    int day = 0;
    int ordinal = 0;
    Weekday weekday = Weekday::Sunday;
};

inline constexpr int NoYearBound = std::numeric_limits<int>::min();

struct GregorianFestival {
    FestivalDay date;
    int afterYear = NoYearBound;  // the row applies only in later years
    QStringView name{};
    QStringView musicName{};
    FestivalDecoration decoration = FestivalDecoration::NoDecoration;
    QStringView cellLabel{};        // empty: the calendar window leaves the day unmarked
    RgbColour numberColour{};
    RgbColour labelColour{};
};

inline constexpr int GregorianFestivalCount = 63;

const std::array<GregorianFestival, GregorianFestivalCount> &GregorianFestivalTable();

using GregorianFestivalList = QVarLengthArray<const GregorianFestival *, 4>;

// The rows that apply on `date`, in table order.
GregorianFestivalList GregorianFestivalsOf(QDate date);

struct LunarFestival {
    QStringView matchText{};        // compared with the whole month-and-day text
    QStringView suffix{};           // appended to the month-and-day text on the lunar line
    QStringView name{};
    RgbColour lineColour{};
    QStringView musicName{};
    std::array<FestivalSound, 2> sounds{};  // opened in this order, then played once
    FestivalDecoration decoration = FestivalDecoration::NoDecoration;
    QStringView cellLabel{};
    RgbColour cellLabelColour{};
    bool cellNumberRecoloured = false;
    bool onlyBeforeNewYear = false;  // counts only when the next day is 正月初一
};

inline constexpr int LunarFestivalCount = 20;

const std::array<LunarFestival, LunarFestivalCount> &LunarFestivalTable();

// The row that matches a month-and-day text, given the next day's text, or
// nullptr. Texts are compared whole and literally.
const LunarFestival *LunarFestivalOf(QStringView monthDayText, QStringView nextMonthDayText);

// The same for a convertible date whose month-and-day text is known; the next
// day is converted only when a row needs it.
const LunarFestival *LunarFestivalOnDate(QDate date, QStringView monthDayText);
// The same for a converted date, matched by its month and day numbers.
const LunarFestival *LunarFestivalOnDate(QDate date, const LunarDate &lunar);

// Every day of the first lunar month has the red lunar line, the Spring
// Festival decoration with a greeting for the year's animal, and the tune
// "正月", before the lunar festival rows are tried.
struct WholeMonthRule {
    QStringView monthText;
    RgbColour lineColour{};
    FestivalDecoration decoration;
    QStringView greetingBeforeAnimal;
    QStringView greetingAfterAnimal;
    QStringView musicName{};
};

inline constexpr WholeMonthRule FirstMonthRule{
    u"正月", CalendarColour::Red, FestivalDecoration::SpringFestival, u"莲年有余  ", u"年大吉", u"正月",
};
