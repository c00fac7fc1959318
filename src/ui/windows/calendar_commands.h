#pragma once

class MainWindow;
struct Settings;

// Connects the calendar side of the main window: each evaluation of the
// selected date puts up its festival greetings and fills an open calendar
// window's panel; the tips timer opens the today's-tips window unless the
// calendar window is open; F10, the calendar button and a double-click on the lunar
// line open the calendar window; a new day closes both windows.
void ConnectCalendarCommands(MainWindow &window, Settings &settings);
