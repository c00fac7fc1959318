#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Moves a whole window when the mouse is pressed on one of its handles, as a
// press on a title bar would. The window manager does the move where it can;
// where it refuses (no window manager, offscreen) the window follows the
// mouse here until the button is released.
class WindowDrag : public QObject {
    Q_OBJECT
public:
    explicit WindowDrag(QWidget *window);

    // Makes `handle` a drag handle of the window. The handle still receives
    // its own clicks and double-clicks.
    void AddHandle(QWidget *handle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *const window_;
    bool manualMove_ = false;
    QPoint grabOffset_;
};
