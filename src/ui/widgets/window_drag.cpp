#include "ui/widgets/window_drag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDrag::WindowDrag(QWidget *window, std::unique_ptr<WindowManagerMove> windowManagerMove)
    : QObject(window)
    , window_(window)
    , windowManagerMove_(std::move(windowManagerMove))
{
}

void WindowDrag::AddHandle(QWidget *handle)
{
    handle->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Press(*static_cast<QWidget *>(watched), *static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseMove:
        Move(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseButtonRelease:
        Release(*static_cast<QMouseEvent *>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowDrag::Press(const QWidget &handle, const QMouseEvent &press)
{
    if (press.button() != Qt::LeftButton)
        return;
    phase_ = Phase::Pressed;
    pressPoint_ = press.globalPosition().toPoint();
    grabbedSpot_ = handle.mapTo(window_, press.position());
    grabOffset_ = pressPoint_ - window_->frameGeometry().topLeft();
}

void WindowDrag::Move(const QMouseEvent &move)
{
    // A release that never arrived (press and release delivered together, a
    // grab taken elsewhere) must not leave the window stuck to the pointer.
    if (!(move.buttons() & Qt::LeftButton)) {
        phase_ = Phase::Idle;
        return;
    }
    const QPoint pointer = move.globalPosition().toPoint();
    if (phase_ == Phase::Idle || phase_ == Phase::MovedByWindowManager)
        return;
    if (phase_ == Phase::Pressed) {
        if ((pointer - pressPoint_).manhattanLength() < QApplication::startDragDistance())
            return;
        // The window manager takes the pointer over, told where the button
        // went down; the window stays put until it does, so that spot is
        // still where the window manager finds it. The release goes to it,
        // not to the handle.
        QWindow *handle = window_->windowHandle();
        if (handle && windowManagerMove_->Start(*handle, grabbedSpot_)) {
            phase_ = Phase::MovedByWindowManager;
            return;
        }
        phase_ = Phase::FollowingPointer;
    }
    window_->move(pointer - grabOffset_);
}

void WindowDrag::Release(const QMouseEvent &release)
{
    if (release.button() != Qt::LeftButton)
        return;
    // A release that still reaches the handle came before the window manager
    // took the pointer.
    if (phase_ == Phase::MovedByWindowManager) {
        if (QWindow *handle = window_->windowHandle())
            windowManagerMove_->Cancel(*handle);
    }
    phase_ = Phase::Idle;
}
