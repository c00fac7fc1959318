#include "shell/help_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

#include <chm_lib.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Limits that keep a damaged file from asking for absurd amounts of memory
// or time.
constexpr quint64 MaxEntrySize = 16 * 1024 * 1024;
constexpr qsizetype MaxFileContents = 64 * 1024 * 1024;
constexpr unsigned ReadTimeLimitSeconds = 10;

// Reads little-endian values from a byte array, refusing every read that
// would run past its end.
class ByteReader {
public:
    explicit ByteReader(const QByteArray &data, qsizetype position = 0)
        : data_(data), position_(position)
    {
    }

    qsizetype remaining() const { return position_ <= data_.size() ? data_.size() - position_ : 0; }

    bool readU16(quint16 &value) { return readValue(value); }
    bool readU32(quint32 &value) { return readValue(value); }

    bool readBytes(qsizetype count, QByteArray &bytes)
    {
        if (count < 0 || count > remaining())
            return false;
        bytes = data_.mid(position_, count);
        position_ += count;
        return true;
    }

private:
    template <typename T>
    bool readValue(T &value)
    {
        if (remaining() < qsizetype(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(data_.constData() + position_);
        position_ += sizeof(T);
        return true;
    }

    const QByteArray &data_;
    qsizetype position_;
};

// The NUL-ended text starting at `offset`, or nothing when the offset lies
// outside the data or the text has no end.
std::optional<QByteArray> TextAt(const QByteArray &data, qsizetype offset)
{
    if (offset < 0 || offset >= data.size())
        return std::nullopt;
    const qsizetype end = data.indexOf('\0', offset);
    if (end < 0)
        return std::nullopt;
    return data.mid(offset, end - offset);
}

// --- Reading the file ---------------------------------------------------
//
// chmlib trusts the structure of the file: a damaged file can make it divide
// by zero, follow a null pointer or loop for ever. The file is therefore read
// in a short-lived child process that sends every entry through a pipe; only
// what a child that ended normally delivered is used.
//
// Stream of the child: for each entry, path length, path, data length, data
// (lengths as 32-bit little-endian values).

bool WriteAll(int fd, const void *data, size_t size)
{
    const auto *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= size_t(written);
    }
    return true;
}

bool WriteLength(int fd, quint32 length)
{
    const quint32 littleEndian = qToLittleEndian(length);
    return WriteAll(fd, &littleEndian, sizeof littleEndian);
}

int SendEntry(chmFile *file, chmUnitInfo *unit, void *context)
{
    const int fd = *static_cast<int *>(context);
    if (unit->length > MaxEntrySize)
        return CHM_ENUMERATOR_CONTINUE;
    std::vector<unsigned char> data(unit->length);
    if (unit->length > 0
        && chm_retrieve_object(file, unit, data.data(), 0, LONGINT64(unit->length)) != LONGINT64(unit->length))
        return CHM_ENUMERATOR_CONTINUE;
    const size_t pathLength = ::strnlen(unit->path, sizeof unit->path);
    const bool sent = WriteLength(fd, quint32(pathLength)) && WriteAll(fd, unit->path, pathLength)
        && WriteLength(fd, quint32(data.size())) && WriteAll(fd, data.data(), data.size());
    return sent ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_FAILURE;
}

[[noreturn]] void SendEntriesAndExit(const QByteArray &path, int fd)
{
    // A damaged file ends the child quietly: no crash handler of the parent,
    // no core file.
    for (const int signal : {SIGSEGV, SIGFPE, SIGBUS, SIGILL, SIGABRT, SIGPIPE, SIGALRM})
        ::signal(signal, SIG_DFL);
    const rlimit noCoreFile{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCoreFile);
    ::alarm(ReadTimeLimitSeconds);
    chmFile *file = chm_open(path.constData());
    if (!file)
        ::_exit(1);
    const int enumerated = chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES,
                                         SendEntry, &fd);
    chm_close(file);
    ::_exit(enumerated ? 0 : 1);
}

// Everything the child sends, or nothing when it sends more than any help
// file holds.
std::optional<QByteArray> ReceiveAll(int fd)
{
    QByteArray received;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count == 0 ? std::optional(received) : std::nullopt;
        if (received.size() + count > MaxFileContents)
            return std::nullopt;
        received.append(buffer, count);
    }
}

QHash<QString, QByteArray> ParseEntryStream(const QByteArray &stream)
{
    QHash<QString, QByteArray> entries;
    ByteReader reader(stream);
    while (reader.remaining() > 0) {
        quint32 pathLength = 0;
        quint32 dataLength = 0;
        QByteArray path;
        QByteArray data;
        if (!reader.readU32(pathLength) || !reader.readBytes(pathLength, path)
            || !reader.readU32(dataLength) || !reader.readBytes(dataLength, data))
            return {};
        entries.insert(QString::fromUtf8(path), data);
    }
    return entries;
}

} // namespace

bool IsHtmlPage(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return false;
    for (const QChar character : text) {
        if (character.category() == QChar::Other_Control && !QStringView(u"\t\n\f\r").contains(character))
            return false;
    }
    return text.contains(QLatin1String("<html"), Qt::CaseInsensitive) &&
           text.contains(QLatin1String("</html>"), Qt::CaseInsensitive);
}

QHash<int, QString> ParseContextMap(const QByteArray &ivb, const QByteArray &strings)
{
    QHash<int, QString> map;
    ByteReader header(ivb);
    quint32 byteCount = 0;
    if (!header.readU32(byteCount))
        return map;
    const QByteArray pairs = ivb.mid(4, qMin<qsizetype>(byteCount, ivb.size() - 4));
    ByteReader reader(pairs);
    quint32 contextNumber = 0;
    quint32 offset = 0;
    while (reader.readU32(contextNumber) && reader.readU32(offset)) {
        if (const auto path = TextAt(strings, qsizetype(offset)))
            map.insert(int(contextNumber), QString::fromUtf8(*path));
    }
    return map;
}

QString ParseDefaultTopic(const QByteArray &system)
{
    constexpr quint16 DefaultTopicCode = 2;
    ByteReader reader(system);
    quint32 version = 0;
    if (!reader.readU32(version))
        return {};
    quint16 code = 0;
    quint16 length = 0;
    QByteArray record;
    while (reader.readU16(code) && reader.readU16(length) && reader.readBytes(length, record)) {
        if (code == DefaultTopicCode)
            return QString::fromUtf8(record.left(record.indexOf('\0')));
    }
    return {};
}

HelpFile::HelpFile(QHash<QString, QByteArray> entries)
    : entries_(std::move(entries)),
      contextMap_(ParseContextMap(entries_.value(QStringLiteral("/#IVB")), entries_.value(QStringLiteral("/#STRINGS")))),
      defaultTopic_(ParseDefaultTopic(entries_.value(QStringLiteral("/#SYSTEM"))))
{
}

HelpFile HelpFile::Read(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const QByteArray nativePath = QFile::encodeName(path);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        SendEntriesAndExit(nativePath, fds[1]);
    }
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        return {};
    }
    const std::optional<QByteArray> stream = ReceiveAll(fds[0]);
    ::close(fds[0]);
    if (!stream)
        ::kill(child, SIGKILL);
    int status = 0;
    pid_t waited = 0;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    const bool childEndedWell = waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!stream || !childEndedWell)
        return {};
    // chmlib reads a file cut short without complaint and hands out what the
    // missing blocks decompress to as pages.
    HelpFile file(ParseEntryStream(*stream));
    return file.PagesAreWhole() ? file : HelpFile();
}

bool HelpFile::IsEmpty() const
{
    return entries_.isEmpty();
}

QStringList HelpFile::EntryPaths() const
{
    QStringList paths = entries_.keys();
    paths.sort();
    return paths;
}

bool HelpFile::Contains(const QString &entryPath) const
{
    return entries_.contains(entryPath);
}

QByteArray HelpFile::Entry(const QString &entryPath) const
{
    return entries_.value(entryPath);
}

QString HelpFile::DefaultTopic() const
{
    return EntryPathNamedBy(defaultTopic_);
}

QString HelpFile::Topic(int contextNumber) const
{
    return EntryPathNamedBy(contextMap_.value(contextNumber));
}

bool HelpFile::PagesAreWhole() const
{
    for (auto entry = entries_.cbegin(); entry != entries_.cend(); ++entry) {
        if ((entry.key().endsWith(QLatin1String(".htm")) || entry.key().endsWith(QLatin1String(".html"))) &&
            !IsHtmlPage(entry.value()))
            return false;
    }
    return !DefaultTopic().isEmpty();
}

// The help compiler may write a topic as an absolute path of the machine it
// ran on ("/home/…/build/help/rule0.htm"), as a path relative to its project
// ("rule0.htm", "html\rule0.htm") or with an anchor ("index.htm#keys"). The
// entry meant is the longest tail of that path, starting at a separator,
// that the file holds.
QString HelpFile::EntryPathNamedBy(QString writtenPath) const
{
    writtenPath.replace(u'\\', u'/');
    QString anchor;
    const qsizetype nameStart = writtenPath.lastIndexOf(u'/') + 1;
    const qsizetype hash = writtenPath.indexOf(u'#', nameStart + 1);
    if (hash >= 0) {
        anchor = writtenPath.mid(hash);
        writtenPath.truncate(hash);
    }
    if (!writtenPath.startsWith(u'/'))
        writtenPath.prepend(u'/');
    for (qsizetype from = 0; from >= 0; from = writtenPath.indexOf(u'/', from + 1)) {
        const QString tail = writtenPath.mid(from);
        if (entries_.contains(tail))
            return tail + anchor;
    }
    return {};
}

bool IsReadableHelpFile(const QString &path)
{
    return !HelpFile::Read(path).IsEmpty();
}
