#include "records/record_search.h"

#include "fileformat/gbk_codec.h"
#include "fileformat/line_scanner.h"
#include "fileformat/quoted_fields.h"
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

bool HasAsciiCapital(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar character) { return character >= u'A' && character <= u'Z'; });
}

// `lowered` is the searched text with its Latin capitals made small.
bool FieldHoldsLoweredText(QStringView field, const QString &lowered)
{
    return HasAsciiCapital(field) ? AsciiLowered(field).contains(lowered) : field.contains(lowered);
}

bool HoldsLoweredText(const DivinationRecord &record, const QString &lowered)
{
    return std::any_of(searchedFields.begin(), searchedFields.end(),
                       [&](QString DivinationRecord::*field) { return FieldHoldsLoweredText(record.*field, lowered); });
}

// Where the searched fields stand among the fields of a stored line.
const std::array<int, searchedFields.size()> &SearchedFieldIndices()
{
    static const std::array<int, searchedFields.size()> indices = [] {
        std::array<int, searchedFields.size()> found{};
        for (std::size_t i = 0; i < searchedFields.size(); ++i) {
            const auto &fields = RecordFields();
            found[i] = int(std::find_if(fields.begin(), fields.end(),
                                        [&](const RecordField &field) { return field.member == searchedFields[i]; })
                           - fields.begin());
        }
        return found;
    }();
    return indices;
}

// Tells whether a stored line holds the text in a searched field. The
// stored encoding gives a character the same bytes wherever it stands, and
// capitals are made small alike on both sides, so a field holding the text
// holds its bytes, unless a label taken out of the middle of the field joined
// the text's two halves. The bytes may also stand elsewhere in the line (a
// label, the time) or across two characters. Only a line that holds the
// bytes, or has a label inside a searched field, is decoded and checked
// field by field.
class LineMatcher {
public:
    explicit LineMatcher(QStringView text)
        : text_(AsciiLowered(text))
        // A text whose bytes do not give it back has no bytes to look for and
        // is looked for in every line: U+FFFD, which stands for bytes that are
        // no character, and half of a character outside the basic plane.
        , byBytes_(!text_.contains(QChar::ReplacementCharacter) && DecodeGbk(EncodeGb18030(text_)) == text_)
        // A text without Latin letters matches the same bytes whatever case
        // the line's letters are in, so the line need not be lowered.
        , lowersLine_(std::any_of(text_.begin(), text_.end(), [](QChar c) { return c >= u'a' && c <= u'z'; }))
        , bytes_(EncodeGb18030(text_))
    {
        // The second byte of a GBK character may be a Latin capital's byte;
        // both sides are lowered alike, or neither is.
        if (lowersLine_)
            std::transform(bytes_.cbegin(), bytes_.cend(), bytes_.begin(), [](char byte) { return AsciiLowered(byte); });
        for (const int index : SearchedFieldIndices()) {
            if (const QStringView label = RecordFields()[index].label; !label.isEmpty()) {
                labels_.append({index, EncodeGb18030(label)});
                labelledFieldCount_ = std::max(labelledFieldCount_, qsizetype(index) + 1);
            }
        }
    }

    bool Holds(const QByteArray &line)
    {
        return (!byBytes_ || BytesHold(line) || HasLabelInsideField(line)) && TextHolds(DecodeGbk(line));
    }

private:
    struct FieldLabel {
        int index;
        QByteArray bytes;
    };

    // As HoldsLoweredText on the parsed line, reading only the searched
    // fields. A label that opens its field is skipped; a field is copied
    // only to take out a label that stands further in.
    bool TextHolds(QStringView line)
    {
        FindQuotedFieldSpans(line, RecordFieldCount, spans_);
        for (const int index : SearchedFieldIndices()) {
            if (index < spans_.size() && FieldHolds(FieldText(line, spans_[index]), RecordFields()[index].label))
                return true;
        }
        return false;
    }

    bool FieldHolds(QStringView field, QStringView label) const
    {
        if (label.isEmpty())
            return FieldHoldsLoweredText(field, text_);
        const QStringView value = field.startsWith(label) ? field.sliced(label.size()) : field;
        return value.contains(label) ? FieldHoldsLoweredText(field.toString().remove(label.toString()), text_)
                                     : FieldHoldsLoweredText(value, text_);
    }

    // A field's label is taken out wherever it stands; one that does not
    // open its field may join text the bytes do not hold.
    bool HasLabelInsideField(const QByteArray &line)
    {
        FindQuotedFieldSpans(line, labelledFieldCount_, spans_);
        return std::any_of(labels_.cbegin(), labels_.cend(), [&](const FieldLabel &label) {
            if (label.index >= spans_.size())
                return false;
            const QuotedFieldSpan &span = spans_[label.index];
            const QByteArrayView field(line.constData() + span.begin, span.end - span.begin);
            return field.size() > 1
                && ::memmem(field.data() + 1, size_t(field.size() - 1), label.bytes.constData(), size_t(label.bytes.size()))
                != nullptr;
        });
    }

    bool BytesHold(const QByteArray &line)
    {
        const QByteArray *searched = &line;
        if (lowersLine_) {
            lowered_.resize(line.size());
            std::transform(line.cbegin(), line.cend(), lowered_.begin(), [](char byte) { return AsciiLowered(byte); });
            searched = &lowered_;
        }
        return ::memmem(searched->constData(), size_t(searched->size()), bytes_.constData(), size_t(bytes_.size()))
            != nullptr;
    }

    const QString text_;
    const bool byBytes_;
    const bool lowersLine_;
    QByteArray bytes_;
    QList<FieldLabel> labels_;
    // The fields up to the last one with a label.
    qsizetype labelledFieldCount_ = 0;
    QList<QuotedFieldSpan> spans_;
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
