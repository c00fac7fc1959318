#pragma once

class QWidget;

// A window opened by a click comes up under the pointer, and Qt counts a
// double-click by time and place alone: the second click of a double-click
// on the opener would press, double-click and release whatever lies under
// the pointer in the new window (closing it, or turning its picture). Each
// time `window` is shown, a button pressed within the double-click interval
// where the pointer stood, and its release, do not reach it.
void IgnoreTheOpeningDoubleClick(QWidget &window);
