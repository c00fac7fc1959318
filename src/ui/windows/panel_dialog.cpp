#include "ui/windows/panel_dialog.h"

#include "ui/art/fonts.h"
#include "ui/art/ornament_kit.h"
#include "ui/art/window_panel_art.h"
#include "ui/widgets/escape_key.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/shaped_window.h"
#include "ui/widgets/window_drag.h"
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
    IgnoreTheOpeningDoubleClick(*this);
    setFont(SansFont(13));

    const QImage picture = WindowPanelPicture(size.width(), size.height(), HeaderHeight, QString());
    background_ = new PictureLabel(QStringLiteral("panelPicture"), this);
    background_->SetPicture(QPixmap::fromImage(picture));
    ShapeWindowFromPicture(*this, picture);

    caption_ = MakeTextLabel(QStringLiteral("caption"), {},
                             QRect(CaptionLeft, 2, size.width() - CaptionLeft - Border, HeaderHeight - 4),
                             SerifFont(16, QFont::Bold), ArtPalette::GoldLight, this);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A caption too long for the band (a record file's path) loses its
    // middle, so its start and its end stay readable.
    connect(this, &QWidget::windowTitleChanged, caption_, [this](const QString &title) {
        caption_->setText(caption_->fontMetrics().elidedText(title, Qt::ElideMiddle, caption_->width()));
    });

    drag_ = new WindowDrag(this);
    drag_->AddHandle(background_);
    CloseOnEscape(*this, [this] { reject(); });
}

QSize PanelDialog::SizeAroundPanel(QSize panel)
{
    return panel + QSize(2 * Border, HeaderHeight + Border);
}

void PanelDialog::MoveControlsIntoPanel()
{
    const QPoint offset = PanelArea().topLeft();
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != background_ && child != caption_)
            child->move(child->pos() + offset);
    }
}

QRect PanelDialog::PanelArea() const
{
    return QRect(Border, HeaderHeight, width() - 2 * Border, height() - HeaderHeight - Border);
}
