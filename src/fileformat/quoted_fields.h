#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The record file and the settings file hold lines of double-quoted fields
// separated by single commas. The format has no escape for a double quote, so
// the writer stores one as the full-width “ (U+201C) and the line stays
// readable.
// Control characters are folded to spaces (FoldControlCharacters), so a
// field never breaks its line.
QString JoinQuotedFields(const QStringList &fields);

// `text` with every control character (C0, DEL and C1: line breaks, tabs,
// escapes) replaced by a space, and without the half of a character that a
// cut to a field's length (in UTF-16 units, as QLineEdit counts) leaves
// behind: what a one-line field takes from typed or pasted text.
QString FoldControlCharacters(QStringView text);
// `text` with every control character, format character (U+200B, U+202E …)
// and line or paragraph separator shown as U+FFFD, so that text from a file
// can be printed or shown without acting on the terminal or the layout.
QString ControlsShown(QStringView text);

// Splits one line (without its line end) into fields. A field that begins
// with a double quote runs to the closing quote, which is the next double
// quote followed by a comma or the end of the line, so a stray quote inside a
// field written by another program stays part of that field; a field whose
// quote never closes runs to the end of the line. An unquoted field runs to
// the next comma, without its surrounding spaces.
QStringList SplitQuotedFields(QStringView line);

// The fields of a line, and whether its last field is a quoted one that
// never closed (the line was cut inside it).
struct QuotedFieldSplit {
    QStringList fields;
    bool lastFieldOpen = false;
};
QuotedFieldSplit SplitQuotedFieldsOf(QStringView line);

// Where each field of a line stands, split as SplitQuotedFields does: its
// text runs from `begin` to `end`, without the quotes; FieldText also takes
// an unquoted field's surrounding spaces off. Only the first `count` fields
// are looked for. The bytes of a stored line split the same way as its
// decoded text, since the quote, comma, space and tab bytes are never part
// of a multi-byte character, so a line can be looked into without decoding.
struct QuotedFieldSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    bool quoted = false;
};
void FindQuotedFieldSpans(QByteArrayView line, qsizetype count, QList<QuotedFieldSpan> &spans);
void FindQuotedFieldSpans(QStringView line, qsizetype count, QList<QuotedFieldSpan> &spans);
QStringView FieldText(QStringView line, const QuotedFieldSpan &span);
