#include "ui/widgets/text_start_in_view.h"

#include <QEvent>
#include <QLineEdit>

namespace {

// Lives as a child of its field. A QLineEdit given a text or left with the
// cursor at the end scrolls to the end of its text; this moves the cursor
// home again once the field does not have the focus.
class TextStartInView final : public QObject {
public:
    explicit TextStartInView(QLineEdit *field)
        : QObject(field)
        , field_(field)
    {
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, &TextStartInView::ShowText);
        ShowText(field->text());
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A field being destroyed loses its focus as well, once it is no
        // longer a line edit: the cast finds nothing to move then.
        if (event->type() == QEvent::FocusOut) {
            if (auto *field = qobject_cast<QLineEdit *>(watched))
                ShowStart(field);
        }
        return false;
    }

private:
    void ShowText(const QString &text)
    {
        field_->setToolTip(text);
        if (!field_->hasFocus())
            ShowStart(field_);
    }

    // Moving the cursor repaints only the cursor's place; the whole field
    // scrolls back to the start of its text, so all of it is drawn again.
    static void ShowStart(QLineEdit *field)
    {
        field->setCursorPosition(0);
        field->update();
    }

    QLineEdit *field_;
};

} // namespace

void KeepTextStartInView(QLineEdit *field)
{
    new TextStartInView(field);
}
