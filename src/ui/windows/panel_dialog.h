#pragma once

#include <QDialog>
#include <QRect>

class PictureLabel;
class QLabel;
class WindowDrag;

// A small borderless window on the program's lacquer frame and parchment
// panel. Its caption shows in the frame's title band and follows
// windowTitle(); a press on its background drags it.
class PanelDialog : public QDialog {
    Q_OBJECT
public:
    PanelDialog(const QString &name, QSize size, QWidget *parent);

    // The size of a window whose parchment panel has the size `panel`.
    static QSize SizeAroundPanel(QSize panel);
    // The parchment inside the frame, in window coordinates.
    QRect PanelArea() const;

protected:
    // Moves the controls that a window laid out from (0, 0) into the panel.
    void MoveControlsIntoPanel();
    PictureLabel *Background() const { return background_; }
    WindowDrag *Drag() const { return drag_; }

private:
    PictureLabel *background_;
    QLabel *caption_;
    WindowDrag *drag_;
};
