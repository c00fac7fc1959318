#pragma once

#include <QByteArray>

class QIODevice;

// The longest record or settings line read into memory; the rest of a longer
// line (a file that is not a record file) is skipped, never held whole.
inline constexpr qsizetype LongestStoredLine = 64 * 1024;

// Reads a text file's lines in large blocks. A line ends at LF, at CR, or at
// CR LF (files from old Mac editors end lines with CR alone), and a last line
// without a line end counts as a line. Skipping lines only searches for line
// ends, so counting and paging through a large file allocate nothing per
// line, and no line is ever held longer than `longestLine` bytes.
class LineScanner {
public:
    explicit LineScanner(QIODevice &device, qsizetype longestLine = LongestStoredLine);

    // Skips up to `count` lines and returns how many there were.
    qint64 SkipLines(qint64 count);
    // The next line without its line end, cut to `longestLine` bytes; false
    // at the end of the file.
    bool ReadLine(QByteArray &line);
    // True when the last line read was longer than `longestLine`.
    bool LineWasCut() const { return cut_; }
    // Where the last line read lies in the file: its first byte and the byte
    // after its text (its line end excluded).
    qint64 LineStart() const { return lineStart_; }
    qint64 LineEnd() const { return lineEnd_; }
    // True when the device reported a read error.
    bool Failed() const { return failed_; }

private:
    bool Refill();
    // Moves past the rest of the current line and its line end, handing the
    // line's bytes to `take` in pieces; false when no line was left.
    template <typename Take>
    bool PassLine(Take take);
    // Where in the block the next `byte` at or after at_ stands, or the
    // block's size; `next` remembers the answer, so each byte of a block is
    // searched at most once for each kind of line end.
    qsizetype NextOf(char byte, qsizetype &next) const;

    QIODevice &device_;
    const qsizetype longestLine_;
    QByteArray block_;
    qint64 blockStart_ = 0;
    qsizetype at_ = 0;
    qsizetype nextLf_ = -1;
    qsizetype nextCr_ = -1;
    bool skipLf_ = false;
    bool cut_ = false;
    qint64 lineStart_ = 0;
    qint64 lineEnd_ = 0;
    bool failed_ = false;
};
