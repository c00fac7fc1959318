#include "ui/widgets/shaped_window.h"

#include <QScreen>
#include <QWidget>

ShapeStatus ShapeWindowFromPicture(QWidget &window, const QImage &picture)
{
    const int depth = window.screen() ? window.screen()->depth() : 32;
    const WindowOutline outline = ShapeWindowFromBitmap(PictureAtScreenDepth(picture, depth));
    if (outline.status == ShapeStatus::Shaped)
        window.setMask(outline.region);
    return outline.status;
}
