#include "ui/widgets/entry_lines_label.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Below this the entries would be hard to read; they are drawn at it even
// when they do not fit.
constexpr int SmallestPixelSize = 11;

QString WithoutLeadingBlanks(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

bool Fits(const QStringList &lines, const QFontMetrics &metrics, const QSize &box)
{
    if (lines.size() * metrics.lineSpacing() > box.height())
        return false;
    for (const QString &line : lines) {
        if (metrics.horizontalAdvance(line) > box.width())
            return false;
    }
    return true;
}

} // namespace

QStringList PackEntries(const QStringList &entries, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    for (const QString &entry : entries) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + entry) <= width)
            lines.last() += entry;
        else
            lines << (lines.isEmpty() ? entry : WithoutLeadingBlanks(entry));
    }
    return lines;
}

EntryLinesLabel::EntryLinesLabel(QWidget *parent)
    : QLabel(parent)
{
}

void EntryLinesLabel::SetEntries(const QStringList &entries)
{
    entries_ = entries;
    setText(entries.join(QString()));
}

EntryLinesLabel::Lines EntryLinesLabel::LaidOutLines() const
{
    const QSize box = contentsRect().size();
    Lines lines{font(), {}};
    for (int size = font().pixelSize(); size >= SmallestPixelSize; --size) {
        lines.font.setPixelSize(size);
        const QFontMetrics metrics(lines.font);
        lines.texts = PackEntries(entries_, metrics, box.width());
        if (Fits(lines.texts, metrics, box))
            break;
    }
    return lines;
}

void EntryLinesLabel::paintEvent(QPaintEvent *)
{
    const Lines lines = LaidOutLines();
    const QFontMetrics metrics(lines.font);
    const QRect box = contentsRect();
    const int lineHeight = metrics.lineSpacing();
    int top = box.top() + (box.height() - int(lines.texts.size()) * lineHeight) / 2;
    QPainter painter(this);
    painter.setFont(lines.font);
    painter.setPen(palette().color(foregroundRole()));
    for (const QString &line : lines.texts) {
        painter.drawText(QRect(box.left(), top, box.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        top += lineHeight;
    }
}
