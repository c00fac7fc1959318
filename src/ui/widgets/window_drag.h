#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a whole window when the left button is held on one of its handles
// and the pointer travels, as a drag on a title bar would. The move starts
// only once the pointer has gone QApplication::startDragDistance(), so plain
// clicks and double-clicks on a handle never reach the window manager. The
// window manager does the move where it can; where it refuses (no window
// manager, offscreen) the window follows the pointer here while the left
// button stays down.
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
    enum class Phase { Idle, Pressed, FollowingPointer };

    void Press(const QMouseEvent &press);
    void Move(const QMouseEvent &move);

    QWidget *const window_;
    Phase phase_ = Phase::Idle;
    QPoint pressPoint_;
    QPoint grabOffset_;
};
