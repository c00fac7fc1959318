#include "shell/settings.h"

#include "fileformat/gbk_codec.h"
#include "fileformat/line_scanner.h"
#include "fileformat/quoted_fields.h"
#include "fileformat/regular_file.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr int settingsFieldCount = 6;
constexpr int defaultCastingSpeed = 3;

QString DefaultDivinerName()
{
    return QStringLiteral("某官");
}

// The fields of the first line. A line break pasted into the name by an
// earlier version split the line inside a quoted field; the lines after it
// are joined on while the fields are short and the text read so far ends
// inside a quoted field, so the options after the name are not lost.
// Control characters left in a field become spaces.
QStringList FirstLineFields(QIODevice &device)
{
    LineScanner scanner(device);
    QString text;
    QByteArray line;
    QuotedFieldSplit split;
    while (scanner.ReadLine(line)) {
        text += DecodeGbk(line);
        split = SplitQuotedFieldsOf(text);
        if (split.fields.size() >= settingsFieldCount || !split.lastFieldOpen || text.size() > LongestStoredLine)
            break;
    }
    QStringList &fields = split.fields;
    for (QString &field : fields)
        field = FoldControlCharacters(field);
    return fields;
}

// A field holding bytes that are not GBK (read as U+FFFD) is damaged and
// counts as never set, so its default applies and is written back.
QString CleanField(const QString &field)
{
    return field.contains(QChar::ReplacementCharacter) ? QString() : field;
}

QString DivinerNameOf(const QString &stored)
{
    return stored.trimmed().isEmpty() ? DefaultDivinerName() : stored;
}

// A speed outside 1..5 is kept as stored; the casting window deals with it.
int CastingSpeedOf(const QString &stored)
{
    bool ok = false;
    const short speed = stored.trimmed().toShort(&ok);
    return ok ? speed : defaultCastingSpeed;
}

// Fields the file lacks are empty, so their defaults apply.
void ApplyFields(QStringList fields, Settings &settings, CurrentCast &cast)
{
    while (fields.size() < settingsFieldCount)
        fields.append(QString());
    for (QString &field : fields)
        field = CleanField(field);
    settings.musicState = fields[0];
    cast.divinerName = DivinerNameOf(fields[1]);
    cast.castingSpeed = CastingSpeedOf(fields[2]);
    settings.showQuotes = fields[3];
    settings.printTranslation = fields[4];
    settings.todayTips = fields[5];
}

} // namespace

Settings &TheSettings()
{
    static Settings settings;
    return settings;
}

bool ShowsQuotes(const Settings &settings)
{
    return settings.showQuotes != u"关";
}

bool PrintsTranslation(const Settings &settings)
{
    return settings.printTranslation == u"是";
}

bool AllowsTodayTips(const Settings &settings)
{
    return settings.todayTips != u"关";
}

void ReadSettings(QIODevice &device, Settings &settings, CurrentCast &cast)
{
    ApplyFields(FirstLineFields(device), settings, cast);
}

void ReadSettings(const QString &path, Settings &settings, CurrentCast &cast)
{
    QFile file;
    ApplyFields(OpenRegularFile(file, path) == FileOpening::Opened ? FirstLineFields(file) : QStringList(), settings,
                cast);
}

bool WriteSettings(QIODevice &device, const Settings &settings, const CurrentCast &cast)
{
    const QStringList fields{settings.musicState, cast.divinerName,         QString::number(cast.castingSpeed),
                             settings.showQuotes, settings.printTranslation, settings.todayTips};
    const QByteArray line = EncodeGbk(JoinQuotedFields(fields)) + "\r\n";
    return device.write(line) == line.size();
}

bool WriteSettings(const QString &path, const Settings &settings, const CurrentCast &cast)
{
    QSaveFile file(path);
    // In a folder that takes no new files the file is written in place; it
    // is one short line.
    file.setDirectWriteFallback(true);
    // QSaveFile::commit() misses a failure to write out its buffer; flushing
    // first catches it.
    return file.open(QIODevice::WriteOnly) && WriteSettings(file, settings, cast) && file.flush() && file.commit();
}
