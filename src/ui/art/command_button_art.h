#pragma once

#include <QImage>
#include <QString>

// The main window's command buttons are pictures: a lacquer tile with a
// gold icon and a two-character caption, 64 x 52.
enum class CommandIcon { Cast, ManualEntry, Records, Trigrams, Print, Calendar, Help, Options };
enum class ButtonLook { Normal, Hover, Pressed, Disabled };

QImage CommandButtonPicture(CommandIcon icon, const QString &caption, ButtonLook look);
