#include "window_drag.h"

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
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        QWindow *handle = window_->windowHandle();
        manualMove_ = !(handle && handle->startSystemMove());
        grabOffset_ = press->globalPosition().toPoint() - window_->frameGeometry().topLeft();
        break;
    }
    case QEvent::MouseMove:
        if (manualMove_) {
            const auto *move = static_cast<QMouseEvent *>(event);
            window_->move(move->globalPosition().toPoint() - grabOffset_);
        }
        break;
    case QEvent::MouseButtonRelease:
        manualMove_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
