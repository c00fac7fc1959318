#include "calendar/almanac_ics.h"

#include "calendar/day_names.h"
#include "calendar/festivals.h"
#include "calendar/lunar_date.h"
#include "calendar/solar_terms.h"

#include <QSaveFile>
#include <QString>

namespace {

constexpr int MaximumLineOctets = 75;
constexpr QByteArrayView LineEnd = "\r\n";

// Appends one content line, folded so that no line exceeds 75 octets and no
// UTF-8 character is cut: each continuation line starts with a blank.
void AppendLine(QByteArray &out, const QByteArray &line)
{
    qsizetype start = 0;
    int room = MaximumLineOctets;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        // A UTF-8 continuation byte is 10xxxxxx: back up to the character's start.
        while ((uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start);
        out += LineEnd;
        out += ' ';
        start = cut;
        room = MaximumLineOctets - 1;
    }
    out += line.mid(start);
    out += LineEnd;
}

void AppendProperty(QByteArray &out, const char *name, const QString &value)
{
    AppendLine(out, QByteArray(name) + ':' + value.toUtf8());
}

// TEXT values escape backslash, semicolon, comma and line breaks.
QString EscapedText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\' || c == u';' || c == u',')
            escaped += u'\\';
        if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else
            escaped += c;
    }
    return escaped;
}

QString BasicDate(QDate date)
{
    return date.toString(u"yyyyMMdd");
}

struct DayEvent {
    QString uidKind;      // the part of the UID after the date
    QString summary;
    QString description;  // empty for none
    QString category;
};

void AppendEvent(QByteArray &out, QDate date, const DayEvent &event, const QString &stamp)
{
    AppendLine(out, "BEGIN:VEVENT");
    AppendProperty(out, "UID", BasicDate(date) + u'-' + event.uidKind + QStringLiteral("@ravezaz"));
    AppendProperty(out, "DTSTAMP", stamp);
    AppendProperty(out, "DTSTART;VALUE=DATE", BasicDate(date));
    AppendProperty(out, "DTEND;VALUE=DATE", BasicDate(date.addDays(1)));
    AppendProperty(out, "SUMMARY", EscapedText(event.summary));
    if (!event.description.isEmpty())
        AppendProperty(out, "DESCRIPTION", EscapedText(event.description));
    AppendProperty(out, "CATEGORIES", EscapedText(event.category));
    // Festival days do not make the user busy.
    AppendLine(out, "TRANSP:TRANSPARENT");
    AppendLine(out, "END:VEVENT");
}

// 立春：太阳视黄经315°，交节时刻2009年2月4日 00:50（北京时间）
QString TermDescription(QDate date, const SolarTermOfDay &term)
{
    return QStringLiteral("%1：太阳视黄经%2°，交节时刻%3年%4月%5日 %6（北京时间）")
        .arg(term.name)
        .arg(SolarTermLongitude(term.row))
        .arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .arg(SolarTermClockText(term.minuteOfDay));
}

// The events of one day, in a fixed order: term, lunar festival, Gregorian
// festivals, lunar date.
QList<DayEvent> EventsOf(QDate date, bool lunarDays)
{
    QList<DayEvent> events;
    const SolarTermOfDay term = SolarTermOn(date);
    if (!term.name.isEmpty())
        events.append({QStringLiteral("term"), term.name, TermDescription(date, term), QStringLiteral("节气")});
    const bool convertible = IsLunarConvertible(date);
    const LunarDayInfo lunar = convertible ? DescribeLunarDay(date) : LunarDayInfo();
    if (convertible) {
        if (const LunarFestival *festival = LunarFestivalOnDate(date, lunar.lunar)) {
            const auto row = festival - LunarFestivalTable().data() + 1;
            events.append({QStringLiteral("lunar-festival-%1").arg(row), festival->name.toString(),
                           QStringLiteral("农历") + lunar.lunar.monthDayText, QStringLiteral("农历节日")});
        }
    }
    for (const GregorianFestival *festival : GregorianFestivalsOf(date)) {
        const auto row = festival - GregorianFestivalTable().data() + 1;
        events.append({QStringLiteral("festival-%1").arg(row), festival->name.toString(), {},
                       QStringLiteral("公历节日")});
    }
    if (lunarDays && convertible) {
        events.append({QStringLiteral("lunar-day"), lunar.lunar.monthDayText,
                       lunar.yearText + u' ' + lunar.lunar.monthDayText + u' ' + lunar.monthPillarText
                           + lunar.dayPillarText,
                       QStringLiteral("农历")});
    }
    return events;
}

} // namespace

QByteArray AlmanacIcs(const AlmanacIcsRequest &request)
{
    const QString stamp = request.stamp.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'");
    QByteArray out;
    AppendLine(out, "BEGIN:VCALENDAR");
    AppendLine(out, "VERSION:2.0");
    AppendLine(out, "PRODID:-//Ravezaz//Perpetual Calendar//ZH");
    AppendLine(out, "CALSCALE:GREGORIAN");
    AppendLine(out, "METHOD:PUBLISH");
    AppendProperty(out, "X-WR-CALNAME", QStringLiteral("万年历"));
    for (QDate date = request.from; date.isValid() && date <= request.to; date = date.addDays(1)) {
        for (const DayEvent &event : EventsOf(date, request.lunarDays))
            AppendEvent(out, date, event, stamp);
    }
    AppendLine(out, "END:VCALENDAR");
    return out;
}

bool WriteYearIcs(const QString &path, int year, bool lunarDays, const QDateTime &stamp)
{
    QSaveFile file(path);
    const QByteArray ics = AlmanacIcs({QDate(year, 1, 1), QDate(year, 12, 31), lunarDays, stamp});
    return file.open(QIODevice::WriteOnly) && file.write(ics) == ics.size() && file.commit();
}
