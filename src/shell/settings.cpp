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

// The stored texts of each option's values; an empty text is never set.
struct MusicText {
    MusicState state;
    const char16_t *text;
};

constexpr MusicText MusicTexts[] = {
    {MusicState::Unset, u""},
    {MusicState::Off, u"音乐关"},
    {MusicState::Background, u"音乐开"},
    {MusicState::Festival, u"节日音乐开"},
};

struct SwitchTexts {
    const char16_t *on;
    const char16_t *off;
};

constexpr SwitchTexts OnOffTexts{u"开", u"关"};
constexpr SwitchTexts YesNoTexts{u"是", u"否"};

MusicState MusicStateOf(const QString &stored)
{
    for (const MusicText &entry : MusicTexts)
        if (stored == entry.text)
            return entry.state;
    return MusicState::Off;
}

QString MusicStateText(MusicState state)
{
    for (const MusicText &entry : MusicTexts)
        if (entry.state == state)
            return QString::fromUtf16(entry.text);
    return QString();
}

// Only the exact "on" text and the exact "off" text set the option; any
// other text leaves it at its default, as a blank one does.
std::optional<bool> SwitchOf(const QString &stored, SwitchTexts texts)
{
    if (stored == texts.on)
        return true;
    if (stored == texts.off)
        return false;
    return std::nullopt;
}

QString SwitchText(std::optional<bool> value, SwitchTexts texts)
{
    return value ? QString::fromUtf16(*value ? texts.on : texts.off) : QString();
}

// Fields the file lacks are empty, so their defaults apply.
void ApplyFields(QStringList fields, Settings &settings)
{
    while (fields.size() < settingsFieldCount)
        fields.append(QString());
    for (QString &field : fields)
        field = CleanField(field);
    settings.musicState = MusicStateOf(fields[0]);
    settings.divinerName = DivinerNameOf(fields[1]);
    settings.castingSpeed = CastingSpeedOf(fields[2]);
    settings.showQuotes = SwitchOf(fields[3], OnOffTexts);
    settings.printTranslation = SwitchOf(fields[4], YesNoTexts);
    settings.todayTips = SwitchOf(fields[5], OnOffTexts);
}

} // namespace

bool ShowsQuotes(const Settings &settings)
{
    return settings.showQuotes.value_or(true);
}

bool PrintsTranslation(const Settings &settings)
{
    return settings.printTranslation.value_or(false);
}

bool AllowsTodayTips(const Settings &settings)
{
    return settings.todayTips.value_or(true);
}

void ReadSettings(QIODevice &device, Settings &settings)
{
    ApplyFields(FirstLineFields(device), settings);
}

void ReadSettings(const QString &path, Settings &settings)
{
    QFile file;
    ApplyFields(OpenRegularFile(file, path) == FileOpening::Opened ? FirstLineFields(file) : QStringList(), settings);
}

bool WriteSettings(QIODevice &device, const Settings &settings)
{
    const QStringList fields{MusicStateText(settings.musicState),
                             settings.divinerName,
                             QString::number(settings.castingSpeed),
                             SwitchText(settings.showQuotes, OnOffTexts),
                             SwitchText(settings.printTranslation, YesNoTexts),
                             SwitchText(settings.todayTips, OnOffTexts)};
    const QByteArray line = EncodeGb18030(JoinQuotedFields(fields)) + "\r\n";
    return device.write(line) == line.size();
}

SettingsWrite WriteSettings(const QString &path, const Settings &settings)
{
    QSaveFile file(path);
    // In a folder that takes no new files the file is written in place; it
    // is one short line.
    file.setDirectWriteFallback(true);
    // QSaveFile::commit() misses a failure to write out its buffer; flushing
    // first catches it.
    if (file.open(QIODevice::WriteOnly) && WriteSettings(file, settings) && file.flush() && file.commit())
        return {true, {}};
    return {false, file.errorString()};
}
