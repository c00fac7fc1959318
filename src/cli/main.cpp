#include "cli/commands.h"

#include <QCoreApplication>

#include <array>
#include <clocale>

#include <unistd.h>

namespace {

struct Command {
    const char *name;
    int (*run)(const QStringList &args, CliStreams io);
    const char *usage;
};

// One row per command; `--help` prints the usage column.
constexpr std::array commands{
    Command{"hexagram", RunHexagramCommand,
            "hexagram LINES [--translation]   number, name and text of a line string (bottom line first)"},
    Command{"records", RunRecordsCommand,
            "records FILE count|list FIRST LAST|show N|find TEXT|delete N [--expect LINE]   count, list, show, find or delete records of a record file"},
    Command{"cast", RunCastCommand,
            "cast [--seed N] [--name NAME] [--matter TEXT] [--record FILE] | cast --simulate N [--seed S]   one whole cast, or counts of line values (N at most 10000000)"},
    Command{"almanac", RunAlmanacCommand,
            "almanac [DATE | --from DATE --to DATE] [--format tsv|json|ics] [--lunar-days] [--huangli]   lunar date, names, term and festivals per day (YYYY-MM-DD, 1900-01-01..2100-12-31, default today); --huangli adds the day almanac (宜, 忌 and the rest) and the public holidays; ics: an iCalendar file of terms and festivals, --lunar-days adds each day's lunar date"},
};

void PrintHelp(CliOutput &out)
{
    out << "用法: ravezaz-cli COMMAND [ARGS]\n\n";
    for (const Command &command : commands)
        out << "  " << command.usage << '\n';
}

int RunCommand(QStringList args, CliStreams io)
{
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h") {
        PrintHelp(io.out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name))
            return command.run(args, io);
    }
    io.err << "未知命令: " << name << '\n';
    PrintHelp(io.err);
    return 2;
}

} // namespace

// No application object: the commands need no event loop, and the process
// starts faster without one.
int main(int argc, char *argv[])
{
    std::setlocale(LC_ALL, "");
    // The program's own names, so that per-user files (holidays.txt) are
    // found in the same folder as the program's.
    QCoreApplication::setOrganizationName(QStringLiteral("Ravezaz"));
    QCoreApplication::setApplicationName(QStringLiteral("Ravezaz"));
    const TerminalCharset charset = TerminalCharset::OfLocale();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(charset.Decode(argv[i]));
    CliOutput out(STDOUT_FILENO, charset);
    CliOutput err(STDERR_FILENO, charset);
    int exitCode = RunCommand(args, CliStreams{out, err});
    if (!out.Finish()) {
        err << "无法写入输出：" << out.ErrorText() << '\n';
        exitCode = 1;
    }
    return err.Finish() ? exitCode : 1;
}
