#include "ui/widgets/button_looks.h"

#include <QPainter>

namespace {

QImage Lightened(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(image.rect(), QColor(255, 255, 255, 50));
    return image;
}

QImage Pushed(const QImage &picture)
{
    QImage image(picture.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(QPoint(1, 1), picture);
    return image;
}

QImage Greyed(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = (qGray(row[x]) + 255) / 2;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) * 3 / 4);
        }
    }
    return image;
}

} // namespace

PictureButton::Pictures ButtonLooksOf(const QImage &picture)
{
    return {QPixmap::fromImage(picture), QPixmap::fromImage(Lightened(picture)), QPixmap::fromImage(Pushed(picture)),
            QPixmap::fromImage(Greyed(picture))};
}
