#include "texts/hexagram_texts.h"

#include <QFile>
#include <QStringList>

#include <array>

namespace {

constexpr int entryCount = 64;
using Entries = std::array<QString, entryCount>;

// The data files hold the entries as UTF-8 with LF line ends, each entry
// after a line "=== N" and followed by one LF that is not part of it. The
// program's texts use CR LF.
Entries ReadEntries(const QString &resource)
{
    Entries entries;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QString all = QString::fromUtf8(file.readAll());
    const QStringList chunks = all.split(QStringLiteral("=== "), Qt::SkipEmptyParts);
    for (const QString &chunk : chunks) {
        const qsizetype headEnd = chunk.indexOf(u'\n');
        if (headEnd < 0)
            continue;
        bool ok = false;
        const int number = chunk.first(headEnd).trimmed().toInt(&ok);
        if (!ok || number < 1 || number > entryCount)
            continue;
        QString body = chunk.sliced(headEnd + 1);
        if (body.endsWith(u'\n'))
            body.chop(1);
        body.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        entries[number - 1] = body;
    }
    return entries;
}

QString EntryOf(const Entries &entries, int number)
{
    if (number < 1 || number > entryCount)
        return {};
    return entries[number - 1];
}

constexpr std::array<char16_t, 9> digits{u'一', u'二', u'三', u'四', u'五', u'六', u'七', u'八', u'九'};
constexpr std::array<char16_t, 6> positions{u'初', u'二', u'三', u'四', u'五', u'上'};

} // namespace

QString HexagramText(int number)
{
    // The classical entries end with CR LF, so an empty line closes them.
    static const Entries entries = [] {
        Entries read = ReadEntries(QStringLiteral(":/texts/hexagram-texts.txt"));
        for (QString &entry : read)
            entry += u"\r\n";
        return read;
    }();
    return EntryOf(entries, number);
}

QString HexagramTranslation(int number)
{
    static const Entries entries = ReadEntries(QStringLiteral(":/texts/hexagram-translations.txt"));
    return EntryOf(entries, number);
}

QString LineLabel(QStringView lines, int line)
{
    if (line < 1 || line > lines.size() || line > 6)
        return {};
    const QChar digit = lines[line - 1];
    if (digit != u'0' && digit != u'1')
        return {};
    const QChar numberWord = digit == u'1' ? u'九' : u'六';
    const QChar positionWord = positions[line - 1];
    if (line == 1 || line == 6)
        return QString(positionWord) + numberWord;
    return QString(numberWord) + positionWord;
}

QString ChineseNumeral(int number)
{
    if (number < 1 || number > entryCount)
        return {};
    const int tens = number / 10;
    const int units = number % 10;
    QString numeral;
    if (tens > 1)
        numeral += digits[tens - 1];
    if (tens > 0)
        numeral += u'十';
    if (units > 0)
        numeral += digits[units - 1];
    return numeral;
}
