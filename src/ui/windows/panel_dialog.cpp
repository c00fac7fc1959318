#include "ui/windows/panel_dialog.h"

#include "ui/art/ornament_kit.h"
#include "ui/art/window_panel_art.h"
#include "ui/art/fonts.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/window_drag.h"
#include "ui/widgets/shaped_window.h"
#include "ui/widgets/window_placement.h"

#include <QLabel>

namespace {

constexpr int HeaderHeight = 32;
constexpr int Border = 10;
// The title band's taiji disc sits left of the caption.
constexpr int CaptionLeft = 46;

} // namespace

PanelDialog::PanelDialog(const QString &name, QSize size, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(name);
    setModal(true);
    setFixedSize(size);
    CentreOverOwner(*this, parent);
    setFont(SansFont(13));

    const QImage picture = WindowPanelPicture(size.width(), size.height(), HeaderHeight, QString());
    background_ = new PictureLabel(QStringLiteral("panelPicture"), this);
    background_->SetPicture(QPixmap::fromImage(picture));
    ShapeWindowFromPicture(*this, picture);

    QLabel *caption = MakeTextLabel(QStringLiteral("caption"), {},
                                    QRect(CaptionLeft, 2, size.width() - CaptionLeft - Border, HeaderHeight - 4),
                                    SerifFont(16, QFont::Bold), ArtPalette::GoldLight, this);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(this, &QWidget::windowTitleChanged, caption, &QLabel::setText);

    drag_ = new WindowDrag(this);
    drag_->AddHandle(background_);
}

QRect PanelDialog::PanelArea() const
{
    return QRect(Border, HeaderHeight, width() - 2 * Border, height() - HeaderHeight - Border);
}
