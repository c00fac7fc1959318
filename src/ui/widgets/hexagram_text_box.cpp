#include "ui/widgets/hexagram_text_box.h"

#include "ui/art/fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace {

bool IsActivationKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

} // namespace

HexagramTextBox::HexagramTextBox(const QString &name, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
    setFont(SerifFont(13));
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void HexagramTextBox::mouseReleaseEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

void HexagramTextBox::keyPressEvent(QKeyEvent *event)
{
    if (!IsActivationKey(event->key())) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    pressedKey_ = event->isAutoRepeat() ? pressedKey_ : event->key();
}

void HexagramTextBox::keyReleaseEvent(QKeyEvent *event)
{
    if (!IsActivationKey(event->key())) {
        QPlainTextEdit::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || event->key() != std::exchange(pressedKey_, 0))
        return;
    emit Clicked();
}
