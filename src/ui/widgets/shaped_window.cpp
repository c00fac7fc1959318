#include "ui/widgets/shaped_window.h"

#include "ui/widgets/window_shape.h"
#include "ui/windows/dialog_service.h"

#include <QScreen>
#include <QWidget>

void ShapeWindowFromPicture(QWidget &window, const QImage &picture, DialogService *dialogs)
{
    const int depth = window.screen() ? window.screen()->depth() : 32;
    const WindowOutline outline = ShapeWindowFromBitmap(PictureAtScreenDepth(picture, depth));
    if (outline.status == ShapeStatus::UnsupportedDepth) {
        if (dialogs) {
            dialogs->ShowMessage(&window, QStringLiteral("对不起，程序必须在 16位, 24-位 或 32-位 颜色下。"),
                                 ProgramTitle(), DialogService::Icon::Warning);
        }
        return;
    }
    if (outline.status == ShapeStatus::Shaped)
        window.setMask(outline.region);
}
