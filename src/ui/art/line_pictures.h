#pragma once

#include <QImage>
#include <QStringView>

// The four pictures a hexagram line is drawn with, 64 x 5 pixels each:
// "1" solid black bar, "0" broken black bar (23 px, 18 px transparent gap,
// 23 px), "11" and "00" the same in red for lines taking part in a change.
// Any other code gives a null image.
QImage LinePicture(QStringView code);
