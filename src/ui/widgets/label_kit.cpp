#include "ui/widgets/label_kit.h"

#include "ui/widgets/picture_label.h"

#include <QLabel>

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void SetBackgroundColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel *MakeTextLabel(const QString &name, const QString &text, const QRect &geometry, const QFont &font,
                      const QColor &colour, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

PictureLabel *MakePicture(const QString &name, const QImage &picture, QPoint position, QWidget *parent)
{
    auto *label = new PictureLabel(name, parent);
    label->SetPicture(QPixmap::fromImage(picture));
    label->move(position);
    return label;
}
