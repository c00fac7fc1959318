#include "cli/commands.h"
#include "fileformat/quoted_fields.h"
#include "records/record_file.h"
#include "records/record_listing.h"
#include "records/record_search.h"

#include <array>
#include <optional>

namespace {

constexpr int exitUsage = 2;
constexpr int exitNotFound = 3;
constexpr int exitWriteFailed = 1;
constexpr int exitChanged = 4;

const char *const usage = "用法: ravezaz-cli records FILE count|list FIRST LAST|show N|find TEXT|delete N [--expect LINE]\n";
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

// The arguments after the file name: the action's numbers, its text, and
// the line given with --expect.
struct RecordsRequest {
    QString path;
    QList<qint64> numbers;
    QString text;
    std::optional<QString> expected;
};

int RecordMissing(CliStreams io)
{
    io.err << "没有找到此条记录。\n";
    return exitNotFound;
}

int PrintCount(const RecordsRequest &request, CliStreams io)
{
    const std::optional<qint64> count = CountRecords(request.path);
    if (!count)
        return FileUnreadable(request.path, io);
    io.out << *count << '\n';
    return 0;
}

// Stored text is printed with its control characters shown as U+FFFD, so a
// crafted record file cannot send escape sequences to the terminal.
int PrintListing(const RecordsRequest &request, CliStreams io)
{
    const std::optional<QString> listing = ListRecords(request.path, request.numbers[0], request.numbers[1]);
    if (!listing)
        return FileUnreadable(request.path, io);
    for (QStringView line : QStringView(*listing).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        io.out << ControlsShown(line) << '\n';
    return 0;
}

int PrintRecord(const RecordsRequest &request, CliStreams io)
{
    const RecordReading reading = ReadRecord(request.path, request.numbers[0]);
    if (reading.status == RecordFileStatus::FileUnreadable || reading.status == RecordFileStatus::NotRecordFile)
        return FileUnreadable(request.path, io);
    if (reading.status == RecordFileStatus::RecordNotFound)
        return RecordMissing(io);
    int index = 0;
    for (const RecordField &field : RecordFields())
        io.out << ++index << '\t' << ControlsShown(reading.record.*field.member) << '\n';
    return 0;
}

// One record number a line, ascending; a search that finds nothing exits as
// a missing record does.
int PrintFound(const RecordsRequest &request, CliStreams io)
{
    const RecordSearch search = FindRecords(request.path, request.text);
    if (search.status != RecordFileStatus::Done)
        return FileUnreadable(request.path, io);
    if (search.numbers.isEmpty()) {
        io.err << "没有找到含有此文字的记录。\n";
        return exitNotFound;
    }
    for (const qint64 number : search.numbers)
        io.out << number << '\n';
    return 0;
}

// --expect takes the line as `list` prints it: with the record's marker
// " №<N>" (its leading blank may be lost in copying) or without it.
std::optional<QString> ExpectedStoredLine(const std::optional<QString> &expected, qint64 number)
{
    if (!expected)
        return std::nullopt;
    const QString listed = expected->startsWith(u'№') ? u' ' + *expected : *expected;
    return ListedRecordLine(listed, number).value_or(*expected);
}

int DeleteAndReport(const RecordsRequest &request, CliStreams io)
{
    const RecordDeletion deletion =
        DeleteRecord(request.path, request.numbers[0], ExpectedStoredLine(request.expected, request.numbers[0]));
    switch (deletion.status) {
    case RecordFileStatus::FileUnreadable:
    case RecordFileStatus::NotRecordFile:
        return FileUnreadable(request.path, io);
    case RecordFileStatus::RecordNotFound:
        return RecordMissing(io);
    case RecordFileStatus::RecordChanged:
        io.err << "第 " << request.numbers[0] << " 号记录已不是所给的内容，没有删除任何记录。\n";
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

// An action takes `numberCount` numbers, or one text that is not empty.
struct RecordsAction {
    const char *name;
    int numberCount;
    bool takesText;
    bool takesExpect;
    int (*run)(const RecordsRequest &request, CliStreams io);
};

constexpr std::array actions{
    RecordsAction{"count", 0, false, false, PrintCount},
    RecordsAction{"list", 2, false, false, PrintListing},
    RecordsAction{"show", 1, false, false, PrintRecord},
    RecordsAction{"find", 0, true, false, PrintFound},
    RecordsAction{"delete", 1, false, true, DeleteAndReport},
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
        const int argumentCount = action.takesText ? 1 : action.numberCount;
        if (args.size() != 2 + argumentCount || args[1] != QLatin1String(action.name) ||
            (expected && !action.takesExpect))
            continue;
        RecordsRequest request{args[0], {}, {}, expected};
        if (action.takesText) {
            request.text = args[2];
            if (request.text.isEmpty())
                break;
        }
        for (const QString &text : args.mid(2, action.numberCount)) {
            const std::optional<qint64> number = NumberArgument(text);
            if (!number)
                break;
            request.numbers.append(*number);
        }
        if (request.numbers.size() == action.numberCount)
            return action.run(request, io);
    }
    io.err << usage;
    return exitUsage;
}
