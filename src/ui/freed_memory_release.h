#pragma once

#include <QObject>
#include <QTimer>

// Hands the memory freed by a closed window back to the system. Every window
// draws its pictures afresh when it opens and frees them when it closes; the
// C library keeps such freed blocks for reuse, so without this the resident
// size climbs by some 20 MB over the first few dozen openings and stays
// there. Installed on the application, it notices any window being hidden
// and trims the C library's heap once the window has gone.
class FreedMemoryRelease : public QObject {
public:
    explicit FreedMemoryRelease(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A zero-interval single shot: it fires once the event that closed the
    // window has been handled and the window's owner has destroyed it.
    QTimer release_;
};
