#pragma once

#include <QObject>
#include <QTimer>

#include <array>

class PictureLabel;

// Keeps the main window's minimise and close pictures disabled while a child
// window is over it and for one second after it closes, so a key or click
// meant for the child cannot minimise or end the program.
class ChildWindowGuard : public QObject {
    Q_OBJECT
public:
    // `store` holds the four pictures: minimise enabled, minimise disabled,
    // close enabled, close disabled.
    ChildWindowGuard(PictureLabel *minimise, PictureLabel *close, const std::array<PictureLabel *, 4> &store,
                     QObject *parent);

    // A child window opens: both pictures disabled at once.
    void Begin();
    // The child window closed: both pictures come back after a second.
    void EndSoon();

    QTimer *Timer() { return &releaseTimer_; }

private:
    void SetPicturesEnabled(bool enabled);

    PictureLabel *const minimise_;
    PictureLabel *const close_;
    const std::array<PictureLabel *, 4> store_;
    QTimer releaseTimer_;
};
