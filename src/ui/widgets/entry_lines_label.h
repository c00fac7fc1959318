#pragma once

#include <QFont>
#include <QLabel>
#include <QStringList>

class QFontMetrics;

// Lines made of whole entries, in order: an entry goes on the current line
// while the line stays within `width`, else it starts the next line without
// its leading blanks. An entry is never split, even when it alone is wider.
QStringList PackEntries(const QStringList &entries, const QFontMetrics &metrics, int width);

// A label whose text is a run of entries (festival names, for example) and
// whose lines break only between entries, never inside a name. The lines are
// drawn at the label's font size or, where they would not fit its box, at the
// largest smaller size that fits; text() stays the entries joined.
class EntryLinesLabel : public QLabel {
    Q_OBJECT
public:
    struct Lines {
        QFont font;
        QStringList texts;
    };

    explicit EntryLinesLabel(QWidget *parent);

    void SetEntries(const QStringList &entries);
    // The lines as drawn in the label's present size.
    Lines LaidOutLines() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList entries_;
};
