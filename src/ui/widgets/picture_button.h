#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A command button drawn entirely from pictures: one for each look
// (normal, under the mouse, pressed, disabled). It takes the focus by Tab and
// by a click, draws the focus ring while it has it, and Enter acts as Space
// does: the button goes down on the press and clicks on the release.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    struct Pictures {
        QPixmap normal;
        QPixmap hover;
        QPixmap pressed;
        QPixmap disabled;
    };

    PictureButton(const QString &name, const Pictures &pictures, QWidget *parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    const QPixmap &CurrentPicture() const;

    Pictures pictures_;
    bool hovered_ = false;
};
