#pragma once

#include "ui/windows/casting_window.h"

#include <functional>

class MainWindow;
struct Settings;

// What a cast started from the main window needs besides the window itself.
struct CastCommandServices {
    CastingWindowServices casting;
    Settings *settings = nullptr;
    CastResult *castInHand = nullptr;
    // Opens a numbered topic of the help file, owned by the given window.
    std::function<void(QWidget *owner, int topic)> openHelpTopic;
};

// Connects the main window's cast button (F5) to a new casting
// window, run while the main window is hidden, and its changing-line rule label
// to the rule help.
void ConnectCastCommands(MainWindow &window, const CastCommandServices &services);
