#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// The end of the program: half a second after it starts, the
// settings are written and the program ends, stopping every window and
// sound. Starting it again while it runs changes nothing.
class ExitSequence : public QObject {
    Q_OBJECT
public:
    ExitSequence(std::function<void()> writeSettings, std::function<void()> endProgram, QObject *parent = nullptr);

    void Start();
    QTimer *Timer() { return &timer_; }

private:
    void Finish();

    std::function<void()> writeSettings_;
    std::function<void()> endProgram_;
    QTimer timer_;
};
