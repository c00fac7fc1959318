#include "core/cast_result.h"

#include <QDebug>

int ChangingLineCount(const CastResult &cast)
{
    int count = 0;
    for (int i = 0; i < cast.primaryLines.size() && i < cast.resultingLines.size(); ++i)
        count += cast.primaryLines[i] != cast.resultingLines[i] ? 1 : 0;
    return count;
}

QDebug operator<<(QDebug debug, const CastResult &cast)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "CastResult(";
    const char *separator = "";
    for (int value : cast.lineValues) {
        debug << separator << value;
        separator = " ";
    }
    debug << ", " << cast.primaryLines << ", " << cast.resultingLines << ", " << cast.castTime << ", "
          << cast.divinerName << ", " << cast.matterText << ')';
    return debug;
}
