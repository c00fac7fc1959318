#include "records/record_listing.h"

#include "fileformat/quoted_fields.h"

#include <QList>

#include <algorithm>

namespace {

const QString Marker = QStringLiteral(" №<");

qsizetype LineStartBefore(QStringView listing, qsizetype position)
{
    const qsizetype previousEnd = position > 0 ? listing.lastIndexOf(u'\n', position - 1) : -1;
    return previousEnd + 1;
}

qsizetype LineEndFrom(QStringView listing, qsizetype start)
{
    qsizetype end = listing.indexOf(u'\n', start);
    if (end < 0)
        end = listing.size();
    if (end > start && listing[end - 1] == u'\r')
        --end;
    return end;
}

// The record number of a line that begins with a marker.
std::optional<qint64> MarkedNumber(QStringView line)
{
    if (!line.startsWith(Marker))
        return std::nullopt;
    const QStringView rest = line.mid(Marker.size());
    const qsizetype close = rest.indexOf(u'>');
    if (close <= 0)
        return std::nullopt;
    bool converted = false;
    const qint64 number = rest.left(close).toLongLong(&converted);
    if (!converted || number < 1)
        return std::nullopt;
    return number;
}

} // namespace

QString ListingForDisplay(QStringView listing)
{
    QString shown;
    shown.reserve(listing.size());
    for (QStringView line : listing.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const bool cut = line.size() > ListingLineShownLength;
        shown += ControlsShown(line.left(ListingLineShownLength));
        if (cut)
            shown += u'…';
        shown += u'\n';
    }
    shown.chop(1);
    return shown;
}

std::optional<ListingEntry> ListingEntryAt(QStringView listing, qsizetype caret)
{
    if (listing.trimmed().isEmpty())
        return std::nullopt;
    qsizetype start = LineStartBefore(listing, std::clamp<qsizetype>(caret, 0, listing.size()));
    for (;;) {
        const qsizetype end = LineEndFrom(listing, start);
        if (const std::optional<qint64> number = MarkedNumber(listing.mid(start, end - start)))
            return ListingEntry{*number, start, end};
        if (start == 0)
            return std::nullopt;
        start = LineStartBefore(listing, start - 1);
    }
}

std::optional<ListingEntry> ListingEntryOf(QStringView listing, qint64 number)
{
    for (qsizetype start = 0;;) {
        const qsizetype end = LineEndFrom(listing, start);
        if (MarkedNumber(listing.mid(start, end - start)) == number)
            return ListingEntry{number, start, end};
        start = listing.indexOf(u'\n', end);
        if (start < 0)
            return std::nullopt;
        ++start;
    }
}

std::optional<QString> ListedRecordLine(QStringView listing, qint64 number)
{
    for (QStringView line : listing.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (MarkedNumber(line) == number)
            return line.mid(line.indexOf(u'>') + 1).toString();
    }
    return std::nullopt;
}
