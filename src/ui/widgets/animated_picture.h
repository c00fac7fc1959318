#pragma once

#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

// An animated picture: a sequence of frames shown in turn. Switched on it is
// visible and running; reset it is stopped and hidden. Its tooltip is the
// widget's own. It reports clicks; made a keyboard command
// (keyboard_command.h) it draws the focus ring while it has the focus.
class AnimatedPicture : public QWidget {
    Q_OBJECT
public:
    explicit AnimatedPicture(const QString &name, QWidget *parent);

    void SetFrames(const QList<QPixmap> &frames, int frameIntervalMs);
    bool HasFrames() const { return !frames_.isEmpty(); }
    void Start();
    void Stop();
    bool IsRunning() const { return running_; }
    int CurrentFrame() const { return currentFrame_; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Advance();

    QList<QPixmap> frames_;
    QTimer frameTimer_;
    int currentFrame_ = 0;
    bool running_ = false;
};
