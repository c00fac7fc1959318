#include "rgb_color.h"

QDebug operator<<(QDebug debug, const RgbColor &color)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "RGB(" << color.red << ',' << color.green << ',' << color.blue << ')';
    return debug;
}
