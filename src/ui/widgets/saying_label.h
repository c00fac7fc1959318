#pragma once

#include "ui/widgets/picture_label.h"

class QTextLayout;

// The quotes banner's saying: wrapped text whose lines stand closer than the
// serif face's own line spacing, so that the longest saying fits two lines
// of the banner in its full type. text() is the saying as set.
class SayingLabel : public ClickableLabel {
    Q_OBJECT
public:
    // Lines stand this many type sizes apart.
    static constexpr qreal LineSpacing = 1.2;

    explicit SayingLabel(const QString &name, QWidget *parent);

    // The largest type, from `largest` down to `smallest`, in which `text`
    // fits the label's box; `smallest` when none does.
    int FittingPixelSize(const QString &text, int largest, int smallest) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Lays `text` out in `font` within the label's width; returns the height
    // the lines take.
    qreal LayOut(QTextLayout &layout) const;
};
