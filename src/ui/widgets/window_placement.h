#pragma once

class QWidget;

// Puts a child window on the centre of the window that opens it, as every
// child of this program opens. Qt's own placement of a dialog guesses a title
// bar before the window manager has framed the window, and misses by that
// guess; window managers keep a position the program gives. Does nothing
// without an owner.
void CentreOverOwner(QWidget &window, const QWidget *owner);
