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
    CurrentCast cast;
    cast.lookupLines = positional.first();
    if (translation)
        LookupHexagramTranslation(cast);
    else
        LookupHexagram(cast);
    if (cast.lookupNumber.isEmpty()) {
        io.err << "未知卦象: " << cast.lookupLines << '\n';
        return 2;
    }
    io.out << cast.lookupNumber << '\t' << cast.lookupName << '\t' << cast.lookupLines << '\n'
           << WithLfLineEnds(cast.lookupText);
    if (!cast.lookupText.endsWith(u"\r\n"))
        io.out << '\n';
    return 0;
}
