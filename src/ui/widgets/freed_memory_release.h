#pragma once

#include <QObject>
#include <QTimer>

// Hands the memory freed by a closed window back to the system. Every window
// draws its pictures afresh when it opens and frees them when it closes; the
// C library keeps such freed blocks for reuse, so without this the resident
// size climbs by some 20 MB over the first few dozen openings and stays
// there. Installed on the application, it notices any window being hidden
// and trims the C library's heap a second later, when the window has gone;
// the delay also keeps the trim off the start-up, where the splash closes
// just before the main window's first paint.
class FreedMemoryRelease : public QObject {
public:
    explicit FreedMemoryRelease(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One trim for a burst of closings.
    QTimer release_;
};
