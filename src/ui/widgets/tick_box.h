#pragma once

#include <QCheckBox>

// A check box drawn in the program's colours: a parchment square with a gold
// edge, a red tick when it is ticked, and a red edge while it has the focus,
// so a ticked box and a focused empty one never look alike.
class TickBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TickBox(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &position) const override;
};
