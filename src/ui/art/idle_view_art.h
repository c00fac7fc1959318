#pragma once

#include <QImage>

// The decorative pictures of the main window's idle view.

// The taiji inside a ring of the eight trigrams in the Fuxi order,
// south at the top. 190 x 190, transparent outside the ring.
QImage TrigramWheelPicture();

// A hand scroll with an ink landscape and a line of calligraphy,
// 300 x 170.
QImage LandscapeScrollPicture();

// A red seal, 60 x 60; the window makes it the web-page link.
QImage SealPicture();
