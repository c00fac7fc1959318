#include "cli/commands.h"
#include "core/lookup.h"

namespace {

QString WithLfLineEnds(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

int RunHexagramCommand(const QStringList &args, CliStreams io)
{
    const bool translation = args.contains(QStringLiteral("--translation"));
    QStringList positional = args;
    positional.removeAll(QStringLiteral("--translation"));
    if (positional.size() != 1) {
        io.err << "用法: ravezaz-cli hexagram LINES [--translation]\n";
        return 2;
    }
    const QString &lines = positional.first();
    const std::optional<HexagramEntry> found = translation ? FindHexagramTranslation(lines) : FindHexagram(lines);
    if (!found) {
        io.err << "未知卦象: " << lines << '\n';
        return 2;
    }
    io.out << found->number << '\t' << found->name << '\t' << found->lines << '\n' << WithLfLineEnds(found->text);
    if (!found->text.endsWith(u"\r\n"))
        io.out << '\n';
    return 0;
}
