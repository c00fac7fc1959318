#include "ui/widgets/saying_label.h"

#include <QPainter>
#include <QTextLayout>

SayingLabel::SayingLabel(const QString &name, QWidget *parent)
    : ClickableLabel(name, parent)
{
}

qreal SayingLabel::LayOut(QTextLayout &layout) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal lineHeight = layout.font().pixelSize() * LineSpacing;
    qreal top = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        // The glyphs sit in the middle of their line's height.
        line.setPosition(QPointF(0, top + (lineHeight - line.height()) / 2));
        top += lineHeight;
    }
    layout.endLayout();
    return top;
}

int SayingLabel::FittingPixelSize(const QString &text, int largest, int smallest) const
{
    for (int size = largest; size > smallest; --size) {
        QFont font = this->font();
        font.setPixelSize(size);
        QTextLayout layout(text, font);
        if (LayOut(layout) <= height())
            return size;
    }
    return smallest;
}

void SayingLabel::paintEvent(QPaintEvent *)
{
    QTextLayout layout(text(), font());
    const qreal used = LayOut(layout);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    layout.draw(&painter, QPointF(0, (height() - used) / 2));
}
