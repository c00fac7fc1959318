#pragma once

// What the start-up bench and its empty-window reference share: the clock
// the parent reads before starting a child, the child's report of the end of
// each phase, and the wait for a widget's first paint.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

inline qint64 MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Reports the end of a phase to the parent on standard output: phase index
// and time since the parent started the child.
class PhaseClock {
public:
    explicit PhaseClock(qint64 startNanoseconds) : start_(startNanoseconds) {}
    void End(int phase) const
    {
        std::printf("%d %lld\n", phase, static_cast<long long>(MonotonicNanoseconds() - start_));
    }

private:
    qint64 start_;
};

// Notes the first paint of a widget. Installed before the widget is shown:
// some platforms paint within show().
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget &widget) : widget_(widget) { widget_.installEventFilter(this); }
    ~PaintWatch() override { widget_.removeEventFilter(this); }

    void WaitUntilPainted() const
    {
        while (!painted_)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &widget_ && event->type() == QEvent::Paint)
            painted_ = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget &widget_;
    bool painted_ = false;
};
