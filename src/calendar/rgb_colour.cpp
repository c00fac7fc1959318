#include "calendar/rgb_colour.h"

QDebug operator<<(QDebug debug, const RgbColour &colour)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "RGB(" << colour.red << ',' << colour.green << ',' << colour.blue << ')';
    return debug;
}
