#include "line_scanner.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qsizetype blockSize = 1 << 20;

} // namespace

LineScanner::LineScanner(QIODevice &device) : device_(device) {}

bool LineScanner::refill()
{
    block_.resize(blockSize);
    const qint64 read = device_.read(block_.data(), blockSize);
    failed_ = failed_ || read < 0;
    block_.resize(qMax<qint64>(read, 0));
    at_ = 0;
    return read > 0;
}

qint64 LineScanner::skipLines(qint64 count)
{
    qint64 skipped = 0;
    while (skipped < count) {
        if (available() == 0 && !refill())
            break;
        const auto *lineEnd = static_cast<const char *>(std::memchr(position(), '\n', available()));
        if (!lineEnd) {
            at_ = block_.size();
            insideLine_ = true;
            continue;
        }
        at_ = lineEnd + 1 - block_.constData();
        insideLine_ = false;
        ++skipped;
    }
    if (skipped < count && insideLine_) {
        insideLine_ = false;
        ++skipped;
    }
    return skipped;
}

bool LineScanner::readLine(QByteArray &line)
{
    line.clear();
    for (;;) {
        if (available() == 0 && !refill()) {
            const bool lastLine = insideLine_;
            insideLine_ = false;
            if (line.endsWith('\r'))
                line.chop(1);
            return lastLine;
        }
        const auto *lineEnd = static_cast<const char *>(std::memchr(position(), '\n', available()));
        if (!lineEnd) {
            line.append(position(), available());
            at_ = block_.size();
            insideLine_ = true;
            continue;
        }
        line.append(position(), lineEnd - position());
        at_ = lineEnd + 1 - block_.constData();
        insideLine_ = false;
        if (line.endsWith('\r'))
            line.chop(1);
        return true;
    }
}
