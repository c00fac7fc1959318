#pragma once

class QObject;
class QWidget;

// Installs `filter` on `window` and on every widget inside it at the time of
// the call, so the filter sees the keys whichever control has the focus.
void WatchKeysOnWindowAndChildren(QWidget &window, QObject &filter);
