#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The record file and the settings file hold lines of double-quoted fields
// separated by single commas. The format has no escape for a double quote, so
// the writer stores one as the full-width “ (U+201C) and the line stays
// readable.
QString JoinQuotedFields(const QStringList &fields);

// Splits one line (without its line end) into fields. A field that begins
// with a double quote runs to the closing quote, which is the next double
// quote followed by a comma or the end of the line, so a stray quote inside a
// field written by another program stays part of that field; a field whose
// quote never closes runs to the end of the line. An unquoted field runs to
// the next comma, without its surrounding spaces.
QStringList SplitQuotedFields(QStringView line);
