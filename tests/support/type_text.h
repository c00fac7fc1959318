#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Types `text` into `widget` one character at a time, as a keyboard or an
// input method delivers it; QTest::keyClicks takes ASCII only.
inline void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}
