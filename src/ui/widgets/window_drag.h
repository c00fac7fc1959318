#pragma once

#include "ui/widgets/window_manager_move.h"

#include <QObject>
#include <QPoint>
#include <QPointF>

#include <memory>

class QMouseEvent;
class QWidget;

// Moves a whole window when the left button is held on one of its handles
// and the pointer travels, as a drag on a title bar would. The move starts
// only once the pointer has gone QApplication::startDragDistance(), so plain
// clicks and double-clicks on a handle never reach the window manager. The
// window manager does the move where it can, keeping the spot grabbed under
// the pointer; where it refuses (no window manager, offscreen) the window
// follows the pointer here while the left button stays down.
class WindowDrag : public QObject {
    Q_OBJECT
public:
    explicit WindowDrag(QWidget *window,
                        std::unique_ptr<WindowManagerMove> windowManagerMove = PlatformWindowManagerMove());

    // Makes `handle` a drag handle of the window. The handle still receives
    // its own clicks and double-clicks.
    void AddHandle(QWidget *handle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Phase { Idle, Pressed, MovedByWindowManager, FollowingPointer };

    void Press(const QWidget &handle, const QMouseEvent &press);
    void Move(const QMouseEvent &move);
    void Release(const QMouseEvent &release);

    QWidget *const window_;
    const std::unique_ptr<WindowManagerMove> windowManagerMove_;
    Phase phase_ = Phase::Idle;
    QPoint pressPoint_;
    // The spot pressed, in the window's coordinates and from the top left
    // corner of its frame.
    QPointF grabbedSpot_;
    QPoint grabOffset_;
};
