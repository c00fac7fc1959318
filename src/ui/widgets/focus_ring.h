#pragma once

#include <QWidget>

class QPainter;
class QRect;

// The program's focus mark on a drawn control: a dark lacquer ring with a
// light gold ring inside it, so it shows on the red lacquer and on the paper
// alike.
void DrawFocusRing(QPainter &painter, const QRect &box);
// How far the ring reaches in from the edge of its box: text that starts
// closer would be drawn under it.
inline constexpr int FocusRingWidth = 6;

// A focus stop with no picture of its own, laid over the controls it stands
// for: while it has the focus it draws the focus ring around the area it
// covers. The mouse reaches the controls below it.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
