#include "ui/art/window_button_art.h"

#include "ui/art/panel_kit.h"

#include <QRadialGradient>

namespace {

constexpr int Size = 22;

} // namespace

QImage WindowButtonPicture(WindowButtonKind kind, bool enabled)
{
    QImage image = TransparentCanvas(Size, Size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const QColor ring = enabled ? ArtPalette::Gold : QColor(0x9a, 0x92, 0x88);
    const QColor mark = enabled ? ArtPalette::GoldLight : QColor(0xc4, 0xbc, 0xb2);
    const QColor fillTop = enabled ? QColor(0xa8, 0x3a, 0x26) : QColor(0x7a, 0x70, 0x68);
    const QColor fillBottom = enabled ? ArtPalette::LacquerDark : QColor(0x55, 0x4e, 0x48);

    const QPointF centre(Size / 2.0, Size / 2.0);
    QRadialGradient body(centre - QPointF(3, 4), Size * 0.7);
    body.setColorAt(0.0, fillTop);
    body.setColorAt(1.0, fillBottom);
    painter.setBrush(body);
    painter.setPen(QPen(ring, 1.5));
    painter.drawEllipse(centre, Size / 2.0 - 1.5, Size / 2.0 - 1.5);

    painter.setPen(QPen(mark, 2.0, Qt::SolidLine, Qt::RoundCap));
    if (kind == WindowButtonKind::Minimise) {
        painter.drawLine(QPointF(6.5, 14), QPointF(15.5, 14));
    } else {
        painter.drawLine(QPointF(7, 7), QPointF(15, 15));
        painter.drawLine(QPointF(15, 7), QPointF(7, 15));
    }
    return image;
}
