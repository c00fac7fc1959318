#pragma once

#include "ui/widgets/window_shape.h"

#include <QImage>

class QWidget;

// Cuts `window`'s outline from its background picture, read at the depth of
// the screen the window is on. When the depth cannot be read the window
// stays rectangular and the status says so.
ShapeStatus ShapeWindowFromPicture(QWidget &window, const QImage &picture);
