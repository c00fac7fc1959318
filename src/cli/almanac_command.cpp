#include "commands.h"

#include "almanac.h"
#include "civil_date.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace {

enum class ColumnKind {
    Text,
    Number,  // written bare in JSON; an empty value there is null
};

// Rows are assembled in a plain UTF-16 buffer and handed to the output
// stream in large pieces: over the full range, growing the stream's buffer
// row by row would cost more than describing the days.
using RowBuffer = std::u16string;
constexpr std::size_t OutputPieceSize = 1 << 12;

RowBuffer &operator+=(RowBuffer &out, const QString &text)
{
    out.append(reinterpret_cast<const char16_t *>(text.constData()), std::size_t(text.size()));
    return out;
}

struct Column {
    const char *name;
    ColumnKind kind;
    void (*append)(RowBuffer &out, const AlmanacDay &day);
};

// Decimal digits of a whole number, at least `minimumDigits` of them.
void appendNumber(RowBuffer &out, int value, int minimumDigits = 1)
{
    std::array<char16_t, 12> digits{};
    std::size_t start = digits.size();
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        digits[--start] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 || digits.size() - start < std::size_t(minimumDigits));
    if (value < 0)
        out += u'-';
    out.append(digits.data() + start, digits.size() - start);
}

void appendIsoDate(RowBuffer &out, QDate date)
{
    const CivilDate civil = CivilDateOf(date);
    appendNumber(out, civil.year, 4);
    out += u'-';
    appendNumber(out, civil.month, 2);
    out += u'-';
    appendNumber(out, civil.day, 2);
}

void appendLunarNumber(RowBuffer &out, const AlmanacDay &day, int value)
{
    if (day.inRange)
        appendNumber(out, value);
}

// The columns of both output forms, in their order.
const std::array<Column, 16> Columns{{
    {"date", ColumnKind::Text, [](RowBuffer &o, const AlmanacDay &d) { appendIsoDate(o, d.date); }},
    {"in_range", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { appendNumber(o, int(d.inRange)); }},
    {"lunar_year", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { appendLunarNumber(o, d, d.lunarDay.lunar.lunarYear); }},
    {"lunar_month", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { appendLunarNumber(o, d, d.lunarDay.lunar.lunarMonth); }},
    {"lunar_day", ColumnKind::Number, [](RowBuffer &o, const AlmanacDay &d) { appendLunarNumber(o, d, d.lunarDay.lunar.lunarDay); }},
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

constexpr auto Usage = "用法: ravezaz-cli almanac [DATE | --from DATE --to DATE] [--format tsv|json]\n";

struct AlmanacRequest {
    QDate from;
    QDate to;
    bool json = false;
};

void appendJsonString(RowBuffer &out, std::u16string_view text)
{
    out += u'"';
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        if (c < 0x20)
            out += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += u'"';
}

QString tsvHeader()
{
    QString header;
    for (const Column &column : Columns)
        header += QLatin1String(column.name) + (&column == &Columns.back() ? u'\n' : u'\t');
    return header;
}

void appendTsvRow(RowBuffer &row, const AlmanacDay &day)
{
    for (const Column &column : Columns) {
        column.append(row, day);
        row += &column == &Columns.back() ? u'\n' : u'\t';
    }
}

void appendJsonObject(RowBuffer &object, const AlmanacDay &day)
{
    RowBuffer value;
    for (const Column &column : Columns) {
        object += &column == &Columns.front() ? u'{' : u',';
        appendJsonString(object, QString::fromLatin1(column.name).toStdU16String());
        object += u':';
        value.clear();
        column.append(value, day);
        if (column.kind == ColumnKind::Text)
            appendJsonString(object, value);
        else
            object += value.empty() ? u"null" : value;
    }
    object += u'}';
}

// A date as YYYY-MM-DD inside the almanac's range, or a message for stderr.
std::optional<QDate> parseDate(const QString &text, QTextStream &err)
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

std::optional<AlmanacRequest> usageError(QTextStream &err)
{
    err << Usage;
    return std::nullopt;
}

std::optional<AlmanacRequest> parseRequest(const QStringList &args, QDate today, QTextStream &err)
{
    QString single;
    QString from;
    QString to;
    QString format = QStringLiteral("tsv");
    const std::array<std::pair<const char *, QString *>, 3> options{{
        {"--from", &from}, {"--to", &to}, {"--format", &format}}};
    for (int i = 0; i < args.size(); ++i) {
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const auto &entry) { return args[i] == QLatin1String(entry.first); });
        if (option != options.end() && i + 1 < args.size())
            *option->second = args[++i];
        else if (option == options.end() && !args[i].startsWith(u"--") && single.isEmpty())
            single = args[i];
        else
            return usageError(err);
    }
    const bool range = !from.isEmpty() || !to.isEmpty();
    if ((range && (from.isEmpty() || to.isEmpty() || !single.isEmpty()))
        || (format != u"tsv" && format != u"json"))
        return usageError(err);
    if (!range) {
        from = single.isEmpty() ? today.toString(u"yyyy-MM-dd") : single;
        to = from;
    }
    const std::optional<QDate> first = parseDate(from, err);
    const std::optional<QDate> last = first ? parseDate(to, err) : std::nullopt;
    if (!last)
        return std::nullopt;
    if (*first > *last) {
        err << "起始日期晚于结束日期: " << from << " > " << to << '\n';
        return std::nullopt;
    }
    return AlmanacRequest{*first, *last, format == u"json"};
}

} // namespace

int RunAlmanacCommand(const QStringList &args, CliStreams io)
{
    const QDate today = QDate::currentDate();
    const std::optional<AlmanacRequest> request = parseRequest(args, today, io.err);
    if (!request)
        return 2;
    RowBuffer output;
    output.reserve(OutputPieceSize + OutputPieceSize / 4);
    output += request->json ? QStringLiteral("[") : tsvHeader();
    for (QDate date = request->from; date <= request->to; date = date.addDays(1)) {
        const AlmanacDay day = DescribeAlmanacDay(date, today);
        if (request->json) {
            output += date == request->from ? u"\n" : u",\n";
            appendJsonObject(output, day);
        } else {
            appendTsvRow(output, day);
        }
        if (output.size() >= OutputPieceSize || date == request->to) {
            io.out << QStringView(output.data(), qsizetype(output.size()));
            output.clear();
        }
    }
    if (request->json)
        io.out << "\n]\n";
    return 0;
}
