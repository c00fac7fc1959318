#pragma once

#include <QImage>

class DialogService;
class QWidget;

// Cuts `window`'s outline from its background picture, read at the depth of
// the screen the window is on. When the depth cannot be read and `dialogs` is
// given, the colour-depth warning is shown; the window then stays rectangular.
void ShapeWindowFromPicture(QWidget &window, const QImage &picture, DialogService *dialogs = nullptr);
