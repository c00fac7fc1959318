#include "fileformat/quoted_fields.h"

#include <type_traits>

namespace {

constexpr QChar fieldQuote = u'"';
constexpr QChar fieldSeparator = u',';
constexpr QChar storedQuote = u'\u201C';

// The character type of a line: QChar for text, char for stored bytes.
template <typename Line>
using CharOf = std::remove_cv_t<typename Line::value_type>;

template <typename Line>
constexpr CharOf<Line> quoteOf = CharOf<Line>(fieldQuote.unicode());

template <typename Line>
constexpr CharOf<Line> separatorOf = CharOf<Line>(fieldSeparator.unicode());

template <typename Char>
bool IsBlank(Char c)
{
    return c == Char(u' ') || c == Char(u'\t');
}

template <typename Line>
qsizetype SkipBlanks(Line line, qsizetype at)
{
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return at;
}

// Position of the quote that closes a quoted field whose text starts at
// `from`, or -1 when the field never closes.
template <typename Line>
qsizetype ClosingQuote(Line line, qsizetype from)
{
    for (qsizetype at = line.indexOf(quoteOf<Line>, from); at >= 0; at = line.indexOf(quoteOf<Line>, at + 1)) {
        const qsizetype next = SkipBlanks(line, at + 1);
        if (next == line.size() || line[next] == separatorOf<Line>)
            return at;
    }
    return -1;
}

// Calls `take(span)` for each field of the line, until it returns false, and
// tells whether the last field taken is a quoted one that never closed.
template <typename Line, typename Take>
bool ForEachFieldSpan(Line line, Take take)
{
    qsizetype at = 0;
    for (;;) {
        at = SkipBlanks(line, at);
        qsizetype next;
        bool lastFieldOpen = false;
        if (at < line.size() && line[at] == quoteOf<Line>) {
            const qsizetype close = ClosingQuote(line, at + 1);
            lastFieldOpen = close < 0;
            if (!take(QuotedFieldSpan{at + 1, close < 0 ? line.size() : close, true}))
                return lastFieldOpen;
            next = close < 0 ? line.size() : line.indexOf(separatorOf<Line>, close);
        } else {
            next = line.indexOf(separatorOf<Line>, at);
            if (!take(QuotedFieldSpan{at, next < 0 ? line.size() : next, false}))
                return false;
        }
        if (next < 0 || next >= line.size())
            return lastFieldOpen;
        at = next + 1;
    }
}

// Half of a character written as a surrogate pair, without its other half.
bool IsLoneSurrogate(QStringView text, qsizetype at)
{
    if (text[at].isHighSurrogate())
        return at + 1 == text.size() || !text[at + 1].isLowSurrogate();
    if (text[at].isLowSurrogate())
        return at == 0 || !text[at - 1].isHighSurrogate();
    return false;
}

// Characters that act on the terminal or the layout instead of being seen:
// controls, format characters (U+200B zero width space, U+202E right-to-left
// override) and the line and paragraph separators.
bool ActsOnLayout(char32_t character)
{
    switch (QChar::category(character)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

template <typename Line>
void CollectFieldSpans(Line line, qsizetype count, QList<QuotedFieldSpan> &spans)
{
    spans.clear();
    ForEachFieldSpan(line, [&](const QuotedFieldSpan &span) {
        spans.append(span);
        return spans.size() < count;
    });
}

} // namespace

QString FoldControlCharacters(QStringView text)
{
    QString folded;
    folded.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (IsLoneSurrogate(text, at))
            continue;
        folded += text[at].category() == QChar::Other_Control ? QChar(u' ') : text[at];
    }
    return folded;
}

QString ControlsShown(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length =
            text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
        const char32_t character = length == 2 ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
        if (ActsOnLayout(character))
            shown += QChar::ReplacementCharacter;
        else
            shown += text.sliced(at, length);
        at += length;
    }
    return shown;
}

QString JoinQuotedFields(const QStringList &fields)
{
    QString line;
    for (const QString &field : fields) {
        if (!line.isEmpty())
            line += fieldSeparator;
        line += fieldQuote;
        line += FoldControlCharacters(field).replace(fieldQuote, storedQuote);
        line += fieldQuote;
    }
    return line;
}

QStringList SplitQuotedFields(QStringView line)
{
    return SplitQuotedFieldsOf(line).fields;
}

QuotedFieldSplit SplitQuotedFieldsOf(QStringView line)
{
    QuotedFieldSplit split;
    split.lastFieldOpen = ForEachFieldSpan(line, [&](const QuotedFieldSpan &span) {
        split.fields.append(FieldText(line, span).toString());
        return true;
    });
    return split;
}

QStringView FieldText(QStringView line, const QuotedFieldSpan &span)
{
    const QStringView text = line.sliced(span.begin, span.end - span.begin);
    return span.quoted ? text : text.trimmed();
}

void FindQuotedFieldSpans(QByteArrayView line, qsizetype count, QList<QuotedFieldSpan> &spans)
{
    CollectFieldSpans(line, count, spans);
}

void FindQuotedFieldSpans(QStringView line, qsizetype count, QList<QuotedFieldSpan> &spans)
{
    CollectFieldSpans(line, count, spans);
}
