#pragma once

#include <QByteArray>

class QIODevice;

// Reads a text file's lines in large blocks. Lines end at LF; a CR before the
// LF belongs to the line end, and a last line without a line end counts as a
// line. Skipping lines only searches for line ends, so counting and paging
// through a large file allocate nothing per line.
class LineScanner {
public:
    explicit LineScanner(QIODevice &device);

    // Skips up to `count` lines and returns how many there were.
    qint64 skipLines(qint64 count);
    // The next line without its line end; false at the end of the file.
    bool readLine(QByteArray &line);
    // True when the device reported a read error.
    bool failed() const { return failed_; }

private:
    bool refill();
    const char *position() const { return block_.constData() + at_; }
    qsizetype available() const { return block_.size() - at_; }

    QIODevice &device_;
    QByteArray block_;
    qsizetype at_ = 0;
    bool insideLine_ = false;
    bool failed_ = false;
};
