#include "records/record_search.h"

#include "fileformat/gbk_codec.h"
#include "fileformat/line_scanner.h"
#include "fileformat/regular_file.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::array searchedFields{
    &DivinationRecord::divinerName,
    &DivinationRecord::matterText,
    &DivinationRecord::primaryName,
    &DivinationRecord::resultingName,
};

char AsciiLowered(char byte)
{
    return byte >= 'A' && byte <= 'Z' ? char(byte - 'A' + 'a') : byte;
}

QString AsciiLowered(QStringView text)
{
    QString lowered = text.toString();
    for (QChar &character : lowered) {
        if (character >= u'A' && character <= u'Z')
            character = QChar(character.unicode() - u'A' + u'a');
    }
    return lowered;
}

// `lowered` is the searched text with its Latin capitals made small.
bool HoldsLoweredText(const DivinationRecord &record, const QString &lowered)
{
    return std::any_of(searchedFields.begin(), searchedFields.end(),
                       [&](QString DivinationRecord::*field) { return AsciiLowered(record.*field).contains(lowered); });
}

// The stored encoding gives a character the same bytes wherever it stands,
// and capitals are made small alike on both sides, so every record that
// holds the text also holds its lowered bytes. The bytes may also stand
// elsewhere in the line (a label, the time) or across two characters, so a
// line found by its bytes is then checked field by field.
bool BytesHold(const QByteArray &line, QByteArray &lowered, const QByteArray &wanted)
{
    lowered.resize(line.size());
    std::transform(line.cbegin(), line.cend(), lowered.begin(), [](char byte) { return AsciiLowered(byte); });
    return ::memmem(lowered.constData(), size_t(lowered.size()), wanted.constData(), size_t(wanted.size())) != nullptr;
}

} // namespace

bool RecordHoldsText(const DivinationRecord &record, QStringView text)
{
    return !text.isEmpty() && HoldsLoweredText(record, AsciiLowered(text));
}

RecordSearch FindRecords(const QString &path, QStringView text)
{
    QFile file;
    const FileOpening opening = OpenRegularFile(file, path);
    if (opening != FileOpening::Opened)
        return {opening == FileOpening::NotRegular ? RecordFileStatus::NotRecordFile : RecordFileStatus::FileUnreadable,
                {}};
    RecordSearch search{RecordFileStatus::Done, {}};
    if (text.isEmpty())
        return search;
    const QString loweredText = AsciiLowered(text);
    // U+FFFD stands for bytes that are no character, which its own bytes
    // never match: a text holding it is looked for in every line.
    const bool byBytes = !loweredText.contains(QChar::ReplacementCharacter);
    QByteArray wanted = EncodeGbk(loweredText);
    std::transform(wanted.cbegin(), wanted.cend(), wanted.begin(), [](char byte) { return AsciiLowered(byte); });

    LineScanner scanner(file);
    QByteArray line;
    QByteArray lowered;
    for (qint64 number = 1; scanner.ReadLine(line); ++number) {
        if ((!byBytes || BytesHold(line, lowered, wanted)) && HoldsLoweredText(ParseRecordLine(DecodeGbk(line)), loweredText))
            search.numbers.append(number);
    }
    if (scanner.Failed())
        return {RecordFileStatus::FileUnreadable, {}};
    return search;
}

std::optional<qint64> NextFoundRecord(const QList<qint64> &found, qint64 after)
{
    if (found.isEmpty())
        return std::nullopt;
    const auto next = std::upper_bound(found.cbegin(), found.cend(), after);
    return next != found.cend() ? *next : found.constFirst();
}
