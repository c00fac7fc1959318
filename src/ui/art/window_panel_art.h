#pragma once

#include <QImage>
#include <QString>

// The background of the program's small windows (splash, about): a lacquer
// frame with a title band around a parchment panel. `headerHeight` is the
// height of the title band, whose text is `title` in gold.
QImage WindowPanelPicture(int width, int height, int headerHeight, const QString &title);

// The splash window's picture, 420 x 250: the panel with the program's name
// in large type and the trigram wheel.
QImage SplashPicture();
