#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// The splash's picture, SplashPicture(), from the per-user picture cache:
// drawn at the first start of a new or rebuilt program, read afterwards.
QImage CachedSplashPicture(const QString &versionText);

// The splash window: the program's name and version and a progress
// bar of twelve squares that fills in 1.2 seconds. `Finished` follows a
// tenth of a second after the bar is full.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // `picture` is SplashPicture(), drawn or taken from the picture cache.
    SplashWindow(const QString &versionText, const QImage &picture, QWidget *parent = nullptr);

    // Starts the progress bar.
    void Start();

signals:
    // The splash paints itself for the first time: it is on screen.
    void Shown();
    void Finished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void AdvanceProgress();

    QLabel *progress_ = nullptr;
    QTimer progressTimer_;
    QTimer finishTimer_;
    bool shown_ = false;
};
