#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The longest part of a stored line a listing shows; the rest of a longer
// line (a file that is not a record file) is cut off and marked with "…".
inline constexpr qsizetype ListingLineShownLength = 1000;

// The listing as the list box shows it: one line per entry ended by LF, each
// cut to ListingLineShownLength characters, and control characters (a NUL
// or a lone CR of a binary file) shown as U+FFFD, so an entry always stays
// one line of modest length.
QString ListingForDisplay(QStringView listing);

// One entry of a page listing: the record number of its " №<n>" marker and
// where its line lies in the listing text (end excludes the line end).
struct ListingEntry {
    qint64 number = 0;
    qsizetype start = 0;
    qsizetype end = 0;

    bool operator==(const ListingEntry &) const = default;
};

// The entry whose line holds the caret. A caret on a line that does not
// begin with a marker (the empty line after the last entry, or the end of the
// text) belongs to the nearest entry above it. Lines may end with CR LF or
// LF. Only a marker at the start of a line counts, so a stored text that
// itself holds " №<" cannot be taken for an entry. Nothing for a blank
// listing or when no marked line lies at or above the caret.
std::optional<ListingEntry> ListingEntryAt(QStringView listing, qsizetype caret);

// The entry of record `number` in a listing; nothing when the listing does
// not hold it.
std::optional<ListingEntry> ListingEntryOf(QStringView listing, qint64 number);

// The stored line of record `number` in a listing (the text after its
// marker), as ListRecords gave it; nothing when the listing does not hold it.
std::optional<QString> ListedRecordLine(QStringView listing, qint64 number);
