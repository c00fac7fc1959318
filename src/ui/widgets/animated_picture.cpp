#include "ui/widgets/animated_picture.h"

#include "ui/widgets/focus_ring.h"
#include "ui/widgets/keyboard_command.h"

#include <QMouseEvent>
#include <QPainter>

AnimatedPicture::AnimatedPicture(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    InstallPictureAccessibility();
    connect(&frameTimer_, &QTimer::timeout, this, &AnimatedPicture::Advance);
    hide();
}

void AnimatedPicture::SetFrames(const QList<QPixmap> &frames, int frameIntervalMs)
{
    frames_ = frames;
    currentFrame_ = 0;
    frameTimer_.setInterval(frameIntervalMs);
    if (!frames_.isEmpty())
        resize(frames_.first().deviceIndependentSize().toSize());
    update();
}

void AnimatedPicture::Start()
{
    currentFrame_ = 0;
    running_ = true;
    show();
    if (frames_.size() > 1)
        frameTimer_.start();
    update();
}

void AnimatedPicture::Stop()
{
    frameTimer_.stop();
    running_ = false;
    hide();
}

void AnimatedPicture::Advance()
{
    currentFrame_ = (currentFrame_ + 1) % frames_.size();
    update();
}

void AnimatedPicture::paintEvent(QPaintEvent *)
{
    if (frames_.isEmpty())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, frames_.at(currentFrame_));
    if (hasFocus())
        DrawFocusRing(painter, rect());
}

void AnimatedPicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        emit Clicked();
}
