#pragma once

#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "support/require_child.h"
#include "ui/windows/calendar_commands.h"

// A main window over fakes with the calendar side connected, at a clock the
// test sets.
struct CalendarRig : MainWindowRig {
    explicit CalendarRig(const QDateTime &start)
        : MainWindowRig(start, QuickClockIntervalMs)
    {
        ConnectCalendarCommands(*window, settings);
    }

    // The main window's clock, which reads `now` at every tick.
    QTimer *ClockTimer() const { return RequireChild<QTimer>(*window, QStringLiteral("clock_timer")); }
    // Brings today's tips when it runs out, unless the calendar is open.
    QTimer *TodaysTipsTimer() const { return RequireChild<QTimer>(*window, QStringLiteral("todays_tips_timer")); }
};

inline QDateTime Morning(QDate date)
{
    return QDateTime(date, QTime(9, 0));
}
