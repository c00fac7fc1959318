#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// What a screen reader calls a command label or picture.
enum class CommandRole { Button, Link };

// Makes a picture or text label that answers the mouse (a PictureLabel,
// ClickableLabel or AnimatedPicture) a command of the keyboard as well: it
// takes the focus by Tab and draws the focus ring, Enter and Space act on
// their release as a click (the control's Clicked() signal), and a screen
// reader reads it as a button or link named `name`, described by
// `description` (its key).
void MakeKeyboardCommand(QWidget *control, CommandRole role, const QString &name,
                         const QString &description = {});
bool IsKeyboardCommand(const QWidget *control);

// Enter on a push button that is no dialog's default acts as Space does: a
// click when the key is let go.
void ClickOnEnter(QAbstractButton *button);

// The accessible interface of the program's picture and label controls: a
// command reads as a button or link, a named picture as a graphic, a picture
// without a name as decoration that is not announced. Installed once by the
// first such control.
void InstallPictureAccessibility();
