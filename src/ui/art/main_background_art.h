#pragma once

#include <QImage>

// The main window's background, 642 x 464: a lacquer frame around a
// parchment panel. Everything outside the rounded outline is pure white, so
// the window's shape can be cut from the picture.
QImage MainBackgroundPicture();
