#pragma once

#include <QDateTime>
#include <QString>

// The general date-and-time form of a Chinese desktop: "2006-7-16 14:05:09".
// Month, day and hour without leading zeros; minutes and seconds with two
// digits. Used for the time of a cast and the clock line.
QString GeneralDateTimeText(const QDateTime &moment);
