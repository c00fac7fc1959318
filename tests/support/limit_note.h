#pragma once

#include "support/require_child.h"
#include "support/type_text.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

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

// The rows of a window with the name and matter fields: each typed and
// pasted under, at and over its limit. Columns: field, count, pasted, note.
inline void AddNameAndMatterLimitRows()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("note");
    const QString nine = QStringLiteral("最多9个字");
    const QString thirty = QStringLiteral("最多30个字");
    QTest::newRow("name typed under the limit") << QByteArray("diviner_name_field") << 8 << false << QString();
    QTest::newRow("name typed to the limit") << QByteArray("diviner_name_field") << 9 << false << nine;
    QTest::newRow("name typed over the limit") << QByteArray("diviner_name_field") << 12 << false << nine;
    QTest::newRow("name pasted under the limit") << QByteArray("diviner_name_field") << 8 << true << QString();
    QTest::newRow("name pasted over the limit") << QByteArray("diviner_name_field") << 52 << true << nine;
    QTest::newRow("matter typed under the limit") << QByteArray("matter_field") << 29 << false << QString();
    QTest::newRow("matter typed to the limit") << QByteArray("matter_field") << 30 << false << thirty;
    QTest::newRow("matter typed over the limit") << QByteArray("matter_field") << 52 << false << thirty;
    QTest::newRow("matter pasted to the limit") << QByteArray("matter_field") << 30 << true << thirty;
    QTest::newRow("matter pasted over the limit") << QByteArray("matter_field") << 52 << true << thirty;
}

// Enters the row's characters into the emptied `entry`: the note is the
// row's, and one character less takes it and the description away.
inline void CheckLimitNoteOf(QLineEdit *entry)
{
    QFETCH(int, count);
    QFETCH(bool, pasted);
    QFETCH(QString, note);
    entry->clear();
    QCOMPARE(ShownLimitNote(*entry), QString());
    EnterCharacters(entry, count, pasted);
    QCOMPARE(ShownLimitNote(*entry), note);
    entry->end(false);
    entry->backspace();
    QCOMPARE(ShownLimitNote(*entry), QString());
    QCOMPARE(entry->accessibleDescription(), QString());
}
