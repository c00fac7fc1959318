#pragma once

#include "main_window_rig.h"
#include "ui/windows/calendar_commands.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

// A main window over fakes with the calendar side connected, at a clock the
// test sets.
struct CalendarRig : MainWindowRig {
    explicit CalendarRig(const QDateTime &start)
        : MainWindowRig(start, QuickClockIntervalMs)
    {
        ConnectCalendarCommands(*window, settings);
    }
};

inline QDateTime Morning(QDate date)
{
    return QDateTime(date, QTime(9, 0));
}

// Watches for the modal window named `name`: once it is the active modal
// window, `visit` runs on it, and afterwards the window is closed unless
// `visit` closed it. `visits` counts the windows seen.
class ModalWatch : public QObject {
public:
    ModalWatch(const QString &name, std::function<void(QDialog *)> visit)
        : name_(name)
        , visit_(std::move(visit))
    {
        connect(&poll_, &QTimer::timeout, this, &ModalWatch::Poll);
        poll_.start(10);
    }

    int visits = 0;

private:
    void Poll()
    {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal || modal->objectName() != name_ || modal == current_)
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
