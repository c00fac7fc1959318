#pragma once

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>

#include <functional>

// Watches for modal windows while it lives: each time a modal window named
// `name` (any modal window when `name` is empty) becomes the active one,
// `visit` runs on it, and afterwards the window is closed unless `visit`
// closed it. `visits` counts the windows seen.
class ModalWatch : public QObject {
public:
    ModalWatch(const QString &name, std::function<void(QDialog *)> visit)
        : name_(name)
        , visit_(std::move(visit))
    {
        connect(&poll_, &QTimer::timeout, this, &ModalWatch::Poll);
        poll_.start(PollIntervalMs);
    }

    int visits = 0;

private:
    static constexpr int PollIntervalMs = 10;

    void Poll()
    {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal || modal == current_ || (!name_.isEmpty() && modal->objectName() != name_))
            return;
        current_ = modal;
        ++visits;
        poll_.stop();
        visit_(modal);
        if (modal->isVisible())
            modal->reject();
        current_ = nullptr;
        poll_.start();
    }

    QString name_;
    std::function<void(QDialog *)> visit_;
    QTimer poll_;
    QDialog *current_ = nullptr;
};
