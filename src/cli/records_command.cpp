#include "commands.h"

#include "record_file.h"

#include <array>
#include <optional>

namespace {

constexpr int exitUsage = 2;
constexpr int exitNotFound = 3;
constexpr int exitWriteFailed = 1;

const char *const usage = "用法: ravezaz-cli records FILE count|list FIRST LAST|show N|delete N\n";

std::optional<qint64> numberArgument(const QString &text)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

int fileMissing(CliStreams io)
{
    io.err << "没有找到记录文件。\n";
    return exitNotFound;
}

int recordMissing(CliStreams io)
{
    io.err << "没有找到此条记录。\n";
    return exitNotFound;
}

int printCount(const QString &path, const QList<qint64> &, CliStreams io)
{
    const std::optional<qint64> count = CountRecords(path);
    if (!count)
        return fileMissing(io);
    io.out << *count << '\n';
    return 0;
}

int printListing(const QString &path, const QList<qint64> &numbers, CliStreams io)
{
    const std::optional<QString> listing = ListRecords(path, numbers[0], numbers[1]);
    if (!listing)
        return fileMissing(io);
    io.out << QString(*listing).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return 0;
}

int printRecord(const QString &path, const QList<qint64> &numbers, CliStreams io)
{
    const RecordReading reading = ReadRecord(path, numbers[0]);
    if (reading.status == RecordFileStatus::FileUnreadable)
        return fileMissing(io);
    if (reading.status == RecordFileStatus::RecordNotFound)
        return recordMissing(io);
    int index = 0;
    for (const RecordField &field : RecordFields())
        io.out << ++index << '\t' << reading.record.*field.member << '\n';
    return 0;
}

int deleteRecord(const QString &path, const QList<qint64> &numbers, CliStreams io)
{
    const RecordDeletion deletion = DeleteRecord(path, numbers[0]);
    switch (deletion.status) {
    case RecordFileStatus::FileUnreadable:
        return fileMissing(io);
    case RecordFileStatus::RecordNotFound:
        return recordMissing(io);
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
    int (*run)(const QString &path, const QList<qint64> &numbers, CliStreams io);
};

constexpr std::array actions{
    RecordsAction{"count", 0, printCount},
    RecordsAction{"list", 2, printListing},
    RecordsAction{"show", 1, printRecord},
    RecordsAction{"delete", 1, deleteRecord},
};

} // namespace

int RunRecordsCommand(const QStringList &args, CliStreams io)
{
    for (const RecordsAction &action : actions) {
        if (args.size() != 2 + action.numberCount || args[1] != QLatin1String(action.name))
            continue;
        QList<qint64> numbers;
        for (const QString &text : args.mid(2)) {
            const std::optional<qint64> number = numberArgument(text);
            if (!number)
                break;
            numbers.append(*number);
        }
        if (numbers.size() == action.numberCount)
            return action.run(args[0], numbers, io);
    }
    io.err << usage;
    return exitUsage;
}
