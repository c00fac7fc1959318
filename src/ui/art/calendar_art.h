#pragma once

#include <QImage>

// The pictures of the calendar window's information panel, as round
// medallions on a transparent ground so they sit on any panel colour.

inline constexpr int ZodiacPictureSize = 64;
inline constexpr int StarSignPictureSize = 64;
inline constexpr int ZodiacAnimalCount = 12;
inline constexpr int StarSignCount = 12;

// Zodiac animal 1 (rat) … 12 (pig) as a red paper cut on a cream medallion
// with a scalloped red rim; a null image for any other number.
QImage ZodiacPicture(int animal, int size = ZodiacPictureSize);

// Star sign 1 (牡羊座) … 12 (双鱼座) as its gold sign on a night-blue
// medallion with stars and the same rim; a null image for any other number.
QImage StarSignPicture(int sign, int size = StarSignPictureSize);
