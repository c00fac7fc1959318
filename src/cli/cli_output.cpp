#include "cli/cli_output.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Output is handed to the system in pieces of about this size.
constexpr std::size_t PieceSize = 1 << 16;
// A pipe holds 64 KiB by default: a writer of megabytes then waits for its
// reader after every piece. A larger pipe lets both run with fewer switches;
// the system may refuse it, and the output is the same either way.
constexpr int PipeSize = 1 << 20;

} // namespace

CliOutput::CliOutput(int descriptor, TerminalCharset charset)
    : descriptor_(descriptor)
    , charset_(std::move(charset))
{
}

void CliOutput::ExpectLargeOutput()
{
    ::fcntl(descriptor_, F_SETPIPE_SZ, PipeSize);
}

CliOutput &CliOutput::operator<<(QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    WriteText(std::string_view(utf8.constData(), std::size_t(utf8.size())));
    return *this;
}

CliOutput &CliOutput::operator<<(const char *text)
{
    WriteText(text);
    return *this;
}

CliOutput &CliOutput::operator<<(char character)
{
    WriteText(std::string_view(&character, 1));
    return *this;
}

CliOutput &CliOutput::operator<<(qint64 number)
{
    WriteText(std::to_string(number));
    return *this;
}

void CliOutput::WriteText(std::string_view utf8)
{
    if (charset_.IsUtf8()) {
        WriteBytes(utf8);
        return;
    }
    charset_.AppendEncoded(pending_, utf8);
    if (pending_.size() >= PieceSize)
        Flush();
}

void CliOutput::WriteBytes(std::string_view bytes)
{
    // A large piece goes out as it stands instead of through the buffer.
    if (pending_.size() + bytes.size() < PieceSize) {
        pending_ += bytes;
        return;
    }
    Flush();
    WriteOut(bytes);
}

void CliOutput::Flush()
{
    WriteOut(pending_);
    pending_.clear();
}

void CliOutput::WriteOut(std::string_view bytes)
{
    while (!bytes.empty() && error_ == 0) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written > 0)
            bytes.remove_prefix(std::size_t(written));
        else if (written == 0)
            error_ = EIO;
        else if (errno != EINTR)
            error_ = errno;
    }
}

bool CliOutput::Finish()
{
    Flush();
    // A stream the caller closed beforehand fails on its first write; when
    // nothing was written to it, there is nothing lost.
    if (::close(descriptor_) != 0 && error_ == 0 && errno != EINTR && errno != EBADF)
        error_ = errno;
    return error_ == 0;
}

QString CliOutput::ErrorText() const
{
    return charset_.Decode(std::strerror(error_));
}
