#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The general date-and-time form of a Chinese desktop: "2006-7-16 14:05:09".
// Month, day and hour without leading zeros; minutes and seconds with two
// digits. Used for the time of a cast and the clock line.
QString GeneralDateTimeText(const QDateTime &moment);

// The short date form of a Chinese desktop: "2006-7-16".
QString ShortDateText(QDate date);

// The long date form of a Chinese desktop: "2006年7月16日".
QString LongDateText(QDate date);
