#include "calendar/almanac.h"
#include "calendar/almanac_ics.h"
#include "calendar/civil_date.h"
#include "calendar/day_almanac.h"
#include "calendar/holidays.h"
#include "cli/commands.h"
#include "cli/ordered_pieces.h"
#include "cli/utf8_buffer.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

namespace {

enum class ColumnKind {
    Text,
    Number,         // written bare in JSON; an empty value there is null
    NumberOrBlank,  // written bare in JSON; an empty value there is ""
    Words,          // words separated by blanks; an array of strings in JSON
};

using RowBuffer = Utf8Buffer;
// Rows are described and go to the output in pieces of this many days:
// some hundred kilobytes, large enough that threads seldom wait for each
// other, small enough to stay in the cache.
constexpr qint64 PieceDays = 512;
// Ranges of at least this many days write a megabyte or more.
constexpr qint64 LargeOutputDays = 5000;
// Ranges of at least this many days are described on several cores at once:
// starting a thread costs less than describing a few hundred days.
constexpr qint64 ParallelDays = 2000;
// Beyond a handful of threads, writing the rows, not describing them, decides.
constexpr unsigned MostThreads = 8;

template <typename Day>
struct Column {
    const char *name;
    ColumnKind kind;
    void (*append)(RowBuffer &out, const Day &day);
};
template <typename Day>
using ColumnList = std::span<const Column<Day>>;

// What --huangli adds to a day: the day almanac, empty before its first
// day, and the public holiday the day belongs to.
struct HuangliDay {
    std::optional<DayAlmanac> almanac;
    std::optional<HolidayDay> holiday;
};

// YYYY-MM-DD; the almanac's years all have four digits.
void AppendIsoDate(RowBuffer &out, QDate date)
{
    const CivilDate civil = CivilDateOf(date);
    const auto digit = [](int value) { return char('0' + value % 10); };
    const char text[] = {digit(civil.year / 1000), digit(civil.year / 100), digit(civil.year / 10), digit(civil.year), '-',
                         digit(civil.month / 10), digit(civil.month), '-', digit(civil.day / 10), digit(civil.day)};
    out += std::string_view(text, sizeof text);
}

void AppendLunarNumber(RowBuffer &out, const AlmanacDay &day, int value)
{
    if (day.inRange)
        out.AppendNumber(value);
}

// The columns of both output forms, in their order.
const std::array<Column<AlmanacDay>, 16> Columns{{
    {"date", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { AppendIsoDate(o, d.date); }},
    {"in_range", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { o.AppendNumber(int(d.inRange)); }},
    {"lunar_year", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { AppendLunarNumber(o, d, d.lunarDay.lunar.lunarYear); }},
    {"lunar_month", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { AppendLunarNumber(o, d, d.lunarDay.lunar.lunarMonth); }},
    {"lunar_day", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { AppendLunarNumber(o, d, d.lunarDay.lunar.lunarDay); }},
    {"month_day_text", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.lunarDay.lunar.monthDayText; }},
    {"year_text", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.lunarDay.yearText; }},
    {"month_pillar", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.lunarDay.monthPillarText; }},
    {"day_pillar", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.lunarDay.dayPillarText; }},
    {"nayin", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.nayin; }},
    {"star_sign", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.starSign; }},
    {"weekday", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.weekday; }},
    {"solar_term", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.solarTerm; }},
    {"gregorian_festivals", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.gregorianFestivals; }},
    {"lunar_festivals", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.lunarFestivals; }},
    {"lunar_line", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { o += d.lunarLine; }},
}};

void AppendWords(RowBuffer &out, const QStringList &words)
{
    for (const QString &word : words) {
        if (&word != &words.front())
            out += ' ';
        out += word;
    }
}

// Appends a text of the day almanac, when the day has one.
template <QString DayAlmanac::*Field>
void AppendAlmanacText(RowBuffer &out, const HuangliDay &day)
{
    if (day.almanac)
        out += (*day.almanac).*Field;
}

template <QStringList DayAlmanac::*Field>
void AppendAlmanacWords(RowBuffer &out, const HuangliDay &day)
{
    if (day.almanac)
        AppendWords(out, (*day.almanac).*Field);
}

// The columns --huangli adds after the others, in their order.
const std::array<Column<HuangliDay>, 20> HuangliColumns{{
    {"yi", ColumnKind::Words, AppendAlmanacWords<&DayAlmanac::suitable>},
    {"ji", ColumnKind::Words, AppendAlmanacWords<&DayAlmanac::unsuitable>},
    {"day_officer", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::dayOfficer>},
    {"day_god", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::dayGod>},
    {"day_god_luck", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::dayGodPath>},
    {"day_nayin", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::dayNayin>},
    {"mansion", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::mansion>},
    {"mansion_luck", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::mansionLuck>},
    {"clash_animal", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::clashAnimal>},
    {"sha", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::shaDirection>},
    {"pengzu", ColumnKind::Text, [](RowBuffer &o, const HuangliDay &d) {
         if (d.almanac)
             AppendWords(o, {d.almanac->pengzuStem, d.almanac->pengzuBranch});
     }},
    {"xishen", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::joyGodDirection>},
    {"fushen", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::fortuneGodDirection>},
    {"caishen", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::wealthGodDirection>},
    {"taishen", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::fetusGod>},
    {"hou", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::phenology>},
    {"bazi_year", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::baziYear>},
    {"bazi_month", ColumnKind::Text, AppendAlmanacText<&DayAlmanac::baziMonth>},
    {"holiday", ColumnKind::Text, [](RowBuffer &o, const HuangliDay &d) {
         if (d.holiday)
             o += d.holiday->name;
     }},
    {"workday", ColumnKind::NumberOrBlank, [](RowBuffer &o, const HuangliDay &d) {
         if (d.holiday)
             o.AppendNumber(int(d.holiday->workday));
     }},
}};

constexpr auto Usage =
    "用法: ravezaz-cli almanac [DATE | --from DATE --to DATE] [--format tsv|json] [--huangli]\n"
    "      ravezaz-cli almanac [DATE | --from DATE --to DATE] --format ics [--lunar-days]\n";

enum class OutputFormat { Tsv, Json, Ics };

constexpr std::array<std::pair<std::u16string_view, OutputFormat>, 3> Formats{{
    {u"tsv", OutputFormat::Tsv}, {u"json", OutputFormat::Json}, {u"ics", OutputFormat::Ics}}};

struct AlmanacRequest {
    QDate from;
    QDate to;
    OutputFormat format = OutputFormat::Tsv;
    bool lunarDays = false;
    bool huangli = false;
};

// A JSON string of UTF-8 text: quotes, backslashes and control characters
// escaped; every byte of a multi-byte character is above them.
void AppendJsonString(RowBuffer &out, std::string_view text)
{
    constexpr std::string_view HexDigits = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (uchar(c) < 0x20) {
            out += "\\u00";
            out += HexDigits[uchar(c) >> 4];
            out += HexDigits[uchar(c) & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// The columns of one output: the 16 of every day, then those of --huangli
// when they are asked for (an empty list otherwise).
struct ColumnSet {
    ColumnList<AlmanacDay> day;
    ColumnList<HuangliDay> huangli;
};

// How the rows of one output form are written: what comes before the first
// row, how one day is written, what stands between rows and what ends the
// output; and whether the text is for the terminal (in its character set)
// or UTF-8 whatever the terminal.
struct RowFormat {
    void (*begin)(RowBuffer &out, ColumnSet columns);
    void (*row)(RowBuffer &out, ColumnSet columns, const AlmanacDay &day, const HuangliDay &huangli);
    std::string_view between;
    std::string_view end;
    bool terminalText;
};

void TsvHeader(RowBuffer &out, ColumnSet columns)
{
    for (const Column<AlmanacDay> &column : columns.day) {
        if (&column != &columns.day.front())
            out += '\t';
        out += std::string_view(column.name);
    }
    for (const Column<HuangliDay> &column : columns.huangli) {
        out += '\t';
        out += std::string_view(column.name);
    }
    out += '\n';
}

void TsvRow(RowBuffer &out, ColumnSet columns, const AlmanacDay &day, const HuangliDay &huangli)
{
    for (const Column<AlmanacDay> &column : columns.day) {
        if (&column != &columns.day.front())
            out += '\t';
        column.append(out, day);
    }
    for (const Column<HuangliDay> &column : columns.huangli) {
        out += '\t';
        column.append(out, huangli);
    }
    out += '\n';
}

void JsonBegin(RowBuffer &out, ColumnSet)
{
    out += "[\n";
}

// A JSON array of the blank-separated words of UTF-8 text.
void AppendJsonWords(RowBuffer &out, std::string_view words)
{
    out += '[';
    for (std::size_t start = 0; start < words.size();) {
        const std::size_t end = std::min(words.find(' ', start), words.size());
        if (start != 0)
            out += ',';
        AppendJsonString(out, words.substr(start, end - start));
        start = end + 1;
    }
    out += ']';
}

// One member of a day's object, after a comma unless it is the first.
template <typename Day>
void AppendJsonMember(RowBuffer &out, const Column<Day> &column, const Day &day, bool first)
{
    thread_local RowBuffer value;
    out += first ? '{' : ',';
    AppendJsonString(out, column.name);
    out += ':';
    value.Clear();
    column.append(value, day);
    switch (column.kind) {
    case ColumnKind::Text:
        AppendJsonString(out, value.View());
        break;
    case ColumnKind::Number:
        out += value.IsEmpty() ? std::string_view("null") : value.View();
        break;
    case ColumnKind::NumberOrBlank:
        out += value.IsEmpty() ? std::string_view("\"\"") : value.View();
        break;
    case ColumnKind::Words:
        AppendJsonWords(out, value.View());
        break;
    }
}

void JsonObject(RowBuffer &out, ColumnSet columns, const AlmanacDay &day, const HuangliDay &huangli)
{
    for (const Column<AlmanacDay> &column : columns.day)
        AppendJsonMember(out, column, day, &column == &columns.day.front());
    for (const Column<HuangliDay> &column : columns.huangli)
        AppendJsonMember(out, column, huangli, false);
    out += '}';
}

constexpr RowFormat TsvRows{TsvHeader, TsvRow, "", "", true};
constexpr RowFormat JsonRows{JsonBegin, JsonObject, ",\n", "\n]\n", false};

// The date of a YYYY-MM-DD text; an invalid date when the text has another
// shape or names no day.
QDate DateOfIsoText(QStringView text)
{
    constexpr std::array<int, 3> FieldEnds{4, 7, 10};
    if (text.size() != FieldEnds.back())
        return {};
    std::array<int, 3> fields{};
    int at = 0;
    for (std::size_t field = 0; field < fields.size(); ++field) {
        for (; at < FieldEnds[field]; ++at) {
            const char16_t digit = text[at].unicode();
            if (digit < u'0' || digit > u'9')
                return {};
            fields[field] = 10 * fields[field] + (digit - u'0');
        }
        if (at < text.size() && text[at++] != u'-')
            return {};
    }
    return QDate(fields[0], fields[1], fields[2]);
}

// A date as YYYY-MM-DD inside the almanac's range, or a message for stderr.
std::optional<QDate> ParseDate(const QString &text, CliOutput &err)
{
    const QDate date = DateOfIsoText(text);
    if (!date.isValid()) {
        err << "日期无效(应为 YYYY-MM-DD): " << text << '\n';
        return std::nullopt;
    }
    if (date < AlmanacFirstDate || date > AlmanacLastDate) {
        err << "日期超出范围 " << AlmanacFirstDate.toString(Qt::ISODate) << ".."
            << AlmanacLastDate.toString(Qt::ISODate) << ": " << text << '\n';
        return std::nullopt;
    }
    return date;
}

std::optional<AlmanacRequest> UsageError(CliOutput &err)
{
    err << Usage;
    return std::nullopt;
}

std::optional<OutputFormat> FormatNamed(const QString &name)
{
    for (const auto &[text, format] : Formats) {
        if (name == QStringView(text))
            return format;
    }
    return std::nullopt;
}

std::optional<AlmanacRequest> ParseRequest(const QStringList &args, QDate today, CliOutput &err)
{
    // Each given once; an empty value is given, and then an invalid date.
    std::optional<QString> single;
    std::optional<QString> from;
    std::optional<QString> to;
    std::optional<QString> formatName;
    bool lunarDays = false;
    bool huangli = false;
    const std::array<std::pair<const char *, std::optional<QString> *>, 3> options{{
        {"--from", &from}, {"--to", &to}, {"--format", &formatName}}};
    for (int i = 0; i < args.size(); ++i) {
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const auto &entry) { return args[i] == QLatin1String(entry.first); });
        if (option != options.end() && i + 1 < args.size() && !*option->second)
            *option->second = args[++i];
        else if (args[i] == u"--lunar-days" && !lunarDays)
            lunarDays = true;
        else if (args[i] == u"--huangli" && !huangli)
            huangli = true;
        else if (option == options.end() && !args[i].startsWith(u"--") && !single)
            single = args[i];
        else
            return UsageError(err);
    }
    const bool range = from || to;
    const std::optional<OutputFormat> format = FormatNamed(formatName.value_or(QStringLiteral("tsv")));
    if ((range && (!from || !to || single)) || !format || (lunarDays && format != OutputFormat::Ics)
        || (huangli && format == OutputFormat::Ics))
        return UsageError(err);
    if (!range) {
        from = single.value_or(today.toString(Qt::ISODate));
        to = from;
    }
    const std::optional<QDate> first = ParseDate(*from, err);
    const std::optional<QDate> last = first ? ParseDate(*to, err) : std::nullopt;
    if (!last)
        return std::nullopt;
    if (*first > *last) {
        err << "起始日期晚于结束日期: " << *from << " > " << *to << '\n';
        return std::nullopt;
    }
    return AlmanacRequest{*first, *last, *format, lunarDays, huangli};
}

// The rows of the days `from`..`to` in one output form, separated as the
// form asks (`first` is the first day of the whole output, which has no
// separator before it). With the columns of --huangli each day is also looked up in the
// almanac and in the holidays.
struct DayRows {
    const RowFormat &format;
    ColumnSet columns;
    const HolidayTable &holidays;

    void Append(RowBuffer &output, QDate first, QDate from, QDate to) const
    {
        for (QDate date = from; date <= to; date = date.addDays(1)) {
            if (date != first)
                output += format.between;
            HuangliDay huangli;
            if (!columns.huangli.empty())
                huangli = {DescribeDayAlmanac(date), holidays.DayOf(date)};
            format.row(output, columns, DescribeAlmanacDay(date), huangli);
        }
    }
};

// How many threads describe a range: one per core for ranges long enough
// to be worth a thread, else one.
int DescribingThreads(qint64 days)
{
    if (days < ParallelDays)
        return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, MostThreads));
}

// Describes the days and hands the rows to the output in pieces of
// PieceDays days. On several cores the pieces are described side by side,
// and written in order as each is done.
void WriteRows(const AlmanacRequest &request, const DayRows &rows, CliOutput &out)
{
    const qint64 days = request.from.daysTo(request.to) + 1;
    if (days >= LargeOutputDays)
        out.ExpectLargeOutput();
    const auto write = [&](const RowBuffer &buffer) {
        if (rows.format.terminalText)
            out.WriteText(buffer.View());
        else
            out.WriteBytes(buffer.View());
    };
    RowBuffer edge;
    rows.format.begin(edge, rows.columns);
    write(edge);
    const int pieces = int((days + PieceDays - 1) / PieceDays);
    const auto fill = [&](int piece, RowBuffer &buffer) {
        const QDate from = request.from.addDays(qint64(piece) * PieceDays);
        rows.Append(buffer, request.from, from, std::min(from.addDays(PieceDays - 1), request.to));
    };
    FillPiecesInOrder(pieces, DescribingThreads(days), fill, write);
    edge.Clear();
    edge += rows.format.end;
    write(edge);
}

} // namespace

int RunAlmanacCommand(const QStringList &args, CliStreams io)
{
    const QDate today = QDate::currentDate();
    const std::optional<AlmanacRequest> request = ParseRequest(args, today, io.err);
    if (!request)
        return 2;
    HolidayTable holidays;
    ColumnSet columns{Columns, {}};
    if (request->huangli) {
        const QString userFile = UserHolidayFilePath();
        HolidayCalendar calendar = LoadHolidayCalendar(userFile);
        for (const HolidayFileProblem &problem : calendar.problems) {
            if (problem.lineNumber > 0)
                io.err << userFile << "：";
            io.err << DescribeHolidayFileProblem(problem) << '\n';
        }
        holidays = std::move(calendar.table);
        columns.huangli = HuangliColumns;
    }
    switch (request->format) {
    case OutputFormat::Ics: {
        const AlmanacIcsRequest ics{request->from, request->to, request->lunarDays, QDateTime::currentDateTimeUtc()};
        const QByteArray text = AlmanacIcs(ics);
        io.out.WriteBytes(std::string_view(text.constData(), std::size_t(text.size())));
        break;
    }
    case OutputFormat::Json:
        WriteRows(*request, DayRows{JsonRows, columns, holidays}, io.out);
        break;
    case OutputFormat::Tsv:
        WriteRows(*request, DayRows{TsvRows, columns, holidays}, io.out);
        break;
    }
    return 0;
}
