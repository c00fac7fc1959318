#include "calendar/almanac.h"
#include "calendar/almanac_ics.h"
#include "calendar/civil_date.h"
#include "calendar/day_almanac.h"
#include "calendar/holidays.h"
#include "cli/commands.h"

#include <QIODevice>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace {

enum class ColumnKind {
    Text,
    Number,         // written bare in JSON; an empty value there is null
    NumberOrBlank,  // written bare in JSON; an empty value there is ""
    Words,          // words separated by blanks; an array of strings in JSON
};

// Rows are assembled as UTF-8 in a plain buffer and written to the output
// device in large pieces: over the full range, converting and buffering row
// by row through a text stream would cost more than describing the days.
using RowBuffer = std::string;
constexpr std::size_t OutputPieceSize = 1 << 16;

// UTF-8 of a text, written through a pointer into room made beforehand: at
// most three bytes per UTF-16 unit. The texts are mostly Chinese, so the
// three-byte form is tested before the rarer ones.
RowBuffer &operator+=(RowBuffer &out, QStringView text)
{
    const std::size_t start = out.size();
    out.resize(start + 3 * std::size_t(text.size()));
    char *end = out.data() + start;
    const char16_t *unit = text.utf16();
    const char16_t *const last = unit + text.size();
    for (; unit != last; ++unit) {
        const char32_t c = *unit;
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            end[0] = char(0xE0 | (c >> 12));
            end[1] = char(0x80 | ((c >> 6) & 0x3F));
            end[2] = char(0x80 | (c & 0x3F));
            end += 3;
        } else if (c < 0x80) {
            *end++ = char(c);
        } else if (c < 0x800) {
            end[0] = char(0xC0 | (c >> 6));
            end[1] = char(0x80 | (c & 0x3F));
            end += 2;
        } else if (QChar::isHighSurrogate(c) && unit + 1 != last && QChar::isLowSurrogate(unit[1])) {
            const char32_t code = QChar::surrogateToUcs4(char16_t(c), *++unit);
            end[0] = char(0xF0 | (code >> 18));
            end[1] = char(0x80 | ((code >> 12) & 0x3F));
            end[2] = char(0x80 | ((code >> 6) & 0x3F));
            end[3] = char(0x80 | (code & 0x3F));
            end += 4;
        } else {
            // A lone surrogate becomes U+FFFD.
            end[0] = char(0xEF);
            end[1] = char(0xBF);
            end[2] = char(0xBD);
            end += 3;
        }
    }
    out.resize(std::size_t(end - out.data()));
    return out;
}

// Hands UTF-8 bytes to the stream's device, after whatever the stream holds.
void WriteBytes(QTextStream &out, std::string_view bytes)
{
    out.flush();
    if (QIODevice *device = out.device())
        device->write(bytes.data(), qint64(bytes.size()));
    else
        out << QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

template <typename Day>
struct Column {
    const char *name;
    ColumnKind kind;
    void (*append)(RowBuffer &out, const Day &day);
};

// Decimal digits of a whole number, at least `minimumDigits` of them.
void AppendNumber(RowBuffer &out, int value, int minimumDigits = 1)
{
    char digits[12];
    char *const stop = digits + sizeof digits;
    char *first = stop;
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        *--first = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 || stop - first < minimumDigits);
    if (value < 0)
        *--first = '-';
    out.append(first, std::size_t(stop - first));
}

void AppendIsoDate(RowBuffer &out, QDate date)
{
    const CivilDate civil = CivilDateOf(date);
    AppendNumber(out, civil.year, 4);
    out += '-';
    AppendNumber(out, civil.month, 2);
    out += '-';
    AppendNumber(out, civil.day, 2);
}

void AppendLunarNumber(RowBuffer &out, const AlmanacDay &day, int value)
{
    if (day.inRange)
        AppendNumber(out, value);
}

// The columns of both output forms, in their order.
const std::array<Column<AlmanacDay>, 16> Columns{{
    {"date", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { AppendIsoDate(o, d.date); }},
    {"in_range", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { AppendNumber(o, int(d.inRange)); }},
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

// What --huangli adds to a day: the day almanac, empty before its first
// day, and the public holiday the day belongs to.
struct HuangliDay {
    std::optional<DayAlmanac> almanac;
    std::optional<HolidayDay> holiday;
};

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
             AppendNumber(o, int(d.holiday->workday));
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

void AppendJsonValue(RowBuffer &out, ColumnKind kind, std::string_view value)
{
    switch (kind) {
    case ColumnKind::Text:
        AppendJsonString(out, value);
        break;
    case ColumnKind::Number:
        out += value.empty() ? "null" : value;
        break;
    case ColumnKind::NumberOrBlank:
        out += value.empty() ? "\"\"" : value;
        break;
    case ColumnKind::Words:
        AppendJsonWords(out, value);
        break;
    }
}

// The header line of the columns in use: every line ends with the columns of
// --huangli when they are asked for.
RowBuffer TsvHeader(bool huangli)
{
    RowBuffer header;
    const auto appendNames = [&header](const auto &columns) {
        for (const auto &column : columns) {
            header += '\t';
            header += column.name;
        }
    };
    appendNames(Columns);
    if (huangli)
        appendNames(HuangliColumns);
    header.erase(0, 1);
    header += '\n';
    return header;
}

template <typename Day, std::size_t Count>
void AppendTsvCells(RowBuffer &row, const std::array<Column<Day>, Count> &columns, const Day &day)
{
    for (const Column<Day> &column : columns) {
        if (&column != &columns.front())
            row += '\t';
        column.append(row, day);
    }
}

template <typename Day, std::size_t Count>
void AppendJsonMembers(RowBuffer &object, RowBuffer &value, const std::array<Column<Day>, Count> &columns,
                       const Day &day)
{
    for (const Column<Day> &column : columns) {
        object += object.back() == '{' ? "" : ",";
        AppendJsonString(object, column.name);
        object += ':';
        value.clear();
        column.append(value, day);
        AppendJsonValue(object, column.kind, value);
    }
}

// A date as YYYY-MM-DD inside the almanac's range, or a message for stderr.
std::optional<QDate> ParseDate(const QString &text, QTextStream &err)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate date = shape.match(text).hasMatch() ? QDate::fromString(text, u"yyyy-MM-dd") : QDate();
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

std::optional<AlmanacRequest> UsageError(QTextStream &err)
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

std::optional<AlmanacRequest> ParseRequest(const QStringList &args, QDate today, QTextStream &err)
{
    QString single;
    QString from;
    QString to;
    QString formatName = QStringLiteral("tsv");
    bool lunarDays = false;
    bool huangli = false;
    const std::array<std::pair<const char *, QString *>, 3> options{{
        {"--from", &from}, {"--to", &to}, {"--format", &formatName}}};
    for (int i = 0; i < args.size(); ++i) {
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const auto &entry) { return args[i] == QLatin1String(entry.first); });
        if (option != options.end() && i + 1 < args.size())
            *option->second = args[++i];
        else if (args[i] == u"--lunar-days" && !lunarDays)
            lunarDays = true;
        else if (args[i] == u"--huangli" && !huangli)
            huangli = true;
        else if (option == options.end() && !args[i].startsWith(u"--") && single.isEmpty())
            single = args[i];
        else
            return UsageError(err);
    }
    const bool range = !from.isEmpty() || !to.isEmpty();
    const std::optional<OutputFormat> format = FormatNamed(formatName);
    if ((range && (from.isEmpty() || to.isEmpty() || !single.isEmpty())) || !format
        || (lunarDays && format != OutputFormat::Ics) || (huangli && format == OutputFormat::Ics))
        return UsageError(err);
    if (!range) {
        from = single.isEmpty() ? today.toString(u"yyyy-MM-dd") : single;
        to = from;
    }
    const std::optional<QDate> first = ParseDate(from, err);
    const std::optional<QDate> last = first ? ParseDate(to, err) : std::nullopt;
    if (!last)
        return std::nullopt;
    if (*first > *last) {
        err << "起始日期晚于结束日期: " << from << " > " << to << '\n';
        return std::nullopt;
    }
    return AlmanacRequest{*first, *last, *format, lunarDays, huangli};
}

void WriteRows(const AlmanacRequest &request, const HolidayTable &holidays, QDate today, QTextStream &out)
{
    const bool json = request.format == OutputFormat::Json;
    RowBuffer output;
    RowBuffer value;
    output.reserve(OutputPieceSize + OutputPieceSize / 4);
    output += json ? RowBuffer("[") : TsvHeader(request.huangli);
    for (QDate date = request.from; date <= request.to; date = date.addDays(1)) {
        const AlmanacDay day = DescribeAlmanacDay(date, today);
        HuangliDay huangli;
        if (request.huangli)
            huangli = {DescribeDayAlmanac(date), holidays.DayOf(date)};
        if (json) {
            output += date == request.from ? "\n{" : ",\n{";
            AppendJsonMembers(output, value, Columns, day);
            if (request.huangli)
                AppendJsonMembers(output, value, HuangliColumns, huangli);
            output += '}';
        } else {
            AppendTsvCells(output, Columns, day);
            if (request.huangli) {
                output += '\t';
                AppendTsvCells(output, HuangliColumns, huangli);
            }
            output += '\n';
        }
        if (output.size() >= OutputPieceSize || date == request.to) {
            WriteBytes(out, output);
            output.clear();
        }
    }
    if (json)
        WriteBytes(out, "\n]\n");
}

} // namespace

int RunAlmanacCommand(const QStringList &args, CliStreams io)
{
    const QDate today = QDate::currentDate();
    const std::optional<AlmanacRequest> request = ParseRequest(args, today, io.err);
    if (!request)
        return 2;
    if (request->format == OutputFormat::Ics) {
        const AlmanacIcsRequest ics{request->from, request->to, request->lunarDays, QDateTime::currentDateTimeUtc()};
        const QByteArray text = AlmanacIcs(ics);
        WriteBytes(io.out, std::string_view(text.constData(), std::size_t(text.size())));
    } else if (request->huangli) {
        const QString userFile = UserHolidayFilePath();
        const HolidayCalendar holidays = LoadHolidayCalendar(userFile);
        for (const HolidayFileProblem &problem : holidays.problems) {
            if (problem.lineNumber > 0)
                io.err << userFile << "：";
            io.err << DescribeHolidayFileProblem(problem) << '\n';
        }
        io.err.flush();
        WriteRows(*request, holidays.table, today, io.out);
    } else {
        WriteRows(*request, HolidayTable(), today, io.out);
    }
    return 0;
}
