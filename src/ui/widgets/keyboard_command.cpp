#include "ui/widgets/keyboard_command.h"

#include "ui/widgets/focus_ring.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

namespace {

constexpr const char *CommandRoleProperty = "keyboardCommandRole";

bool IsActivationKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

void Activate(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->click();
    else
        QMetaObject::invokeMethod(control, "Clicked");
}

// Lives as a child of its control: Enter or Space pressed and let go on the
// control clicks it, once, on the release.
class KeyActivation final : public QObject {
public:
    explicit KeyActivation(QWidget *control)
        : QObject(control)
    {
        control->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *control = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!IsActivationKey(key->key()))
                return false;
            if (!key->isAutoRepeat())
                pressedKey_ = key->key();
            return true;
        }
        case QEvent::KeyRelease: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!IsActivationKey(key->key()))
                return false;
            if (!key->isAutoRepeat() && key->key() == pressedKey_) {
                pressedKey_ = 0;
                if (control->isEnabled())
                    Activate(control);
            }
            return true;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            pressedKey_ = 0;
            control->update();
            return false;
        default:
            return false;
        }
    }

private:
    int pressedKey_ = 0;
};

class PictureAccessible final : public QAccessibleWidget {
public:
    explicit PictureAccessible(QWidget *control)
        : QAccessibleWidget(control)
    {
    }

    QAccessible::Role role() const override
    {
        const QVariant commandRole = widget()->property(CommandRoleProperty);
        if (commandRole.isValid())
            return commandRole.toInt() == int(CommandRole::Link) ? QAccessible::Link : QAccessible::Button;
        if (qobject_cast<const QLabel *>(widget()))
            return QAccessible::StaticText;
        return QAccessible::Graphic;
    }

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty()) {
            if (const auto *label = qobject_cast<const QLabel *>(widget()))
                text = label->text();
        }
        return text;
    }

    // A picture without a name only decorates: it is left out of what a
    // screen reader announces.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (role() == QAccessible::Graphic && widget()->accessibleName().isEmpty())
            state.invisible = true;
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (IsKeyboardCommand(widget()))
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && IsKeyboardCommand(widget()) && widget()->isEnabled()) {
            Activate(widget());
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *PictureAccessibleFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == u"PictureLabel" || className == u"ClickableLabel" || className == u"AnimatedPicture")
        return new PictureAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void InstallPictureAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(PictureAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void MakeKeyboardCommand(QWidget *control, CommandRole role, const QString &name, const QString &description)
{
    control->setProperty(CommandRoleProperty, int(role));
    control->setFocusPolicy(Qt::StrongFocus);
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
    // A text that starts at the label's edge would lie under the focus ring.
    if (auto *label = qobject_cast<QLabel *>(control); label && !label->text().isEmpty())
        label->setIndent(FocusRingWidth);
    new KeyActivation(control);
}

bool IsKeyboardCommand(const QWidget *control)
{
    return control->property(CommandRoleProperty).isValid();
}

void ClickOnEnter(QAbstractButton *button)
{
    new KeyActivation(button);
}
