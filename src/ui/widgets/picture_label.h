#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>

// A picture control: shows its picture exactly as given, enabled or not (the
// program supplies its own disabled pictures), and reports clicks. Without an
// accessible name it only decorates and is not announced; made a keyboard
// command (keyboard_command.h) it draws the focus ring while it has the focus.
class PictureLabel : public QWidget {
    Q_OBJECT
public:
    explicit PictureLabel(const QString &name, QWidget *parent);

    void SetPicture(const QPixmap &picture);
    const QPixmap &Picture() const { return picture_; }

signals:
    void Clicked();
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPixmap picture_;
};

// A text label that reports clicks and double-clicks; made a keyboard command
// it draws the focus ring while it has the focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString &name, QWidget *parent);

signals:
    void Clicked();
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
