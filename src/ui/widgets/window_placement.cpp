#include "ui/widgets/window_placement.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

// A framed window is framed only once it is on screen: as soon as its frame
// shows up in its geometry, the frame, not the inside, goes on the owner's
// centre. Frameless windows never get a frame and keep their place.
class FrameCentring : public QObject {
public:
    FrameCentring(QWidget &window, const QWidget &owner)
        : QObject(&window)
        , owner_(&owner)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Move && window->isVisible()
            && window->frameGeometry().size() != window->size()) {
            if (owner_)
                window->move(owner_->frameGeometry().center() - QRect(QPoint(), window->frameGeometry().size()).center());
            deleteLater();
        }
        return false;
    }

private:
    QPointer<const QWidget> owner_;
};

} // namespace

void CentreOverOwner(QWidget &window, const QWidget *owner)
{
    if (!owner)
        return;
    // A frame already known (a box being shown) is centred with the window.
    window.move(owner->frameGeometry().center() - QRect(QPoint(), window.frameGeometry().size()).center());
    new FrameCentring(window, *owner);
}
