#include "ui/widgets/tick_box.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int BoxSize = 16;

const QColor PaperColour(0xff, 0xfa, 0xf0);
const QColor TickedPaperColour(0xfb, 0xec, 0xdc);
const QColor EdgeColour(0xb0, 0x88, 0x50);
const QColor FocusEdgeColour(0xa0, 0x2a, 0x1a);
const QColor TickColour(0xc8, 0x2a, 0x22);
const QColor DisabledColour(0xa8, 0x98, 0x80);

} // namespace

TickBox::TickBox(QWidget *parent) : QCheckBox(parent) {}

QSize TickBox::sizeHint() const
{
    return {BoxSize + 4, BoxSize + 4};
}

// The whole control answers a click, not only the drawn square.
bool TickBox::hitButton(const QPoint &position) const
{
    return rect().contains(position);
}

void TickBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1.5, (height() - BoxSize) / 2.0 + 0.5, BoxSize - 1, BoxSize - 1);
    const bool focused = hasFocus();
    QPen edge(isEnabled() ? (focused ? FocusEdgeColour : EdgeColour) : DisabledColour, focused ? 2.0 : 1.0);
    painter.setPen(edge);
    painter.setBrush(isChecked() ? TickedPaperColour : PaperColour);
    painter.drawRoundedRect(box, 3, 3);
    if (!isChecked())
        return;
    // A tick of two strokes, the short one down to the left, the long one up
    // to the right corner.
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.2, box.top() + box.height() * 0.52);
    tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.76);
    tick.lineTo(box.left() + box.width() * 0.82, box.top() + box.height() * 0.24);
    painter.setPen(QPen(isEnabled() ? TickColour : DisabledColour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}
