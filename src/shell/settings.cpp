#include "settings.h"

#include "gbk_codec.h"
#include "quoted_fields.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr int settingsFieldCount = 6;
// The file is one short line; anything past this is no settings file.
constexpr qint64 longestLine = 64 * 1024;
constexpr int defaultCastingSpeed = 3;

QString defaultDivinerName()
{
    return QStringLiteral("某官");
}

QStringList firstLineFields(QIODevice &device)
{
    QByteArray bytes = device.read(longestLine);
    const qsizetype lineEnd = bytes.indexOf('\n');
    if (lineEnd >= 0)
        bytes.truncate(lineEnd);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return SplitQuotedFields(DecodeGbk(bytes));
}

QString divinerNameOf(const QString &stored)
{
    return stored.trimmed().isEmpty() ? defaultDivinerName() : stored;
}

// A speed outside 1..5 is kept as stored; the casting window deals with it.
int castingSpeedOf(const QString &stored)
{
    bool ok = false;
    const short speed = stored.trimmed().toShort(&ok);
    return ok ? speed : defaultCastingSpeed;
}

// Fields the file lacks are empty, so their defaults apply.
void applyFields(QStringList fields, Settings &settings, CurrentCast &cast)
{
    while (fields.size() < settingsFieldCount)
        fields.append(QString());
    settings.musicState = fields[0];
    cast.divinerName = divinerNameOf(fields[1]);
    cast.castingSpeed = castingSpeedOf(fields[2]);
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
    applyFields(firstLineFields(device), settings, cast);
}

void ReadSettings(const QString &path, Settings &settings, CurrentCast &cast)
{
    QFile file(path);
    applyFields(file.open(QIODevice::ReadOnly) ? firstLineFields(file) : QStringList(), settings, cast);
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
    // QSaveFile::commit() misses a failure to write out its buffer; flushing
    // first catches it.
    return file.open(QIODevice::WriteOnly) && WriteSettings(file, settings, cast) && file.flush() && file.commit();
}
