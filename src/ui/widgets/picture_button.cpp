#include "ui/widgets/picture_button.h"

#include <QPainter>

PictureButton::PictureButton(const QString &name, const Pictures &pictures, QWidget *parent)
    : QAbstractButton(parent)
    , pictures_(pictures)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    // Commands are reached by their keys; the buttons never hold the focus,
    // so Space and Enter cannot press them behind the user's back.
    setFocusPolicy(Qt::NoFocus);
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
