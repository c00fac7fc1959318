#pragma once

#include <functional>

class QWidget;

// Esc in `window`, wherever the focus is: in a field that holds text the
// first Esc empties the field, otherwise Esc runs `close`. It acts when the
// key is let go, as the program's keys do, and only on an Esc that went down
// in this window: the Esc that answered a message box over it closes nothing.
void CloseOnEscape(QWidget &window, std::function<void()> close);
