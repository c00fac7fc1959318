#include "ui/widgets/focus_ring.h"

#include "ui/art/palette.h"

#include <QPainter>
#include <QRect>

void DrawFocusRing(QPainter &painter, const QRect &box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QRectF outer = QRectF(box).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(ArtPalette::LacquerDark, 2));
    painter.drawRoundedRect(outer, 4, 4);
    painter.setPen(QPen(ArtPalette::GoldLight, 2));
    painter.drawRoundedRect(outer.adjusted(2, 2, -2, -2), 3, 3);
    painter.restore();
}

FocusFrame::FocusFrame(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    // QWidget repaints on gaining and losing the focus.
    if (!hasFocus())
        return;
    QPainter painter(this);
    DrawFocusRing(painter, rect());
}
