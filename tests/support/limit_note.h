#pragma once

#include "support/require_child.h"
#include "support/type_text.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>

// Puts `count` characters into the empty `field` as the user does: typed
// one at a time, or pasted at once.
inline void EnterCharacters(QLineEdit *field, int count, bool pasted)
{
    const QString text(count, QChar(u'字'));
    if (!pasted) {
        TypeText(field, text);
        return;
    }
    QApplication::clipboard()->setText(text);
    field->paste();
}

// The limit note `field` shows, empty while it shows none. A note shown is
// also the field's accessible description, and the field's text keeps
// clear of it.
inline QString ShownLimitNote(const QLineEdit &field)
{
    const auto *note = RequireChild<QLabel>(field, QStringLiteral("limit_note"));
    if (note->isHidden())
        return {};
    if (field.accessibleDescription() != note->text() || !field.rect().contains(note->geometry()) ||
        field.textMargins().right() < note->width())
        return QStringLiteral("a note hidden from a screen reader or over the text");
    return note->text();
}
