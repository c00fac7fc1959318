#pragma once

class QWidget;

// Weston's X11 window manager takes the place of the frame it puts around a
// window (a shadow margin wide, even round a frameless one) for the place of
// the window itself, and maps the window there when it is shown again: every
// re-show moved a hidden window up and left by the margin. Told the window's
// own place just before the window is mapped again, it maps it where it was.
// Does nothing on other window managers and other platforms.
void TellPlaceBeforeRemap(const QWidget &window);
