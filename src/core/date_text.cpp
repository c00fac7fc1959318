#include "core/date_text.h"

QString GeneralDateTimeText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-M-d H:mm:ss"));
}

QString ShortDateText(QDate date)
{
    return date.toString(QStringLiteral("yyyy-M-d"));
}

QString LongDateText(QDate date)
{
    return date.toString(QStringLiteral("yyyy年M月d日"));
}
