#pragma once

#include <QPlainTextEdit>

// The read-only box with a hexagram's classical text; a click on it, or Enter
// or Space let go while it has the focus, asks for the translation.
class HexagramTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit HexagramTextBox(const QString &name, QWidget *parent);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    int pressedKey_ = 0;
};
