#include "ui/widgets/picture_button.h"

#include "ui/widgets/focus_ring.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

PictureButton::PictureButton(const QString &name, const Pictures &pictures, QWidget *parent)
    : QAbstractButton(parent)
    , pictures_(pictures)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
}

QSize PictureButton::sizeHint() const
{
    return pictures_.normal.deviceIndependentSize().toSize();
}

const QPixmap &PictureButton::CurrentPicture() const
{
    if (!isEnabled())
        return pictures_.disabled;
    if (isDown())
        return pictures_.pressed;
    if (hovered_)
        return pictures_.hover;
    return pictures_.normal;
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, CurrentPicture());
    if (hasFocus())
        DrawFocusRing(painter, rect());
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if (!IsEnterKey(event->key())) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        setDown(true);
}

void PictureButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!IsEnterKey(event->key())) {
        QAbstractButton::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || !isDown())
        return;
    setDown(false);
    click();
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
