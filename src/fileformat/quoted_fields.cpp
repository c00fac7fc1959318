#include "fileformat/quoted_fields.h"

namespace {

constexpr QChar fieldQuote = u'"';
constexpr QChar fieldSeparator = u',';
constexpr QChar storedQuote = u'\u201C';

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

qsizetype SkipBlanks(QStringView line, qsizetype at)
{
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return at;
}

// Position of the quote that closes a quoted field whose text starts at
// `from`, or -1 when the field never closes.
qsizetype ClosingQuote(QStringView line, qsizetype from)
{
    for (qsizetype at = line.indexOf(fieldQuote, from); at >= 0; at = line.indexOf(fieldQuote, at + 1)) {
        const qsizetype next = SkipBlanks(line, at + 1);
        if (next == line.size() || line[next] == fieldSeparator)
            return at;
    }
    return -1;
}

QString ReplaceControls(QStringView text, QChar replacement)
{
    QString replaced = text.toString();
    for (QChar &character : replaced) {
        if (character.category() == QChar::Other_Control)
            character = replacement;
    }
    return replaced;
}

} // namespace

QString FoldControlCharacters(QStringView text)
{
    return ReplaceControls(text, u' ');
}

QString ControlsShown(QStringView text)
{
    return ReplaceControls(text, QChar::ReplacementCharacter);
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
    QStringList &fields = split.fields;
    qsizetype at = 0;
    for (;;) {
        at = SkipBlanks(line, at);
        qsizetype next;
        if (at < line.size() && line[at] == fieldQuote) {
            const qsizetype close = ClosingQuote(line, at + 1);
            const qsizetype end = close < 0 ? line.size() : close;
            split.lastFieldOpen = close < 0;
            fields.append(line.mid(at + 1, end - at - 1).toString());
            next = close < 0 ? line.size() : line.indexOf(fieldSeparator, close);
        } else {
            next = line.indexOf(fieldSeparator, at);
            const qsizetype end = next < 0 ? line.size() : next;
            fields.append(line.mid(at, end - at).trimmed().toString());
            split.lastFieldOpen = false;
        }
        if (next < 0 || next >= line.size())
            return split;
        at = next + 1;
    }
}
