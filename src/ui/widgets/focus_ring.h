#pragma once

class QPainter;
class QRect;

// The program's focus mark on a drawn control: a dark lacquer ring with a
// light gold ring inside it, so it shows on the red lacquer and on the paper
// alike.
void DrawFocusRing(QPainter &painter, const QRect &box);
