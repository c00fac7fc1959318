#include "calendar/holidays.h"

#include "fileformat/quoted_fields.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>

#include <array>

namespace {

struct FaultText {
    HolidayFileFault fault;
    QStringView text;
};

constexpr std::array<FaultText, 7> FaultTexts{{
    {HolidayFileFault::Shape, u"格式应为“YYYY-MM-DD 节日名 休|班”"},
    {HolidayFileFault::Date, u"日期无效"},
    {HolidayFileFault::Kind, u"第三栏应为“休”或“班”"},
    {HolidayFileFault::Encoding, u"不是 UTF-8 文本"},
    {HolidayFileFault::Unreadable, u"无法读取文件"},
    {HolidayFileFault::TooLarge, u"文件超过 1 MB，未读取"},
    {HolidayFileFault::Name, u"节日名中有控制字符"},
}};

// The two kinds of day: the word in a holiday file and in the cell's corner,
// and the kind in words.
struct DayKind {
    QStringView word;
    bool workday;
    QStringView description;
};

constexpr std::array<DayKind, 2> DayKinds{{{u"休", false, u"放假"}, {u"班", true, u"调休上班"}}};

static_assert(!DayKinds[0].workday && DayKinds[1].workday, "a day off first, then a working day");

const DayKind &KindOf(const HolidayDay &day)
{
    return DayKinds[day.workday ? 1 : 0];
}

QStringView FaultTextOf(HolidayFileFault fault)
{
    for (const FaultText &entry : FaultTexts) {
        if (entry.fault == fault)
            return entry.text;
    }
    return {};
}

// One line's day, or why the line cannot be read.
struct ParsedLine {
    QDate date;
    HolidayDay day;
    std::optional<HolidayFileFault> fault;
};

ParsedLine ParseLine(QStringView line)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    static const QRegularExpression dateShape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QStringList fields = line.toString().split(blanks, Qt::SkipEmptyParts);
    if (fields.size() != 3)
        return {{}, {}, HolidayFileFault::Shape};
    const QDate date = dateShape.match(fields[0]).hasMatch() ? QDate::fromString(fields[0], u"yyyy-MM-dd") : QDate();
    if (!date.isValid())
        return {{}, {}, HolidayFileFault::Date};
    // An escape sequence in a name would act on the terminal the almanac is printed to.
    if (ControlsShown(fields[1]) != fields[1])
        return {{}, {}, HolidayFileFault::Name};
    for (const DayKind &kind : DayKinds) {
        if (fields[2] == kind.word)
            return {date, {fields[1], kind.workday}, std::nullopt};
    }
    return {{}, {}, HolidayFileFault::Kind};
}

} // namespace

QDebug operator<<(QDebug debug, const HolidayDay &day)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "HolidayDay(" << day.name << ", " << (day.workday ? "班" : "休") << ')';
    return debug;
}

QString HolidayMark(const HolidayDay &day)
{
    return KindOf(day).word.toString();
}

QString HolidayDescription(const HolidayDay &day)
{
    return day.name + u' ' + KindOf(day).description.toString();
}

QDebug operator<<(QDebug debug, const HolidayFileProblem &problem)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "HolidayFileProblem(" << problem.lineNumber << ", " << problem.text << ", "
                    << int(problem.fault) << ')';
    return debug;
}

QString DescribeHolidayFileProblem(const HolidayFileProblem &problem)
{
    const QString reason = FaultTextOf(problem.fault).toString();
    if (problem.lineNumber == 0)
        return QStringLiteral("%1：%2").arg(problem.text, reason);
    return QStringLiteral("第%1行：%2：%3").arg(problem.lineNumber).arg(reason, problem.text);
}

std::optional<HolidayDay> HolidayTable::DayOf(QDate date) const
{
    const auto found = days_.constFind(date.toJulianDay());
    if (found == days_.constEnd())
        return std::nullopt;
    return *found;
}

void HolidayTable::Set(QDate date, HolidayDay day)
{
    days_.insert(date.toJulianDay(), std::move(day));
}

QList<HolidayFileProblem> HolidayTable::Read(const QByteArray &text)
{
    QList<HolidayFileProblem> problems;
    QByteArrayView rest(text);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    int lineNumber = 0;
    while (!rest.isEmpty()) {
        // A line ends at LF, CR LF or CR alone.
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        const QByteArrayView bytes = rest.first(end);
        qsizetype next = end;
        if (next < rest.size())
            next += rest[next] == '\r' && next + 1 < rest.size() && rest[next + 1] == '\n' ? 2 : 1;
        rest = rest.sliced(next);
        ++lineNumber;

        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decoder.decode(bytes);
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (decoder.hasError()) {
            problems.append({lineNumber, line, HolidayFileFault::Encoding});
            continue;
        }
        ParsedLine parsed = ParseLine(trimmed);
        // The skipped line is shown to the user: its controls as U+FFFD, its tabs as blanks.
        if (parsed.fault)
            problems.append({lineNumber, ControlsShown(trimmed.toString().replace(u'\t', u' ')), *parsed.fault});
        else
            Set(parsed.date, std::move(parsed.day));
    }
    return problems;
}

HolidayTable ShippedHolidays()
{
    HolidayTable table;
    QFile file(QStringLiteral(":/calendar/holidays.txt"));
    if (file.open(QIODevice::ReadOnly))
        table.Read(file.readAll());
    return table;
}

HolidayCalendar LoadHolidayCalendar(const QString &userFilePath)
{
    HolidayCalendar calendar{ShippedHolidays(), userFilePath, {}};
    const QFileInfo info(userFilePath);
    if (!info.exists())
        return calendar;
    if (info.isFile() && info.size() > LargestHolidayFile) {
        calendar.problems.append({0, userFilePath, HolidayFileFault::TooLarge});
        return calendar;
    }
    QFile file(userFilePath);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        calendar.problems.append({0, userFilePath, HolidayFileFault::Unreadable});
        return calendar;
    }
    const QByteArray text = file.read(LargestHolidayFile);
    if (file.error() != QFileDevice::NoError) {
        calendar.problems.append({0, userFilePath, HolidayFileFault::Unreadable});
        return calendar;
    }
    calendar.problems = calendar.table.Read(text);
    return calendar;
}

QString UserHolidayFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/holidays.txt");
}
