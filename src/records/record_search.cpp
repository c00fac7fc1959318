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

// Tells whether a stored line holds the text in a searched field. The
// stored encoding gives a character the same bytes wherever it stands, and
// capitals are made small alike on both sides, so every record that holds
// the text also holds its lowered bytes. The bytes may also stand elsewhere
// in the line (a label, the time) or across two characters, so a line found
// by its bytes is then checked field by field; only those lines are decoded.
class LineMatcher {
public:
    explicit LineMatcher(QStringView text)
        : text_(AsciiLowered(text))
        // U+FFFD stands for bytes that are no character, which its own bytes
        // never match: a text holding it is looked for in every line.
        , byBytes_(!text_.contains(QChar::ReplacementCharacter))
        , bytes_(EncodeGbk(text_))
    {
        std::transform(bytes_.cbegin(), bytes_.cend(), bytes_.begin(), [](char byte) { return AsciiLowered(byte); });
    }

    bool Holds(const QByteArray &line)
    {
        return (!byBytes_ || BytesHold(line)) && HoldsLoweredText(ParseRecordLine(DecodeGbk(line)), text_);
    }

private:
    bool BytesHold(const QByteArray &line)
    {
        lowered_.resize(line.size());
        std::transform(line.cbegin(), line.cend(), lowered_.begin(), [](char byte) { return AsciiLowered(byte); });
        return ::memmem(lowered_.constData(), size_t(lowered_.size()), bytes_.constData(), size_t(bytes_.size())) !=
               nullptr;
    }

    const QString text_;
    const bool byBytes_;
    QByteArray bytes_;
    QByteArray lowered_;
};

RecordFileStatus StatusOf(FileOpening opening)
{
    return opening == FileOpening::NotRegular ? RecordFileStatus::NotRecordFile : RecordFileStatus::FileUnreadable;
}

} // namespace

bool RecordHoldsText(const DivinationRecord &record, QStringView text)
{
    return !text.isEmpty() && HoldsLoweredText(record, AsciiLowered(text));
}

RecordSearch FindRecords(const QString &path, QStringView text)
{
    QFile file;
    if (const FileOpening opening = OpenRegularFile(file, path); opening != FileOpening::Opened)
        return {StatusOf(opening), {}};
    RecordSearch search{RecordFileStatus::Done, {}};
    if (text.isEmpty())
        return search;
    LineMatcher matcher(text);
    LineScanner scanner(file);
    QByteArray line;
    for (qint64 number = 1; scanner.ReadLine(line); ++number) {
        if (matcher.Holds(line))
            search.numbers.append(number);
    }
    if (scanner.Failed())
        return {RecordFileStatus::FileUnreadable, {}};
    return search;
}

NextRecordSearch FindNextRecord(const QString &path, QStringView text, qint64 after)
{
    QFile file;
    if (const FileOpening opening = OpenRegularFile(file, path); opening != FileOpening::Opened)
        return {StatusOf(opening), {}};
    if (text.isEmpty())
        return {RecordFileStatus::Done, {}};
    LineMatcher matcher(text);
    LineScanner scanner(file);
    QByteArray line;
    std::optional<qint64> first;
    for (qint64 number = 1; scanner.ReadLine(line); ++number) {
        if (number > after && matcher.Holds(line))
            return {RecordFileStatus::Done, number};
        // Up to `after` only the first record that holds the text counts, the
        // one the search wraps round to; the lines after it are skipped.
        if (number <= after && !first && matcher.Holds(line)) {
            first = number;
            number += scanner.SkipLines(after - number);
        }
    }
    if (scanner.Failed())
        return {RecordFileStatus::FileUnreadable, {}};
    return {RecordFileStatus::Done, first};
}
