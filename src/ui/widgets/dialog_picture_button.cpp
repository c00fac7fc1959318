#include "ui/widgets/dialog_picture_button.h"

#include "ui/widgets/picture_button.h"

PictureButton *MakeDialogButton(const QString &name, DialogIcon icon, const QString &caption, QPoint position,
                                QWidget *parent)
{
    const PictureButton::Pictures pictures{
        QPixmap::fromImage(DialogButtonPicture(icon, caption, ButtonLook::Normal)),
        QPixmap::fromImage(DialogButtonPicture(icon, caption, ButtonLook::Hover)),
        QPixmap::fromImage(DialogButtonPicture(icon, caption, ButtonLook::Pressed)),
        QPixmap::fromImage(DialogButtonPicture(icon, caption, ButtonLook::Disabled)),
    };
    auto *button = new PictureButton(name, pictures, parent);
    button->setAccessibleName(caption);
    button->move(position);
    return button;
}
