#pragma once

#include <QPointF>

#include <memory>

class QWindow;

// Hands the move of a window to the window manager, as a press on a title
// bar would. Tests put a recorder in its place.
class WindowManagerMove {
public:
    virtual ~WindowManagerMove() = default;

    // Asks the window manager to move `window` with the pointer while the
    // left button, pressed on `grabbedSpot` (window coordinates) and not
    // moved with since, stays down. False where nothing takes the move (no
    // window manager, offscreen) or the button is already up; the caller
    // then moves the window itself.
    virtual bool Start(QWindow &window, QPointF grabbedSpot) = 0;

    // The left button came up before the window manager took the pointer:
    // the move it is about to start must not outlast the button.
    virtual void Cancel(QWindow &window) = 0;
};

// The move of the platform the program runs on. On X11 the window manager
// is told the spot where the button went down, so it keeps that spot under
// the pointer however far the pointer has travelled since.
std::unique_ptr<WindowManagerMove> PlatformWindowManagerMove();
