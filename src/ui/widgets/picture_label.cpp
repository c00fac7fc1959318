#include "ui/widgets/picture_label.h"

#include "ui/widgets/focus_ring.h"
#include "ui/widgets/keyboard_command.h"

#include <QMouseEvent>
#include <QPainter>

PictureLabel::PictureLabel(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    InstallPictureAccessibility();
}

void PictureLabel::SetPicture(const QPixmap &picture)
{
    picture_ = picture;
    resize(picture.deviceIndependentSize().toSize());
    update();
}

void PictureLabel::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    if (hasFocus())
        DrawFocusRing(painter, rect());
}

// Taking the press makes this control receive the matching release.
void PictureLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void PictureLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        emit Clicked();
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent *)
{
    emit DoubleClicked();
}

ClickableLabel::ClickableLabel(const QString &name, QWidget *parent)
    : QLabel(parent)
{
    setObjectName(name);
    InstallPictureAccessibility();
}

void ClickableLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    DrawFocusRing(painter, rect());
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        emit Clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *)
{
    emit DoubleClicked();
}
