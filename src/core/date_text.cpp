#include "date_text.h"

QString GeneralDateTimeText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-M-d H:mm:ss"));
}
