#pragma once

#include <QPlainTextEdit>

// The read-only box with a hexagram's classical text; a click on it asks for
// the translation.
class HexagramTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit HexagramTextBox(const QString &name, QWidget *parent);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
