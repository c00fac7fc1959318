#pragma once

#include "ui/art/dialog_button_art.h"

#include <QPoint>
#include <QString>

class PictureButton;
class QWidget;

// A picture command of the manual-entry and record-browser windows, in its
// four looks, placed at `position`.
PictureButton *MakeDialogButton(const QString &name, DialogIcon icon, const QString &caption, QPoint position,
                                QWidget *parent);
