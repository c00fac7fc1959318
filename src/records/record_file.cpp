#include "records/record_file.h"

#include "fileformat/gbk_codec.h"
#include "fileformat/line_scanner.h"
#include "fileformat/quoted_fields.h"
#include "fileformat/regular_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype copyBlockSize = 1 << 20;

// An open file descriptor, closed (and so unlocked) when it goes.
class Descriptor {
public:
    explicit Descriptor(int handle = -1) : handle_(handle) {}
    ~Descriptor()
    {
        if (handle_ >= 0)
            ::close(handle_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return handle_; }

private:
    int handle_;
};

bool SameFileAs(int handle, const QByteArray &path)
{
    struct stat opened{};
    struct stat named{};
    return ::fstat(handle, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

// The file at `path`, opened with `flags` and locked for writing. A file that
// was replaced or removed while this waited for the lock is opened again, so
// the caller always holds the file that the name stands for.
FileOpening OpenLocked(const QByteArray &path, int flags, std::unique_ptr<Descriptor> &locked)
{
    for (;;) {
        auto file = std::make_unique<Descriptor>(::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666));
        if (file->get() < 0)
            return errno == EISDIR ? FileOpening::NotRegular : FileOpening::Unopenable;
        if (const FileOpening kind = KindOfOpenFile(file->get()); kind != FileOpening::Opened)
            return kind;
        int result;
        do
            result = ::flock(file->get(), LOCK_EX);
        while (result != 0 && errno == EINTR);
        if (result != 0)
            return FileOpening::Unopenable;
        if (SameFileAs(file->get(), path)) {
            locked = std::move(file);
            return FileOpening::Opened;
        }
    }
}

bool WriteAll(int handle, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(handle, bytes.constData() + written, size_t(bytes.size() - written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return false;
        written += result;
    }
    return true;
}

// True when the file is empty or its last byte ends a line.
bool EndsWithLineEnd(int handle, qint64 size)
{
    char last = 0;
    return size == 0 || (::pread(handle, &last, 1, size - 1) == 1 && (last == '\n' || last == '\r'));
}

// Copies bytes from..to of the open file to `destination`, in blocks.
bool CopyRange(int handle, qint64 from, qint64 to, QIODevice &destination)
{
    QByteArray block(copyBlockSize, Qt::Uninitialized);
    while (from < to) {
        const ssize_t read = ::pread(handle, block.data(), size_t(qMin<qint64>(to - from, block.size())), from);
        if (read <= 0 || destination.write(block.constData(), read) != read)
            return false;
        from += read;
    }
    return true;
}

// QSaveFile::commit() does not notice a failure to write out its buffer, and
// would put a cut-off file in place; flushing first catches it.
bool CommitSaveFile(QSaveFile &file)
{
    return file.flush() && file.commit();
}

// The rewritten file gets the old one's mode and owner; changing the owner
// succeeds only for root or for a group the user belongs to, and is left as
// it is otherwise.
void TakeOverOwnership(int from, int to)
{
    struct stat status{};
    if (::fstat(from, &status) != 0)
        return;
    ::fchmod(to, status.st_mode & 07777);
    if (::fchown(to, status.st_uid, status.st_gid) != 0 && ::fchown(to, ::geteuid(), status.st_gid) != 0)
        return;
    ::fchmod(to, status.st_mode & 07777); // chown clears the set-id bits
}

// In a folder that cannot be written the new file cannot be put in place by
// a rename: it is written over the old one instead. Only a rewrite that is
// not longer than the old file is written so, which takes no more room on
// the disk and so cannot fail half way for want of it.
bool WriteInPlace(int handle, QTemporaryFile &rewritten)
{
    struct stat status{};
    if (!rewritten.flush() || ::fstat(handle, &status) != 0 || rewritten.size() > status.st_size ||
        !rewritten.seek(0))
        return false;
    QByteArray block(copyBlockSize, Qt::Uninitialized);
    qint64 at = 0;
    for (;;) {
        const qint64 read = rewritten.read(block.data(), block.size());
        if (read < 0)
            return false;
        if (read == 0)
            return ::ftruncate(handle, at) == 0 && ::fsync(handle) == 0;
        if (::pwrite(handle, block.constData(), size_t(read), at) != read)
            return false;
        at += read;
    }
}

QString ListingEntry(qint64 number, const QString &line)
{
    return QStringLiteral(" №<") + QString::number(number) + u'>' + line + QStringLiteral("\r\n");
}

// The file a name stands for: the target of a symbolic link, through any
// chain of links, so that a rewrite or a removal acts on the user's file and
// leaves the link in place. A link that leads nowhere stays as it is.
QString LinkTarget(const QString &path)
{
    const QFileInfo name(path);
    const QString target = name.isSymLink() ? name.canonicalFilePath() : QString();
    return target.isEmpty() ? path : target;
}

RecordFileStatus StatusOf(FileOpening opening)
{
    return opening == FileOpening::NotRegular ? RecordFileStatus::NotRecordFile : RecordFileStatus::FileUnreadable;
}

} // namespace

bool AppendRecord(QIODevice &device, const DivinationRecord &record)
{
    const QByteArray line = FormatRecordLine(record);
    return device.write(line) == line.size();
}

bool AppendRecord(const QString &path, const DivinationRecord &record)
{
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<Descriptor> file;
    if (OpenLocked(name, O_RDWR | O_APPEND | O_CREAT, file) != FileOpening::Opened &&
        OpenLocked(name, O_WRONLY | O_APPEND | O_CREAT, file) != FileOpening::Opened)
        return false;
    struct stat status{};
    if (::fstat(file->get(), &status) != 0)
        return false;
    const qint64 originalSize = status.st_size;
    // One write, so that the line lands whole even beside a writer that
    // takes no lock.
    const QByteArray line =
        (EndsWithLineEnd(file->get(), originalSize) ? QByteArray() : QByteArray("\r\n")) + FormatRecordLine(record);
    if (WriteAll(file->get(), line))
        return true;
    // The lock keeps every other writer out, so all past the old end is ours.
    const int takenBack = ::ftruncate(file->get(), originalSize);
    Q_UNUSED(takenBack);
    return false;
}

RecordFileStatus ProbeRecordFile(const QString &path)
{
    QFile file;
    const FileOpening opening = OpenRegularFile(file, path);
    return opening == FileOpening::Opened ? RecordFileStatus::Done : StatusOf(opening);
}

std::optional<qint64> CountRecords(const QString &path)
{
    QFile file;
    if (OpenRegularFile(file, path) != FileOpening::Opened)
        return std::nullopt;
    LineScanner scanner(file);
    const qint64 count = scanner.SkipLines(std::numeric_limits<qint64>::max());
    if (scanner.Failed())
        return std::nullopt;
    return count;
}

QString ListedLine(const QByteArray &line, bool cut)
{
    return cut ? DecodeGbk(line) + u'…' : DecodeGbk(line);
}

std::optional<QString> ListRecords(const QString &path, qint64 first, qint64 last)
{
    QFile file;
    if (OpenRegularFile(file, path) != FileOpening::Opened)
        return std::nullopt;
    first = qMax<qint64>(first, 1);
    LineScanner scanner(file);
    QString listing;
    if (first <= last && scanner.SkipLines(first - 1) == first - 1) {
        QByteArray line;
        for (qint64 number = first; number <= last && scanner.ReadLine(line); ++number)
            listing += ListingEntry(number, ListedLine(line, scanner.LineWasCut()));
    }
    if (scanner.Failed())
        return std::nullopt;
    return listing;
}

RecordReading ReadRecord(const QString &path, qint64 number)
{
    QFile file;
    const FileOpening opening = OpenRegularFile(file, path);
    if (opening != FileOpening::Opened)
        return {StatusOf(opening), {}};
    LineScanner scanner(file);
    QByteArray line;
    const bool found = number >= 1 && scanner.SkipLines(number - 1) == number - 1 && scanner.ReadLine(line);
    if (scanner.Failed())
        return {RecordFileStatus::FileUnreadable, {}};
    if (!found)
        return {RecordFileStatus::RecordNotFound, {}};
    return {RecordFileStatus::Done, ParseRecordLine(DecodeGbk(line))};
}

RecordDeletion DeleteRecord(const QString &recordFile, qint64 number, const std::optional<QString> &expectedLine)
{
    const QString path = LinkTarget(recordFile);
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<Descriptor> locked;
    FileOpening opening = OpenLocked(name, O_RDWR, locked);
    if (opening == FileOpening::Unopenable && errno == EACCES)
        opening = OpenLocked(name, O_RDONLY, locked);
    if (opening != FileOpening::Opened)
        return {StatusOf(opening)};
    QFile file;
    if (!file.open(locked->get(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return {RecordFileStatus::FileUnreadable};

    QSaveFile replacement(path);
    QTemporaryFile inPlace;
    const bool replacing = replacement.open(QIODevice::WriteOnly);
    if (!replacing && !inPlace.open())
        return {RecordFileStatus::WriteFailed};
    QIODevice &rewritten = replacing ? static_cast<QIODevice &>(replacement) : inPlace;

    LineScanner scanner(file);
    QByteArray line;
    qint64 lineNumber = 0;
    qint64 kept = 0;
    bool found = false;
    while (scanner.ReadLine(line)) {
        ++lineNumber;
        if (lineNumber == number) {
            if (expectedLine && ControlsShown(ListedLine(line, scanner.LineWasCut())) != ControlsShown(*expectedLine))
                return {RecordFileStatus::RecordChanged};
            found = true;
            continue;
        }
        if (kept == 0 && line.isEmpty())
            continue;
        const bool copied = scanner.LineWasCut()
            ? CopyRange(locked->get(), scanner.LineStart(), scanner.LineEnd(), rewritten)
            : rewritten.write(line) == line.size();
        if (!copied || rewritten.write("\r\n", 2) != 2)
            return {RecordFileStatus::WriteFailed};
        ++kept;
    }
    if (scanner.Failed())
        return {RecordFileStatus::FileUnreadable};
    if (!found)
        return {RecordFileStatus::RecordNotFound, lineNumber};
    if (kept == 0) // the unfinished rewrite is discarded
        return {QFile::remove(path) ? RecordFileStatus::Done : RecordFileStatus::WriteFailed, 0};
    if (replacing)
        TakeOverOwnership(locked->get(), replacement.handle());
    if (!(replacing ? CommitSaveFile(replacement) : WriteInPlace(locked->get(), inPlace)))
        return {RecordFileStatus::WriteFailed};
    return {RecordFileStatus::Done, kept};
}

bool CopyRecordFile(const QString &path, const QString &destination)
{
    QFile source;
    if (OpenRegularFile(source, path) != FileOpening::Opened)
        return false;
    QSaveFile copy(destination);
    if (!copy.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(copyBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(block.data(), block.size());
        if (read < 0)
            return false;
        if (read == 0)
            return CommitSaveFile(copy);
        if (copy.write(block.constData(), read) != read)
            return false;
    }
}
