#include "fileformat/line_scanner.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype blockSize = 1 << 20;

} // namespace

LineScanner::LineScanner(QIODevice &device, qsizetype longestLine) : device_(device), longestLine_(longestLine) {}

bool LineScanner::Refill()
{
    blockStart_ += block_.size();
    block_.resize(blockSize);
    const qint64 read = device_.read(block_.data(), blockSize);
    failed_ = failed_ || read < 0;
    block_.resize(qMax<qint64>(read, 0));
    at_ = 0;
    nextLf_ = -1;
    nextCr_ = -1;
    return read > 0;
}

qsizetype LineScanner::NextOf(char byte, qsizetype &next) const
{
    if (next < at_) {
        const void *found = std::memchr(block_.constData() + at_, byte, size_t(block_.size() - at_));
        next = found ? static_cast<const char *>(found) - block_.constData() : block_.size();
    }
    return next;
}

template <typename Take>
bool LineScanner::PassLine(Take take)
{
    bool started = false;
    for (;;) {
        if (at_ == block_.size() && !Refill())
            return started;
        if (skipLf_) {
            // The LF of a CR LF that ended the line before.
            skipLf_ = false;
            if (block_[at_] == '\n') {
                ++at_;
                continue;
            }
        }
        if (!started) {
            started = true;
            lineStart_ = blockStart_ + at_;
        }
        const char *from = block_.constData() + at_;
        const char *blockEnd = block_.constData() + block_.size();
        const char *end = block_.constData() + std::min(NextOf('\n', nextLf_), NextOf('\r', nextCr_));
        take(from, end - from);
        at_ = end - block_.constData();
        if (end != blockEnd) {
            lineEnd_ = blockStart_ + at_;
            skipLf_ = *end == '\r';
            ++at_;
            return true;
        }
        lineEnd_ = blockStart_ + at_;
    }
}

qint64 LineScanner::SkipLines(qint64 count)
{
    qint64 skipped = 0;
    while (skipped < count && PassLine([](const char *, qsizetype) {}))
        ++skipped;
    return skipped;
}

bool LineScanner::ReadLine(QByteArray &line)
{
    line.clear();
    cut_ = false;
    return PassLine([this, &line](const char *bytes, qsizetype length) {
        const qsizetype room = longestLine_ - line.size();
        cut_ = cut_ || length > room;
        line.append(bytes, std::min(length, room));
    });
}
