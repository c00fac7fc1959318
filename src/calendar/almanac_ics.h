#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

// The calendar as an iCalendar file (RFC 5545) that desktop calendars
// import: an all-day event for each solar term (its moment in the
// description), each lunar and each Gregorian festival, and optionally the
// lunar date of every day.
struct AlmanacIcsRequest {
    QDate from;
    QDate to;
    bool lunarDays = false;
    // DTSTAMP of every event: when the file was made, in UTC.
    QDateTime stamp;
};

// UTF-8 text with CR LF line ends, lines folded at 75 octets. Each event's
// UID is made from its date and kind, so a file exported again updates the
// events a calendar already holds instead of doubling them.
QByteArray AlmanacIcs(const AlmanacIcsRequest &request);

// Writes the events of the Gregorian year `year` to `path`, replacing the
// file whole or leaving it untouched; false when it cannot be written.
bool WriteYearIcs(const QString &path, int year, bool lunarDays, const QDateTime &stamp);
