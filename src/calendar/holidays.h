#pragma once

#include <QDate>
#include <QDebug>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A public holiday's day: a day off, or a working day made up for one (调休).
struct HolidayDay {
    QString name;          // 春节, 国庆节 …: the holiday the day belongs to
    bool workday = false;  // true for a make-up working day (班), false for a day off (休)

    friend bool operator==(const HolidayDay &, const HolidayDay &) = default;
};

QDebug operator<<(QDebug debug, const HolidayDay &day);

// The mark in the corner of the day's cell: "休" or "班".
QString HolidayMark(const HolidayDay &day);
// The day in words for its tooltip: "国庆节 放假", "国庆节 调休上班".
QString HolidayDescription(const HolidayDay &day);

// Why a line of a holiday file, or the whole file, was skipped.
enum class HolidayFileFault {
    Shape,       // not three fields "date name 休|班"
    Date,        // the date is not a real YYYY-MM-DD day
    Kind,        // the third field is neither 休 nor 班
    Encoding,    // the line is not UTF-8 text
    Unreadable,  // the file exists but cannot be read
    TooLarge,    // the file is larger than LargestHolidayFile
    Name,        // the name holds a control or format character
};

struct HolidayFileProblem {
    int lineNumber = 0;   // 1 for the first line; 0 for the file as a whole
    QString text;         // the skipped line, or the file's path
    HolidayFileFault fault = HolidayFileFault::Shape;

    friend bool operator==(const HolidayFileProblem &, const HolidayFileProblem &) = default;
};

QDebug operator<<(QDebug debug, const HolidayFileProblem &problem);

// The problem as the user reads it: "第3行：日期无效：2027-02-30 春节 休".
QString DescribeHolidayFileProblem(const HolidayFileProblem &problem);

// The days off and make-up working days by date. A later line for a day
// replaces an earlier one, so a user's file can correct the shipped table.
class HolidayTable {
public:
    std::optional<HolidayDay> DayOf(QDate date) const;
    void Set(QDate date, HolidayDay day);
    qsizetype size() const { return days_.size(); }

    // Reads lines "YYYY-MM-DD name 休|班" (blanks or tabs between the fields;
    // blank lines and lines starting with # are skipped) from UTF-8 text and
    // returns the lines it had to skip.
    QList<HolidayFileProblem> Read(const QByteArray &text);

private:
    QHash<qint64, HolidayDay> days_;
};

// The table shipped with the program: 2001 to 2026.
HolidayTable ShippedHolidays();

// The shipped table with the user's file read after it, and the problems
// of that file. A missing user file is no problem.
struct HolidayCalendar {
    HolidayTable table;
    QString userFile;
    QList<HolidayFileProblem> problems;
};

HolidayCalendar LoadHolidayCalendar(const QString &userFilePath);

// The user's file: holidays.txt in the per-user data folder.
QString UserHolidayFilePath();

// A user file larger than this is not read; it cannot be a list of days.
inline constexpr qint64 LargestHolidayFile = 1024 * 1024;
