#include "ui/widgets/escape_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <utility>

namespace {

// Lives as a child of its window and watches the keys that reach the window
// or any of its controls; a field keeps the release of a key to itself, so
// the watch is the application's.
class EscapeKey final : public QObject {
public:
    EscapeKey(QWidget &window, std::function<void()> close)
        : QObject(&window)
        , window_(window)
        , close_(std::move(close))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != &window_)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape)
            return false;
        if (key->isAutoRepeat())
            return true;
        if (event->type() == QEvent::KeyPress) {
            pressed_ = true;
            return true;
        }
        if (!std::exchange(pressed_, false))
            return true;
        auto *field = qobject_cast<QLineEdit *>(window_.focusWidget());
        if (field && field->isEnabled() && !field->isReadOnly() && !field->text().isEmpty())
            field->clear();
        else
            close_();
        return true;
    }

private:
    QWidget &window_;
    std::function<void()> close_;
    bool pressed_ = false;
};

} // namespace

void CloseOnEscape(QWidget &window, std::function<void()> close)
{
    new EscapeKey(window, std::move(close));
}
