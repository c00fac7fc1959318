#pragma once

#include "ui/art/command_button_art.h"

#include <QImage>
#include <QString>

// The picture commands of the manual-entry and record-browser windows: a
// paper plate with a gold rim, a round lacquer or jade stud carrying the
// icon, and the caption in ink, 116 x 34.
enum class DialogIcon { Tick, Cross, Question };
inline constexpr int DialogButtonWidth = 116;
inline constexpr int DialogButtonHeight = 34;

QImage DialogButtonPicture(DialogIcon icon, const QString &caption, ButtonLook look);
