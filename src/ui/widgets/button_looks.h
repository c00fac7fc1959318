#pragma once

#include "ui/widgets/picture_button.h"

#include <QImage>

// The four looks of a picture command drawn from its one picture: lighter
// under the mouse, pushed down a pixel when pressed, faded to grey when
// disabled.
PictureButton::Pictures ButtonLooksOf(const QImage &picture);
