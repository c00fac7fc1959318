#pragma once

#include <QImage>

// The minimise and close pictures of the main window's title band, 22 x 22,
// each in an enabled and a disabled (greyed) form.
enum class WindowButtonKind { Minimise, Close };
QImage WindowButtonPicture(WindowButtonKind kind, bool enabled);
