#include "core/divination_record.h"

#include <QDebug>

QDebug operator<<(QDebug debug, const DivinationRecord &record)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "DivinationRecord(" << record.castTime << ", " << record.divinerName << ", "
                    << record.matterText << ", " << record.primaryNumber << ", " << record.primaryLines << ", "
                    << record.primaryName << ", " << record.changingLines << ", " << record.resultingNumber << ", "
                    << record.resultingLines << ", " << record.resultingName << ')';
    return debug;
}
