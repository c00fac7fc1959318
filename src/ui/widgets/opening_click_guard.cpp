#include "ui/widgets/opening_click_guard.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

namespace {

// Lives as a child of its window. It watches the window for its showing and,
// while a press may still belong to the opening double-click, the
// application for the mouse events of the window's controls. A press belongs
// to it when it comes within the double-click interval of the showing and
// where the pointer stood then, as Qt itself counts a second click.
class OpeningClickGuard final : public QObject {
public:
    explicit OpeningClickGuard(QWidget &window)
        : QObject(&window)
        , window_(window)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window_ && event->type() == QEvent::Show) {
            shown_.start();
            pointerWhenShown_ = QCursor::pos();
            qApp->installEventFilter(this);
            return false;
        }
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return false;
        if (!Opening() && held_ == Qt::NoButton) {
            qApp->removeEventFilter(this);
            return false;
        }
        if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != &window_)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const Qt::MouseButton button = mouse->button();
        if (type != QEvent::MouseButtonRelease) {
            const QPoint moved = mouse->globalPosition().toPoint() - pointerWhenShown_;
            if (!Opening() || moved.manhattanLength() > QGuiApplication::styleHints()->mouseDoubleClickDistance())
                return false;
            held_.setFlag(button);
            return true;
        }
        const bool pressIgnored = held_.testFlag(button);
        held_.setFlag(button, false);
        return pressIgnored;
    }

private:
    bool Opening() const { return shown_.isValid() && !shown_.hasExpired(QApplication::doubleClickInterval()); }

    QWidget &window_;
    QElapsedTimer shown_;
    QPoint pointerWhenShown_;
    // The buttons whose press was kept from the window; their releases are too.
    Qt::MouseButtons held_;
};

} // namespace

void IgnoreTheOpeningDoubleClick(QWidget &window)
{
    new OpeningClickGuard(window);
}
