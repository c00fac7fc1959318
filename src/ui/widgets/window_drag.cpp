#include "ui/widgets/window_drag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDrag::WindowDrag(QWidget *window)
    : QObject(window)
    , window_(window)
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
        Press(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseMove:
        Move(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            phase_ = Phase::Idle;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowDrag::Press(const QMouseEvent &press)
{
    if (press.button() != Qt::LeftButton)
        return;
    phase_ = Phase::Pressed;
    pressPoint_ = press.globalPosition().toPoint();
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
    if (phase_ == Phase::Idle)
        return;
    if (phase_ == Phase::Pressed) {
        if ((pointer - pressPoint_).manhattanLength() < QApplication::startDragDistance())
            return;
        // The window first catches up with the distance travelled, so the
        // point grabbed stays under the pointer. The window manager then
        // takes the pointer over; the release goes to it, not to the handle.
        window_->move(pointer - grabOffset_);
        QWindow *handle = window_->windowHandle();
        if (handle && handle->startSystemMove()) {
            phase_ = Phase::Idle;
            return;
        }
        phase_ = Phase::FollowingPointer;
    }
    window_->move(pointer - grabOffset_);
}
