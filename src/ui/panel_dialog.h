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

protected:
    // The parchment inside the frame, in window coordinates.
    QRect PanelArea() const;
    PictureLabel *Background() const { return background_; }
    WindowDrag *Drag() const { return drag_; }

private:
    PictureLabel *background_;
    WindowDrag *drag_;
};

// Colours and backgrounds of the labels the small windows recolour.
void SetTextColour(QWidget *widget, const QColor &colour);
void SetBackgroundColour(QWidget *widget, const QColor &colour);

QLabel *MakeTextLabel(const QString &name, const QString &text, const QRect &geometry, const QFont &font,
                      const QColor &colour, QWidget *parent);
