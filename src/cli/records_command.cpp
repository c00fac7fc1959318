#include "cli/commands.h"

#include "fileformat/quoted_fields.h"
#include "records/record_file.h"

#include <array>
#include <optional>

namespace {

constexpr int exitUsage = 2;
constexpr int exitNotFound = 3;
constexpr int exitWriteFailed = 1;
constexpr int exitChanged = 4;

const char *const usage = "用法: ravezaz-cli records FILE count|list FIRST LAST|show N|delete N [--expect LINE]\n";
const QString expectOption = QStringLiteral("--expect");

std::optional<qint64> NumberArgument(const QString &text)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

// Why a file could not be read: missing or unreadable, or no file at all
// (a device or a FIFO, which is never read).
int FileUnreadable(const QString &path, CliStreams io)
{
    io.err << (ProbeRecordFile(path) == RecordFileStatus::NotRecordFile ? "不是记录文件。\n" : "没有找到记录文件。\n");
    return exitNotFound;
}

int RecordMissing(CliStreams io)
{
    io.err << "没有找到此条记录。\n";
    return exitNotFound;
}

int PrintCount(const QString &path, const QList<qint64> &, const std::optional<QString> &, CliStreams io)
{
    const std::optional<qint64> count = CountRecords(path);
    if (!count)
        return FileUnreadable(path, io);
    io.out << *count << '\n';
    return 0;
}

// Stored text is printed with its control characters shown as U+FFFD, so a
// crafted record file cannot send escape sequences to the terminal.
int PrintListing(const QString &path, const QList<qint64> &numbers, const std::optional<QString> &, CliStreams io)
{
    const std::optional<QString> listing = ListRecords(path, numbers[0], numbers[1]);
    if (!listing)
        return FileUnreadable(path, io);
    for (QStringView line : QStringView(*listing).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        io.out << ControlsShown(line) << '\n';
    return 0;
}

int PrintRecord(const QString &path, const QList<qint64> &numbers, const std::optional<QString> &, CliStreams io)
{
    const RecordReading reading = ReadRecord(path, numbers[0]);
    if (reading.status == RecordFileStatus::FileUnreadable || reading.status == RecordFileStatus::NotRecordFile)
        return FileUnreadable(path, io);
    if (reading.status == RecordFileStatus::RecordNotFound)
        return RecordMissing(io);
    int index = 0;
    for (const RecordField &field : RecordFields())
        io.out << ++index << '\t' << ControlsShown(reading.record.*field.member) << '\n';
    return 0;
}

int DeleteAndReport(const QString &path, const QList<qint64> &numbers, const std::optional<QString> &expected,
                 CliStreams io)
{
    const RecordDeletion deletion = DeleteRecord(path, numbers[0], expected);
    switch (deletion.status) {
    case RecordFileStatus::FileUnreadable:
    case RecordFileStatus::NotRecordFile:
        return FileUnreadable(path, io);
    case RecordFileStatus::RecordNotFound:
        return RecordMissing(io);
    case RecordFileStatus::RecordChanged:
        io.err << "第 " << numbers[0] << " 号记录已不是所给的内容，没有删除任何记录。\n";
        return exitChanged;
    case RecordFileStatus::WriteFailed:
        io.err << "无法改写记录文件，文件保持原样。\n";
        return exitWriteFailed;
    case RecordFileStatus::Done:
        break;
    }
    io.out << deletion.recordsLeft << '\n';
    return 0;
}

struct RecordsAction {
    const char *name;
    int numberCount;
    bool takesExpect;
    int (*run)(const QString &path, const QList<qint64> &numbers, const std::optional<QString> &expected,
               CliStreams io);
};

constexpr std::array actions{
    RecordsAction{"count", 0, false, PrintCount},
    RecordsAction{"list", 2, false, PrintListing},
    RecordsAction{"show", 1, false, PrintRecord},
    RecordsAction{"delete", 1, true, DeleteAndReport},
};

} // namespace

int RunRecordsCommand(const QStringList &arguments, CliStreams io)
{
    QStringList args = arguments;
    std::optional<QString> expected;
    const qsizetype expectAt = args.indexOf(expectOption);
    if (expectAt >= 2 && expectAt + 1 < args.size()) {
        expected = args[expectAt + 1];
        args.remove(expectAt, 2);
    }
    for (const RecordsAction &action : actions) {
        if (args.size() != 2 + action.numberCount || args[1] != QLatin1String(action.name) ||
            (expected && !action.takesExpect))
            continue;
        QList<qint64> numbers;
        for (const QString &text : args.mid(2)) {
            const std::optional<qint64> number = NumberArgument(text);
            if (!number)
                break;
            numbers.append(*number);
        }
        if (numbers.size() == action.numberCount)
            return action.run(args[0], numbers, expected, io);
    }
    io.err << usage;
    return exitUsage;
}
