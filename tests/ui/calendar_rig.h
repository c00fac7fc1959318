#pragma once

#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "ui/windows/calendar_commands.h"

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
